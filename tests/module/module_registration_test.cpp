#include <cstdio>
#include <memory>

#include "platform/com/registry.h"
#include "platform/com/type_library.h"
#include "tests/module/module_fixture.h"

namespace {

using com::RegistryKey;
using module_test::ModuleTest;

constexpr char kClassKey[] = "HKEY_CLASSES_ROOT\\CLSID\\{8A3D6E21-5B7C-4F9E-A1D2-6E4F0B8C7D35}";
constexpr char kLibraryId[] = "{C2E5B8D4-1A6F-4B3C-9D7E-0F5A2B8C4E96}";

RegistryKey ReadAll() {
  RegistryKey root;
  EXPECT_EQ(com::ReadRegistry(&root), S_OK);
  return root;
}

std::optional<std::string> DefaultOf(const RegistryKey& root, const std::string& path) {
  const RegistryKey* key = root.Find(path);
  return key ? key->DefaultText() : std::nullopt;
}

TEST(ModuleFileTest, ExportsTheFourEntryPointsAndNothingElse) {
  const std::string command =
      "nm -D --defined-only '" + module_test::ModuleFile("libVNMORMgr.so").string() + "'";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
  ASSERT_TRUE(pipe);
  std::vector<std::string> names;
  char line[512];
  while (std::fgets(line, sizeof line, pipe.get())) {
    std::string text(line);
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    names.push_back(text.substr(text.rfind(' ') + 1));
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"DllCanUnloadNow", "DllGetClassObject",
                                             "DllRegisterServer", "DllUnregisterServer"}));
}

TEST_F(ModuleTest, RegistrationWritesEveryEntryOfTheClassAndItsLibrary) {
  ASSERT_EQ(Exports().registerServer(), S_OK);
  const RegistryKey root = ReadAll();
  const std::string guid = "{8A3D6E21-5B7C-4F9E-A1D2-6E4F0B8C7D35}";

  EXPECT_EQ(DefaultOf(root, "HKEY_CLASSES_ROOT\\VNMORMgr.RevManager.1"), "RevManager Class");
  EXPECT_EQ(DefaultOf(root, "HKEY_CLASSES_ROOT\\VNMORMgr.RevManager.1\\CLSID"), guid);
  EXPECT_EQ(DefaultOf(root, "HKEY_CLASSES_ROOT\\VNMORMgr.RevManager"), "RevManager Class");
  EXPECT_EQ(DefaultOf(root, "HKEY_CLASSES_ROOT\\VNMORMgr.RevManager\\CLSID"), guid);
  EXPECT_EQ(DefaultOf(root, "HKEY_CLASSES_ROOT\\VNMORMgr.RevManager\\CurVer"),
            "VNMORMgr.RevManager.1");

  EXPECT_EQ(DefaultOf(root, kClassKey), "RevManager Class");
  EXPECT_EQ(DefaultOf(root, std::string(kClassKey) + "\\ProgID"), "VNMORMgr.RevManager.1");
  EXPECT_EQ(DefaultOf(root, std::string(kClassKey) + "\\VersionIndependentProgID"),
            "VNMORMgr.RevManager");
  const RegistryKey* programmable = root.Find(std::string(kClassKey) + "\\Programmable");
  ASSERT_NE(programmable, nullptr);
  EXPECT_FALSE(programmable->Default());
  EXPECT_FALSE(programmable->HasSubkeys());
  const RegistryKey* server = root.Find(std::string(kClassKey) + "\\InprocServer32");
  ASSERT_NE(server, nullptr);
  EXPECT_EQ(server->DefaultText(),
            std::filesystem::canonical(module_test::ModuleFile("libVNMORMgr.so")).string());
  ASSERT_NE(server->Value("ThreadingModel"), nullptr);
  EXPECT_EQ(server->Value("ThreadingModel")->text, "Apartment");
  EXPECT_EQ(DefaultOf(root, std::string(kClassKey) + "\\TypeLib"), kLibraryId);
  // Nothing else under the class key.
  EXPECT_EQ(root.Find(kClassKey)->Subkeys().size(), 5u);

  const std::string library = std::string("HKEY_CLASSES_ROOT\\TypeLib\\") + kLibraryId + "\\1.0";
  EXPECT_EQ(DefaultOf(root, library), "VNMORMgr 1.0 Type Library");
  EXPECT_EQ(DefaultOf(root, library + "\\0\\linux64"), server->DefaultText());
  EXPECT_EQ(DefaultOf(root, "HKEY_CLASSES_ROOT\\Interface\\{4F1C2A7E-93B5-4D0A-8E61-2C7B9D3E5A14}"),
            "IRevManager");

  // The ProgIDs lead to the class, as a host finds it.
  CLSID clsid{};
  ASSERT_EQ(CLSIDFromProgID(u"VNMORMgr.RevManager", &clsid), S_OK);
  EXPECT_EQ(clsid, CLSID_RevManager);
}

