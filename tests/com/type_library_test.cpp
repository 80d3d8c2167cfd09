#include <fstream>

#include <gtest/gtest.h>

#include "platform/com/module_resource.h"
#include "platform/com/registry.h"
#include "platform/com/type_library.h"
#include "platform/com/utf.h"
#include "tests/com/dispatch_test_thing.h"
#include "tests/com/registry_test_home.h"

// The test program carries the library as a module resource, as a module does.
REVMGR_MODULE_RESOURCE(kThingTypeLibraryResource, "TYPELIB", 1, com_test::kThingTypeLibrary);
REVMGR_MODULE_RESOURCE(kOtherResource, "REGISTRY", 103, "HKCR { }");

namespace {

using com::ComPtr;

TEST(TypeLibraryTextTest, DescribesTheLibraryItsInterfacesAndClasses) {
  std::string error;
  auto library = com::typelib::ParseTypeLibraryText(com_test::kThingTypeLibrary, &error);
  ASSERT_TRUE(library) << error;
  EXPECT_EQ(library->name, "THINGLib");
  EXPECT_EQ(library->libid, com_test::kThingLibId);
  EXPECT_EQ(library->major, 1);
  EXPECT_EQ(library->minor, 2);
  EXPECT_EQ(library->help, "Thing 1.2 Type Library");
  EXPECT_EQ(library->imports, std::vector<std::string>{"stdole2.tlb"});
  ASSERT_EQ(library->interfaces.size(), 1u);
  const auto& thing = library->interfaces[0];
  EXPECT_EQ(thing.iid, com_test::IThing::IID_);
  EXPECT_EQ(thing.base, "IDispatch");
  EXPECT_EQ(thing.flags, TYPEFLAG_FDUAL | TYPEFLAG_FOLEAUTOMATION);
  ASSERT_EQ(thing.members.size(), 8u);
  EXPECT_EQ(thing.members[0].kind, INVOKE_PROPERTYPUT);
  EXPECT_EQ(thing.members[1].kind, INVOKE_PROPERTYGET);
  const auto& add = thing.members[5];
  EXPECT_EQ(add.name, "Add");
  EXPECT_EQ(add.id, 5);
  EXPECT_EQ(add.help, "method Add");
  ASSERT_EQ(add.parameters.size(), 3u);
  EXPECT_EQ(add.parameters[1].type, VT_I2);
  EXPECT_EQ(add.parameters[1].flags, PARAMFLAG_FIN);
  EXPECT_EQ(add.parameters[2].type, VT_BYREF | VT_I4);
  EXPECT_EQ(add.parameters[2].flags, PARAMFLAG_FOUT | PARAMFLAG_FRETVAL);
  ASSERT_EQ(library->coclasses.size(), 1u);
  EXPECT_EQ(library->coclasses[0].clsid, com_test::kThingClsid);
  EXPECT_EQ(library->coclasses[0].defaultInterface, "IThing");
  EXPECT_EQ(library->coclasses[0].help, "Thing Class");
}

TEST(TypeLibraryTextTest, InvalidDescriptionsAreRejected) {
  const std::string head =
      "[uuid(7D3E0C11-5A1B-4C2D-9E3F-00000000A001), version(1.0)] library L {\n";
  const std::string iface =
      "[uuid(7D3E0C11-5A1B-4C2D-9E3F-00000000A003), dual] interface I : IDispatch {\n";
  struct Case {
    std::string text;
    const char* reason;
  };
  const Case cases[] = {
      {"library L { };", "line 1: missing uuid"},
      {"[uuid(nonsense)] library L { };", "line 1: bad uuid 'nonsense'"},
      {head + iface + "[id(1)] HRESULT A([in] float x);\n};\n};", "line 3: unknown type 'float'"},
      {head + iface + "[id(1)] HRESULT A();\n[id(1)] HRESULT B();\n};\n};",
       "line 4: duplicate id 1 in I"},
      {head + iface + "[id(1)] HRESULT A([out, retval] long* a, [in] long b);\n};\n};",
       "line 3: retval parameter of A is not the last"},
      {head + iface + "[id(1)] HRESULT A([out] long a);\n};\n};",
       "line 3: out parameter A is not a pointer"},
      {head + iface + "HRESULT A();\n};\n};", "line 3: member without id"},
      {head + "[uuid(7D3E0C11-5A1B-4C2D-9E3F-00000000A002)] coclass C { interface Nope; };\n};",
       "line 3: coclass C names an unknown interface Nope"},
      {head + "};\nextra", "line 3: text after the library"},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_FALSE(com::typelib::ParseTypeLibraryText(c.text, &error)) << c.text;
    EXPECT_EQ(error, c.reason) << c.text;
  }
}

TEST(ModuleResourceTest, ResourcesAreReadFromTheModuleFile) {
  auto self = com::ModulePathOf(&kThingTypeLibraryResource);
  ASSERT_TRUE(self);
  EXPECT_EQ(com::ReadModuleResource(*self, "TYPELIB", 1), std::string(com_test::kThingTypeLibrary));
  EXPECT_EQ(com::ReadModuleResource(*self, "REGISTRY", 103), "HKCR { }");
  EXPECT_FALSE(com::ReadModuleResource(*self, "REGISTRY", 1));
  EXPECT_FALSE(com::ReadModuleResource(*self, "TYPELIBX", 1));
  EXPECT_FALSE(com::ReadModuleResource("/nonexistent/module.so", "TYPELIB", 1));
}

TEST(ModuleResourceTest, DamagedSectionIsNotReadPastItsEnd) {
  com::ResourceHeader header{};
  header.magic = com::kResourceMagic;
  header.type = {'T', 'Y', 'P', 'E'};
  header.id = 1;
  header.size = 1000;  // more than follows
  std::string section(reinterpret_cast<const char*>(&header), sizeof header);
  section += "short";
  EXPECT_FALSE(com::FindResourceInSection(section, "TYPE", 1));
}

class TypeLibraryRegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    libraryFile_ = home_.Path() / "thing.idl";
    std::ofstream(libraryFile_) << com_test::kThingTypeLibrary;
  }
  std::u16string LibraryFile() const { return com::ToUtf16(libraryFile_.string()); }

  com_test::TemporaryHome home_;
  std::filesystem::path libraryFile_;
};

