// Commands that work through the List revisions page of the component's own dialog, driven
// without windows: the page lists and deletes exactly as it does for a user.
#include <unistd.h>

#include <cctype>
#include <cstring>
#include <iostream>
#include <set>

#include "apps/revmgr/commands.h"
#include "apps/revmgr/component_session.h"
#include "apps/revmgr/purge_progress.h"
#include "browser/dialog_template_202.h"
#include "browser/list_prop.h"
#include "platform/ui/headless_driver.h"
#include "platform/ui/progress.h"

namespace revmgr {

namespace {

struct Row {
  std::string handle;
  std::vector<std::string> cells;  // Objectname, Type, Revision name, Remark, Created by,
                                   // Creation date, Modified by, Modified date
};

const char* const kModelTypes[] = {
    "All models",  "Equipments",  "Structure models", "Cableway models", "Vent models",
    "Pipe spools", "Pipe models", "Curved panels",    "Drawings",        "Plane panels",
};

std::string ModelTypeOf(const CommandLine& line) {
  const std::string type = line.Value("type").value_or("All models");
  for (const char* known : kModelTypes) {
    if (type.size() != std::strlen(known)) continue;
    bool same = true;
    for (std::size_t i = 0; i < type.size(); ++i) {
      same = same && std::tolower(static_cast<unsigned char>(type[i])) ==
                         std::tolower(static_cast<unsigned char>(known[i]));
    }
    if (same) return known;
  }
  std::string list;
  for (const char* known : kModelTypes) list += std::string(list.empty() ? "" : ", ") + known;
  throw UsageError("unknown --type '" + type + "' (one of: " + list + ")");
}

// Fills the page's filter controls and presses List.
void ScriptListing(ui::HeadlessScript& script, const CommandLine& line) {
  script.Pick(browser::kIdModelType, ModelTypeOf(line));
  // Fields not given keep what the page starts with.
  if (auto name = line.Value("name")) script.Type(browser::kIdObjectName, *name);
  if (auto after = line.Value("after")) script.Type(browser::kIdCreatedAfter, *after);
  if (auto before = line.Value("before")) script.Type(browser::kIdCreatedBefore, *before);
  script.Click(browser::kIdList);
}

// The listed rows with their handles, read from the live page. The page's type information stays
// inside the component module, so the dynamic-type check of the sanitizer cannot be made here.
__attribute__((no_sanitize("vptr"))) std::vector<Row> ReadRows(ui::PropertySheet& sheet) {
  const ui::SheetState state = ui::ReadSheetState(sheet);
  const ui::ControlState* list = state.Find(browser::kIdListView);
  std::vector<Row> rows;
  if (!list) return rows;
  // The page built into the component is the browser's List revisions page.
  const auto* page = static_cast<const browser::ListProp*>(sheet.ActivePage());
  const auto& handles = page->HandleList();
  for (std::size_t i = 0; i < list->rows.size(); ++i) {
    Row row;
    const ui::LParam data = i < list->rowData.size() ? list->rowData[i] : -1;
    // A row without a handle is the page's "nothing found" line, not a revision.
    if (data < 0 || static_cast<std::size_t>(data) >= handles.size()) continue;
    row.handle = handles[static_cast<std::size_t>(data)];
    row.cells = list->rows[i];
    rows.push_back(std::move(row));
  }
  return rows;
}

std::string JsonText(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

void PrintRows(const std::vector<Row>& rows, bool json) {
  static const char* const kKeys[] = {"object_name", "type",         "revision_name",
                                      "remark",      "created_by",   "creation_date",
                                      "modified_by", "modified_date"};
  if (json) {
    for (const Row& row : rows) {
      std::string line = "{\"handle\":" + JsonText(row.handle);
      for (std::size_t i = 0; i < std::size(kKeys); ++i) {
        line += std::string(",\"") + kKeys[i] +
                "\":" + JsonText(i < row.cells.size() ? row.cells[i] : "");
      }
      std::cout << line << "}\n";
    }
    return;
  }
  std::cout << "Handle\tObjectname\tType\tRevision name\tRemark\tCreated by\tCreation date\t"
               "Modified by\tModified date\n";
  for (const Row& row : rows) {
    std::cout << row.handle;
    for (const auto& cell : row.cells) std::cout << "\t" << cell;
    std::cout << "\n";
  }
}

// Runs the component's dialog with the script; false (reported) when it could not.
bool RunDialog(const CommandLine& line, const std::shared_ptr<ui::HeadlessDriver>& driver) {
  EnterProject(ProjectOf(line));
  std::string why;
  auto manager = CreateRevManager(&why);
  if (!manager) {
    std::cerr << "revmgr: " << why << "\n";
    return false;
  }
  {
    ui::HeadlessDriver::Installed installed(driver);
    manager->ShowRevManagerDlg();
  }
  for (const auto& box : driver->MessageBoxes().Shown()) {
    std::cerr << box.caption << ": " << box.text << "\n";
  }
  for (const auto& failure : driver->Failures()) std::cerr << "revmgr: " << failure << "\n";
  return driver->Failures().empty();
}

}  // namespace

int List(const Args& args) {
  CommandLine line(args, {"project", "type", "name", "after", "before"}, {"json"});
  if (!line.Positional().empty()) throw UsageError("list takes no arguments, only options");
  ModelTypeOf(line);  // a wrong type is a usage error before anything runs
  auto driver = std::make_shared<ui::HeadlessDriver>();
  driver->MessageBoxes().AnswerAllWith(os::MessageBoxAnswer::Ok);
  std::vector<Row> rows;
  auto& script = driver->NextRun();
  ScriptListing(script, line);
  script.Inspect([&](ui::PropertySheet& sheet) { rows = ReadRows(sheet); }).CloseWithOk();
  if (!RunDialog(line, driver)) return kExitFailed;
  PrintRows(rows, line.Flag("json"));
  return kExitOk;
}

int Purge(const Args& args) {
  CommandLine line(args, {"project", "type", "name", "after", "before", "keep"}, {"yes"});
  if (!line.Positional().empty()) throw UsageError("purge takes no arguments, only options");
  ModelTypeOf(line);
  auto keep = line.Number("keep", 1, 1000000);
  if (!keep) throw UsageError("--keep N is required (N at least 1: the latest revision stays)");
  if (!line.Flag("yes")) {
    std::cerr << "revmgr: purge deletes revisions for good; run it again with --yes\n";
    return kExitUsage;
  }
  auto driver = std::make_shared<ui::HeadlessDriver>();
  driver->MessageBoxes().AnswerAllWith(os::MessageBoxAnswer::Yes);
  std::vector<Row> before;
  auto& script = driver->NextRun();
  ScriptListing(script, line);
  script.Inspect([&](ui::PropertySheet& sheet) { before = ReadRows(sheet); })
      .Tick(browser::kIdKeepCheck, true)
      .Type(browser::kIdKeepCount, std::to_string(*keep))
      .Click(browser::kIdDeleteListed)
      .CloseWithOk();
  // The page reports Delete listed through the progress service: a bar while it runs (on a
  // terminal) and the tallies of the summary.
  auto progress = std::make_shared<PurgeProgress>(std::cerr, ::isatty(STDERR_FILENO) == 1);
  struct FrontEndScope {
    std::shared_ptr<ui::ProgressFrontEnd> previous;
    ~FrontEndScope() { ui::SetProgressFrontEnd(previous); }
  } frontEnd{ui::SetProgressFrontEnd(progress)};
  const bool ran = RunDialog(line, driver);
  if (!ran) return kExitFailed;
  std::set<std::string> objects;
  for (const Row& row : before) objects.insert(row.handle.substr(0, 16));
  const PurgeSummary summary = PurgeSummary::FromJob(objects.size(), progress->LastJob());
  std::cout << FormatPurgeSummary(summary);
  // Every box but the one confirmation reports a failure as well.
  const std::size_t shown = driver->MessageBoxes().Shown().size();
  const bool otherBoxes = shown > 1;
  return summary.Failures() == 0 && !otherBoxes ? kExitOk : kExitFailed;
}

}  // namespace revmgr
