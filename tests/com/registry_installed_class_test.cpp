#include <gtest/gtest.h>

#include "platform/com/class_object.h"
#include "platform/com/module_loader.h"
#include "platform/com/registry.h"
#include "tests/com/registry_test_home.h"
#include "tests/com/registry_test_server/ping.h"

namespace {

constexpr const CLSID& kClsid = com_test::kPingClsid;
using com_test::IPing;
class InstalledClassTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_EQ(com::CallModuleExport(COM_TEST_SERVER, "DllRegisterServer", &error), S_OK) << error;
  }
  void TearDown() override { CoFreeUnusedLibraries(); }

  com_test::TemporaryHome home_;
};

TEST_F(InstalledClassTest, ClassIsCreatedFromTheModuleNamedInTheRegistry) {
  com::RegistryKey root;
  ASSERT_EQ(com::ReadRegistry(&root), S_OK);
  const com::RegistryKey* server =
      root.Find("HKEY_CLASSES_ROOT\\CLSID\\{7D3E0C11-5A1B-4C2D-9E3F-00000000B001}\\InprocServer32");
  ASSERT_NE(server, nullptr);
  EXPECT_EQ(server->DefaultText(), std::filesystem::canonical(COM_TEST_SERVER).string());

  CLSID clsid{};
  ASSERT_EQ(CLSIDFromProgID(u"ComTest.Thing", &clsid), S_OK);
  EXPECT_EQ(clsid, kClsid);
  EXPECT_EQ(CLSIDFromProgID(u"ComTest.Nothing", &clsid), REGDB_E_CLASSNOTREG);

  com::ComPtr<IPing> ping;
  ASSERT_EQ(
      CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IPing::IID_, ping.ReleaseAndGetVoidAddress()),
      S_OK);
  EXPECT_EQ(ping->Ping(), 7);
  EXPECT_EQ(com::LoadedModuleCount(), 1u);

  // A second creation finds the module already loaded.
  com::ComPtr<IPing> again;
  ASSERT_EQ(
      CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IPing::IID_, again.ReleaseAndGetVoidAddress()),
      S_OK);
  EXPECT_EQ(com::LoadedModuleCount(), 1u);
}

TEST_F(InstalledClassTest, ModulesAreUnloadedOnlyWhenTheySayTheyCanBe) {
  com::ComPtr<IPing> ping;
  ASSERT_EQ(
      CoCreateInstance(kClsid, nullptr, CLSCTX_ALL, IPing::IID_, ping.ReleaseAndGetVoidAddress()),
      S_OK);
  com::ComPtr<IClassFactory> factory;
  ASSERT_EQ(CoGetClassObject(kClsid, CLSCTX_ALL, nullptr, IClassFactory::IID_,
                             factory.ReleaseAndGetVoidAddress()),
            S_OK);
  EXPECT_EQ(com::FreeUnusedModules(), 0u);  // an object and the class object are alive
  ping = nullptr;
  EXPECT_EQ(com::FreeUnusedModules(), 0u);  // the class object is still held
  factory = nullptr;
  EXPECT_EQ(com::FreeUnusedModules(), 1u);
  EXPECT_EQ(com::LoadedModuleCount(), 0u);

  // And loaded again on the next request.
  ASSERT_EQ(
      CoCreateInstance(kClsid, nullptr, CLSCTX_ALL, IPing::IID_, ping.ReleaseAndGetVoidAddress()),
      S_OK);
  EXPECT_EQ(ping->Ping(), 7);
}

TEST_F(InstalledClassTest, UnknownClassesAndMissingModulesAreReported) {
  void* object = &object;
  EXPECT_EQ(CoCreateInstance(com::MakeGuid("{7D3E0C11-5A1B-4C2D-9E3F-00000000B0FF}"), nullptr,
                             CLSCTX_ALL, IUnknown::IID_, &object),
            REGDB_E_CLASSNOTREG);
  EXPECT_EQ(object, nullptr);

  ASSERT_EQ(com::UpdateRegistry([](com::RegistryKey& root) {
              root.Create(
                      "HKEY_CLASSES_ROOT\\CLSID\\{7D3E0C11-5A1B-4C2D-9E3F-00000000B001}"
                      "\\InprocServer32")
                  .SetDefault(com::RegistryValue::String("/nonexistent/libGone.so"));
              return S_OK;
            }),
            S_OK);
  EXPECT_EQ(CoCreateInstance(kClsid, nullptr, CLSCTX_ALL, IUnknown::IID_, &object),
            com::CO_E_DLLNOTFOUND);
}

}  // namespace
