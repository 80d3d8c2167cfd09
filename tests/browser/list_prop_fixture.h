#pragma once
// Driving the List revisions page through the headless driver: a temporary product home, the
// module's caches reset per test, and either a real project (the environment service, RVX server
// and query server stand-ins over a generated store) or no RVX project at all (for tests that put
// fakes of the query server in front).
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "browser/all_controls_sheet.h"
#include "browser/dialog_template_202.h"
#include "component/component_module_state.h"
#include "host/access_control.h"
#include "host/xd186.h"
#include "platform/ui/headless_driver.h"
#include "platform/ui/module_state.h"
#include "servers/env/env_service.h"
#include "servers/rvx/current_user.h"
#include "servers/rvx/rvx_server.h"
#include "servers/store/generator.h"
#include "servers/store/project_list.h"
#include "servers/store/project_setup.h"
#include "servers/store/revision_store.h"
#include "servers/vnquery/vnquery_server.h"
#include "tests/support/temporary_home.h"
#include "tests/support/variable_scope.h"

namespace page_test {

inline constexpr char kProject[] = "PAGES1";

// Plain SQL on the project's store file, to check what the page shows and did.
class StoreSql {
 public:
  explicit StoreSql(const std::string& path) {
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
      ADD_FAILURE() << "cannot open " << path;
    }
    sqlite3_busy_timeout(db_, 5000);
  }
  ~StoreSql() { sqlite3_close(db_); }
  StoreSql(const StoreSql&) = delete;
  StoreSql& operator=(const StoreSql&) = delete;

  std::vector<std::vector<std::string>> Rows(const std::string& sql) {
    std::vector<std::vector<std::string>> rows;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
      ADD_FAILURE() << sqlite3_errmsg(db_) << "\n" << sql;
      return rows;
    }
    while (sqlite3_step(statement) == SQLITE_ROW) {
      std::vector<std::string> row;
      for (int c = 0; c < sqlite3_column_count(statement); ++c) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, c));
        row.emplace_back(text ? text : "");
      }
      rows.push_back(std::move(row));
    }
    sqlite3_finalize(statement);
    return rows;
  }
  std::string Text(const std::string& sql) {
    auto rows = Rows(sql);
    return rows.empty() || rows[0].empty() ? std::string() : rows[0][0];
  }
  std::int64_t Number(const std::string& sql) { return std::stoll(Text(sql)); }
  void Exec(const std::string& sql) {
    char* error = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
      ADD_FAILURE() << (error ? error : "?") << "\n" << sql;
    }
    sqlite3_free(error);
  }

 private:
  sqlite3* db_ = nullptr;
};

// The handle of a revision as SQL builds it.
inline constexpr char kHandleSql[] = "printf('%016X%016X', o.id, r.id)";

class PageTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    env::RegisterInProcess();
    rvx::RegisterInProcess();
    vnquery::RegisterInProcess();
  }

  void SetUp() override {
    for (const char* name : {"_#INT#_PROJECT", "_#INT#_RVXPROJECT", "PW_SUBPROJ", "_#INT#_FTPHOST",
                             "_#INT#_PROJECTGROUP"}) {
      Unset(name);
    }
    ResetEnvClientForTesting();
    ResetAccessCacheForTesting();
    driver_ = std::make_shared<ui::HeadlessDriver>();
    installed_ = std::make_unique<ui::HeadlessDriver::Installed>(driver_);
    browser::InstallRevManagerSheet();
  }

  void TearDown() override {
    sql_.reset();
    installed_.reset();
    ResetEnvClientForTesting();
    ResetAccessCacheForTesting();
  }

  // An extended RVX project with `revisions` generated revisions; granted: the current user holds
  // "mor.revisionmgmnt".
  void MakeProject(std::int64_t revisions, bool granted = true, std::uint64_t seed = 20040301) {
    std::vector<store::FunctionGrant> grants;
    if (granted) grants.push_back({rvx::CurrentUserName(), "mor.revisionmgmnt"});
    std::string error;
    auto opened = store::SetUpProject(kProject, store::kExtendedRvx, grants, {}, &error);
    ASSERT_TRUE(opened) << error;
    if (revisions > 0) {
      store::GeneratorOptions options;
      options.seed = seed;
      options.revisionCount = revisions;
      store::GenerateRevisions(*opened, options);
    }
    opened.reset();
    Set("_#INT#_PROJECT", kProject);
    Set("_#INT#_RVXPROJECT", "1");
    const std::optional<std::string> location = store::FindProjectLocation(kProject);
    ASSERT_TRUE(location && location->starts_with("sqlite:")) << location.value_or("none");
    sql_ = std::make_unique<StoreSql>(location->substr(7));
  }

  // Shows the sheet as ShowRevManagerDlg does; returns the modal result's final state.
  const ui::SheetState& RunSheet() {
    ui::ScopedModuleState state(component::ComponentModuleState());
    browser::RunRevManagerSheet();
    EXPECT_THAT(driver_->Failures(), ::testing::IsEmpty());
    EXPECT_FALSE(driver_->Runs().empty());
    return driver_->Runs().back();
  }

  ui::HeadlessScript& Script() { return driver_->NextRun(); }

  // Texts of the message boxes shown so far.
  std::vector<std::string> Boxes() const {
    std::vector<std::string> texts;
    for (const auto& box : driver_->MessageBoxes().Shown()) texts.push_back(box.text);
    return texts;
  }

  void Set(const std::string& name, const std::string& value) { variables_.Set(name, value); }
  void Unset(const std::string& name) { variables_.Unset(name); }

  // Declared first: the home and the variables outlive everything that uses them.
  test_support::TemporaryHome home_{"revmgr-page"};
  test_support::VariableScope variables_;
  std::shared_ptr<ui::HeadlessDriver> driver_;
  std::unique_ptr<ui::HeadlessDriver::Installed> installed_;
  std::unique_ptr<StoreSql> sql_;
};

// Reading the live page inside an Inspect step.
inline browser::ListProp& PageOf(ui::PropertySheet& sheet) {
  return dynamic_cast<browser::ListProp&>(*sheet.ActivePage());
}
inline ui::ListView& ListOf(ui::PropertySheet& sheet) {
  return *PageOf(sheet).ItemAs<ui::ListView>(browser::kIdListView);
}
inline std::vector<std::string> ColumnOf(const ui::ControlState& list, int column) {
  std::vector<std::string> texts;
  for (const auto& row : list.rows) texts.push_back(row.at(static_cast<std::size_t>(column)));
  return texts;
}

}  // namespace page_test
