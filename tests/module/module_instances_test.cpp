#include "platform/com/object.h"
#include "tests/module/module_fixture.h"

namespace {

using com::ComPtr;
using module_test::ModuleTest;

// An outer object that aggregates whatever inner object it is given.
class Outer final : public IUnknown {
 public:
  HRESULT QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IUnknown::IID_) {
      *out = static_cast<IUnknown*>(this);
      AddRef();
      return S_OK;
    }
    if (!inner_) {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    return inner_->QueryInterface(iid, out);
  }
  ULONG AddRef() override { return ++count_; }
  ULONG Release() override { return --count_; }  // lives on the test's stack

  ComPtr<IUnknown> inner_;
  ULONG count_ = 1;
};

TEST_F(ModuleTest, ClassObjectIsOnlyForRevManagerAndLocksTheModuleWhileHeld) {
  void* object = &object;
  EXPECT_EQ(Exports().getClassObject(IID_IRevManager, IClassFactory::IID_, &object),
            CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(Exports().getClassObject(CLSID_RevManager, IClassFactory::IID_, nullptr), E_POINTER);
  EXPECT_EQ(Exports().canUnloadNow(), S_OK);

  ComPtr<IClassFactory> factory = Factory();
  ASSERT_TRUE(factory);
  EXPECT_EQ(Exports().canUnloadNow(), S_FALSE);
  ComPtr<IClassFactory> same = Factory();
  EXPECT_EQ(factory.Get(), same.Get());  // made once, kept
  same = nullptr;
  EXPECT_EQ(Exports().canUnloadNow(), S_FALSE);
  factory = nullptr;
  EXPECT_EQ(Exports().canUnloadNow(), S_OK);
}

TEST_F(ModuleTest, LockServerKeepsTheModuleUntilItIsUnlocked) {
  ComPtr<IClassFactory> factory = Factory();
  ASSERT_EQ(factory->LockServer(1), S_OK);
  factory = nullptr;
  EXPECT_EQ(Exports().canUnloadNow(), S_FALSE);
  factory = Factory();
  ASSERT_EQ(factory->LockServer(0), S_OK);
  factory = nullptr;
  EXPECT_EQ(Exports().canUnloadNow(), S_OK);
}

TEST_F(ModuleTest, CreateInstanceChecksItsArguments) {
  MakeProject(store::kExtendedRvx, true);
  ComPtr<IClassFactory> factory = Factory();
  EXPECT_EQ(factory->CreateInstance(nullptr, IID_IRevManager, nullptr), E_POINTER);

  Outer outer;
  void* object = &object;
  EXPECT_EQ(factory->CreateInstance(&outer, IID_IRevManager, &object), CLASS_E_NOAGGREGATION);
  EXPECT_EQ(object, nullptr);
  factory = nullptr;
  EXPECT_EQ(Exports().canUnloadNow(), S_OK);  // no instance was made
}

TEST_F(ModuleTest, PlainInstanceAnswersItsInterfacesAndLocksTheModule) {
  MakeProject(store::kExtendedRvx, true);
  ComPtr<IRevManager> manager;
  {
    ComPtr<IClassFactory> factory = Factory();
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IRevManager, manager.ReleaseAndGetVoidAddress()),
              S_OK)
        << test_support::TakeErrorText();
  }
  EXPECT_EQ(Exports().canUnloadNow(), S_FALSE);
  for (const GUID& iid : {IUnknown::IID_, IDispatch::IID_, ISupportErrorInfo::IID_}) {
    ComPtr<IUnknown> other;
    EXPECT_EQ(manager->QueryInterface(iid, other.ReleaseAndGetVoidAddress()), S_OK);
  }
  ComPtr<ISupportErrorInfo> errors = manager.Query<ISupportErrorInfo>();
  ASSERT_TRUE(errors);
  EXPECT_EQ(errors->InterfaceSupportsErrorInfo(IID_IRevManager), S_OK);
  EXPECT_EQ(errors->InterfaceSupportsErrorInfo(IDispatch::IID_), S_FALSE);
  ComPtr<IClassFactory> notThere;
  EXPECT_EQ(manager->QueryInterface(IClassFactory::IID_, notThere.ReleaseAndGetVoidAddress()),
            E_NOINTERFACE);

  errors = nullptr;
  manager = nullptr;
  EXPECT_EQ(Exports().canUnloadNow(), S_OK);
}

