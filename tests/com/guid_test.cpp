#include "platform/com/guid.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/com/unknown.h"

namespace {

TEST(GuidTest, BracedTextRoundTrip) {
  const std::string text = "{1CF2B120-547D-101B-8E65-08002B2BD119}";
  auto guid = com::ParseGuid(text);
  ASSERT_TRUE(guid);
  EXPECT_EQ(guid->Data1, 0x1CF2B120u);
  EXPECT_EQ(guid->Data2, 0x547D);
  EXPECT_EQ(guid->Data3, 0x101B);
  EXPECT_EQ(guid->Data4[0], 0x8E);
  EXPECT_EQ(guid->Data4[7], 0x19);
  EXPECT_EQ(com::GuidToString(*guid), text);
}

}  // namespace