TEST_F(ModuleTest, TheRegisteredTypeLibraryDescribesTheClassAndItsMembers) {
  ASSERT_EQ(Exports().registerServer(), S_OK);
  com::ComPtr<ITypeLib> lib;
  ASSERT_EQ(LoadRegTypeLib(LIBID_VNMORMGRLib, 1, 0, 0, &lib), S_OK);
  com::BStr name, help;
  ASSERT_EQ(lib->GetDocumentation(-1, &name, &help, nullptr, nullptr), S_OK);
  EXPECT_EQ(name.View(), u"VNMORMGRLib");
  EXPECT_EQ(help.View(), u"VNMORMgr 1.0 Type Library");

  com::ComPtr<ITypeInfo> coclass;
  ASSERT_EQ(lib->GetTypeInfoOfGuid(CLSID_RevManager, &coclass), S_OK);
  ASSERT_EQ(coclass->GetDocumentation(MEMBERID_NIL, &name, &help, nullptr, nullptr), S_OK);
  EXPECT_EQ(name.View(), u"RevManager");
  EXPECT_EQ(help.View(), u"RevManager Class");

  com::ComPtr<ITypeInfo> info;
  ASSERT_EQ(lib->GetTypeInfoOfGuid(IID_IRevManager, &info), S_OK);
  TYPEATTR* attr = nullptr;
  ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
  EXPECT_EQ(attr->typekind, TKIND_DISPATCH);
  EXPECT_EQ(attr->wTypeFlags & (TYPEFLAG_FDUAL | TYPEFLAG_FOLEAUTOMATION),
            TYPEFLAG_FDUAL | TYPEFLAG_FOLEAUTOMATION);
  ASSERT_EQ(attr->cFuncs, 6);
  ASSERT_EQ(info->GetDocumentation(MEMBERID_NIL, &name, &help, nullptr, nullptr), S_OK);
  EXPECT_EQ(help.View(), u"IRevManager Interface");

  struct Member {
    DISPID id;
    INVOKEKIND kind;
    const char16_t* name;
    const char16_t* help;
    int parameters;
  };
  const Member members[] = {
      {1, INVOKE_PROPERTYPUT, u"ObjectHandle", u"property ObjectHandle", 1},
      {2, INVOKE_FUNC, u"Delete", u"method Delete", 1},
      {3, INVOKE_FUNC, u"ShowRevManagerDlg", u"method ShowRevManagerDlg", 0},
      {4, INVOKE_FUNC, u"Rename", u"method Rename", 2},
      {5, INVOKE_FUNC, u"GetOldestRevision", u"method GetOldestRevision", 3},
      {6, INVOKE_FUNC, u"GetRevisionCount", u"method GetRevisionCount", 1},
  };
  for (std::uint32_t i = 0; i < 6; ++i) {
    FUNCDESC* func = nullptr;
    ASSERT_EQ(info->GetFuncDesc(i, &func), S_OK);
    EXPECT_EQ(func->memid, members[i].id);
    EXPECT_EQ(func->invkind, members[i].kind);
    EXPECT_EQ(func->cParams, members[i].parameters);
    ASSERT_EQ(info->GetDocumentation(func->memid, &name, &help, nullptr, nullptr), S_OK);
    EXPECT_EQ(name.View(), members[i].name);
    EXPECT_EQ(help.View(), members[i].help);
    info->ReleaseFuncDesc(func);
  }
  FUNCDESC* count = nullptr;
  ASSERT_EQ(info->GetFuncDesc(5, &count), S_OK);
  EXPECT_EQ(count->lprgelemdescParam[0].vt, VT_BYREF | VT_I4);
  EXPECT_EQ(count->lprgelemdescParam[0].wParamFlags, PARAMFLAG_FOUT | PARAMFLAG_FRETVAL);
}

TEST_F(ModuleTest, UnregistrationRemovesTheEntriesButNotTheClsidKey) {
  ASSERT_EQ(com::UpdateRegistry([](RegistryKey& root) {
              root.Create("HKEY_CLASSES_ROOT\\CLSID\\{00000000-1111-2222-3333-444444444444}");
              return S_OK;
            }),
            S_OK);
  ASSERT_EQ(Exports().registerServer(), S_OK);
  ASSERT_EQ(Exports().unregisterServer(), S_OK);
  const RegistryKey root = ReadAll();
  EXPECT_EQ(root.Find("HKEY_CLASSES_ROOT\\VNMORMgr.RevManager.1"), nullptr);
  EXPECT_EQ(root.Find("HKEY_CLASSES_ROOT\\VNMORMgr.RevManager"), nullptr);
  EXPECT_EQ(root.Find(kClassKey), nullptr);
  EXPECT_EQ(root.Find(std::string("HKEY_CLASSES_ROOT\\TypeLib\\") + kLibraryId), nullptr);
  EXPECT_NE(root.Find("HKEY_CLASSES_ROOT\\CLSID"), nullptr);
  EXPECT_NE(root.Find("HKEY_CLASSES_ROOT\\CLSID\\{00000000-1111-2222-3333-444444444444}"), nullptr);
  // The stand-in servers stay registered.
  EXPECT_NE(root.Find("HKEY_CLASSES_ROOT\\VnQuerySrv.VNQuery"), nullptr);

  // Unregistering what is not registered is no failure.
  EXPECT_EQ(Exports().unregisterServer(), S_OK);
}

TEST_F(ModuleTest, RegisteringTwiceRebuildsTheClassKeyFromScratch) {
  ASSERT_EQ(Exports().registerServer(), S_OK);
  ASSERT_EQ(com::UpdateRegistry([](RegistryKey& root) {
              root.Create(std::string(kClassKey) + "\\Stale");
              root.Create(std::string(kClassKey) + "\\Programmable\\Stale");
              return S_OK;
            }),
            S_OK);
  ASSERT_EQ(Exports().registerServer(), S_OK);
  const RegistryKey root = ReadAll();
  EXPECT_EQ(root.Find(std::string(kClassKey) + "\\Stale"), nullptr);
  EXPECT_EQ(root.Find(std::string(kClassKey) + "\\Programmable\\Stale"), nullptr);
  EXPECT_EQ(root.Find("HKEY_CLASSES_ROOT\\CLSID")->Subkeys().size(),
            1u + 5u);  // the class and the five classes of the stand-in servers
}

}  // namespace
