#include "platform/com/bstr.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>

#include "platform/com/utf.h"
#include "platform/com/variant.h"

namespace {

TEST(BstrTest, AllocKeepsLengthTerminatorAndEmbeddedNulls) {
  const char16_t text[] = u"ab\0cd";
  BSTR s = SysAllocStringLen(text, 5);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(SysStringLen(s), 5u);
  EXPECT_EQ(SysStringByteLen(s), 10u);
  EXPECT_EQ(std::u16string(s, 5), std::u16string(text, 5));
  EXPECT_EQ(s[5], u'\0');
  SysFreeString(s);

  BSTR terminated = SysAllocString(u"abc");
  ASSERT_NE(terminated, nullptr);
  EXPECT_EQ(SysStringLen(terminated), 3u);
  SysFreeString(terminated);

  BSTR zeroes = SysAllocStringLen(nullptr, 3);
  ASSERT_NE(zeroes, nullptr);
  EXPECT_EQ(std::u16string(zeroes, 4), std::u16string(4, u'\0'));
  SysFreeString(zeroes);
}

TEST(BstrTest, NullTexts) {
  EXPECT_EQ(SysAllocString(nullptr), nullptr);
  EXPECT_EQ(SysStringLen(nullptr), 0u);
  EXPECT_EQ(SysStringByteLen(nullptr), 0u);
  SysFreeString(nullptr);
  BSTR empty = SysAllocString(u"");
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(SysStringLen(empty), 0u);
  SysFreeString(empty);
}

TEST(BstrTest, WrapperCopiesDeeplyAndMovesOwnership) {
  com::BStr a(u"Revision");
  com::BStr b(a);
  EXPECT_NE(a.Get(), b.Get());
  EXPECT_EQ(b.View(), u"Revision");
  com::BStr c(std::move(b));
  EXPECT_TRUE(b.IsNull());
  EXPECT_EQ(c.View(), u"Revision");
  c = a;
  EXPECT_EQ(c.View(), u"Revision");
  EXPECT_NE(c.Get(), a.Get());
  c = c;
  EXPECT_EQ(c.View(), u"Revision");

  BSTR detached = c.Detach();
  EXPECT_TRUE(c.IsNull());
  c.Attach(detached);
  EXPECT_EQ(c.Get(), detached);
  BSTR copy = c.Copy();
  EXPECT_NE(copy, detached);
  SysFreeString(copy);

  BSTR* slot = &c;  // out-parameter: frees what was held
  EXPECT_EQ(*slot, nullptr);
  *slot = SysAllocString(u"new");
  EXPECT_EQ(c.View(), u"new");
  EXPECT_EQ(com::BStr().View(), u"");
  EXPECT_TRUE(com::BStr().Empty());
}

TEST(BstrTest, Utf8BothWays) {
  com::BStr text = com::BStr::FromUtf8("Schiffsr\xC3\xBCmpfe \xF0\x9F\x9A\xA2");
  EXPECT_EQ(text.View(), u"Schiffsr\u00FCmpfe \U0001F6A2");
  EXPECT_EQ(text.ToUtf8(), "Schiffsr\xC3\xBCmpfe \xF0\x9F\x9A\xA2");
  EXPECT_THROW(com::BStr::FromUtf8("\xC3"), com::TextConversionError);
}

// Runs out of memory after a number of allocations.
class OutOfMemoryTest : public testing::Test {
 protected:
  static inline int allowed_ = 0;
  static void* Limited(std::size_t bytes) {
    if (allowed_ <= 0) return nullptr;
    --allowed_;
    return std::malloc(bytes);
  }
  void Allow(int allocations) {
    allowed_ = allocations;
    com::SetStringAllocatorForTesting(&Limited);
  }
  void TearDown() override { com::SetStringAllocatorForTesting(nullptr); }
};

TEST_F(OutOfMemoryTest, AllocationsFailCleanly) {
  Allow(0);
  EXPECT_EQ(SysAllocString(u"abc"), nullptr);
  EXPECT_EQ(SysAllocStringLen(u"abc", 3), nullptr);
  EXPECT_THROW(com::BStr(u"abc"), std::bad_alloc);
  EXPECT_THROW(com::Variant(u"abc"), std::bad_alloc);
}

TEST_F(OutOfMemoryTest, CopiesReportTheShortage) {
  Allow(1);
  com::BStr original(u"abc");
  EXPECT_THROW(com::BStr copy(original), std::bad_alloc);
  EXPECT_EQ(original.Copy(), nullptr);
  EXPECT_EQ(original.View(), u"abc");
  com::BStr null;
  EXPECT_NO_THROW(com::BStr copyOfNull(null));  // nothing to allocate

  Allow(1);
  com::Variant text(u"abc");
  VARIANT dest;
  VariantInit(&dest);
  dest.vt = VT_I4;
  dest.lVal = 7;
  EXPECT_EQ(VariantCopy(&dest, &text.Get()), E_OUTOFMEMORY);
  EXPECT_EQ(dest.vt, VT_I4);  // left as it was
  EXPECT_EQ(dest.lVal, 7);
  com::Variant number(5);
  EXPECT_EQ(number.ChangeType(VT_BSTR), E_OUTOFMEMORY);
  EXPECT_EQ(number.Type(), VT_I4);
  EXPECT_EQ(number.Get().lVal, 5);
}

TEST_F(OutOfMemoryTest, TooLongIsRefusedWithoutAllocating) {
  Allow(1);
  EXPECT_EQ(SysAllocStringLen(nullptr, 0x7FFFFFFFu), nullptr);
  EXPECT_EQ(allowed_, 1);
}

}  // namespace
