#pragma once
// Window messages, command and notification codes, and the notification records that controls
// send to the dialog that owns them.
#include <cstdint>

namespace ui {

using WParam = std::uintptr_t;
using LParam = std::intptr_t;
using LResult = std::intptr_t;
using IconHandle = void*;

// Standard command ids of dialog and sheet buttons.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdHelp = 9;
inline constexpr int kIdApplyNow = 0x3021;
// Controls without an id of their own (labels, frames).
inline constexpr int kIdStatic = -1;

// Window messages the framework routes.
enum class Message : std::uint32_t {
  SetIcon = 0x0080,
  QueryDragIcon = 0x0037,
  SysCommand = 0x0112,
};
// SetIcon's wParam: which icon.
inline constexpr WParam kIconSmall = 0;
inline constexpr WParam kIconBig = 1;
// SysCommand's wParam for the close box.
inline constexpr WParam kSysCommandClose = 0xF060;

// Command notification codes (sent with the control's id).
inline constexpr int kButtonClicked = 0;
inline constexpr int kEditChange = 0x0300;
inline constexpr int kComboSelChange = 1;
inline constexpr int kComboEditChange = 5;

// Notification codes of the list view.
inline constexpr int kListViewItemChanged = -101;
inline constexpr int kListViewColumnClick = -108;

// List view item states.
inline constexpr std::uint32_t kItemFocused = 0x0001;
inline constexpr std::uint32_t kItemSelected = 0x0002;
// What a list view item change concerns.
inline constexpr std::uint32_t kChangedText = 0x0001;
inline constexpr std::uint32_t kChangedImage = 0x0002;
inline constexpr std::uint32_t kChangedParam = 0x0004;
inline constexpr std::uint32_t kChangedState = 0x0008;

struct NotifyHeader {
  int controlId = 0;
  int code = 0;
};

struct ListViewNotification : NotifyHeader {
  int item = -1;    // row index, -1 for none
  int subItem = 0;  // column for a heading click
  std::uint32_t newState = 0;
  std::uint32_t oldState = 0;
  std::uint32_t changed = 0;
  LParam param = 0;  // the row's item data
};

}  // namespace ui
