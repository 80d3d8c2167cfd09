// The revmgr program on a generated project of 100,000 revisions: registration, listing of each
// model type, rename, delete and purge, checked against the project's store.
#include <pwd.h>
#include <stdio.h>
#include <sys/wait.h>
#include <unistd.h>

#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "servers/store/handle.h"
#include "servers/store/revision_store.h"
#include "tests/com/registry_test_home.h"

namespace {

constexpr char kProject[] = "E2E_SHIP";

struct Result {
  int status = -1;
  std::string out;
};

std::string Quote(const std::string& word) {
  std::string quoted = "'";
  for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// Runs revmgr with the words; standard error goes to the test's log. A first word
// "--on-terminal" runs it on a terminal of its own (script), "--with-errors" on none; in both
// the output holds standard error as well.
Result RunRevmgr(const std::vector<std::string>& words) {
  std::string command = REVMGR_PROGRAM;
  const std::string how = words.empty() ? "" : words.front();
  const bool onTerminal = how == "--on-terminal", withErrors = how == "--with-errors";
  for (std::size_t i = onTerminal || withErrors ? 1 : 0; i < words.size(); ++i) {
    command += " " + Quote(words[i]);
  }
  if (onTerminal) command = "script -qefc " + Quote(command) + " /dev/null";
  if (withErrors) command += " 2>&1";
  Result result;
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
  if (!pipe) return result;
  char buffer[65536];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0) result.out.append(buffer, n);
  const int status = ::pclose(pipe.release());
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

struct Row {
  std::string handle, name, type;
};

// The table rows of revmgr list (header skipped).
std::vector<Row> ParseTable(const std::string& out) {
  std::vector<Row> rows;
  std::istringstream lines(out);
  std::string line;
  std::getline(lines, line);
  while (std::getline(lines, line)) {
    std::vector<std::string> cells;
    std::size_t start = 0;
    for (;;) {
      const std::size_t tab = line.find('\t', start);
      cells.push_back(line.substr(start, tab - start));
      if (tab == std::string::npos) break;
      start = tab + 1;
    }
    if (cells.size() >= 3) rows.push_back({cells[0], cells[1], cells[2]});
  }
  return rows;
}

class RevmgrEndToEnd : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    home_ = std::make_unique<com_test::TemporaryHome>();
    ASSERT_EQ(RunRevmgr({"register"}).status, 0);
    ASSERT_EQ(RunRevmgr({"init", kProject}).status, 0);
    ASSERT_EQ(RunRevmgr({"grant", kProject, UserName(), "mor.revisionmgmnt"}).status, 0);
    ASSERT_EQ(RunRevmgr({"generate", kProject, "--revisions", "100000", "--seed", "5"}).status, 0);
  }
  static void TearDownTestSuite() { home_.reset(); }
  static std::string UserName() {
    const passwd* entry = ::getpwuid(::geteuid());
    return entry && entry->pw_name ? entry->pw_name : "";
  }
  std::unique_ptr<store::RevisionStore> Store() {
    std::string error;
    auto opened = store::OpenProjectStore(kProject, &error);
    EXPECT_TRUE(opened) << error;
    return opened;
  }
  std::vector<Row> List(const std::vector<std::string>& options) {
    std::vector<std::string> words{"list", "--project", kProject};
    words.insert(words.end(), options.begin(), options.end());
    Result result = RunRevmgr(words);
    EXPECT_EQ(result.status, 0);
    return ParseTable(result.out);
  }

  static std::unique_ptr<com_test::TemporaryHome> home_;
};

std::unique_ptr<com_test::TemporaryHome> RevmgrEndToEnd::home_;

