#include "browser/list_page_actions.h"

#include <limits>

#include "browser/dialog_template_202.h"
#include "browser/list_prop.h"
#include "component/rev_manager.h"
#include "platform/com/bstr.h"
#include "platform/ui/app_message_box.h"
#include "platform/ui/progress.h"

namespace browser {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// Delete listed for one row: deletes the oldest revisions of the row's object down to keep and
// tallies what it did.
void DeleteOldRevisions(component::DirectRevManager& manager, const std::string& handle,
                        std::int64_t keep, ui::ScopedProgress& progress) {
  manager.put_ObjectHandle(com::BStr::FromUtf8(handle).Get());
  // A count that cannot be had is no count: never the previous row's.
  std::int32_t count = -1;
  if (manager.GetRevisionCount(&count) != S_OK) {
    progress.Count(kTallyCountFailed);
    return;
  }
  for (std::int64_t n = count - keep; n > 0; --n) {
    // Fresh outputs each time, so that only a revision reported now can be deleted.
    com::BStr oldest, name, remark;
    if (manager.GetOldestRevision(&oldest, &name, &remark) != S_OK || oldest.Empty()) {
      progress.Count(kTallyOldestFailed);
      return;
    }
    // The same oldest revision would come back again: stop this object.
    if (FAILED(manager.Delete(oldest.Get()))) {
      progress.Count(kTallyDeleteFailed);
      return;
    }
    progress.Count(kTallyRevisionsDeleted);
  }
}

}  // namespace

std::int64_t LeadingNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  constexpr std::int64_t kLimit = std::numeric_limits<std::int32_t>::max();
  std::int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = std::min<std::int64_t>(value * 10 + (text[i] - '0'), kLimit + 1);
  }
  return negative ? -value : value;
}

void ListProp::OnRename() {
  const std::string handle = selectedHandle_;
  const std::string name = Text(kIdRevisionName);
  const std::string remark = Text(kIdRevisionRemark);
  component::DirectRevManager manager;
  manager.put_ObjectHandle(com::BStr::FromUtf8(handle).Get());
  const HRESULT result =
      manager.Rename(com::BStr::FromUtf8(name).Get(), com::BStr::FromUtf8(remark).Get());
  if (result != S_OK) return;
  ui::ListView& list = List();
  if (!name.empty()) list.SetRowText(selectedRow_, 2, name);
  if (!remark.empty()) list.SetRowText(selectedRow_, 3, remark);
}

void ListProp::OnDeleteSelected() {
  if (ui::AppMessageBox(kAskDeleteSelected, os::MessageBoxButtons::YesNo) !=
      os::MessageBoxAnswer::Yes) {
    return;
  }
  ui::ListView& list = List();
  int row = list.NextSelected(-1);
  if (row < 0) return;
  deletedRows_.clear();
  component::DirectRevManager manager;
  for (bool first = true; row >= 0; row = list.NextSelected(row), first = false) {
    const HRESULT result = manager.Delete(com::BStr::FromUtf8(HandleOfRow(row)).Get());
    if (SUCCEEDED(result)) {
      deletedRows_.push_back(row);
    } else if (first) {
      std::string message = kUnableToDeletePrefix;
      message.append(list.RowText(row, 0));
      message.append(kUnableToDeleteRevisionName);
      message.append(list.RowText(row, 2));
      ui::AppMessageBox(message);
    } else {
      ui::AppMessageBox(kUnableToDeleteMore);
    }
  }
  // The last first, so that the indexes still to be removed stay valid.
  for (auto it = deletedRows_.rbegin(); it != deletedRows_.rend(); ++it) list.DeleteRow(*it);
}

void ListProp::OnKeepCheck() {
  const bool checked = dynamic_cast<ui::CheckBox&>(Item(kIdKeepCheck)).IsChecked();
  Enable(kIdKeepCount, checked);
  Enable(kIdDeleteListed, checked);
}

void ListProp::OnDeleteListed() {
  const std::int64_t keep = LeadingNumber(Text(kIdKeepCount));
  if (keep < 1) {
    ui::AppMessageBox(kMustKeepLatest);
    return;
  }
  if (ui::AppMessageBox(kAskDeleteListed, os::MessageBoxButtons::YesNo) !=
      os::MessageBoxAnswer::Yes) {
    return;
  }
  component::DirectRevManager manager;
  ui::ListView& list = List();
  {
    ui::ScopedProgress progress(kDeleteListedTask, list.RowCount());
    for (int row = 0; row < list.RowCount(); ++row) {
      DeleteOldRevisions(manager, HandleOfRow(row), keep, progress);
      progress.Advance(row + 1);
    }
  }
  OnList();
}

}  // namespace browser
