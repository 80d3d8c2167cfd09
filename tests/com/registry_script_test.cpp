#include <gtest/gtest.h>

#include "platform/com/registry_script.h"
#include "tests/com/registry_test_home.h"

namespace {

using com::RegistryKey;
using com::RegistryScript;
using com::RegistryValue;

constexpr char kClassScript[] = R"(
HKCR
{
	Thing.Thing.1 = s 'Thing Class'
	{
		CLSID = s '{11111111-2222-3333-4444-555555555555}'
	}
	Thing.Thing = s 'Thing Class'
	{
		CLSID = s '{11111111-2222-3333-4444-555555555555}'
		CurVer = s 'Thing.Thing.1'
	}
	NoRemove CLSID
	{
		ForceRemove {11111111-2222-3333-4444-555555555555} = s 'Thing Class'
		{
			ProgID = s 'Thing.Thing.1'
			ForceRemove 'Programmable'
			InprocServer32 = s '%MODULE%'
			{
				val ThreadingModel = s 'Apartment'
			}
			'TypeLib' = s '{AAAAAAAA-2222-3333-4444-555555555555}'
		}
	}
}
)";

constexpr char kClassKey[] = "HKEY_CLASSES_ROOT\\CLSID\\{11111111-2222-3333-4444-555555555555}";

RegistryScript Parse(std::string_view text, const com::ScriptReplacements& replacements = {
                                                {"MODULE", "/lib/it's here/libThing.so"}}) {
  std::string error;
  auto script = RegistryScript::Parse(text, replacements, &error);
  EXPECT_TRUE(script) << error;
  return script ? std::move(*script) : RegistryScript();
}

std::optional<std::string> DefaultOf(const RegistryKey& root, std::string_view path) {
  const RegistryKey* key = root.Find(path);
  return key ? key->DefaultText() : std::nullopt;
}

TEST(RegistryScriptTest, RegisterWritesEveryKeyValueAndReplacement) {
  RegistryKey root;
  Parse(kClassScript).Register(root);
  EXPECT_EQ(DefaultOf(root, "HKEY_CLASSES_ROOT\\Thing.Thing.1"), "Thing Class");
  EXPECT_EQ(DefaultOf(root, "HKEY_CLASSES_ROOT\\Thing.Thing.1\\CLSID"),
            "{11111111-2222-3333-4444-555555555555}");
  EXPECT_EQ(DefaultOf(root, "HKEY_CLASSES_ROOT\\Thing.Thing\\CurVer"), "Thing.Thing.1");
  EXPECT_EQ(DefaultOf(root, kClassKey), "Thing Class");
  const RegistryKey* server = root.Find(std::string(kClassKey) + "\\InprocServer32");
  ASSERT_NE(server, nullptr);
  EXPECT_EQ(server->DefaultText(), "/lib/it's here/libThing.so");
  ASSERT_NE(server->Value("ThreadingModel"), nullptr);
  EXPECT_EQ(*server->Value("ThreadingModel"), RegistryValue::String("Apartment"));
  const RegistryKey* programmable = root.Find(std::string(kClassKey) + "\\Programmable");
  ASSERT_NE(programmable, nullptr);
  EXPECT_FALSE(programmable->Default());
  EXPECT_EQ(DefaultOf(root, std::string(kClassKey) + "\\TypeLib"),
            "{AAAAAAAA-2222-3333-4444-555555555555}");
}

TEST(RegistryScriptTest, UnregisterRemovesWhatTheScriptMadeButNotNoRemoveKeys) {
  RegistryKey root;
  root.Create("HKEY_CLASSES_ROOT\\CLSID\\{99999999-0000-0000-0000-000000000000}");
  const RegistryScript script = Parse(kClassScript);
  script.Register(root);
  script.Unregister(root);
  EXPECT_EQ(root.Find("HKEY_CLASSES_ROOT\\Thing.Thing.1"), nullptr);
  EXPECT_EQ(root.Find("HKEY_CLASSES_ROOT\\Thing.Thing"), nullptr);
  EXPECT_EQ(root.Find(kClassKey), nullptr);
  // The shared CLSID key and someone else's class stay.
  EXPECT_NE(root.Find("HKEY_CLASSES_ROOT\\CLSID\\{99999999-0000-0000-0000-000000000000}"), nullptr);
  // So does the root, even when empty.
  RegistryKey alone;
  script.Register(alone);
  script.Unregister(alone);
  EXPECT_NE(alone.Find("HKEY_CLASSES_ROOT\\CLSID"), nullptr);
}

TEST(RegistryScriptTest, ForceRemoveRebuildsTheKeyAndPlainKeysKeepForeignSubkeys) {
  RegistryKey root;
  root.Create(std::string(kClassKey) + "\\Stale");
  root.Create(std::string(kClassKey) + "\\Programmable\\Stale");
  root.Create("HKEY_CLASSES_ROOT\\Thing.Thing\\Foreign");
  const RegistryScript script = Parse(kClassScript);
  script.Register(root);
  EXPECT_EQ(root.Find(std::string(kClassKey) + "\\Stale"), nullptr);
  EXPECT_EQ(root.Find(std::string(kClassKey) + "\\Programmable\\Stale"), nullptr);
  EXPECT_NE(root.Find("HKEY_CLASSES_ROOT\\Thing.Thing\\Foreign"), nullptr);

  // Registering twice gives the same tree as once.
  RegistryKey once;
  script.Register(once);
  RegistryKey twice;
  script.Register(twice);
  script.Register(twice);
  EXPECT_TRUE(once == twice);

  // A plain key with a subkey the script did not make survives unregistration, without the
  // script's own parts.
  script.Unregister(root);
  ASSERT_NE(root.Find("HKEY_CLASSES_ROOT\\Thing.Thing\\Foreign"), nullptr);
  EXPECT_EQ(root.Find("HKEY_CLASSES_ROOT\\Thing.Thing\\CurVer"), nullptr);
}

