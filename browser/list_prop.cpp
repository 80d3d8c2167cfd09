#include "browser/list_prop.h"

#include <cstdio>
#include <new>

#include "browser/dialog_template_202.h"
#include "browser/list_row_sort.h"
#include "browser/listing_query.h"
#include "browser/model_type_catalogue.h"
#include "host/access_control.h"
#include "host/com_error.h"
#include "host/function_names.h"
#include "platform/com/utf.h"
#include "platform/os/os.h"
#include "platform/ui/app_message_box.h"

namespace browser {

namespace {

constexpr char kNoItemsFound[] = "No items found";
constexpr char kNoItemsHandle[] = "No items";
constexpr char kMalformedDateWarning[] =
    "Erroneous created between date, please use format: YYYY-MM-DD HH:MM:SS ";
constexpr char kExecuteFailed[] = "Error executing VNQuerySrv";

struct ColumnSpec {
  const char* heading;
  int width;
};
constexpr ColumnSpec kColumns[] = {
    {"Objectname", 150}, {"Type", 150},          {"Revision name", 115}, {"Remark", 115},
    {"Created by", 80},  {"Creation date", 135}, {"Modified by", 80},    {"Modified date", 135},
};

std::string LocalTimeText() {
  const os::LocalTime now = os::CurrentLocalTime();
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", now.year, now.month, now.day,
                now.hour, now.minute, now.second);
  return text;
}

}  // namespace

ListProp::ListProp() : PropertyPage(kListRevisionsTemplateId) {
  Map()
      .OnClicked(kIdList, [this] { OnList(); })
      .OnClicked(kIdRename, [this] { OnRename(); })
      .OnClicked(kIdDeleteSelected, [this] { OnDeleteSelected(); })
      .OnClicked(kIdKeepCheck, [this] { OnKeepCheck(); })
      .OnClicked(kIdDeleteListed, [this] { OnDeleteListed(); })
      .OnListView(kIdListView, ui::kListViewItemChanged,
                  [this](const ui::ListViewNotification& n) { return OnItemChanged(n); })
      .OnListView(kIdListView, ui::kListViewColumnClick,
                  [this](const ui::ListViewNotification& n) { return OnColumnClick(n); });
}

ListProp::~ListProp() = default;

ui::Control& ListProp::Item(int controlId) const {
  // Template 202 has every id this page uses; a missing one is a broken build.
  ui::Control* control = PropertyPage::Item(controlId);
  if (!control) throw std::logic_error("template 202 lacks control " + std::to_string(controlId));
  return *control;
}

ui::ListView& ListProp::List() const {
  return dynamic_cast<ui::ListView&>(Item(kIdListView));
}

void ListProp::SetText(int controlId, std::string_view text) const {
  Item(controlId).SetText(text);
}

const std::string& ListProp::Text(int controlId) const {
  return Item(controlId).Text();
}

void ListProp::Enable(int controlId, bool enable) const {
  Item(controlId).Enable(enable);
}

std::string ListProp::HandleOfRow(int row) const {
  const ui::LParam data = List().RowData(row);
  if (data < 0 || static_cast<std::size_t>(data) >= handles_.size()) return {};
  return handles_[static_cast<std::size_t>(data)];
}

template <class Body>
auto ListProp::Guarded(Body&& body) -> decltype(body()) {
  try {
    return body();
  } catch (const ComError& error) {
    ReportComError(error, __LINE__, __FILE__, "List revisions");
  } catch (const std::bad_alloc&) {
    ReportComError(ComError(E_OUTOFMEMORY), __LINE__, __FILE__, "List revisions");
  } catch (const std::exception& error) {
    ui::AppMessageBox(error.what());
  }
  return decltype(body())();
}

void ListProp::OnControlCommand(int controlId, int code) {
  Guarded([&] { PropertyPage::OnControlCommand(controlId, code); });
}

ui::LResult ListProp::OnControlNotify(const ui::NotifyHeader& notification) {
  return Guarded([&] { return PropertyPage::OnControlNotify(notification); });
}

