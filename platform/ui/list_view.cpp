#include "platform/ui/list_view.h"

#include <algorithm>
#include <cstring>

namespace ui {

namespace {

struct Segment {
  std::size_t begin;
  std::size_t end;  // == begin when absent
  bool present;
};

Segment FindSegment(const std::string& texts, int column) {
  std::size_t pos = 0;
  for (int i = 0; i < column; ++i) {
    const void* nul = std::memchr(texts.data() + pos, '\0', texts.size() - pos);
    if (!nul) return {texts.size(), texts.size(), false};
    pos = static_cast<std::size_t>(static_cast<const char*>(nul) - texts.data()) + 1;
  }
  const void* nul = std::memchr(texts.data() + pos, '\0', texts.size() - pos);
  std::size_t end =
      nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - texts.data()) : texts.size();
  return {pos, end, true};
}

// Cell texts cannot hold '\0' (it ends them, as in the platform's text APIs).
std::string_view UpToNul(std::string_view text) {
  return text.substr(0, std::min(text.size(), text.find('\0')));
}

}  // namespace

void ListView::IndexTexts(Row& row) {
  row.present =
      1 + static_cast<std::uint32_t>(std::count(row.texts.begin(), row.texts.end(), '\0'));
  std::size_t pos = 0;
  for (int c = 0; c < kIndexedColumns && static_cast<std::uint32_t>(c) < row.present; ++c) {
    row.start[c] = static_cast<std::uint32_t>(pos);
    pos = row.texts.find('\0', pos);
    if (pos == std::string::npos) break;
    ++pos;
  }
}

ListView::ListView(const ControlTemplate& from, ControlHost* host) : Control(from, host) {}
ListView::~ListView() = default;

int ListView::InsertColumn(int index, std::string_view heading, int width, Alignment alignment) {
  index = std::clamp(index, 0, ColumnCount());
  columns_.insert(columns_.begin() + index, Column{std::string(heading), width, alignment});
  return index;
}

RowSequence::Id ListView::NewRow() {
  if (!free_.empty()) {
    RowSequence::Id id = free_.back();
    free_.pop_back();
    return id;
  }
  pool_.emplace_back();
  return static_cast<RowSequence::Id>(pool_.size() - 1);
}

int ListView::InsertRow(int index, std::string_view text) {
  std::string_view texts[] = {text};
  return InsertRow(index, texts);
}

int ListView::InsertRow(int index, std::span<const std::string_view> texts, LParam data) {
  index = std::clamp(index, 0, RowCount());
  RowSequence::Id id = NewRow();
  Row& row = pool_[id];
  row = Row{};
  std::size_t total = texts.size();
  for (std::string_view t : texts) total += t.size();
  row.texts.reserve(total);
  for (std::size_t i = 0; i < texts.size(); ++i) {
    if (i > 0) row.texts.push_back('\0');
    row.texts.append(UpToNul(texts[i]));
  }
  row.data = data;
  IndexTexts(row);
  order_.Insert(static_cast<std::size_t>(index), id);
  return index;
}

bool ListView::DeleteRow(int row) {
  if (!Valid(row)) return false;
  RowSequence::Id id = order_.Erase(static_cast<std::size_t>(row));
  pool_[id] = Row{};
  free_.push_back(id);
  return true;
}

void ListView::DeleteAllRows() {
  order_.Clear();
  pool_.clear();
  free_.clear();
}

std::string_view ListView::RowText(int row, int column) const {
  if (!Valid(row) || column < 0) return {};
  const Row& record = RowAt(row);
  const std::string& texts = record.texts;
  if (column < kIndexedColumns) {
    auto c = static_cast<std::uint32_t>(column);
    if (c >= record.present) return {};
    std::size_t begin = record.start[c];
    std::size_t end = c + 1 < record.present ? record.start[c + 1] - 1 : texts.size();
    return std::string_view(texts).substr(begin, end - begin);
  }
  Segment segment = FindSegment(texts, column);
  return std::string_view(texts).substr(segment.begin, segment.end - segment.begin);
}

bool ListView::SetRowText(int row, int column, std::string_view text) {
  if (!Valid(row) || column < 0) return false;
  text = UpToNul(text);
  Row& record = RowAt(row);
  std::string& texts = record.texts;
  Segment segment = FindSegment(texts, column);
  if (segment.present) {
    texts.replace(segment.begin, segment.end - segment.begin, text);
  } else {
    // Add the missing columns as empty texts up to this one.
    texts.append(static_cast<std::size_t>(column) + 1 - record.present, '\0');
    texts.append(text);
  }
  IndexTexts(record);
  return true;
}

