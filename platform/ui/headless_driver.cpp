#include "platform/ui/headless_driver.h"

#include <algorithm>

namespace ui {

namespace {

ControlState ReadControl(const Control& control, std::size_t maxRows) {
  ControlState state;
  state.id = control.Id();
  state.kind = control.Kind();
  state.text = control.Text();
  state.enabled = control.IsEnabled();
  if (auto* box = dynamic_cast<const CheckBox*>(&control)) state.checked = box->IsChecked();
  if (auto* combo = dynamic_cast<const ComboBox*>(&control)) state.entries = combo->Entries();
  if (auto* list = dynamic_cast<const ListView*>(&control)) {
    for (int c = 0; c < list->ColumnCount(); ++c)
      state.headings.push_back(list->GetColumn(c).heading);
    int rows = static_cast<int>(std::min<std::size_t>(maxRows, list->RowCount()));
    for (int r = 0; r < rows; ++r) {
      std::vector<std::string> cells;
      for (int c = 0; c < list->ColumnCount(); ++c) cells.emplace_back(list->RowText(r, c));
      state.rows.push_back(std::move(cells));
      state.rowData.push_back(list->RowData(r));
      state.rowStates.push_back(list->RowState(r));
    }
  }
  return state;
}

const char* AnswerName(os::MessageBoxAnswer answer) {
  switch (answer) {
    case os::MessageBoxAnswer::Ok:
      return "OK";
    case os::MessageBoxAnswer::Yes:
      return "Yes";
    case os::MessageBoxAnswer::No:
      return "No";
    case os::MessageBoxAnswer::Cancel:
      return "Cancel";
  }
  return "?";
}

}  // namespace

const ControlState* SheetState::Find(int controlId) const {
  for (const ControlState& control : controls) {
    if (control.id == controlId) return &control;
  }
  return nullptr;
}

SheetState ReadSheetState(const PropertySheet& sheet, std::size_t maxRows) {
  SheetState state;
  state.caption = sheet.Caption();
  state.tabs = sheet.TabLabels();
  state.buttons = sheet.Buttons();
  state.activePage = sheet.ActiveIndex();
  state.result = sheet.Result();
  if (PropertyPage* page = sheet.ActivePage(); page && page->IsCreated()) {
    state.focusedControl = page->FocusedControlId();
    for (Control* control : page->Controls())
      state.controls.push_back(ReadControl(*control, maxRows));
  }
  return state;
}

// --- script ---

HeadlessScript::Step& HeadlessScript::Add(Step::Kind kind, int controlId) {
  Step& step = steps_.emplace_back();
  step.kind = kind;
  step.controlId = controlId;
  return step;
}

HeadlessScript& HeadlessScript::Type(int controlId, std::string text) {
  Add(Step::Kind::Type, controlId).text = std::move(text);
  return *this;
}

HeadlessScript& HeadlessScript::Pick(int controlId, std::string entry) {
  Add(Step::Kind::Pick, controlId).text = std::move(entry);
  return *this;
}

HeadlessScript& HeadlessScript::Click(int controlId) {
  Add(Step::Kind::Click, controlId);
  return *this;
}

HeadlessScript& HeadlessScript::Tick(int controlId, bool checked) {
  Add(Step::Kind::Tick, controlId).flag = checked;
  return *this;
}

HeadlessScript& HeadlessScript::SelectRows(int controlId, std::vector<int> rows) {
  Add(Step::Kind::SelectRows, controlId).rows = std::move(rows);
  return *this;
}

HeadlessScript& HeadlessScript::SelectRowsWhere(int controlId, RowChooser chooser) {
  Add(Step::Kind::SelectRows, controlId).chooser = std::move(chooser);
  return *this;
}

HeadlessScript& HeadlessScript::ClickHeading(int controlId, int column) {
  Add(Step::Kind::ClickHeading, controlId).rows = {column};
  return *this;
}

HeadlessScript& HeadlessScript::Answer(os::MessageBoxAnswer answer) {
  Add(Step::Kind::Answer, 0).answer = answer;
  return *this;
}

HeadlessScript& HeadlessScript::Inspect(InspectFn fn) {
  Add(Step::Kind::Inspect, 0).inspect = std::move(fn);
  return *this;
}

HeadlessScript& HeadlessScript::CloseWith(int buttonId) {
  Add(Step::Kind::Button, buttonId);
  return *this;
}

HeadlessScript& HeadlessScript::CloseWithCloseBox() {
  Add(Step::Kind::CloseBox, 0);
  return *this;
}

std::string HeadlessScript::Step::Describe() const {
  std::string id = std::to_string(controlId);
  switch (kind) {
    case Kind::Type:
      return "type \"" + text + "\" into " + id;
    case Kind::Pick:
      return "pick \"" + text + "\" in " + id;
    case Kind::Click:
      return "click " + id;
    case Kind::Tick:
      return std::string(flag ? "tick " : "untick ") + id;
    case Kind::SelectRows: {
      std::string text = "select rows";
      for (std::size_t i = 0; i < rows.size(); ++i) {
        text.append(i == 0 ? " " : ",");
        text.append(std::to_string(rows[i]));
      }
      return text.append(" of ").append(id);
    }
    case Kind::ClickHeading:
      return "click heading " + std::to_string(rows.at(0)) + " of " + id;
    case Kind::Answer:
      return std::string("answer ") + AnswerName(answer);
    case Kind::Inspect:
      return "inspect";
    case Kind::Button:
      return "press sheet button " + id;
    case Kind::CloseBox:
      return "close box";
  }
  return "?";
}

// --- driver ---

HeadlessDriver::HeadlessDriver() : boxes_(std::make_shared<os::HeadlessMessageBoxes>()) {
  boxes_->SetFailureHandler([this](const os::MessageBoxRequest& request) {
    Fail("message box nobody answered: \"" + request.text + "\"");
  });
}

HeadlessDriver::~HeadlessDriver() {
  boxes_->SetFailureHandler(nullptr);
}

HeadlessScript& HeadlessDriver::NextRun() {
  return scripts_.emplace_back();
}

void HeadlessDriver::Fail(const std::string& failure) {
  failures_.push_back(failure);
  if (failureHandler_) failureHandler_(failure);
}

bool HeadlessDriver::Perform(PropertySheet& sheet, const HeadlessScript::Step& step) {
  using Kind = HeadlessScript::Step::Kind;
  auto fail = [&](const std::string& why) {
    Fail(step.Describe() + ": " + why);
    return false;
  };
  switch (step.kind) {
    case Kind::Answer:
      boxes_->Expect(step.answer);
      return true;
    case Kind::Inspect:
      step.inspect(sheet);
      return true;
    case Kind::Button:
      if (!sheet.PressButton(step.controlId)) return fail("the sheet has no such button");
      return true;
    case Kind::CloseBox:
      sheet.PressCloseBox();
      return true;
    default:
      break;
  }
  PropertyPage* page = sheet.ActivePage();
  Control* control = page ? page->Item(step.controlId) : nullptr;
  if (!control) return fail("no such control");
  if (!control->IsEnabled()) return fail("the control is disabled");
  switch (step.kind) {
    case Kind::Type:
      if (auto* edit = dynamic_cast<Edit*>(control)) {
        edit->UserType(step.text);
      } else if (auto* combo = dynamic_cast<ComboBox*>(control)) {
        combo->UserType(step.text);
      } else {
        return fail("not an edit field");
      }
      return true;
    case Kind::Pick: {
      auto* combo = dynamic_cast<ComboBox*>(control);
      if (!combo) return fail("not a combo box");
      int index = combo->FindExact(step.text);
      if (index < 0) return fail("no such entry");
      combo->UserPick(index);
      return true;
    }
    case Kind::Click:
      if (auto* button = dynamic_cast<Button*>(control)) {
        button->Click();
      } else if (auto* box = dynamic_cast<CheckBox*>(control)) {
        box->Click();
      } else {
        return fail("not a button");
      }
      return true;
    case Kind::Tick: {
      auto* box = dynamic_cast<CheckBox*>(control);
      if (!box) return fail("not a check box");
      if (box->IsChecked() != step.flag) box->Click();
      return true;
    }
    case Kind::SelectRows: {
      auto* list = dynamic_cast<ListView*>(control);
      if (!list) return fail("not a list view");
      const std::vector<int> rows = step.chooser ? step.chooser(*list) : step.rows;
      if (rows.empty() && step.chooser) return fail("the chooser found no row");
      for (int row : rows) {
        if (row < 0 || row >= list->RowCount()) return fail("no row " + std::to_string(row));
      }
      list->UserSelect(rows);
      return true;
    }
    case Kind::ClickHeading: {
      auto* list = dynamic_cast<ListView*>(control);
      if (!list) return fail("not a list view");
      int column = step.rows.at(0);
      if (column < 0 || column >= list->ColumnCount()) return fail("no such column");
      list->UserClickHeading(column);
      return true;
    }
    default:
      return fail("unknown step");
  }
}

int HeadlessDriver::RunModal(PropertySheet& sheet) {
  if (scripts_.empty()) {
    Fail("no script for the sheet \"" + sheet.Caption() + "\"; cancelled");
    return kIdCancel;
  }
  HeadlessScript script = std::move(scripts_.front());
  scripts_.pop_front();
  if (!sheet.OpenWindows()) {
    Fail("the sheet \"" + sheet.Caption() + "\" could not be shown (a page without template?)");
    return -1;
  }
  const auto& steps = script.Steps();
  std::size_t next = 0;
  bool broken = false;
  for (; next < steps.size() && !sheet.IsEnded(); ++next) {
    if (!Perform(sheet, steps[next])) {
      broken = true;
      ++next;
      break;
    }
  }
  if (!broken && next < steps.size()) {
    Fail(std::to_string(steps.size() - next) +
         " steps left after the sheet closed, from: " + steps[next].Describe());
  }
  if (!sheet.IsEnded()) {
    if (!broken) Fail("the script ended with the sheet \"" + sheet.Caption() + "\" open");
    sheet.EndDialog(kIdCancel);
  }
  if (std::size_t pending = boxes_->PendingAnswers(); pending > 0) {
    Fail(std::to_string(pending) + " message box answers were never used");
  }
  runs_.push_back(ReadSheetState(sheet, maxRows_));
  sheet.CloseWindows();
  return sheet.Result();
}

HeadlessDriver::Installed::Installed(std::shared_ptr<HeadlessDriver> driver)
    : previousBoxes_(os::SetMessageBoxFrontEnd(
          std::shared_ptr<os::MessageBoxFrontEnd>(driver, &driver->MessageBoxes()))) {
  previousDialogs_ = SetDialogFrontEnd(std::move(driver));
}

HeadlessDriver::Installed::~Installed() {
  SetDialogFrontEnd(std::move(previousDialogs_));
  os::SetMessageBoxFrontEnd(std::move(previousBoxes_));
}

}  // namespace ui