bool ListProp::OnInitDialog() {
  PropertyPage::OnInitDialog();

  auto& modelType = dynamic_cast<ui::ComboBox&>(Item(kIdModelType));
  for (const ModelTypeEntry& entry : ModelTypeCatalogue::Entries()) {
    modelType.AddString(entry.displayName);
  }
  modelType.SetText("Choose models");

  SetText(kIdObjectName, "*");

  ui::ListView& list = List();
  list.SetExtendedStyle(list.ExtendedStyle() | ui::list_view_ex::kFullRowSelect);
  int index = 0;
  for (const ColumnSpec& column : kColumns) {
    list.InsertColumn(index++, column.heading, column.width, ui::Alignment::Left);
  }

  Enable(kIdRevisionName, false);
  Enable(kIdRevisionRemark, false);
  Enable(kIdRename, false);

  // One entry to pick; the edit fields stay empty, so no bound applies until the user acts.
  const std::string now = LocalTimeText();
  dynamic_cast<ui::ComboBox&>(Item(kIdCreatedAfter)).AddString(now);
  dynamic_cast<ui::ComboBox&>(Item(kIdCreatedBefore)).AddString(now);

  SetText(kIdKeepCount, "1");
  Enable(kIdKeepCount, false);
  Enable(kIdDeleteListed, false);
  Enable(kIdKeepCheck, false);

  if (!CheckFunctionAccess(kFunctionRevisionManagement)) {
    for (int id : kIdsOfAllControls) Enable(id, false);
  }
  return true;
}

void ListProp::OnList() {
  ui::ListView& list = List();
  list.DeleteAllRows();
  handles_.clear();
  SetText(kIdRevisionName, "");
  SetText(kIdRevisionRemark, "");
  Enable(kIdRevisionName, false);
  Enable(kIdRevisionRemark, false);

  ListingRequest request;
  request.modelType = Text(kIdModelType);
  request.objectName = Text(kIdObjectName);
  request.createdAfter = Text(kIdCreatedAfter);
  request.createdBefore = Text(kIdCreatedBefore);
  ListingOutcome outcome = RunListingQuery(request);
  if (!outcome.serverCreated) return;

  if (outcome.modelTypeUsed == kAllModels && Text(kIdModelType) != kAllModels) {
    SetText(kIdModelType, kAllModels);
  }
  for (const DateParseResult* date : {&outcome.createdAfter, &outcome.createdBefore}) {
    if (date->kind == DateParseResult::Kind::Malformed) ui::AppMessageBox(kMalformedDateWarning);
  }
  if (outcome.executeFailed) {
    ui::AppMessageBox(kExecuteFailed);
    return;
  }

  if (outcome.rows.empty()) {
    std::string_view texts[] = {kNoItemsFound};
    list.InsertRow(0, texts, 0);
    handles_.emplace_back(kNoItemsHandle);
  } else {
    handles_.reserve(outcome.rows.size());
    for (RevisionRow& row : outcome.rows) {
      std::string_view texts[] = {row.objectName, row.typeText,    row.revisionName,
                                  row.remark,     row.createdBy,   row.creationDate,
                                  row.modifiedBy, row.modifiedDate};
      list.InsertRow(0, texts, static_cast<ui::LParam>(handles_.size()));
      handles_.push_back(std::move(row.handle));
    }
  }
  Enable(kIdKeepCheck, true);
}

ui::LResult ListProp::OnItemChanged(const ui::ListViewNotification& notification) {
  if (!(notification.newState & ui::kItemSelected)) return 0;
  ui::ListView& list = List();
  const int row = notification.item;
  const std::string_view name = list.RowText(row, 2);
  const std::string_view remark = list.RowText(row, 3);
  if (!name.empty() && !remark.empty()) {
    Enable(kIdRename, true);
    Enable(kIdRevisionName, true);
    Enable(kIdRevisionRemark, true);
    SetText(kIdRevisionName, name);
    SetText(kIdRevisionRemark, remark);
  } else {
    SetText(kIdRevisionName, "");
    SetText(kIdRevisionRemark, "");
    Enable(kIdRevisionName, false);
    Enable(kIdRevisionRemark, false);
    Enable(kIdRename, true);
  }
  selectedHandle_ = HandleOfRow(row);
  selectedRow_ = row;
  return 0;
}

ui::LResult ListProp::OnColumnClick(const ui::ListViewNotification& notification) {
  const int column = notification.subItem;
  sortAscending_ = column == sortedColumn_ ? !sortAscending_ : true;
  sortedColumn_ = column;
  SortListRows(List(), column, sortAscending_, 0);
  return 0;
}

}  // namespace browser
