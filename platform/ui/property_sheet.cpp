#include "platform/ui/property_sheet.h"

#include <algorithm>

#include "platform/ui/dialog_front_end.h"

namespace ui {

PropertySheet::PropertySheet(std::string caption, os::WindowHandle parent, int firstPage)
    : caption_(std::move(caption)), parent_(parent), active_(firstPage) {
  platformMap_.OnMessage(Message::SysCommand, [this](WParam command, LParam lParam) {
    return DefaultSysCommand(command, lParam);
  });
  platformMap_.OnMessage(Message::SetIcon, [this](WParam which, LParam icon) {
    IconHandle& slot = which == kIconBig ? bigIcon_ : smallIcon_;
    IconHandle previous = slot;
    slot = reinterpret_cast<IconHandle>(icon);
    return reinterpret_cast<LResult>(previous);
  });
  map_.ChainTo(&platformMap_);
}

// Pages may be members of a derived sheet and gone by now: the front end closed the windows.
PropertySheet::~PropertySheet() = default;

void PropertySheet::AddPage(PropertyPage* page) {
  if (page) pages_.push_back(page);
}

PropertyPage* PropertySheet::Page(int index) const {
  if (index < 0 || index >= PageCount()) return nullptr;
  return pages_[static_cast<std::size_t>(index)];
}

bool PropertySheet::SetActivePage(int index) {
  PropertyPage* page = Page(index);
  if (!page) return false;
  active_ = index;
  return open_ ? page->Create(this) : true;
}

std::vector<std::string> PropertySheet::TabLabels() const {
  std::vector<std::string> labels;
  for (PropertyPage* page : pages_) labels.push_back(page->Caption());
  return labels;
}

std::vector<int> PropertySheet::Buttons() const {
  std::vector<int> buttons = {kIdOk, kIdCancel};
  if (!(header_.flags & kSheetNoApplyNow)) buttons.push_back(kIdApplyNow);
  if (header_.flags & kSheetHasHelp) buttons.push_back(kIdHelp);
  return buttons;
}

DialogRect PropertySheet::PageSize() const {
  DialogRect size;
  for (PropertyPage* page : pages_) {
    if (const DialogTemplate* t = page->Template()) {
      size.width = std::max(size.width, t->width);
      size.height = std::max(size.height, t->height);
    }
  }
  return size;
}

int PropertySheet::DoModal() {
  // Hold the front end for the whole run, even if someone chooses another meanwhile.
  std::shared_ptr<DialogFrontEnd> frontEnd = CurrentDialogFrontEnd();
  return frontEnd->RunModal(*this);
}

bool PropertySheet::OnInitDialog() {
  if (PropertyPage* page = ActivePage()) return page->Create(this);
  return true;
}

LResult PropertySheet::SendMessage(Message message, WParam wParam, LParam lParam) {
  return map_.RouteMessage(message, wParam, lParam).value_or(0);
}

bool PropertySheet::OpenWindows() {
  if (pages_.empty()) return false;
  if (!Page(active_)) active_ = 0;
  open_ = true;
  ended_ = false;
  result_ = -1;
  OnInitDialog();
  // Whatever the override did, the page shown first exists.
  if (!ActivePage()->Create(this)) {
    CloseWindows();
    return false;
  }
  return true;
}

bool PropertySheet::PressButton(int buttonId) {
  std::vector<int> shown = Buttons();
  if (std::find(shown.begin(), shown.end(), buttonId) == shown.end()) return false;
  if (buttonId == kIdOk || buttonId == kIdCancel) EndDialog(buttonId);
  // Apply and Help have nothing to do: pages apply at once and there is no help file.
  return true;
}

void PropertySheet::EndDialog(int result) {
  ended_ = true;
  result_ = result;
}

LResult PropertySheet::DefaultSysCommand(WParam command, LParam) {
  if (command == kSysCommandClose) EndDialog(kIdCancel);
  return 0;
}

void PropertySheet::CloseWindows() {
  for (PropertyPage* page : pages_) page->Destroy();
  open_ = false;
}

}  // namespace ui