TEST_F(TypeLibraryRegistryTest, LoadsFromAModuleAndFromATextFile) {
  ComPtr<ITypeLib> fromModule;
  ASSERT_EQ(LoadTypeLib(com::ToUtf16("/proc/self/exe").c_str(), &fromModule), S_OK);
  ComPtr<ITypeLib> fromText;
  ASSERT_EQ(LoadTypeLib(LibraryFile().c_str(), &fromText), S_OK);
  for (ITypeLib* lib : {fromModule.Get(), fromText.Get()}) {
    EXPECT_EQ(lib->GetTypeInfoCount(), 2u);
    com::BStr name, help;
    ASSERT_EQ(lib->GetDocumentation(-1, &name, &help, nullptr, nullptr), S_OK);
    EXPECT_EQ(name.View(), u"THINGLib");
    EXPECT_EQ(help.View(), u"Thing 1.2 Type Library");
  }
  ComPtr<ITypeLib> missing;
  EXPECT_EQ(LoadTypeLib(u"/nonexistent.idl", &missing), TYPE_E_CANTLOADLIBRARY);
  EXPECT_FALSE(missing);
}

TEST_F(TypeLibraryRegistryTest, RegisterWritesTheLibraryAndInterfaceKeys) {
  ComPtr<ITypeLib> lib;
  ASSERT_EQ(LoadTypeLib(LibraryFile().c_str(), &lib), S_OK);
  ASSERT_EQ(RegisterTypeLib(lib.Get(), LibraryFile().c_str(), u"/help"), S_OK);

  com::RegistryKey root;
  ASSERT_EQ(com::ReadRegistry(&root), S_OK);
  const std::string libKey =
      "HKEY_CLASSES_ROOT\\TypeLib\\{7D3E0C11-5A1B-4C2D-9E3F-00000000A001}\\1.2";
  ASSERT_NE(root.Find(libKey), nullptr);
  EXPECT_EQ(root.Find(libKey)->DefaultText(), "Thing 1.2 Type Library");
  EXPECT_EQ(root.Find(libKey + "\\0\\linux64")->DefaultText(), libraryFile_.string());
  EXPECT_EQ(root.Find(libKey + "\\FLAGS")->DefaultText(), "0");
  EXPECT_EQ(root.Find(libKey + "\\HELPDIR")->DefaultText(), "/help");
  const com::RegistryKey* iface =
      root.Find("HKEY_CLASSES_ROOT\\Interface\\{7D3E0C11-5A1B-4C2D-9E3F-00000000A003}");
  ASSERT_NE(iface, nullptr);
  EXPECT_EQ(iface->DefaultText(), "IThing");
  EXPECT_EQ(iface->Find("TypeLib")->DefaultText(), "{7D3E0C11-5A1B-4C2D-9E3F-00000000A001}");
  EXPECT_EQ(iface->Find("TypeLib")->Value("Version")->text, "1.2");

  ASSERT_EQ(UnRegisterTypeLib(com_test::kThingLibId, 1, 2, 0, SYS_LINUX64), S_OK);
  ASSERT_EQ(com::ReadRegistry(&root), S_OK);
  EXPECT_EQ(root.Find("HKEY_CLASSES_ROOT\\TypeLib\\{7D3E0C11-5A1B-4C2D-9E3F-00000000A001}"),
            nullptr);
  EXPECT_EQ(root.Find("HKEY_CLASSES_ROOT\\Interface\\{7D3E0C11-5A1B-4C2D-9E3F-00000000A003}"),
            nullptr);
  EXPECT_EQ(UnRegisterTypeLib(com_test::kThingLibId, 1, 2, 0, SYS_LINUX64),
            TYPE_E_LIBNOTREGISTERED);
}

