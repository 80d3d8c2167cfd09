#include "platform/ui/control.h"

#include <algorithm>

namespace ui {

Control::Control(const ControlTemplate& from, ControlHost* host)
    : id_(from.id),
      kind_(from.kind),
      style_(from.style),
      rect_(from.rect),
      text_(from.text),
      enabled_((from.style & style::kDisabled) == 0),
      host_(host) {}

Control::~Control() = default;

void Control::SendCommand(int code) {
  if (host_) host_->OnControlCommand(id_, code);
}

LResult Control::SendNotify(const NotifyHeader& notification) {
  return host_ ? host_->OnControlNotify(notification) : 0;
}

void CheckBox::Click() {
  checked_ = !checked_;
  SendCommand(kButtonClicked);
}

int ComboBox::AddString(std::string_view entry) {
  auto at = entries_.end();
  if (Style() & style::kSort) {
    // Byte order: the sorted list of the platform compares without locale here.
    at = std::upper_bound(entries_.begin(), entries_.end(), entry,
                          [](std::string_view a, const std::string& b) { return a < b; });
  }
  auto inserted = entries_.insert(at, std::string(entry));
  int index = static_cast<int>(inserted - entries_.begin());
  if (curSel_ >= index) ++curSel_;
  return index;
}

int ComboBox::FindExact(std::string_view text) const {
  auto it = std::find(entries_.begin(), entries_.end(), text);
  return it == entries_.end() ? -1 : static_cast<int>(it - entries_.begin());
}

void ComboBox::ResetContent() {
  entries_.clear();
  curSel_ = -1;
  SetText("");
}

void ComboBox::SetCurSel(int index) {
  if (index < 0 || index >= Count()) {
    curSel_ = -1;
    return;
  }
  curSel_ = index;
  SetText(entries_[static_cast<std::size_t>(index)]);
}

void ComboBox::UserPick(int index) {
  SetCurSel(index);
  SendCommand(kComboSelChange);
}

void ComboBox::UserType(std::string_view text) {
  curSel_ = -1;
  SetText(text);
  SendCommand(kComboEditChange);
}

void Edit::UserType(std::string_view text) {
  SetText(text);
  SendCommand(kEditChange);
}

}  // namespace ui
