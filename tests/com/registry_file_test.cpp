#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

#include <gtest/gtest.h>

#include "platform/com/registry.h"
#include "tests/com/registry_test_home.h"
#include "tests/com/registry_test_process.h"

namespace {

using com::RegistryKey;
using com::RegistryValue;

std::string ReadFileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

RegistryKey SampleTree() {
  RegistryKey root;
  RegistryKey& clsid =
      root.Create("HKEY_CLASSES_ROOT\\CLSID\\{6F1A2B3C-0000-4000-8000-000000000001}");
  clsid.SetDefault(RegistryValue::String("Thing Class"));
  RegistryKey& server = clsid.Create("InprocServer32");
  server.SetDefault(RegistryValue::String("/opt/with space/\"quoted\"\\back\\slash.so"));
  server.SetValue("ThreadingModel", RegistryValue::String("Apartment"));
  clsid.Create("Programmable");  // a key with nothing in it
  RegistryKey& odd = root.Create("HKEY_CURRENT_USER\\Odd name = {}");
  odd.SetValue("Lines", RegistryValue::String("one\ntwo\r\tthree\x01"));
  odd.SetValue("Count", RegistryValue::Number(4294967295u));
  odd.SetValue("Zero", RegistryValue::Number(0));
  odd.SetValue("Empty", RegistryValue::String(""));
  odd.SetDefault(RegistryValue::String("Grüße, 製品"));
  return root;
}

TEST(RegistryTreeTest, NamesAreFoundWithoutRegardToCaseAndKeepTheirCase) {
  RegistryKey root;
  root.Create("HKEY_CLASSES_ROOT\\VNMORMgr.RevManager").SetValue("Mixed", RegistryValue::Number(1));
  const RegistryKey* found = root.Find("hkey_classes_root\\vnmormgr.revmanager");
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->Name(), "VNMORMgr.RevManager");
  ASSERT_NE(found->Value("MIXED"), nullptr);
  EXPECT_EQ(found->Values().begin()->first, "Mixed");
  // Creating it again in another case finds the same key.
  EXPECT_EQ(&root.Create("HKEY_CLASSES_ROOT\\VNMORMGR.REVMANAGER"), found);
  EXPECT_EQ(root.Find("HKEY_CLASSES_ROOT")->Subkeys().size(), 1u);
}

TEST(RegistryTreeTest, RemoveTakesTheSubtreeAndLeavesTheParent) {
  RegistryKey root;
  root.Create("A\\B\\C\\D");
  root.Create("A\\E");
  EXPECT_TRUE(root.Remove("a\\b"));
  EXPECT_EQ(root.Find("A\\B\\C"), nullptr);
  EXPECT_NE(root.Find("A\\E"), nullptr);
  EXPECT_FALSE(root.Remove("A\\B"));
  EXPECT_FALSE(root.Remove(""));
}

TEST(RegistryTextTest, RoundTripKeepsEveryKeyAndValue) {
  const RegistryKey tree = SampleTree();
  const std::string text = com::SerializeRegistry(tree);
  std::string error;
  auto parsed = com::ParseRegistry(text, &error);
  ASSERT_TRUE(parsed) << error;
  EXPECT_TRUE(*parsed == tree);
  EXPECT_EQ(com::SerializeRegistry(*parsed), text);
}

TEST(RegistryTextTest, EveryTruncatedFileIsRejected) {
  // A reader must never take part of a file for a whole (smaller) registry.
  const std::string text = com::SerializeRegistry(SampleTree());
  for (std::size_t length = 0; length < text.size(); ++length) {
    EXPECT_FALSE(com::ParseRegistry(std::string_view(text).substr(0, length)))
        << "accepted the first " << length << " bytes";
  }
}

TEST(RegistryTextTest, MalformedFilesAreRejected) {
  const std::string header = "revmgr-registry 1\n";
  const char* bodies[] = {
      "default s \"no key yet\"\nend\n",
      "key\nend\n",
      "key \"A\\\\B\"\nend\n",
      "key \"A\"\nvalue \"X\" d 4294967296\nend\n",
      "key \"A\"\nvalue \"X\" q 1\nend\n",
      "key \"A\"\ndefault s \"unterminated\nend\n",
      "key \"A\"\nend\nkey \"B\"\n",
      "key \"A\" trailing\nend\n",
  };
  for (const char* body : bodies) {
    EXPECT_FALSE(com::ParseRegistry(header + body)) << body;
  }
  EXPECT_FALSE(com::ParseRegistry("revmgr-registry 2\nend\n"));
}

class RegistryFileTest : public ::testing::Test {
 protected:
  com_test::TemporaryHome home_;
};

TEST_F(RegistryFileTest, NoFileIsAnEmptyRegistryAndUpdatesPersist) {
  RegistryKey root;
  ASSERT_EQ(com::ReadRegistry(&root), S_OK);
  EXPECT_FALSE(root.HasSubkeys());

  ASSERT_EQ(com::UpdateRegistry([](RegistryKey& r) {
              r = SampleTree();
              return S_OK;
            }),
            S_OK);
  EXPECT_EQ(com::RegistryFilePath().parent_path(), home_.Path());
  ASSERT_EQ(com::ReadRegistry(&root), S_OK);
  EXPECT_TRUE(root == SampleTree());
}

