#include "servers/store/project_list.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>

#include "servers/store/product_home.h"
#include "servers/store/store_error.h"
#include "temp_dir.h"
#include "tests/support/variable_scope.h"

namespace store {
namespace {

using ScopedEnv = test_support::ScopedVariable;

TEST(ProductHome, FollowsRevmgrHomeThenXdgDataHomeThenHome) {
  ScopedEnv home("HOME", "/home/anna");
  {
    ScopedEnv revmgr("REVMGR_HOME", "/srv/revmgr");
    ScopedEnv xdg("XDG_DATA_HOME", "/data");
    EXPECT_EQ(ProductHome(), "/srv/revmgr");
  }
  {
    ScopedEnv revmgr("REVMGR_HOME", nullptr);
    ScopedEnv xdg("XDG_DATA_HOME", "/data");
    EXPECT_EQ(ProductHome(), "/data/revmgr");
  }
  {
    ScopedEnv revmgr("REVMGR_HOME", "");
    ScopedEnv xdg("XDG_DATA_HOME", nullptr);
    EXPECT_EQ(ProductHome(), "/home/anna/.local/share/revmgr");
  }
}

TEST(ProjectList, SavesAndLoadsEntries) {
  TempDir dir;
  auto file = dir.Path() / "sub" / "projects.list";
  EXPECT_TRUE(ProjectList::Load(file).Entries().empty());  // missing file: empty list

  ProjectList list;
  list.Set("SHIP1", "sqlite:/data/ship1.rvxdb");
  list.Set("Hull 2 (new)", "postgresql:host=db dbname=hull2");
  list.Save(file);

  ProjectList loaded = ProjectList::Load(file);
  EXPECT_EQ(loaded.Find("SHIP1"), "sqlite:/data/ship1.rvxdb");
  EXPECT_EQ(loaded.Find("Hull 2 (new)"), "postgresql:host=db dbname=hull2");
  EXPECT_FALSE(loaded.Find("ship1"));  // names are exact
  EXPECT_TRUE(loaded.Remove("SHIP1"));
  EXPECT_FALSE(loaded.Remove("SHIP1"));
  // No temporary file is left behind.
  int files = 0;
  for (auto& entry : std::filesystem::directory_iterator(file.parent_path())) {
    (void)entry;
    ++files;
  }
  EXPECT_EQ(files, 1);
}

TEST(ProjectList, RefusesNamesThatWouldBreakTheFile) {
  ProjectList list;
  EXPECT_THROW(list.Set("", "sqlite:/x"), StoreError);
  EXPECT_THROW(list.Set("a\tb", "sqlite:/x"), StoreError);
  EXPECT_THROW(list.Set("a\nb", "sqlite:/x"), StoreError);
  EXPECT_THROW(list.Set("a", "sqlite:/x\nEVIL\tsqlite:/y"), StoreError);
}

TEST(ProjectList, RegisterKeepsOtherEntriesOfTheProductHome) {
  TempDir dir;
  ScopedEnv home("REVMGR_HOME", dir.Path().c_str());
  RegisterProjectLocation("A", "sqlite:/a.rvxdb");
  RegisterProjectLocation("B", "sqlite:/b.rvxdb");
  RegisterProjectLocation("A", "sqlite:/a2.rvxdb");
  EXPECT_EQ(FindProjectLocation("A"), "sqlite:/a2.rvxdb");
  EXPECT_EQ(FindProjectLocation("B"), "sqlite:/b.rvxdb");
  EXPECT_FALSE(FindProjectLocation("C"));
  EXPECT_EQ(DefaultProjectLocation("C"),
            "sqlite:" + (dir.Path() / "projects" / "C.rvxdb").string());
}

}  // namespace
}  // namespace store
