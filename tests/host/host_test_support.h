#pragma once
// Shared set-up of host-service and component tests: headless message boxes that record every box
// (an unscripted one fails the test), and module-wide caches reset before and after each test.
#include <gtest/gtest.h>

#include <memory>

#include "host/access_control.h"
#include "host/xd186.h"
#include "platform/os/message_box.h"

namespace testing_support {

class HostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetEnvClientForTesting();
    ResetAccessCacheForTesting();
    boxes_ = std::make_shared<os::HeadlessMessageBoxes>();
    boxes_->SetFailureHandler([](const os::MessageBoxRequest& request) {
      ADD_FAILURE() << "unexpected message box '" << request.caption << "': " << request.text;
    });
    previous_ = os::SetMessageBoxFrontEnd(boxes_);
  }
  void TearDown() override {
    ResetEnvClientForTesting();
    ResetAccessCacheForTesting();
    os::SetMessageBoxFrontEnd(previous_);
  }
  os::HeadlessMessageBoxes& Boxes() { return *boxes_; }

 private:
  std::shared_ptr<os::HeadlessMessageBoxes> boxes_;
  std::shared_ptr<os::MessageBoxFrontEnd> previous_;
};

}  // namespace testing_support