// One test, so that the project of 100,000 revisions is generated once.
TEST_F(RevmgrEndToEnd, ListEachTypeRenameDeleteAndPurge) {
  const char* const types[] = {"Equipments",    "Structure models", "Cableway models",
                               "Vent models",   "Pipe spools",      "Pipe models",
                               "Curved panels", "Drawings",         "Plane panels"};
  std::size_t total = 0;
  for (const char* type : types) {
    const auto rows = List({"--type", type});
    EXPECT_FALSE(rows.empty()) << type;
    for (const Row& row : rows) {
      // Curved stiffeners come with plane panels in the listing of that entry.
      if (std::string(type) == "Plane panels" && row.type == "Curved stiffeners") continue;
      ASSERT_EQ(row.type, type) << row.handle;
    }
    total += rows.size();
  }
  const auto all = List({});
  EXPECT_GE(all.size(), total);

  auto rows = List({"--type", "Pipe spools"});
  ASSERT_FALSE(rows.empty());
  // Pick an object with at least three revisions; the list is newest first per object.
  std::map<std::string, std::vector<std::string>> byObject;
  for (const Row& row : rows) byObject[row.handle.substr(0, 16)].push_back(row.handle);
  std::vector<std::string> handles;
  for (auto& [object, list] : byObject) {
    if (list.size() >= 3) {
      handles = list;
      break;
    }
  }
  ASSERT_GE(handles.size(), 3u);
  std::sort(handles.begin(), handles.end());  // oldest first: revision ids grow
  const std::string latest = handles.back();

  EXPECT_EQ(RunRevmgr({"rename", handles[0], "Renamed", "by e2e", "--project", kProject}).status,
            0);
  EXPECT_EQ(Store()->FindRevision(*store::ParseHandle(handles[0]))->name, "Renamed");
  EXPECT_EQ(RunRevmgr({"rename", latest, "Nope", "--project", kProject}).status, 1);

  const Result count = RunRevmgr({"count", latest, "--project", kProject});
  ASSERT_EQ(count.status, 0);
  const int before = std::stoi(count.out);
  EXPECT_EQ(RunRevmgr({"delete", handles[1], "--project", kProject}).status, 0);
  EXPECT_EQ(std::stoi(RunRevmgr({"count", latest, "--project", kProject}).out), before - 1);
  EXPECT_EQ(RunRevmgr({"delete", latest, "--project", kProject}).status, 1);

  // Purge keeping 2 (one model type, to keep the run short): every listed object keeps
  // min(count, 2) revisions, the newest ones (so its latest among them). Counts come from the
  // store, since a listing need not show every revision of an object.
  auto store = Store();
  ASSERT_TRUE(store);
  // object -> count before, listed handles
  std::map<std::string, std::pair<std::int64_t, std::vector<std::string>>> expected;
  for (const Row& row : List({"--type", "Pipe spools"})) {
    auto& entry = expected[row.handle.substr(0, 16)];
    entry.first = store->GetRevisionCount(row.handle);
    entry.second.push_back(row.handle);
  }
  store.reset();
  std::int64_t toDelete = 0;
  for (const auto& [object, entry] : expected)
    toDelete += std::max<std::int64_t>(entry.first - 2, 0);
  const Result purge = RunRevmgr({"--with-errors", "purge", "--keep", "2", "--type", "Pipe spools",
                                  "--project", kProject, "--yes"});
  ASSERT_EQ(purge.status, 0) << purge.out;
  EXPECT_NE(purge.out.find("objects seen: " + std::to_string(expected.size()) +
                           "\nrevisions deleted: " + std::to_string(toDelete) + "\nfailures: 0\n"),
            std::string::npos)
      << purge.out;
  // Not on a terminal: no bar.
  EXPECT_EQ(purge.out.find('\r'), std::string::npos) << purge.out;
  store = Store();
  ASSERT_TRUE(store);
  for (const auto& [object, entry] : expected) {
    const std::string& any = entry.second.front();
    ASSERT_EQ(store->GetRevisionCount(any), std::min<std::int64_t>(entry.first, 2)) << object;
    // Deleted oldest first: what is older than the oldest left is gone, the rest is there.
    const auto oldest = store->GetOldestRevision(any);
    ASSERT_TRUE(oldest) << object;
    for (const std::string& handle : entry.second) {
      EXPECT_EQ(store->FindRevision(*store::ParseHandle(handle)).has_value(),
                handle >= oldest->handle)
          << handle;
    }
  }

  // Again on a terminal: nothing is left to delete, and the bar runs to the end of the rows.
  const Result again = RunRevmgr({"--on-terminal", "purge", "--keep", "2", "--type", "Pipe spools",
                                  "--project", kProject, "--yes"});
  EXPECT_EQ(again.status, 0) << again.out;
  EXPECT_NE(again.out.find("\rDelete listed [##############################] 100% "),
            std::string::npos)
      << again.out;
  EXPECT_NE(again.out.find("revisions deleted: 0"), std::string::npos) << again.out;
}

TEST(RevmgrCommandLine, HelpUsageErrorsAndExitCodes) {
  com_test::TemporaryHome home;
  EXPECT_EQ(RunRevmgr({"--help"}).status, 0);
  for (const char* command : {"register", "init", "generate", "grant", "list", "count", "oldest",
                              "rename", "delete", "purge", "unregister"}) {
    const Result help = RunRevmgr({command, "--help"});
    EXPECT_EQ(help.status, 0) << command;
    EXPECT_NE(help.out.find("usage: revmgr"), std::string::npos) << command;
  }
  EXPECT_EQ(RunRevmgr({"frobnicate"}).status, 2);
  EXPECT_EQ(RunRevmgr({"list", "--type", "Boats", "--project", "X"}).status, 2);
  EXPECT_EQ(RunRevmgr({"purge", "--project", "X"}).status, 2);
  EXPECT_EQ(RunRevmgr({"generate", "X"}).status, 2);
  // The component is not registered in this home.
  EXPECT_EQ(RunRevmgr({"count", "00", "--project", "X"}).status, 1);
}

}  // namespace
