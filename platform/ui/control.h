#pragma once
// Control models addressed by id: the text, the enabled state and what a kind adds (the check
// state of a check box, the list of a combo box). A control tells the dialog that owns it about
// user actions through the ControlHost.
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/dialog_template.h"
#include "platform/ui/messages.h"

namespace ui {

// The window that owns controls and receives their commands and notifications.
class ControlHost {
 public:
  virtual void OnControlCommand(int controlId, int code) = 0;
  virtual LResult OnControlNotify(const NotifyHeader& notification) = 0;

 protected:
  ~ControlHost() = default;
};

class Control {
 public:
  Control(const ControlTemplate& from, ControlHost* host);
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  int Id() const { return id_; }
  ControlKind Kind() const { return kind_; }
  std::uint32_t Style() const { return style_; }
  const DialogRect& Rect() const { return rect_; }

  const std::string& Text() const { return text_; }
  void SetText(std::string_view text) { text_ = std::string(text); }

  bool IsEnabled() const { return enabled_; }
  void Enable(bool enable = true) { enabled_ = enable; }

 protected:
  void SendCommand(int code);
  LResult SendNotify(const NotifyHeader& notification);

 private:
  int id_;
  ControlKind kind_;
  std::uint32_t style_;
  DialogRect rect_;
  std::string text_;
  bool enabled_;
  ControlHost* host_;
};

class CheckBox : public Control {
 public:
  using Control::Control;
  bool IsChecked() const { return checked_; }
  void SetCheck(bool checked) { checked_ = checked; }
  // What a click by the user does: toggle, then tell the owner.
  void Click();

 private:
  bool checked_ = false;
};

class Button : public Control {
 public:
  using Control::Control;
  bool IsDefault() const { return Kind() == ControlKind::DefaultPushButton; }
  void Click() { SendCommand(kButtonClicked); }
};

// A drop-down combo box: an edit field (the control's text) and a list, kept sorted when the
// template says so.
class ComboBox : public Control {
 public:
  using Control::Control;

  // Returns the index the entry got.
  int AddString(std::string_view entry);
  int Count() const { return static_cast<int>(entries_.size()); }
  const std::string& Entry(int index) const { return entries_.at(static_cast<std::size_t>(index)); }
  const std::vector<std::string>& Entries() const { return entries_; }
  // Index of the entry equal to text, or -1.
  int FindExact(std::string_view text) const;
  void ResetContent();
  // Selects an entry and shows it in the edit field; -1 clears the selection.
  void SetCurSel(int index);
  int CurSel() const { return curSel_; }

  // What the user does: pick an entry of the list, or type into the edit field.
  void UserPick(int index);
  void UserType(std::string_view text);

 private:
  std::vector<std::string> entries_;
  int curSel_ = -1;
};

// A single-line edit field.
class Edit : public Control {
 public:
  using Control::Control;
  void UserType(std::string_view text);
};

}  // namespace ui
