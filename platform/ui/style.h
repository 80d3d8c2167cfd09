#pragma once
// Kinds of controls and the style bits a dialog template gives them and the dialog itself.
#include <cstdint>

namespace ui {

enum class ControlKind {
  StaticText,
  GroupBox,
  Edit,
  PushButton,
  DefaultPushButton,
  AutoCheckBox,
  ComboBox,
  ListView,
};

const char* ControlKindName(ControlKind kind);

// Style bits of controls (our own values).
namespace style {
inline constexpr std::uint32_t kTabStop = 1u << 0;
inline constexpr std::uint32_t kBorder = 1u << 1;
inline constexpr std::uint32_t kVScroll = 1u << 2;
inline constexpr std::uint32_t kHScroll = 1u << 3;
inline constexpr std::uint32_t kAutoHScroll = 1u << 4;
inline constexpr std::uint32_t kDisabled = 1u << 5;
inline constexpr std::uint32_t kGroup = 1u << 6;
// Combo box
inline constexpr std::uint32_t kDropDown = 1u << 8;
inline constexpr std::uint32_t kSort = 1u << 9;
// List view
inline constexpr std::uint32_t kReport = 1u << 12;
inline constexpr std::uint32_t kShowSelAlways = 1u << 13;
inline constexpr std::uint32_t kSingleSel = 1u << 14;
// Dialog
inline constexpr std::uint32_t kChild = 1u << 20;
inline constexpr std::uint32_t kCaption = 1u << 21;
inline constexpr std::uint32_t kPopup = 1u << 22;
}  // namespace style

// Extended list view styles.
namespace list_view_ex {
inline constexpr std::uint32_t kFullRowSelect = 1u << 0;
inline constexpr std::uint32_t kGridLines = 1u << 1;
}  // namespace list_view_ex

enum class Alignment { Left, Right, Center };

}  // namespace ui
