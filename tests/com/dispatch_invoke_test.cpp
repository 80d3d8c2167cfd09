#include <fstream>

#include <gtest/gtest.h>

#include "platform/com/dispatch_call.h"
#include "platform/com/type_library.h"
#include "platform/com/utf.h"
#include "tests/com/dispatch_test_thing.h"
#include "tests/com/registry_test_home.h"

namespace {

using com::ComPtr;
using com::Variant;
using com_test::Thing;

VARIANT ByRef(BSTR* text) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BYREF | VT_BSTR;
  v.pbstrVal = text;
  return v;
}

class DispatchInvokeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto file = home_.Path() / "thing.idl";
    std::ofstream(file) << com_test::kThingTypeLibrary;
    ComPtr<ITypeLib> lib;
    ASSERT_EQ(LoadTypeLib(com::ToUtf16(file.string()).c_str(), &lib), S_OK);
    ASSERT_EQ(RegisterTypeLib(lib.Get(), com::ToUtf16(file.string()).c_str(), nullptr), S_OK);
    ASSERT_EQ(com::Object<Thing>::Create(&thing_, holder_), S_OK);
    dispatch_ = static_cast<IDispatch*>(thing_.Get());
  }

  HRESULT Call(std::u16string_view name, std::uint16_t flags, std::vector<Variant> args,
               VARIANT* result = nullptr, com::ExceptionInfo* exception = nullptr,
               std::uint32_t* argError = nullptr) {
    std::vector<VARIANT> raw;
    for (auto& a : args) raw.push_back(a.Get());
    return com::InvokeByName(dispatch_.Get(), name, flags, raw, result, exception, argError);
  }

  com_test::TemporaryHome home_;
  com::TypeInfoHolder holder_{com_test::kThingLibId, 1, 0, com_test::IThing::IID_};
  com::InvokerRegistration invokers_{com_test::IThing::IID_, com_test::kThingInvokers};
  ComPtr<Thing> thing_;
  ComPtr<IDispatch> dispatch_;
};

TEST_F(DispatchInvokeTest, TypeInformationComesFromTheRegisteredLibrary) {
  std::uint32_t count = 0;
  ASSERT_EQ(dispatch_->GetTypeInfoCount(&count), S_OK);
  EXPECT_EQ(count, 1u);
  ComPtr<ITypeInfo> info;
  ASSERT_EQ(dispatch_->GetTypeInfo(0, 0, &info), S_OK);
  TYPEATTR* attr = nullptr;
  ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
  EXPECT_EQ(attr->guid, com_test::IThing::IID_);
  EXPECT_EQ(dispatch_->GetTypeInfo(1, 0, &info), com::DISP_E_BADINDEX);
}