TEST_F(RegistryFileTest, FailingOrThrowingChangeLeavesTheFileAsItWas) {
  ASSERT_EQ(com::UpdateRegistry([](RegistryKey& r) {
              r = SampleTree();
              return S_OK;
            }),
            S_OK);
  const std::string before = ReadFileText(com::RegistryFilePath());

  EXPECT_EQ(com::UpdateRegistry([](RegistryKey& r) {
              r.Remove("HKEY_CLASSES_ROOT");
              return E_ACCESSDENIED;
            }),
            E_ACCESSDENIED);
  EXPECT_EQ(com::UpdateRegistry([](RegistryKey& r) -> HRESULT {
              r.Remove("HKEY_CLASSES_ROOT");
              throw std::runtime_error("midway");
            }),
            E_FAIL);
  EXPECT_EQ(ReadFileText(com::RegistryFilePath()), before);
}

TEST_F(RegistryFileTest, DamagedFileIsReportedAndNotOverwritten) {
  std::filesystem::create_directories(home_.Path());
  { std::ofstream(com::RegistryFilePath()) << "revmgr-registry 1\nkey \"A\"\n"; }
  RegistryKey root;
  EXPECT_EQ(com::ReadRegistry(&root), E_FAIL);
  bool called = false;
  EXPECT_EQ(com::UpdateRegistry([&](RegistryKey&) {
              called = true;
              return S_OK;
            }),
            E_FAIL);
  EXPECT_FALSE(called);
  EXPECT_EQ(ReadFileText(com::RegistryFilePath()), "revmgr-registry 1\nkey \"A\"\n");
}

using com_test::Fork;
using com_test::Wait;

TEST_F(RegistryFileTest, UpdatesFromTwoProcessesAreNotLost) {
  constexpr int kRounds = 60;
  auto increment = [] {
    for (int i = 0; i < kRounds; ++i) {
      const HRESULT hr = com::UpdateRegistry([](RegistryKey& r) {
        RegistryKey& counter = r.Create("HKEY_CURRENT_USER\\Counter");
        const RegistryValue* value = counter.Value("N");
        counter.SetValue("N", RegistryValue::Number(value ? value->number + 1 : 1));
        return S_OK;
      });
      if (hr != S_OK) return 1;
    }
    return 0;
  };
  const pid_t first = Fork(increment);
  const pid_t second = Fork(increment);
  ASSERT_GT(first, 0);
  ASSERT_GT(second, 0);
  EXPECT_EQ(Wait(first), 0);
  EXPECT_EQ(Wait(second), 0);

  RegistryKey root;
  ASSERT_EQ(com::ReadRegistry(&root), S_OK);
  const RegistryKey* counter = root.Find("HKEY_CURRENT_USER\\Counter");
  ASSERT_NE(counter, nullptr);
  ASSERT_NE(counter->Value("N"), nullptr);
  EXPECT_EQ(counter->Value("N")->number, 2u * kRounds);
}

TEST_F(RegistryFileTest, ReaderWithoutTheLockNeverSeesAPartialFile) {
  // A writer alternates between a large and a small registry; a reader that ignores the lock
  // reads the file again and again and must always find a whole one.
  ASSERT_EQ(com::UpdateRegistry([](RegistryKey&) { return S_OK; }), S_OK);
  const pid_t writer = Fork([] {
    for (int i = 0; i < 40; ++i) {
      const HRESULT hr = com::UpdateRegistry([i](RegistryKey& r) {
        r = RegistryKey();
        const int keys = (i % 2) ? 2000 : 3;
        for (int k = 0; k < keys; ++k) {
          r.Create("HKEY_CLASSES_ROOT\\Key" + std::to_string(k))
              .SetDefault(RegistryValue::String(std::string(40, 'x')));
        }
        return S_OK;
      });
      if (hr != S_OK) return 1;
    }
    return 0;
  });
  ASSERT_GT(writer, 0);
  int reads = 0;
  int status = 0;
  for (;;) {
    const std::string text = ReadFileText(com::RegistryFilePath());
    std::string error;
    ASSERT_TRUE(com::ParseRegistry(text, &error)) << "read " << reads << ": " << error;
    ++reads;
    const pid_t done = ::waitpid(writer, &status, WNOHANG);
    if (done == writer) break;
  }
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_GT(reads, 0);
}

TEST(ProductHomeTest, ComesFromTheFirstVariableThatIsSet) {
  struct Case {
    const char* revmgrHome;
    const char* xdgDataHome;
    const char* home;
    const char* expected;
  };
  const Case cases[] = {
      {"/r", "/x", "/h", "/r"},
      {nullptr, "/x", "/h", "/x/revmgr"},
      {"", "/x", "/h", "/x/revmgr"},
      {nullptr, nullptr, "/h", "/h/.local/share/revmgr"},
      {nullptr, "", "/h", "/h/.local/share/revmgr"},
  };
  auto save = [](const char* name) -> std::optional<std::string> {
    const char* v = std::getenv(name);
    return v ? std::optional<std::string>(v) : std::nullopt;
  };
  auto set = [](const char* name, const char* value) {
    if (value) {
      ::setenv(name, value, 1);
    } else {
      ::unsetenv(name);
    }
  };
  const auto saved = std::array{save("REVMGR_HOME"), save("XDG_DATA_HOME"), save("HOME")};
  for (const Case& c : cases) {
    set("REVMGR_HOME", c.revmgrHome);
    set("XDG_DATA_HOME", c.xdgDataHome);
    set("HOME", c.home);
    EXPECT_EQ(com::ProductHome(), std::filesystem::path(c.expected));
  }
  set("REVMGR_HOME", saved[0] ? saved[0]->c_str() : nullptr);
  set("XDG_DATA_HOME", saved[1] ? saved[1]->c_str() : nullptr);
  set("HOME", saved[2] ? saved[2]->c_str() : nullptr);
}

}  // namespace
