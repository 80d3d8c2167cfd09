#pragma once
// ListProp, the List revisions page: lists revisions by model type, object-name pattern and
// creation dates, sorts them by any column, remembers the selected row, and runs the actions on
// them (rename, delete selected, delete the old revisions of every listed object).
#include <cstdint>
#include <string>
#include <vector>

#include "platform/ui/property_page.h"

namespace browser {

class ListProp : public ui::PropertyPage {
 public:
  ListProp();
  ~ListProp() override;

  bool OnInitDialog() override;

  // Handlers run by the message map (public so that a front end or a test may call them).
  void OnList();
  ui::LResult OnItemChanged(const ui::ListViewNotification& notification);
  ui::LResult OnColumnClick(const ui::ListViewNotification& notification);
  // The actions (list_page_actions.cpp).
  void OnRename();
  void OnDeleteSelected();
  void OnKeepCheck();
  void OnDeleteListed();

  // The page's members.
  const std::vector<std::string>& HandleList() const { return handles_; }
  const std::vector<int>& DeletedRows() const { return deletedRows_; }
  const std::string& SelectedHandle() const { return selectedHandle_; }
  int SelectedRow() const { return selectedRow_; }
  bool SortAscending() const { return sortAscending_; }
  int SortedColumn() const { return sortedColumn_; }

  void OnControlCommand(int controlId, int code) override;
  ui::LResult OnControlNotify(const ui::NotifyHeader& notification) override;

 private:
  ui::Control& Item(int controlId) const;
  ui::ListView& List() const;
  void SetText(int controlId, std::string_view text) const;
  const std::string& Text(int controlId) const;
  void Enable(int controlId, bool enable) const;
  // The handle named by a row's item data; empty when the item data names none.
  std::string HandleOfRow(int row) const;
  // Turns an error raised inside a handler into a report, so that the dialog stays usable.
  template <class Body>
  auto Guarded(Body&& body) -> decltype(body());

  std::vector<std::string> handles_;
  std::vector<int> deletedRows_;
  std::string selectedHandle_;
  int selectedRow_ = 0;
  bool sortAscending_ = false;
  int sortedColumn_ = -1;  // no column yet
};

}  // namespace browser