TEST_F(DispatchInvokeTest, NamesAreMatchedWithoutRegardToCase) {
  std::u16string member = u"rENAME", second = u"SECOND", unknown = u"third";
  LPOLESTR names[] = {member.data(), second.data(), unknown.data()};
  DISPID ids[3] = {};
  EXPECT_EQ(dispatch_->GetIDsOfNames(GUID_NULL, names, 2, 0, ids), S_OK);
  EXPECT_EQ(ids[0], 2);
  EXPECT_EQ(ids[1], 1);
  EXPECT_EQ(dispatch_->GetIDsOfNames(GUID_NULL, names, 3, 0, ids), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(ids[0], 2);
  EXPECT_EQ(ids[2], DISPID_UNKNOWN);
}

TEST_F(DispatchInvokeTest, EveryShapeOfMemberIsCalled) {
  // Property put and get.
  ASSERT_EQ(Call(u"Name", DISPATCH_PROPERTYPUT, {Variant(u"handle-1")}), S_OK);
  Variant name;
  ASSERT_EQ(Call(u"name", DISPATCH_PROPERTYGET, {}, name.Out()), S_OK);
  EXPECT_EQ(name.TextView(), u"handle-1");

  // Two in arguments in declared order.
  ASSERT_EQ(Call(u"Rename", DISPATCH_METHOD, {Variant(u"a"), Variant(u"b")}), S_OK);
  EXPECT_EQ(thing_->Renamed(), u"a|b");

  // Out arguments by reference: the caller's texts are replaced.
  com::BStr first(u"old"), second;
  ASSERT_EQ(Call(u"GetParts", DISPATCH_METHOD, {Variant(ByRef(&first)), Variant(ByRef(&second))}),
            S_OK);
  EXPECT_EQ(first.View(), u"left");
  EXPECT_EQ(second.View(), u"right");

  // An out argument given as a reference to a variant receives the declared type.
  Variant slot;
  VARIANT reference;
  VariantInit(&reference);
  reference.vt = VT_BYREF | VT_VARIANT;
  reference.pvarVal = slot.GetAddress();
  com::BStr other;
  ASSERT_EQ(Call(u"GetParts", DISPATCH_METHOD, {Variant(reference), Variant(ByRef(&other))}), S_OK);
  EXPECT_EQ(slot.Type(), VT_BSTR);
  EXPECT_EQ(slot.TextView(), u"left");

  // The return value, with the member's own success code.
  Variant count;
  EXPECT_EQ(Call(u"Count", DISPATCH_METHOD | DISPATCH_PROPERTYGET, {}, count.Out()), S_FALSE);
  EXPECT_EQ(count.Type(), VT_I4);
  EXPECT_EQ(count.Get().lVal, 42);

  // Arguments are converted to the declared types; a value by reference counts as the value.
  std::int32_t byRef = 5;
  VARIANT refArg;
  VariantInit(&refArg);
  refArg.vt = VT_BYREF | VT_I4;
  refArg.plVal = &byRef;
  Variant sum;
  ASSERT_EQ(Call(u"Add", DISPATCH_METHOD, {Variant(u"40"), Variant(refArg)}, sum.Out()), S_OK);
  EXPECT_EQ(sum.Get().lVal, 45);
}

struct ErrorCase {
  const char* what;
  std::u16string name;
  DISPID id;  // used when name is empty
  std::uint16_t flags;
  std::vector<Variant> args;
  std::uint32_t namedArgs;
  HRESULT expected;
};

TEST_F(DispatchInvokeTest, ErrorsOfTheOriginalModel) {
  const ErrorCase cases[] = {
      {"unknown name", u"Frobnicate", 0, DISPATCH_METHOD, {}, 0, DISP_E_UNKNOWNNAME},
      {"unknown DISPID", u"", 99, DISPATCH_METHOD, {}, 0, DISP_E_MEMBERNOTFOUND},
      {"property get of a method", u"", 2, DISPATCH_PROPERTYGET, {}, 0, DISP_E_MEMBERNOTFOUND},
      {"put of a method", u"", 4, DISPATCH_PROPERTYPUT, {Variant(1)}, 0, DISP_E_MEMBERNOTFOUND},
      {"too few", u"", 2, DISPATCH_METHOD, {Variant(u"a")}, 0, DISP_E_BADPARAMCOUNT},
      {"too many", u"", 4, DISPATCH_METHOD, {Variant(1)}, 0, DISP_E_BADPARAMCOUNT},
      {"named argument of a method",
       u"",
       2,
       DISPATCH_METHOD,
       {Variant(u"a"), Variant(u"b")},
       1,
       DISP_E_PARAMNOTFOUND},
  };
  for (const ErrorCase& c : cases) {
    DISPID id = c.id;
    if (!c.name.empty()) {
      EXPECT_EQ(com::DispIdOfName(dispatch_.Get(), c.name, &id), c.expected) << c.what;
      continue;
    }
    std::vector<VARIANT> reversed;
    for (auto it = c.args.rbegin(); it != c.args.rend(); ++it) reversed.push_back(it->Get());
    DISPID named[] = {0};
    DISPPARAMS params{reversed.data(), c.namedArgs ? named : nullptr,
                      static_cast<std::uint32_t>(reversed.size()), c.namedArgs};
    std::uint32_t argError = 0;
    EXPECT_EQ(dispatch_->Invoke(id, GUID_NULL, 0, c.flags, &params, nullptr, nullptr, &argError),
              c.expected)
        << c.what;
  }
}

TEST_F(DispatchInvokeTest, TypeMismatchNamesTheArgument) {
  // The second argument (a null) cannot become a text: position 0 in the reversed array.
  const Variant nullArgument(com::kNull), text(u"a");
  std::vector<VARIANT> reversed{nullArgument.Get(), text.Get()};
  DISPPARAMS params{reversed.data(), nullptr, 2, 0};
  std::uint32_t argError = 99;
  EXPECT_EQ(
      dispatch_->Invoke(2, GUID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, &argError),
      DISP_E_TYPEMISMATCH);
  EXPECT_EQ(argError, 0u);
  EXPECT_TRUE(thing_->Renamed().empty());

  // Through the by-name caller the position is in declared order.
  std::uint32_t position = 99;
  EXPECT_EQ(Call(u"Add", DISPATCH_METHOD, {Variant(u"not a number"), Variant(1)}, nullptr, nullptr,
                 &position),
            DISP_E_TYPEMISMATCH);
  EXPECT_EQ(position, 0u);

  // An out argument must be a reference of the declared type.
  com::BStr out;
  EXPECT_EQ(Call(u"GetParts", DISPATCH_METHOD, {Variant(u"x"), Variant(ByRef(&out))}, nullptr,
                 nullptr, &position),
            DISP_E_TYPEMISMATCH);
  EXPECT_EQ(position, 0u);
}

TEST_F(DispatchInvokeTest, FailingMemberGivesAnExceptionWithItsErrorInformation) {
  com::ExceptionInfo exception;
  EXPECT_EQ(Call(u"Fail", DISPATCH_METHOD, {}, nullptr, &exception), DISP_E_EXCEPTION);
  EXPECT_EQ(exception.Code(), E_ACCESSDENIED);
  EXPECT_EQ(exception.Source(), u"Thing.Thing.1");
  EXPECT_EQ(exception.Description(), u"It went wrong");

  // Error information left over from an earlier failure is not taken for this member's.
  com::SetThreadErrorInfo(u"stale", u"stale");
  EXPECT_EQ(Call(u"FailQuietly", DISPATCH_METHOD, {}, nullptr, &exception), DISP_E_EXCEPTION);
  EXPECT_EQ(exception.Code(), E_FAIL);
  EXPECT_TRUE(exception.Description().empty());
}

TEST_F(DispatchInvokeTest, MissingInvokersAreReportedNotCalled) {
  // A member the type library describes but no code registered for.
  com::TypeInfoHolder holder{com_test::kThingLibId, 1, 0, com_test::IThing::IID_};
  ComPtr<ITypeInfo> info;
  ASSERT_EQ(holder.GetTypeInfo(0, 0, &info), S_OK);
  constexpr com::MemberInvoker kWrongShape[] = {
      com::Invoker<&com_test::IThing::Fail>(2),  // Rename takes two texts, Fail none
  };
  com::InvokerRegistration wrong(com_test::IThing::IID_, kWrongShape);
  const Variant a(u"a"), b(u"b");
  std::vector<VARIANT> reversed{b.Get(), a.Get()};
  DISPPARAMS params{reversed.data(), nullptr, 2, 0};
  EXPECT_EQ(info->Invoke(static_cast<com_test::IThing*>(thing_.Get()), 2, DISPATCH_METHOD, &params,
                         nullptr, nullptr, nullptr),
            E_UNEXPECTED);
  EXPECT_EQ(info->Invoke(static_cast<com_test::IThing*>(thing_.Get()), 4, DISPATCH_METHOD, &params,
                         nullptr, nullptr, nullptr),
            DISP_E_BADPARAMCOUNT);
}

}  // namespace