TEST(RegistryScriptTest, DeleteRemovesOnRegisterAndIsLeftAloneOnUnregister) {
  RegistryKey root;
  root.Create("HKEY_CLASSES_ROOT\\Old.Name\\CLSID");
  const RegistryScript script = Parse(R"(
    HKCR
    {
      Delete Old.Name
      {
        Inner = s 'never made'
      }
      New.Name = s 'x'
    })");
  script.Register(root);
  EXPECT_EQ(root.Find("HKEY_CLASSES_ROOT\\Old.Name"), nullptr);
  EXPECT_NE(root.Find("HKEY_CLASSES_ROOT\\New.Name"), nullptr);
  root.Create("HKEY_CLASSES_ROOT\\Old.Name");
  script.Unregister(root);
  EXPECT_NE(root.Find("HKEY_CLASSES_ROOT\\Old.Name"), nullptr);
  EXPECT_EQ(root.Find("HKEY_CLASSES_ROOT\\New.Name"), nullptr);
}

TEST(RegistryScriptTest, ValuesNumbersQuotesAndPercentSigns) {
  RegistryKey root;
  Parse(R"(
    HKCU
    {
      NoRemove Software
      {
        'Key with ''quotes''' = s '100%% sure, %NAME%'
        {
          val Decimal = d 42
          val Hex = d '0xFFFFFFFF'
          val 'Spaced name' = s ''
        }
      }
    })",
        {{"NAME", "named"}})
      .Register(root);
  const RegistryKey* key = root.Find("HKEY_CURRENT_USER\\Software\\Key with 'quotes'");
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->DefaultText(), "100% sure, named");
  EXPECT_EQ(*key->Value("Decimal"), RegistryValue::Number(42));
  EXPECT_EQ(*key->Value("Hex"), RegistryValue::Number(0xFFFFFFFFu));
  EXPECT_EQ(*key->Value("Spaced name"), RegistryValue::String(""));
}

TEST(RegistryScriptTest, NamedValuesOfANoRemoveKeyGoOnUnregister) {
  RegistryKey root;
  const RegistryScript script = Parse(R"(
    HKCU { NoRemove Shared { val Mine = s 'a' } })");
  root.Create("HKEY_CURRENT_USER\\Shared").SetValue("Theirs", RegistryValue::String("b"));
  script.Register(root);
  script.Unregister(root);
  const RegistryKey* shared = root.Find("HKEY_CURRENT_USER\\Shared");
  ASSERT_NE(shared, nullptr);
  EXPECT_EQ(shared->Value("Mine"), nullptr);
  EXPECT_NE(shared->Value("Theirs"), nullptr);
}

TEST(RegistryScriptTest, MalformedScriptsAreRejectedWithTheirLine) {
  struct Case {
    const char* text;
    const char* reason;
  };
  const Case cases[] = {
      {"HKCR\n{\n  A = s '%UNKNOWN%'\n}", "line 3: no value for %UNKNOWN%"},
      {"HKCR\n{\n  A = s 'open\n}", "line 3: unterminated quoted text"},
      {"HKCR\n{\n  A\n", "line 4: missing '}'"},
      {"HKXX\n{\n}", "line 1: unknown root key 'HKXX'"},
      {"HKCR\n{\n  A = q 'x'\n}", "line 3: unknown value type 'q'"},
      {"HKCR\n{\n  A = d 'x1'\n}", "line 3: bad number 'x1'"},
      {"HKCR\n{\n  A = d 4294967296\n}", "line 3: number out of range '4294967296'"},
      {"HKCR\n{\n  val = s 'x'\n}", "line 3: expected a name"},
      {"HKCR\n{\n  'a\\b' = s 'x'\n}", "line 3: bad key name 'a\\b'"},
      {"HKCR\n", "line 2: expected '{' after the root key"},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_FALSE(RegistryScript::Parse(c.text, {}, &error)) << c.text;
    EXPECT_EQ(error, c.reason) << c.text;
  }
}

class RegistryScriptFileTest : public ::testing::Test {
 protected:
  com_test::TemporaryHome home_;
};

TEST_F(RegistryScriptFileTest, RunWritesTheRegistryFileAndABadScriptChangesNothing) {
  ASSERT_EQ(com::RunRegistryScript(kClassScript, {{"MODULE", "/m.so"}}, true), S_OK);
  RegistryKey root;
  ASSERT_EQ(com::ReadRegistry(&root), S_OK);
  EXPECT_EQ(DefaultOf(root, std::string(kClassKey) + "\\InprocServer32"), "/m.so");

  std::string error;
  EXPECT_EQ(com::RunRegistryScript(kClassScript, {}, false, &error), E_INVALIDARG);
  EXPECT_NE(error.find("%MODULE%"), std::string::npos);
  ASSERT_EQ(com::ReadRegistry(&root), S_OK);
  EXPECT_NE(root.Find(kClassKey), nullptr);

  ASSERT_EQ(com::RunRegistryScript(kClassScript, {{"MODULE", "/m.so"}}, false), S_OK);
  ASSERT_EQ(com::ReadRegistry(&root), S_OK);
  EXPECT_EQ(root.Find(kClassKey), nullptr);
  EXPECT_NE(root.Find("HKEY_CLASSES_ROOT\\CLSID"), nullptr);
}

}  // namespace