TEST_F(TypeLibraryRegistryTest, LoadRegTypeLibFindsACompatibleVersion) {
  ComPtr<ITypeLib> lib;
  ASSERT_EQ(LoadTypeLib(LibraryFile().c_str(), &lib), S_OK);
  ComPtr<ITypeLib> loaded;
  EXPECT_EQ(LoadRegTypeLib(com_test::kThingLibId, 1, 0, 0, &loaded), TYPE_E_LIBNOTREGISTERED);
  ASSERT_EQ(RegisterTypeLib(lib.Get(), LibraryFile().c_str(), nullptr), S_OK);

  struct Case {
    std::uint16_t major, minor;
    HRESULT expected;
  };
  for (const Case& c : {Case{1, 0, S_OK}, Case{1, 2, S_OK}, Case{1, 3, TYPE_E_LIBNOTREGISTERED},
                        Case{2, 0, TYPE_E_LIBNOTREGISTERED}}) {
    EXPECT_EQ(LoadRegTypeLib(com_test::kThingLibId, c.major, c.minor, 0, &loaded), c.expected)
        << c.major << "." << c.minor;
  }
  ASSERT_EQ(LoadRegTypeLib(com_test::kThingLibId, 1, 0, 0, &loaded), S_OK);
  TLIBATTR* attr = nullptr;
  ASSERT_EQ(loaded->GetLibAttr(&attr), S_OK);
  EXPECT_EQ(attr->guid, com_test::kThingLibId);
  EXPECT_EQ(attr->wMajorVerNum, 1);
  EXPECT_EQ(attr->wMinorVerNum, 2);
  loaded->ReleaseTLibAttr(attr);
}

TEST(TypeInfoTest, AttributesNamesAndDocumentation) {
  ComPtr<ITypeLib> lib;
  ASSERT_EQ(com::CreateTypeLibFromText(com_test::kThingTypeLibrary, &lib), S_OK);
  ComPtr<ITypeInfo> info;
  ASSERT_EQ(lib->GetTypeInfoOfGuid(com_test::IThing::IID_, &info), S_OK);
  TYPEATTR* attr = nullptr;
  ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
  EXPECT_EQ(attr->typekind, TKIND_DISPATCH);
  EXPECT_EQ(attr->cFuncs, 8);
  EXPECT_TRUE(attr->wTypeFlags & TYPEFLAG_FDUAL);
  info->ReleaseTypeAttr(attr);

  FUNCDESC* func = nullptr;
  ASSERT_EQ(info->GetFuncDesc(4, &func), S_OK);
  EXPECT_EQ(func->memid, 4);
  EXPECT_EQ(func->cParams, 1);
  EXPECT_EQ(func->lprgelemdescParam[0].vt, VT_BYREF | VT_I4);
  info->ReleaseFuncDesc(func);
  EXPECT_EQ(info->GetFuncDesc(8, &func), TYPE_E_ELEMENTNOTFOUND);

  BSTR names[4] = {};
  std::uint32_t count = 0;
  ASSERT_EQ(info->GetNames(5, names, 4, &count), S_OK);
  ASSERT_EQ(count, 4u);
  EXPECT_EQ(std::u16string(names[0]), u"Add");
  EXPECT_EQ(std::u16string(names[3]), u"sum");
  for (BSTR name : names) SysFreeString(name);

  com::BStr name, help;
  ASSERT_EQ(info->GetDocumentation(3, &name, &help, nullptr, nullptr), S_OK);
  EXPECT_EQ(name.View(), u"GetParts");
  EXPECT_EQ(help.View(), u"method GetParts");
  ASSERT_EQ(info->GetDocumentation(MEMBERID_NIL, &name, &help, nullptr, nullptr), S_OK);
  EXPECT_EQ(help.View(), u"IThing Interface");

  ComPtr<ITypeInfo> coclass;
  ASSERT_EQ(lib->GetTypeInfoOfGuid(com_test::kThingClsid, &coclass), S_OK);
  std::int32_t flags = 0;
  ASSERT_EQ(coclass->GetImplTypeFlags(0, &flags), S_OK);
  EXPECT_EQ(flags, IMPLTYPEFLAG_FDEFAULT);
  std::uint32_t ref = 0;
  ASSERT_EQ(coclass->GetRefTypeOfImplType(0, &ref), S_OK);
  ComPtr<ITypeInfo> defaultInterface;
  ASSERT_EQ(coclass->GetRefTypeInfo(ref, &defaultInterface), S_OK);
  ASSERT_EQ(defaultInterface->GetTypeAttr(&attr), S_OK);
  EXPECT_EQ(attr->guid, com_test::IThing::IID_);
}

}  // namespace
