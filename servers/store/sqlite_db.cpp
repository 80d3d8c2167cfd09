#include "servers/store/sqlite_db.h"

#include "servers/store/store_error.h"

namespace store::sqlite {

namespace {
[[noreturn]] void Throw(sqlite3* db, std::string_view what) {
  std::string message(what);
  if (db) {
    message += ": ";
    message += sqlite3_errmsg(db);
  }
  throw StoreError(StoreErrorKind::Database, message);
}
}  // namespace

Connection::Connection(const std::string& path, bool create) {
  sqlite3* raw = nullptr;
  int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (create ? SQLITE_OPEN_CREATE : 0);
  int rc = sqlite3_open_v2(path.c_str(), &raw, flags, nullptr);
  db_.reset(raw);  // a failed open still hands out a connection to close
  if (rc != SQLITE_OK) Throw(raw, "cannot open database " + path);
  sqlite3_extended_result_codes(raw, 1);
}

void Connection::Exec(const char* sql) {
  if (sqlite3_exec(db_.get(), sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
    Throw(db_.get(), sql);
  }
}

void Connection::Fail(std::string_view what) const {
  Throw(db_.get(), what);
}

Statement::Statement(const Connection& connection, std::string_view sql) : db_(connection.Get()) {
  sqlite3_stmt* raw = nullptr;
  int rc = sqlite3_prepare_v3(db_, sql.data(), static_cast<int>(sql.size()),
                              SQLITE_PREPARE_PERSISTENT, &raw, nullptr);
  statement_.reset(raw);
  if (rc != SQLITE_OK) Throw(db_, "cannot prepare statement");
}

void Statement::Check(int rc, const char* what) {
  if (rc != SQLITE_OK) Throw(db_, what);
}

Statement& Statement::Bind(int index, std::int64_t value) {
  Check(sqlite3_bind_int64(statement_.get(), index, value), "cannot bind a number");
  return *this;
}

Statement& Statement::Bind(int index, std::string_view text) {
  Check(sqlite3_bind_text64(statement_.get(), index, text.data(), text.size(), SQLITE_TRANSIENT,
                            SQLITE_UTF8),
        "cannot bind a text");
  return *this;
}

Statement& Statement::Bind(int index, const std::optional<std::string>& text) {
  return text ? Bind(index, std::string_view(*text)) : BindNull(index);
}

Statement& Statement::BindNull(int index) {
  Check(sqlite3_bind_null(statement_.get(), index), "cannot bind a null");
  return *this;
}

bool Statement::Step() {
  int rc = sqlite3_step(statement_.get());
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  Throw(db_, "statement failed");
}

void Statement::Run() {
  while (Step()) {
  }
}

void Statement::Reset() {
  sqlite3_reset(statement_.get());
  sqlite3_clear_bindings(statement_.get());
}

bool Statement::IsNull(int column) const {
  return sqlite3_column_type(statement_.get(), column) == SQLITE_NULL;
}

std::int64_t Statement::Int(int column) const {
  return sqlite3_column_int64(statement_.get(), column);
}

std::string Statement::Text(int column) const {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_.get(), column));
  int size = sqlite3_column_bytes(statement_.get(), column);
  return text ? std::string(text, static_cast<std::size_t>(size)) : std::string();
}

std::optional<std::string> Statement::OptionalText(int column) const {
  if (IsNull(column)) return std::nullopt;
  return Text(column);
}

}  // namespace store::sqlite
