// The registry as kept parsed in the process: read once while the file stays the same, and read
// again whenever any process has replaced or changed it.
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "platform/com/class_object.h"
#include "platform/com/module_loader.h"
#include "platform/com/registry.h"
#include "tests/com/registry_test_home.h"
#include "tests/com/registry_test_process.h"
#include "tests/com/registry_test_server/ping.h"

namespace {

using com::RegistryKey;
using com::RegistryValue;
using com_test::RunInChild;

constexpr char kMarkKey[] = "HKEY_CURRENT_USER\\Mark";

HRESULT SetMark(const std::string& text) {
  return com::UpdateRegistry([&](RegistryKey& root) {
    root.Create(kMarkKey).SetDefault(RegistryValue::String(text));
    return S_OK;
  });
}

// The mark as the snapshot shows it; "" for none, "error" when it cannot be read.
std::string SnapshotMark() {
  std::shared_ptr<const RegistryKey> root;
  if (com::ReadRegistrySnapshot(&root) != S_OK || !root) return "error";
  const RegistryKey* mark = root->Find(kMarkKey);
  return mark && mark->DefaultText() ? *mark->DefaultText() : "";
}

class RegistrySnapshotTest : public ::testing::Test {
 protected:
  com_test::TemporaryHome home_;
};

TEST_F(RegistrySnapshotTest, UnchangedFileIsParsedOnceAndShared) {
  ASSERT_EQ(SetMark("one"), S_OK);
  std::shared_ptr<const RegistryKey> first, second;
  ASSERT_EQ(com::ReadRegistrySnapshot(&first), S_OK);
  const std::uint64_t parses = com::RegistrySnapshotParseCount();
  for (int i = 0; i < 100; ++i) ASSERT_EQ(com::ReadRegistrySnapshot(&second), S_OK);
  EXPECT_EQ(com::RegistrySnapshotParseCount(), parses);
  EXPECT_EQ(first.get(), second.get());

  // A change of this process is seen, and an old snapshot stays as it was for its holder.
  ASSERT_EQ(SetMark("two"), S_OK);
  EXPECT_EQ(SnapshotMark(), "two");
  EXPECT_EQ(*first->Find(kMarkKey)->DefaultText(), "one");
  EXPECT_EQ(com::ReadRegistrySnapshot(nullptr), E_POINTER);
}

TEST_F(RegistrySnapshotTest, EveryChangeByAnotherProcessIsSeenByTheNextRead) {
  // Marks of one length, written quickly one after the other: the file keeps its size and may
  // keep its modification time, so only its identity tells the new file from the old one.
  for (int i = 0; i < 200; ++i) {
    const std::string mark = "mark-" + std::to_string(1000 + i);
    ASSERT_EQ(RunInChild([&] { return SetMark(mark) == S_OK ? 0 : 1; }), 0);
    ASSERT_EQ(SnapshotMark(), mark) << "round " << i;
  }
}

TEST_F(RegistrySnapshotTest, FileRemovedDamagedOrEditedInPlaceIsSeen) {
  ASSERT_EQ(SnapshotMark(), "");  // no file yet: empty
  ASSERT_EQ(SetMark("kept"), S_OK);
  ASSERT_EQ(SnapshotMark(), "kept");

  std::filesystem::remove(com::RegistryFilePath());
  EXPECT_EQ(SnapshotMark(), "");

  { std::ofstream(com::RegistryFilePath(), std::ios::binary) << "revmgr-registry 1\nkey \"A\"\n"; }
  EXPECT_EQ(SnapshotMark(), "error");

  // Rewritten in place (same file, other length): a whole registry again.
  {
    std::ofstream out(com::RegistryFilePath(), std::ios::binary | std::ios::trunc);
    RegistryKey root;
    root.Create(kMarkKey).SetDefault(RegistryValue::String("edited"));
    out << com::SerializeRegistry(root);
  }
  EXPECT_EQ(SnapshotMark(), "edited");
}

TEST_F(RegistrySnapshotTest, AnotherProductHomeIsAnotherRegistry) {
  ASSERT_EQ(SetMark("first home"), S_OK);
  ASSERT_EQ(SnapshotMark(), "first home");
  {
    com_test::TemporaryHome other;
    EXPECT_EQ(SnapshotMark(), "");
    ASSERT_EQ(SetMark("second home"), S_OK);
    EXPECT_EQ(SnapshotMark(), "second home");
  }
  EXPECT_EQ(SnapshotMark(), "first home");
}

// Creation by class id and ProgID against registrations made and removed by other processes.
class InstalledByAnotherProcessTest : public ::testing::Test {
 protected:
  void TearDown() override { CoFreeUnusedLibraries(); }

