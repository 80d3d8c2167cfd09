#include "platform/com/error_info.h"

#include <gtest/gtest.h>

#include <thread>

#include "platform/com/object.h"

namespace {

const GUID kIid = com::MakeGuid("{6A1B0201-0000-4000-8000-000000000001}");

std::u16string Source(IErrorInfo* info) {
  com::BStr text;
  EXPECT_EQ(info->GetSource(&text), S_OK);
  return std::u16string(text.View());
}
std::u16string Description(IErrorInfo* info) {
  com::BStr text;
  EXPECT_EQ(info->GetDescription(&text), S_OK);
  return std::u16string(text.View());
}

// Every test starts and ends with no error information on its thread.
class ErrorInfoTest : public testing::Test {
 protected:
  void SetUp() override { SetErrorInfo(0, nullptr); }
  void TearDown() override { SetErrorInfo(0, nullptr); }
};

TEST_F(ErrorInfoTest, CreatedInformationCarriesEveryField) {
  com::ComPtr<ICreateErrorInfo> create;
  ASSERT_EQ(CreateErrorInfo(&create), S_OK);
  EXPECT_EQ(create->SetGUID(kIid), S_OK);
  EXPECT_EQ(create->SetSource(u"RVX.Database"), S_OK);
  EXPECT_EQ(create->SetDescription(u"ORA-00942: table or view does not exist"), S_OK);
  EXPECT_EQ(create->SetHelpFile(u"rvx.hlp"), S_OK);
  EXPECT_EQ(create->SetHelpContext(17), S_OK);
  com::ComPtr<IErrorInfo> info = create.Query<IErrorInfo>();
  ASSERT_TRUE(info);
  GUID guid;
  EXPECT_EQ(info->GetGUID(&guid), S_OK);
  EXPECT_EQ(guid, kIid);
  EXPECT_EQ(Source(info.Get()), u"RVX.Database");
  EXPECT_EQ(Description(info.Get()), u"ORA-00942: table or view does not exist");
  com::BStr helpFile;
  EXPECT_EQ(info->GetHelpFile(&helpFile), S_OK);
  EXPECT_EQ(helpFile.View(), u"rvx.hlp");
  std::uint32_t context = 0;
  EXPECT_EQ(info->GetHelpContext(&context), S_OK);
  EXPECT_EQ(context, 17u);
}

TEST_F(ErrorInfoTest, EmptyInformationGivesNullTexts) {
  com::ComPtr<ICreateErrorInfo> create;
  ASSERT_EQ(CreateErrorInfo(&create), S_OK);
  com::ComPtr<IErrorInfo> info = create.Query<IErrorInfo>();
  com::BStr text(u"stale");
  EXPECT_EQ(info->GetSource(&text), S_OK);
  EXPECT_TRUE(text.IsNull());
  EXPECT_EQ(info->GetSource(nullptr), E_INVALIDARG);
  EXPECT_EQ(info->GetGUID(nullptr), E_INVALIDARG);
  EXPECT_EQ(CreateErrorInfo(nullptr), E_INVALIDARG);
}

TEST_F(ErrorInfoTest, TakingTheInformationClearsIt) {
  ASSERT_TRUE(com::SetThreadErrorInfo(u"xd186", u"no environment", kIid));
  com::ComPtr<IErrorInfo> info;
  ASSERT_EQ(GetErrorInfo(0, &info), S_OK);
  ASSERT_TRUE(info);
  EXPECT_EQ(Source(info.Get()), u"xd186");
  EXPECT_EQ(Description(info.Get()), u"no environment");
  GUID guid;
  info->GetGUID(&guid);
  EXPECT_EQ(guid, kIid);

  com::ComPtr<IErrorInfo> again;
  EXPECT_EQ(GetErrorInfo(0, &again), S_FALSE);
  EXPECT_FALSE(again);
}

TEST_F(ErrorInfoTest, SettingHoldsAReferenceAndNullClears) {
  com::ComPtr<ICreateErrorInfo> create;
  ASSERT_EQ(CreateErrorInfo(&create), S_OK);
  create->SetDescription(u"kept");
  {
    com::ComPtr<IErrorInfo> info = create.Query<IErrorInfo>();
    ASSERT_EQ(SetErrorInfo(0, info.Get()), S_OK);
  }
  create = nullptr;  // the thread's reference keeps the information alive
  com::ComPtr<IErrorInfo> taken;
  ASSERT_EQ(GetErrorInfo(0, &taken), S_OK);
  EXPECT_EQ(Description(taken.Get()), u"kept");

  ASSERT_EQ(SetErrorInfo(0, taken.Get()), S_OK);
  ASSERT_EQ(SetErrorInfo(0, nullptr), S_OK);
  EXPECT_EQ(GetErrorInfo(0, &taken), S_FALSE);
}

TEST_F(ErrorInfoTest, ReservedArgumentsMustBeZero) {
  com::ComPtr<IErrorInfo> info;
  EXPECT_EQ(SetErrorInfo(1, nullptr), E_INVALIDARG);
  EXPECT_EQ(GetErrorInfo(1, &info), E_INVALIDARG);
  EXPECT_EQ(GetErrorInfo(0, nullptr), E_INVALIDARG);
}

TEST_F(ErrorInfoTest, EachThreadHasItsOwnInformation) {
  ASSERT_TRUE(com::SetThreadErrorInfo(u"main", u"main thread"));
  std::u16string seenByOther = u"unset";
  HRESULT otherFirst = E_FAIL;
  std::thread other([&] {
    com::ComPtr<IErrorInfo> info;
    otherFirst = GetErrorInfo(0, &info);  // nothing from the main thread
    com::SetThreadErrorInfo(u"other", u"other thread");
    if (GetErrorInfo(0, &info) == S_OK) seenByOther = Description(info.Get());
    // Left set on purpose: the thread's end releases it.
    com::SetThreadErrorInfo(u"other", u"left behind");
  });
  other.join();
  EXPECT_EQ(otherFirst, S_FALSE);
  EXPECT_EQ(seenByOther, u"other thread");
  com::ComPtr<IErrorInfo> info;
  ASSERT_EQ(GetErrorInfo(0, &info), S_OK);
  EXPECT_EQ(Description(info.Get()), u"main thread");
}

class Supporting : public com::Implements<ISupportErrorInfo> {
 public:
  HRESULT InterfaceSupportsErrorInfo(REFIID iid) override { return iid == kIid ? S_OK : S_FALSE; }
};

TEST_F(ErrorInfoTest, SupportIsAskedPerInterface) {
  com::ComPtr<Supporting> object;
  ASSERT_EQ(com::Object<Supporting>::Create(&object), S_OK);
  com::ComPtr<IUnknown> unknown(object->GetUnknown());
  com::ComPtr<ISupportErrorInfo> support = unknown.Query<ISupportErrorInfo>();
  ASSERT_TRUE(support);
  EXPECT_EQ(support->InterfaceSupportsErrorInfo(kIid), S_OK);
  EXPECT_EQ(support->InterfaceSupportsErrorInfo(IUnknown::IID_), S_FALSE);
}

}  // namespace
