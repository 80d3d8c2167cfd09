#pragma once
// RAII wrappers of a SQLite connection and prepared statements. Failures throw StoreError.
#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace store::sqlite {

struct ConnectionCloser {
  void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct StatementFinalizer {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};

class Connection {
 public:
  // Opens the file; create: make it when missing. Throws StoreError.
  Connection(const std::string& path, bool create);

  sqlite3* Get() const { return db_.get(); }
  // Runs statements without parameters (schema, pragmas, transaction control).
  void Exec(const char* sql);
  [[noreturn]] void Fail(std::string_view what) const;

 private:
  std::unique_ptr<sqlite3, ConnectionCloser> db_;
};

class Statement {
 public:
  Statement() = default;
  Statement(const Connection& connection, std::string_view sql);

  bool Valid() const { return statement_ != nullptr; }
  sqlite3_stmt* Get() const { return statement_.get(); }

  // Parameters are numbered from 1.
  Statement& Bind(int index, std::int64_t value);
  Statement& Bind(int index, std::string_view text);
  Statement& Bind(int index, const std::optional<std::string>& text);
  Statement& BindNull(int index);

  // True while there is a row; false when done. Throws StoreError.
  bool Step();
  // Steps a statement that returns no row.
  void Run();
  // Resets and clears bindings, ready for the next use.
  void Reset();

  bool IsNull(int column) const;
  std::int64_t Int(int column) const;
  std::string Text(int column) const;
  std::optional<std::string> OptionalText(int column) const;

 private:
  void Check(int rc, const char* what);

  sqlite3* db_ = nullptr;
  std::unique_ptr<sqlite3_stmt, StatementFinalizer> statement_;
};

// Resets a cached statement when the use ends, also when it ends by an exception.
class ScopedUse {
 public:
  explicit ScopedUse(Statement& statement) : statement_(statement) {}
  ~ScopedUse() { statement_.Reset(); }
  ScopedUse(const ScopedUse&) = delete;
  ScopedUse& operator=(const ScopedUse&) = delete;
  Statement* operator->() { return &statement_; }
  Statement& operator*() { return statement_; }

 private:
  Statement& statement_;
};

}  // namespace store::sqlite