TEST_F(ModuleTest, AggregatedInstanceDelegatesToItsOuterObject) {
  MakeProject(store::kExtendedRvx, true);
  Outer outer;
  {
    ComPtr<IClassFactory> factory = Factory();
    ASSERT_EQ(
        factory->CreateInstance(&outer, IUnknown::IID_, outer.inner_.ReleaseAndGetVoidAddress()),
        S_OK)
        << test_support::TakeErrorText();
  }
  EXPECT_EQ(Exports().canUnloadNow(), S_FALSE);
  IRevManager* manager = nullptr;
  ASSERT_EQ(outer.QueryInterface(IID_IRevManager, reinterpret_cast<void**>(&manager)), S_OK);
  const ULONG before = outer.count_;
  manager->AddRef();
  EXPECT_EQ(outer.count_, before + 1);  // counted by the outer object
  IUnknown* identity = nullptr;
  ASSERT_EQ(manager->QueryInterface(IUnknown::IID_, reinterpret_cast<void**>(&identity)), S_OK);
  EXPECT_EQ(identity, static_cast<IUnknown*>(&outer));
  identity->Release();
  manager->Release();
  manager->Release();
  outer.inner_ = nullptr;
  EXPECT_EQ(Exports().canUnloadNow(), S_OK);
}

struct RefusedCase {
  const char* what;
  const char* mode;
  bool granted;
  const char* description;
};

class ModuleRefusalTest : public ModuleTest, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(ModuleRefusalTest, FailedConstructionChecksLeaveTheLockCountWhereItWas) {
  const RefusedCase& c = GetParam();
  MakeProject(c.mode, c.granted);
  ComPtr<IClassFactory> factory = Factory();
  ASSERT_EQ(factory->LockServer(1), S_OK);  // a count that is not zero to come back to
  void* object = &object;
  EXPECT_EQ(factory->CreateInstance(nullptr, IID_IRevManager, &object), E_ACCESSDENIED);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(test_support::TakeErrorText(), std::string("VNMORMgr.RevManager.1|") + c.description);
  Outer outer;
  EXPECT_EQ(
      factory->CreateInstance(&outer, IUnknown::IID_, outer.inner_.ReleaseAndGetVoidAddress()),
      E_ACCESSDENIED);
  EXPECT_FALSE(outer.inner_);
  EXPECT_EQ(test_support::TakeErrorText(), std::string("VNMORMgr.RevManager.1|") + c.description);
  ASSERT_EQ(factory->LockServer(0), S_OK);
  factory = nullptr;
  EXPECT_EQ(Exports().canUnloadNow(), S_OK);
}

INSTANTIATE_TEST_SUITE_P(Checks, ModuleRefusalTest,
                         ::testing::Values(RefusedCase{"basic", store::kBasicRvx, true,
                                                       "This is no RVX enabled project"},
                                           RefusedCase{
                                               "ungranted", store::kExtendedRvx, false,
                                               "You are not authorized to run this program."}),
                         [](const auto& info) { return std::string(info.param.what); });

TEST_F(ModuleTest, HostCreatesTheClassThroughTheRegistry) {
  MakeProject(store::kExtendedRvx, true);
  ASSERT_EQ(Exports().registerServer(), S_OK);
  CLSID clsid{};
  ASSERT_EQ(CLSIDFromProgID(u"VNMORMgr.RevManager.1", &clsid), S_OK);
  ComPtr<IRevManager> manager;
  ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IRevManager,
                             manager.ReleaseAndGetVoidAddress()),
            S_OK)
      << test_support::TakeErrorText();
  ComPtr<IDispatch> dispatch = manager.Query<IDispatch>();
  ASSERT_TRUE(dispatch);
  std::uint32_t typeInfos = 0;
  EXPECT_EQ(dispatch->GetTypeInfoCount(&typeInfos), S_OK);
  EXPECT_EQ(typeInfos, 1u);
  dispatch = nullptr;
  manager = nullptr;
  EXPECT_EQ(Exports().canUnloadNow(), S_OK);
}

}  // namespace