  static int RegisterInChild() {
    return RunInChild(
        [] { return com::CallModuleExport(COM_TEST_SERVER, "DllRegisterServer") == S_OK ? 0 : 1; });
  }
  static int UnregisterInChild() {
    return RunInChild([] {
      const HRESULT hr = com::UpdateRegistry([](RegistryKey& root) {
        root.Remove("HKEY_CLASSES_ROOT\\ComTest.Thing");
        root.Remove("HKEY_CLASSES_ROOT\\CLSID\\{7D3E0C11-5A1B-4C2D-9E3F-00000000B001}");
        return S_OK;
      });
      return hr == S_OK ? 0 : 1;
    });
  }
  static HRESULT Create() {
    com::ComPtr<com_test::IPing> ping;
    const HRESULT hr = CoCreateInstance(com_test::kPingClsid, nullptr, CLSCTX_ALL,
                                        com_test::IPing::IID_, ping.ReleaseAndGetVoidAddress());
    if (SUCCEEDED(hr) && (!ping || ping->Ping() != 7)) return E_FAIL;
    return hr;
  }
  static HRESULT FindProgId() {
    CLSID clsid{};
    const HRESULT hr = CLSIDFromProgID(u"ComTest.Thing", &clsid);
    if (SUCCEEDED(hr) && clsid != com_test::kPingClsid) return E_FAIL;
    return hr;
  }

  com_test::TemporaryHome home_;
};

TEST_F(InstalledByAnotherProcessTest, RegistrationAndUnregistrationAreSeenByTheNextCreation) {
  EXPECT_EQ(Create(), REGDB_E_CLASSNOTREG);
  EXPECT_EQ(FindProgId(), REGDB_E_CLASSNOTREG);
  for (int round = 0; round < 3; ++round) {
    ASSERT_EQ(RegisterInChild(), 0);
    EXPECT_EQ(Create(), S_OK) << round;
    EXPECT_EQ(FindProgId(), S_OK) << round;
    ASSERT_EQ(UnregisterInChild(), 0);
    EXPECT_EQ(Create(), REGDB_E_CLASSNOTREG) << round;
    EXPECT_EQ(FindProgId(), REGDB_E_CLASSNOTREG) << round;
  }
}

TEST_F(InstalledByAnotherProcessTest, ModuleMovedByAnotherProcessIsLoadedFromItsNewPlace) {
  // The class installed from a copy of the module; another process points it at a missing one.
  const auto copy = home_.Path() / "copy" / "libPing.so";
  std::filesystem::create_directories(copy.parent_path());
  std::filesystem::copy_file(COM_TEST_SERVER, copy);
  ASSERT_EQ(
      RunInChild([&] { return com::CallModuleExport(copy, "DllRegisterServer") == S_OK ? 0 : 1; }),
      0);
  EXPECT_EQ(Create(), S_OK);
  CoFreeUnusedLibraries();
  ASSERT_EQ(RunInChild([] {
              const HRESULT hr = com::UpdateRegistry([](RegistryKey& root) {
                root.Find(
                        "HKEY_CLASSES_ROOT\\CLSID\\{7D3E0C11-5A1B-4C2D-9E3F-00000000B001}"
                        "\\InprocServer32")
                    ->SetDefault(RegistryValue::String("/nonexistent/libGone.so"));
                return S_OK;
              });
              return hr == S_OK ? 0 : 1;
            }),
            0);
  EXPECT_EQ(Create(), com::CO_E_DLLNOTFOUND);
}

TEST_F(InstalledByAnotherProcessTest, ModuleNamedThroughALinkIsLoadedOnce) {
  const auto link = home_.Path() / "libPingLink.so";
  std::filesystem::create_symlink(std::filesystem::canonical(COM_TEST_SERVER), link);
  ASSERT_EQ(com::UpdateRegistry([&](RegistryKey& root) {
              root.Create(
                      "HKEY_CLASSES_ROOT\\CLSID\\{7D3E0C11-5A1B-4C2D-9E3F-00000000B001}"
                      "\\InprocServer32")
                  .SetDefault(RegistryValue::String(link.string()));
              return S_OK;
            }),
            S_OK);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Create(), S_OK);
  EXPECT_EQ(com::CallModuleExport(COM_TEST_SERVER, "DllCanUnloadNow"), S_OK);
  EXPECT_EQ(com::LoadedModuleCount(), 1u);
  EXPECT_EQ(com::FreeUnusedModules(), 1u);
  // Unloaded, its names are forgotten with it: the next creation loads it again.
  EXPECT_EQ(Create(), S_OK);
  EXPECT_EQ(com::LoadedModuleCount(), 1u);
}

}  // namespace
