#include "platform/os/os.h"

#include <gtest/gtest.h>

namespace {

TEST(OsTest, NoSystemMessageTextOnThisPlatform) {
  EXPECT_FALSE(os::SystemMessageText(static_cast<std::int32_t>(0x80004005u), 0x0400));
}

}  // namespace
