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

namespace {

TEST(GuidTest, BracesAreOptionalAndCaseIsIgnored) {
  auto braced = com::ParseGuid("{00000000-0000-0000-C000-000000000046}");
  auto bare = com::ParseGuid("00000000-0000-0000-c000-000000000046");
  ASSERT_TRUE(braced && bare);
  EXPECT_EQ(*braced, *bare);
  EXPECT_EQ(*braced, IUnknown::IID_);
  EXPECT_EQ(com::GuidToString(*bare), "{00000000-0000-0000-C000-000000000046}");
}

TEST(GuidTest, NullGuidAndOrdering) {
  EXPECT_EQ(com::GuidToString(GUID_NULL), "{00000000-0000-0000-0000-000000000000}");
  EXPECT_EQ(com::ParseGuid("{00000000-0000-0000-0000-000000000000}"), GUID_NULL);
  EXPECT_NE(IUnknown::IID_, GUID_NULL);
  const GUID a = com::MakeGuid("{00000001-0000-0000-0000-000000000000}");
  const GUID b = com::MakeGuid("{00000001-0000-0000-0000-000000000001}");
  EXPECT_LT(a, b);
  EXPECT_LT(GUID_NULL, a);
}

TEST(GuidTest, EveryDigitRoundTrips) {
  const std::string text = "{0123ABCD-4567-89EF-FEDC-BA9876543210}";
  auto guid = com::ParseGuid(text);
  ASSERT_TRUE(guid);
  EXPECT_EQ(com::GuidToString(*guid), text);
  EXPECT_EQ(com::ParseGuid(com::GuidToString(IUnknown::IID_)), IUnknown::IID_);
}

TEST(GuidTest, MalformedTextIsRefused) {
  const char* malformed[] = {
      "",
      "{}",
      "{1CF2B120-547D-101B-8E65-08002B2BD119",    // no closing brace
      "1CF2B120-547D-101B-8E65-08002B2BD119}",    // no opening brace
      "(1CF2B120-547D-101B-8E65-08002B2BD119)",   // wrong brackets
      "{1CF2B120-547D-101B-8E65-08002B2BD11}",    // a digit short
      "{1CF2B120-547D-101B-8E65-08002B2BD1199}",  // a digit too many
      "{1CF2B12G-547D-101B-8E65-08002B2BD119}",   // not hex
      "{1CF2B120_547D-101B-8E65-08002B2BD119}",   // wrong separator
      "{1CF2B120-547D101B--8E65-08002B2BD119}",   // separator moved
      "{-CF2B120-547D-101B-8E65-08002B2BD119}",   // extra dash in a digit position
      "{1CF2B120-547D-101B-8E65-08002B2BD1-9}",   // dash near the end
      "{1CF2B120-547D-101B-8E65-08002B2BD119 }",  // trailing blank inside
      " 1CF2B120-547D-101B-8E65-08002B2BD119",    // leading blank
      "1CF2B120-547D-101B-8E65-08002B2BD11 ",     // trailing blank
      "{+CF2B120-547D-101B-8E65-08002B2BD119}",
      "1CF2B120547D101B8E6508002B2BD119",  // no dashes
  };
  for (const char* text : malformed) {
    EXPECT_FALSE(com::ParseGuid(text)) << text;
  }
}

TEST(GuidTest, InterfacesCarryTheirIdentity) {
  EXPECT_EQ(&com::IidOf<IUnknown>(), &IID_IUnknown);
  EXPECT_EQ(com::GuidToString(com::IidOf<IUnknown>()), "{00000000-0000-0000-C000-000000000046}");
}

}  // namespace
