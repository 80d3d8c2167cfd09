#pragma once
// A dialog front end without windows: runs each modal sheet against a script of user actions and
// reads back every control's state. Tests drive pages with it; the host program uses it to list
// and purge from the command line.
//
//   ui::HeadlessDriver driver;
//   driver.NextRun().Type(205, "P*").Click(209).Inspect(check).CloseWithOk();
//   ui::HeadlessDriver::Installed installed(driver);   // for the scope: front ends of the process
//   sheet.DoModal();
//
// A script step that cannot be done (no such control, a disabled one, a row out of range) is a
// failure: recorded, the rest of the script dropped and the sheet cancelled. So is a message
// box nobody answered, an answer never used, and a script that ends with the sheet open.
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/os/message_box.h"
#include "platform/ui/dialog_front_end.h"
#include "platform/ui/property_sheet.h"

namespace ui {

// What a control holds, read back.
struct ControlState {
  int id = kIdStatic;
  ControlKind kind = ControlKind::StaticText;
  std::string text;
  bool enabled = true;
  bool checked = false;                        // check box
  std::vector<std::string> entries;            // combo box list
  std::vector<std::string> headings;           // list view columns
  std::vector<std::vector<std::string>> rows;  // list view cell texts, columns as headings
  std::vector<LParam> rowData;
  std::vector<std::uint32_t> rowStates;
};

struct SheetState {
  std::string caption;
  std::vector<std::string> tabs;
  std::vector<int> buttons;
  int activePage = 0;
  int focusedControl = kIdStatic;
  std::vector<ControlState> controls;  // the active page's, in template order
  int result = -1;                     // after the run

  // The control with the id (nullptr if none).
  const ControlState* Find(int controlId) const;
};

// Reads the sheet and its active page. maxRows limits the list view rows copied.
SheetState ReadSheetState(const PropertySheet& sheet, std::size_t maxRows = SIZE_MAX);

class HeadlessScript {
 public:
  using InspectFn = std::function<void(PropertySheet& sheet)>;

  HeadlessScript& Type(int controlId, std::string text);
  // Picks the combo box entry with exactly this text.
  HeadlessScript& Pick(int controlId, std::string entry);
  // Clicks a button or a check box.
  HeadlessScript& Click(int controlId);
  // Clicks the check box when its check state differs from checked.
  HeadlessScript& Tick(int controlId, bool checked);
  // Click, then Ctrl+click: exactly these rows end up selected, the last one focused.
  HeadlessScript& SelectRows(int controlId, std::vector<int> rows);
  // The rows chosen when the step runs, from what the list then shows.
  using RowChooser = std::function<std::vector<int>(const ListView& list)>;
  HeadlessScript& SelectRowsWhere(int controlId, RowChooser chooser);
  HeadlessScript& ClickHeading(int controlId, int column);
  // Answers the next message box (queued now, used by whatever action shows the box).
  HeadlessScript& Answer(os::MessageBoxAnswer answer);
  // Runs a check (or reads results) with the live sheet.
  HeadlessScript& Inspect(InspectFn fn);
  HeadlessScript& CloseWithOk() { return CloseWith(kIdOk); }
  HeadlessScript& CloseWithCancel() { return CloseWith(kIdCancel); }
  HeadlessScript& CloseWithCloseBox();

  struct Step {
    enum class Kind {
      Type,
      Pick,
      Click,
      Tick,
      SelectRows,
      ClickHeading,
      Answer,
      Inspect,
      Button,
      CloseBox
    };
    Kind kind = Kind::Inspect;
    int controlId = 0;
    std::string text;
    bool flag = false;
    std::vector<int> rows;
    os::MessageBoxAnswer answer = os::MessageBoxAnswer::Ok;
    InspectFn inspect;
    RowChooser chooser;
    std::string Describe() const;
  };
  const std::vector<Step>& Steps() const { return steps_; }

 private:
  HeadlessScript& CloseWith(int buttonId);
  Step& Add(Step::Kind kind, int controlId);
  std::vector<Step> steps_;
};

class HeadlessDriver : public DialogFrontEnd {
 public:
  using FailureHandler = std::function<void(const std::string& failure)>;

  HeadlessDriver();
  ~HeadlessDriver() override;

  // The script for the next modal run not yet scripted.
  HeadlessScript& NextRun();
  int RunModal(PropertySheet& sheet) override;

  // The boxes the driver answers while it is installed.
  os::HeadlessMessageBoxes& MessageBoxes() { return *boxes_; }
  const std::vector<std::string>& Failures() const { return failures_; }
  // A failure handler of one's own (default: record only).
  void SetFailureHandler(FailureHandler handler) { failureHandler_ = std::move(handler); }
  // Final state of each run so far.
  const std::vector<SheetState>& Runs() const { return runs_; }
  void SetSnapshotRowLimit(std::size_t maxRows) { maxRows_ = maxRows; }

  // Makes the driver the process's dialog front end and its boxes the message box front end for
  // a scope.
  class Installed {
   public:
    explicit Installed(std::shared_ptr<HeadlessDriver> driver);
    ~Installed();
    Installed(const Installed&) = delete;
    Installed& operator=(const Installed&) = delete;

   private:
    std::shared_ptr<DialogFrontEnd> previousDialogs_;
    std::shared_ptr<os::MessageBoxFrontEnd> previousBoxes_;
  };

 private:
  void Fail(const std::string& failure);
  // False when the step could not be done (the failure is recorded).
  bool Perform(PropertySheet& sheet, const HeadlessScript::Step& step);

  std::shared_ptr<os::HeadlessMessageBoxes> boxes_;
  std::deque<HeadlessScript> scripts_;
  std::vector<std::string> failures_;
  std::vector<SheetState> runs_;
  FailureHandler failureHandler_;
  std::size_t maxRows_ = SIZE_MAX;
};

}  // namespace ui
