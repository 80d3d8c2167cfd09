#include "platform/com/variant.h"

#include <gtest/gtest.h>

#include <utility>

#include "platform/com/object.h"

namespace {

struct IProbe : IUnknown {
  static constexpr GUID IID_ = com::MakeGuid("{6A1B0401-0000-4000-8000-000000000001}");
  using Base = IUnknown;
};
class Probe : public com::Implements<IProbe> {};

ULONG RefCount(IUnknown* p) {
  p->AddRef();
  return p->Release();
}

TEST(VariantTest, InitAndClearLeaveAnEmptyValue) {
  VARIANT v;
  v.vt = VT_I4;
  v.lVal = 5;
  VariantInit(&v);
  EXPECT_EQ(v.vt, VT_EMPTY);
  v.vt = VT_BSTR;
  v.bstrVal = SysAllocString(u"owned");
  EXPECT_EQ(VariantClear(&v), S_OK);  // frees the text (checked by the sanitizer build)
  EXPECT_EQ(v.vt, VT_EMPTY);
  EXPECT_EQ(VariantClear(nullptr), E_INVALIDARG);
}

TEST(VariantTest, CopyOfTextIsDeep) {
  com::Variant source(u"Pipe spool");
  VARIANT copy;
  VariantInit(&copy);
  ASSERT_EQ(VariantCopy(&copy, &source.Get()), S_OK);
  EXPECT_EQ(copy.vt, VT_BSTR);
  EXPECT_NE(copy.bstrVal, source.Get().bstrVal);
  EXPECT_EQ(std::u16string(copy.bstrVal, SysStringLen(copy.bstrVal)), u"Pipe spool");
  // Copying over a value frees the old one first; copying onto itself changes nothing.
  ASSERT_EQ(VariantCopy(&copy, &source.Get()), S_OK);
  ASSERT_EQ(VariantCopy(&copy, &copy), S_OK);
  EXPECT_EQ(std::u16string(copy.bstrVal, SysStringLen(copy.bstrVal)), u"Pipe spool");
  VariantClear(&copy);
  EXPECT_EQ(VariantCopy(nullptr, &source.Get()), E_INVALIDARG);
  EXPECT_EQ(VariantCopy(&copy, nullptr), E_INVALIDARG);
}

TEST(VariantTest, CopyAndClearCountInterfaceReferences) {
  com::ComPtr<Probe> probe;
  ASSERT_EQ(com::Object<Probe>::Create(&probe), S_OK);
  IUnknown* unknown = probe->GetUnknown();
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_UNKNOWN;
  v.punkVal = unknown;
  unknown->AddRef();
  VARIANT copy;
  VariantInit(&copy);
  ASSERT_EQ(VariantCopy(&copy, &v), S_OK);
  EXPECT_EQ(RefCount(unknown), 3u);
  VariantClear(&copy);
  VariantClear(&v);
  EXPECT_EQ(RefCount(unknown), 1u);
}

TEST(VariantTest, WrapperHoldsEachKindOfValue) {
  EXPECT_EQ(com::Variant().Type(), VT_EMPTY);
  EXPECT_EQ(com::Variant(com::kNull).Type(), VT_NULL);
  com::Variant i2(std::int16_t{-3});
  EXPECT_EQ(i2.Type(), VT_I2);
  EXPECT_EQ(i2.Get().iVal, -3);
  com::Variant i4(70000);
  EXPECT_EQ(i4.Type(), VT_I4);
  EXPECT_EQ(i4.Get().lVal, 70000);
  com::Variant date(com::DateTag{-1.25});
  EXPECT_EQ(date.Type(), VT_DATE);
  EXPECT_EQ(date.Get().date, -1.25);
  com::Variant text = com::Variant::Utf8("Kabelweg \xC3\xBC");
  EXPECT_TRUE(text.IsText());
  EXPECT_EQ(text.TextView(), u"Kabelweg \u00FC");
  EXPECT_EQ(text.TextUtf8(), "Kabelweg \xC3\xBC");
  EXPECT_EQ(i4.TextView(), u"");
  EXPECT_EQ(com::Variant(static_cast<const char16_t*>(nullptr)).TextView(), u"");
}

TEST(VariantTest, WrapperCopiesDeeplyAndMovesOwnership) {
  com::Variant a(u"remark");
  com::Variant b(a);
  EXPECT_NE(a.Get().bstrVal, b.Get().bstrVal);
  EXPECT_EQ(b.TextView(), u"remark");
  com::Variant c(std::move(b));
  EXPECT_EQ(b.Type(), VT_EMPTY);
  EXPECT_EQ(c.TextView(), u"remark");
  c = a;
  EXPECT_NE(c.Get().bstrVal, a.Get().bstrVal);
  c = std::move(a);
  EXPECT_EQ(a.Type(), VT_EMPTY);
  EXPECT_EQ(c.TextView(), u"remark");

  VARIANT raw;
  VariantInit(&raw);
  c.Detach(&raw);
  EXPECT_EQ(c.Type(), VT_EMPTY);
  EXPECT_EQ(raw.vt, VT_BSTR);
  VariantClear(&raw);

  com::Variant out(u"old");
  VARIANT* slot = out.Out();  // out-parameter: cleared first
  EXPECT_EQ(slot->vt, VT_EMPTY);
  slot->vt = VT_I4;
  slot->lVal = 9;
  EXPECT_EQ(out.Get().lVal, 9);
}

}  // namespace
