// Every member of the component reached by name through IDispatch, as a script host calls it.
#include "platform/com/dispatch_call.h"
#include "platform/com/utf.h"
#include "platform/ui/headless_driver.h"
#include "tests/module/module_fixture.h"

namespace {

using com::ComPtr;
using com::Variant;

VARIANT ByRef(BSTR* text) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BYREF | VT_BSTR;
  v.pbstrVal = text;
  return v;
}

class ModuleDispatchTest : public module_test::ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    MakeProject(store::kExtendedRvx, true, 50);
    handles_ = AddObject("PANEL-DISPATCH", 4);
    ASSERT_EQ(Exports().registerServer(), S_OK);
    ASSERT_EQ(CoCreateInstance(CLSID_RevManager, nullptr, CLSCTX_INPROC_SERVER, IDispatch::IID_,
                               dispatch_.ReleaseAndGetVoidAddress()),
              S_OK)
        << test_support::TakeErrorText();
  }

  HRESULT Call(std::u16string_view name, std::uint16_t flags, std::vector<Variant> args,
               VARIANT* result = nullptr, com::ExceptionInfo* exception = nullptr) {
    std::vector<VARIANT> raw;
    for (auto& a : args) raw.push_back(a.Get());
    return com::InvokeByName(dispatch_.Get(), name, flags, raw, result, exception);
  }

  std::int32_t Count() {
    Variant count;
    EXPECT_EQ(Call(u"GetRevisionCount", DISPATCH_METHOD, {}, count.Out()), S_OK);
    return count.Type() == VT_I4 ? count.Get().lVal : -1;
  }

  std::vector<std::string> handles_;
  ComPtr<IDispatch> dispatch_;
};

TEST_F(ModuleDispatchTest, EveryMemberByName) {
  const std::u16string latest = com::ToUtf16(handles_.back());
  ASSERT_EQ(Call(u"objecthandle", DISPATCH_PROPERTYPUT, {Variant(latest)}), S_OK);
  EXPECT_EQ(Count(), 4);

  com::BStr handle, name, remark;
  ASSERT_EQ(Call(u"GetOldestRevision", DISPATCH_METHOD,
                 {Variant(ByRef(&handle)), Variant(ByRef(&name)), Variant(ByRef(&remark))}),
            S_OK);
  EXPECT_EQ(handle.ToUtf8(), handles_.front());
  EXPECT_EQ(name.View(), u"R1");
  EXPECT_EQ(remark.View(), u"remark 1");

  // Rename a revision that is not the latest.
  ASSERT_EQ(Call(u"ObjectHandle", DISPATCH_PROPERTYPUT, {Variant(com::ToUtf16(handles_[1]))}),
            S_OK);
  ASSERT_EQ(Call(u"Rename", DISPATCH_METHOD, {Variant(u"Renamed"), Variant(u"by dispatch")}), S_OK);
  {
    std::string error;
    auto opened = store::OpenProjectStore(kProject, &error);
    ASSERT_TRUE(opened) << error;
    auto info = opened->FindRevision(*store::ParseHandle(handles_[1]));
    ASSERT_TRUE(info);
    EXPECT_EQ(info->name, "Renamed");
    EXPECT_EQ(info->remark, "by dispatch");
  }

  // Delete the oldest.
  ASSERT_EQ(Call(u"Delete", DISPATCH_METHOD, {Variant(com::ToUtf16(handles_.front()))}), S_OK);
  EXPECT_EQ(Count(), 3);

  // The dialog, closed at once by the headless front end.
  auto driver = std::make_shared<ui::HeadlessDriver>();
  driver->NextRun().CloseWithOk();
  {
    ui::HeadlessDriver::Installed installed(driver);
    ASSERT_EQ(Call(u"ShowRevManagerDlg", DISPATCH_METHOD, {}), S_OK);
  }
  EXPECT_TRUE(driver->Failures().empty());
  ASSERT_EQ(driver->Runs().size(), 1u);
  EXPECT_EQ(driver->Runs()[0].caption, "Object Revision Manager");
}

TEST_F(ModuleDispatchTest, DispatchErrors) {
  DISPID id = 0;
  EXPECT_EQ(com::DispIdOfName(dispatch_.Get(), u"Frobnicate", &id), DISP_E_UNKNOWNNAME);
  // ObjectHandle is write only.
  Variant value;
  EXPECT_EQ(Call(u"ObjectHandle", DISPATCH_PROPERTYGET, {}, value.Out()), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(Call(u"Rename", DISPATCH_METHOD, {Variant(u"only one")}), DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(Call(u"Delete", DISPATCH_METHOD, {Variant(com::kNull)}), DISP_E_TYPEMISMATCH);
  DISPPARAMS params{nullptr, nullptr, 0, 0};
  EXPECT_EQ(dispatch_->Invoke(7, GUID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr),
            DISP_E_MEMBERNOTFOUND);

  // A member that fails: Delete of a handle that names nothing.
  com::ExceptionInfo exception;
  EXPECT_EQ(Call(u"Delete", DISPATCH_METHOD, {Variant(u"00")}, nullptr, &exception),
            DISP_E_EXCEPTION);
  EXPECT_EQ(exception.Code(), E_FAIL);
}

}  // namespace
