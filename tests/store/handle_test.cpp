#include "servers/store/handle.h"

#include <gtest/gtest.h>

#include "servers/store/store_error.h"

namespace store {
namespace {

TEST(Handle, FormatsSixteenUpperCaseDigitsPerIdentity) {
  EXPECT_EQ(FormatHandle({0x1, 0x2A}), "0000000000000001000000000000002A");
  EXPECT_EQ(FormatHandle({0xFEDCBA9876543210ULL, 0xFFFFFFFFFFFFFFFFULL}),
            "FEDCBA9876543210FFFFFFFFFFFFFFFF");
}

TEST(Handle, ParsesWhatItFormatsAndLowerCase) {
  Handle handle{0x0123456789ABCDEFULL, 0x42};
  EXPECT_EQ(ParseHandle(FormatHandle(handle)), handle);
  EXPECT_EQ(ParseHandle("0123456789abcdef0000000000000042"), handle);
}

TEST(Handle, RefusesAnythingButThirtyTwoHexDigits) {
  const char* bad[] = {
      "",
      "0000000000000001000000000000002",    // 31 digits
      "0000000000000001000000000000002A0",  // 33 digits
      "000000000000000100000000000000G1",
      " 000000000000001000000000000002A",
      "0000000000000001-00000000000002A",
      "x' OR '1'='1",
  };
  for (const char* text : bad) {
    EXPECT_FALSE(ParseHandle(text)) << text;
    try {
      ParseHandleOrThrow(text);
      ADD_FAILURE() << "no error for " << text;
    } catch (const StoreError& e) {
      EXPECT_EQ(e.Kind(), StoreErrorKind::BadHandle);
    }
  }
}

}  // namespace
}  // namespace store
