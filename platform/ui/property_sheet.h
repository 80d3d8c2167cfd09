#pragma once
// A modal property sheet: caption, parent window, pages shown as tabs, and the buttons OK and
// Cancel, with Apply unless the header leaves it out and Help when the header asks for it.
// DoModal runs through the process's dialog front end (see dialog_front_end.h).
#include <cstdint>
#include <string>
#include <vector>

#include "platform/os/os.h"
#include "platform/ui/message_map.h"
#include "platform/ui/property_page.h"

namespace ui {

// Flags of the sheet header.
inline constexpr std::uint32_t kSheetNoApplyNow = 0x0080;
inline constexpr std::uint32_t kSheetHasHelp = 0x0200;

struct SheetHeader {
  std::uint32_t flags = kSheetHasHelp;
};

class PropertySheet {
 public:
  PropertySheet(std::string caption, os::WindowHandle parent, int firstPage);
  virtual ~PropertySheet();
  PropertySheet(const PropertySheet&) = delete;
  PropertySheet& operator=(const PropertySheet&) = delete;

  SheetHeader& Header() { return header_; }
  const SheetHeader& Header() const { return header_; }
  const std::string& Caption() const { return caption_; }
  os::WindowHandle Parent() const { return parent_; }

  // The sheet does not own its pages.
  void AddPage(PropertyPage* page);
  int PageCount() const { return static_cast<int>(pages_.size()); }
  PropertyPage* Page(int index) const;
  int ActiveIndex() const { return active_; }
  PropertyPage* ActivePage() const { return Page(active_); }
  // Shows another page, creating it when it is shown the first time.
  bool SetActivePage(int index);
  std::vector<std::string> TabLabels() const;
  // Ids of the buttons shown, in order.
  std::vector<int> Buttons() const;
  // Size in dialog units: that of the largest page template.
  DialogRect PageSize() const;

  // Runs the sheet modally; returns kIdOk or kIdCancel (-1 when it could not be shown).
  virtual int DoModal();
  // Sheet initialisation, once its window exists; the platform's own creates the first page.
  virtual bool OnInitDialog();

  LResult SendMessage(Message message, WParam wParam, LParam lParam);
  MessageMap& Map() { return map_; }
  IconHandle Icon(WParam which) const { return which == kIconBig ? bigIcon_ : smallIcon_; }

  // For front ends during a modal run.
  bool OpenWindows();
  // A button of the sheet frame (OK, Cancel, Apply, Help), as if clicked.
  bool PressButton(int buttonId);
  void PressCloseBox() { SendMessage(Message::SysCommand, kSysCommandClose, 0); }
  void EndDialog(int result);
  bool IsEnded() const { return ended_; }
  int Result() const { return result_; }
  void CloseWindows();

 protected:
  // The platform's own handling of a system command: the close box cancels.
  LResult DefaultSysCommand(WParam command, LParam lParam);

 private:
  std::string caption_;
  os::WindowHandle parent_;
  int active_;
  SheetHeader header_;
  std::vector<PropertyPage*> pages_;
  MessageMap map_;
  MessageMap platformMap_;
  IconHandle smallIcon_ = nullptr;
  IconHandle bigIcon_ = nullptr;
  bool open_ = false;
  bool ended_ = false;
  int result_ = -1;
};

}  // namespace ui