LParam ListView::RowData(int row) const {
  return Valid(row) ? RowAt(row).data : 0;
}

bool ListView::SetRowData(int row, LParam data) {
  if (!Valid(row)) return false;
  RowAt(row).data = data;
  return true;
}

int ListView::RowImage(int row) const {
  return Valid(row) ? RowAt(row).image : 0;
}

bool ListView::SetRowImage(int row, int image) {
  if (!Valid(row)) return false;
  RowAt(row).image = image;
  return true;
}

std::uint32_t ListView::RowState(int row, std::uint32_t mask) const {
  return Valid(row) ? (RowAt(row).state & mask) : 0;
}

void ListView::NotifyChanged(int row, std::uint32_t oldState, std::uint32_t changed) {
  ListViewNotification notification;
  notification.controlId = Id();
  notification.code = kListViewItemChanged;
  notification.item = row;
  notification.oldState = oldState;
  notification.newState = RowAt(row).state;
  notification.changed = changed;
  notification.param = RowAt(row).data;
  SendNotify(notification);
}

bool ListView::SetRowState(int row, std::uint32_t state, std::uint32_t mask) {
  if (!Valid(row)) return false;
  if ((mask & kItemFocused) && (state & kItemFocused)) {
    // One focused row at most. A user action, so a scan is affordable.
    for (int other = 0; other < RowCount(); ++other) {
      if (other != row && (RowAt(other).state & kItemFocused)) {
        SetRowState(other, 0, kItemFocused);
      }
    }
  }
  Row& target = RowAt(row);
  std::uint32_t oldState = target.state;
  target.state = (oldState & ~mask) | (state & mask);
  if (target.state != oldState) NotifyChanged(row, oldState, kChangedState);
  return true;
}

bool ListView::SwapRows(int a, int b) {
  if (!Valid(a) || !Valid(b)) return false;
  if (a == b) return true;
  std::uint32_t oldA = RowAt(a).state;
  std::uint32_t oldB = RowAt(b).state;
  // Exchange the records rather than their places in the order: the records then stay in
  // display order in memory, which keeps a sort's sequential walks cache-friendly.
  std::swap(RowAt(a), RowAt(b));
  constexpr std::uint32_t kAll = kChangedText | kChangedImage | kChangedParam | kChangedState;
  NotifyChanged(a, oldA, kAll);
  NotifyChanged(b, oldB, kAll);
  return true;
}

int ListView::NextSelected(int after) const {
  for (int row = std::max(after + 1, 0); row < RowCount(); ++row) {
    if (RowAt(row).state & kItemSelected) return row;
  }
  return -1;
}

int ListView::SelectedCount() const {
  int count = 0;
  for (int row = 0; row < RowCount(); ++row) {
    if (RowAt(row).state & kItemSelected) ++count;
  }
  return count;
}

std::vector<int> ListView::SelectedRows() const {
  std::vector<int> rows;
  for (int row = NextSelected(-1); row >= 0; row = NextSelected(row)) rows.push_back(row);
  return rows;
}

void ListView::UserSelect(std::span<const int> rows) {
  std::vector<int> wanted;
  for (int row : rows) {
    if (Valid(row)) wanted.push_back(row);
  }
  if (!AllowsSeveralSelected() && wanted.size() > 1) wanted.erase(wanted.begin(), wanted.end() - 1);
  for (int row = 0; row < RowCount(); ++row) {
    if ((RowAt(row).state & (kItemSelected | kItemFocused)) &&
        std::find(wanted.begin(), wanted.end(), row) == wanted.end()) {
      SetRowState(row, 0, kItemSelected | kItemFocused);
    }
  }
  for (std::size_t i = 0; i < wanted.size(); ++i) {
    bool last = i + 1 == wanted.size();
    std::uint32_t bits = last ? (kItemSelected | kItemFocused) : kItemSelected;
    SetRowState(wanted[i], bits, kItemSelected | (last ? kItemFocused : 0u));
  }
}

void ListView::UserClickHeading(int column) {
  ListViewNotification notification;
  notification.controlId = Id();
  notification.code = kListViewColumnClick;
  notification.item = -1;
  notification.subItem = column;
  SendNotify(notification);
}

}  // namespace ui
