#include "platform/os/message_box.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using os::MessageBoxAnswer;
using os::MessageBoxButtons;
using os::MessageBoxRequest;

MessageBoxRequest Box(const char* text, MessageBoxButtons buttons = MessageBoxButtons::Ok) {
  MessageBoxRequest request;
  request.owner = reinterpret_cast<os::WindowHandle>(0x1234);
  request.text = text;
  request.caption = "xd186_env() failed";
  request.buttons = buttons;
  return request;
}

// Installs a headless front end for one test and puts the previous one back afterwards.
class MessageBoxTest : public testing::Test {
 protected:
  void SetUp() override {
    boxes_ = std::make_shared<os::HeadlessMessageBoxes>();
    boxes_->SetFailureHandler([this](const MessageBoxRequest& r) { unscripted_.push_back(r); });
    previous_ = os::SetMessageBoxFrontEnd(boxes_);
  }
  void TearDown() override { os::SetMessageBoxFrontEnd(previous_); }

  std::shared_ptr<os::HeadlessMessageBoxes> boxes_;
  std::shared_ptr<os::MessageBoxFrontEnd> previous_;
  std::vector<MessageBoxRequest> unscripted_;
};

TEST_F(MessageBoxTest, AnswersFromTheScriptInOrderAndRecordsEveryBox) {
  boxes_->Expect(MessageBoxAnswer::Yes).Expect(MessageBoxAnswer::No).Expect(MessageBoxAnswer::Ok);
  EXPECT_EQ(boxes_->PendingAnswers(), 3u);
  EXPECT_EQ(os::ShowMessageBox(Box("first", MessageBoxButtons::YesNo)), MessageBoxAnswer::Yes);
  EXPECT_EQ(os::ShowMessageBox(Box("second", MessageBoxButtons::YesNo)), MessageBoxAnswer::No);
  EXPECT_EQ(os::ShowMessageBox(Box("third")), MessageBoxAnswer::Ok);
  EXPECT_EQ(boxes_->PendingAnswers(), 0u);
  ASSERT_EQ(boxes_->Shown().size(), 3u);
  EXPECT_EQ(boxes_->Shown()[0].text, "first");
  EXPECT_EQ(boxes_->Shown()[0].buttons, MessageBoxButtons::YesNo);
  EXPECT_EQ(boxes_->Shown()[0].caption, "xd186_env() failed");
  EXPECT_EQ(boxes_->Shown()[0].owner, reinterpret_cast<os::WindowHandle>(0x1234));
  EXPECT_EQ(boxes_->Shown()[2].text, "third");
  EXPECT_TRUE(unscripted_.empty());
}

TEST_F(MessageBoxTest, AnUnscriptedBoxFailsLoudlyAndIsRecorded) {
  boxes_->Expect(MessageBoxAnswer::Ok);
  EXPECT_EQ(os::ShowMessageBox(Box("scripted")), MessageBoxAnswer::Ok);
  EXPECT_EQ(os::ShowMessageBox(Box("nobody expected this")), MessageBoxAnswer::Cancel);
  ASSERT_EQ(unscripted_.size(), 1u);
  EXPECT_EQ(unscripted_[0].text, "nobody expected this");
  ASSERT_EQ(boxes_->Shown().size(), 2u);
  EXPECT_EQ(boxes_->Shown()[1].text, "nobody expected this");
}

TEST_F(MessageBoxTest, AnswerAllWithAnswersAfterTheScript) {
  boxes_->Expect(MessageBoxAnswer::No).AnswerAllWith(MessageBoxAnswer::Yes);
  EXPECT_EQ(os::ShowMessageBox(Box("a", MessageBoxButtons::YesNo)), MessageBoxAnswer::No);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(os::ShowMessageBox(Box("b", MessageBoxButtons::YesNo)), MessageBoxAnswer::Yes);
  }
  EXPECT_TRUE(unscripted_.empty());
  EXPECT_EQ(boxes_->Shown().size(), 4u);
}

TEST_F(MessageBoxTest, ClearForgetsBoxesAndScript) {
  boxes_->Expect(MessageBoxAnswer::Yes).AnswerAllWith(MessageBoxAnswer::Ok);
  os::ShowMessageBox(Box("before"));
  boxes_->Clear();
  EXPECT_TRUE(boxes_->Shown().empty());
  EXPECT_EQ(boxes_->PendingAnswers(), 0u);
  EXPECT_EQ(os::ShowMessageBox(Box("after")), MessageBoxAnswer::Cancel);
  EXPECT_EQ(unscripted_.size(), 1u);
}

TEST_F(MessageBoxTest, SettingAFrontEndReturnsTheOneItReplaces) {
  auto other = std::make_shared<os::HeadlessMessageBoxes>();
  other->AnswerAllWith(MessageBoxAnswer::No);
  auto replaced = os::SetMessageBoxFrontEnd(other);
  EXPECT_EQ(replaced, boxes_);
  EXPECT_EQ(os::ShowMessageBox(Box("to other", MessageBoxButtons::YesNo)), MessageBoxAnswer::No);
  EXPECT_TRUE(boxes_->Shown().empty());
  ASSERT_EQ(other->Shown().size(), 1u);

  // An empty front end falls back to a fresh headless one, never to nothing.
  replaced = os::SetMessageBoxFrontEnd(nullptr);
  EXPECT_EQ(replaced, other);
  auto fallback =
      std::dynamic_pointer_cast<os::HeadlessMessageBoxes>(os::SetMessageBoxFrontEnd(boxes_));
  ASSERT_TRUE(fallback);
  EXPECT_TRUE(fallback->Shown().empty());
}

TEST(MessageBoxDeathTest, AnUnscriptedBoxWithoutAHandlerAbortsNamingTheBox) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(
      {
        os::HeadlessMessageBoxes boxes;
        boxes.Show(Box("The project is not an RVX project"));
      },
      "unscripted message box.*xd186_env\\(\\) failed.*The project is not an RVX project");
}

}  // namespace
