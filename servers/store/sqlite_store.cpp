#include "servers/store/sqlite_store.h"

#include <filesystem>

#include "servers/store/sqlite_sql.h"

namespace store::sqlite {

namespace {

constexpr int kBusyTimeoutMs = 10000;

TimePoint Now() {
  return std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
}

std::int64_t ToSeconds(TimePoint time) {
  return time.time_since_epoch().count();
}

TimePoint FromSeconds(std::int64_t seconds) {
  return TimePoint(std::chrono::seconds(seconds));
}

std::int64_t Id(std::uint64_t identity) {
  return static_cast<std::int64_t>(identity);
}

std::string Quoted(const std::optional<std::string>& text) {
  return text ? "\"" + *text + "\"" : "NULL";
}

int ReadUserVersion(Connection& connection) {
  Statement statement(connection, "PRAGMA user_version");
  return statement.Step() ? static_cast<int>(statement.Int(0)) : 0;
}

// Brings the schema from its stored version up to target, in one write transaction so that
// processes opening a new file at once do not both create it.
void Upgrade(Connection& connection, int target) {
  // Up to date: no write lock needed, so opening never waits for another process's transaction.
  const int stored = ReadUserVersion(connection);
  if (stored == target && target == sql::CurrentSchemaVersion()) return;
  connection.Exec(sql::kBeginWrite);
  try {
    int version = ReadUserVersion(connection);
    if (version > sql::CurrentSchemaVersion()) {
      throw StoreError(StoreErrorKind::Database, "the database has schema version " +
                                                     std::to_string(version) +
                                                     ", newer than this program's " +
                                                     std::to_string(sql::CurrentSchemaVersion()));
    }
    for (; version < target; ++version) {
      connection.Exec(sql::kMigrations[static_cast<std::size_t>(version)]);
      // The version is a number of our own, not a value from outside.
      connection.Exec(("PRAGMA user_version = " + std::to_string(version + 1)).c_str());
    }
    connection.Exec(sql::kCommit);
  } catch (...) {
    sqlite3_exec(connection.Get(), sql::kRollback, nullptr, nullptr, nullptr);
    throw;
  }
}

void Configure(Connection& connection) {
  sqlite3_busy_timeout(connection.Get(), kBusyTimeoutMs);
  connection.Exec(sql::kPragmas);
}

class SqliteCursor final : public RevisionCursor {
 public:
  SqliteCursor(const Connection& connection, const RevisionQuery& query,
               const sql::BuiltQuery& built)
      : statement_(connection, built.text) {
    for (std::size_t i = 0; i < built.parameters.size(); ++i) {
      const int index = static_cast<int>(i + 1);
      const auto& parameter = built.parameters[i];
      if (const auto* text = std::get_if<std::string>(&parameter)) {
        statement_.Bind(index, std::string_view(*text));
      } else if (const auto* number = std::get_if<std::int64_t>(&parameter)) {
        statement_.Bind(index, *number);
      } else {
        statement_.BindNull(index);
      }
    }
    for (Attribute attribute : query.select) {
      kinds_.push_back(*KindOfAttribute(static_cast<std::int32_t>(attribute)));
    }
    atEnd_ = !statement_.Step();
  }

  bool AtEnd() const override { return atEnd_; }
  void MoveNext() override {
    if (!atEnd_) atEnd_ = !statement_.Step();
  }
  Value Get(std::size_t index) const override {
    if (atEnd_ || index >= kinds_.size()) return Null{};
    const int column = static_cast<int>(index);
    if (statement_.IsNull(column)) return Null{};
    switch (kinds_[index]) {
      case ValueKind::Text:
        return statement_.Text(column);
      case ValueKind::Integer:
        return statement_.Int(column);
      case ValueKind::Date:
        return FromSeconds(statement_.Int(column));
    }
    return Null{};
  }
  std::size_t ColumnCount() const override { return kinds_.size(); }

 private:
  Statement statement_;
  std::vector<ValueKind> kinds_;
  bool atEnd_ = true;
};

}  // namespace

SqliteStore::SqliteStore(const std::string& path, OpenMode mode)
    : connection_(path, mode == OpenMode::CreateIfMissing) {
  Configure(connection_);
  Upgrade(connection_, sql::CurrentSchemaVersion());
}

SqliteStore::~SqliteStore() {
  statements_.clear();
  if (InTransaction()) sqlite3_exec(connection_.Get(), sql::kRollback, nullptr, nullptr, nullptr);
}

Statement& SqliteStore::Cached(const char* text) {
  auto it = statements_.find(text);
  if (it == statements_.end()) it = statements_.emplace(text, Statement(connection_, text)).first;
  return it->second;
}

int SqliteStore::SchemaVersion() {
  return ReadUserVersion(connection_);
}

void SqliteStore::CreateProject(const std::string& name, const std::string& productMode) {
  ScopedUse use(Cached(sql::kInsertProject));
  use->Bind(1, std::string_view(name)).Bind(2, std::string_view(productMode)).Run();
}

std::optional<ProjectInfo> SqliteStore::FindProject(std::string_view name) {
  ScopedUse use(Cached(sql::kSelectProject));
  use->Bind(1, name);
  if (!use->Step()) return std::nullopt;
  return ProjectInfo{use->Text(0), use->Text(1)};
}

std::vector<ProjectInfo> SqliteStore::ListProjects() {
  ScopedUse use(Cached(sql::kSelectProjects));
  std::vector<ProjectInfo> projects;
  while (use->Step()) projects.push_back({use->Text(0), use->Text(1)});
  return projects;
}

void SqliteStore::SetProductMode(std::string_view project, const std::string& productMode) {
  ScopedUse use(Cached(sql::kUpdateProductMode));
  use->Bind(1, project).Bind(2, std::string_view(productMode)).Run();
  if (sqlite3_changes(connection_.Get()) == 0) {
    throw StoreError(StoreErrorKind::NotFound, "no project \"" + std::string(project) + "\"");
  }
}

void SqliteStore::EnsureDatabank(std::int64_t code, const std::string& name) {
  ScopedUse use(Cached(sql::kUpsertDatabank));
  use->Bind(1, code).Bind(2, std::string_view(name)).Run();
}

void SqliteStore::Grant(std::string_view project, std::string_view user,
                        std::string_view function) {
  ScopedUse use(Cached(sql::kInsertGrant));
  use->Bind(1, project).Bind(2, user).Bind(3, function).Run();
}

void SqliteStore::Revoke(std::string_view project, std::string_view user,
                         std::string_view function) {
  ScopedUse use(Cached(sql::kDeleteGrant));
  use->Bind(1, project).Bind(2, user).Bind(3, function).Run();
}

bool SqliteStore::IsFunctionGranted(std::string_view project, std::string_view user,
                                    std::string_view function) {
  ScopedUse use(Cached(sql::kSelectGrant));
  return use->Bind(1, project).Bind(2, user).Bind(3, function).Step();
}

std::uint64_t SqliteStore::AddObject(std::int64_t databankCode, const std::string& name,
                                     std::int32_t typeCode, std::int32_t subTypeCode) {
  ScopedUse use(Cached(sql::kInsertObject));
  use->Bind(1, databankCode)
      .Bind(2, std::string_view(name))
      .Bind(3, std::int64_t{typeCode})
      .Bind(4, std::int64_t{subTypeCode})
      .Run();
  return static_cast<std::uint64_t>(sqlite3_last_insert_rowid(connection_.Get()));
}

Handle SqliteStore::AddRevision(std::uint64_t object, const NewRevision& revision) {
  ScopedUse use(Cached(sql::kInsertRevision));
  const std::string& modifiedBy =
      revision.modifiedBy.empty() ? revision.createdBy : revision.modifiedBy;
  use->Bind(1, Id(object))
      .Bind(2, revision.name)
      .Bind(3, revision.remark)
      .Bind(4, std::string_view(revision.createdBy))
      .Bind(5, ToSeconds(revision.createdAt))
      .Bind(6, std::string_view(modifiedBy))
      .Bind(7, ToSeconds(revision.modifiedAt.value_or(revision.createdAt)))
      .Run();
  return Handle{object, static_cast<std::uint64_t>(sqlite3_last_insert_rowid(connection_.Get()))};
}

std::optional<RevisionInfo> SqliteStore::FindRevision(const Handle& handle) {
  ScopedUse use(Cached(sql::kSelectRevision));
  if (!use->Bind(1, Id(handle.object)).Bind(2, Id(handle.revision)).Step()) return std::nullopt;
  RevisionInfo info;
  info.handle = handle;
  info.objectName = use->Text(0);
  info.databankCode = use->Int(1);
  info.name = use->OptionalText(2);
  info.remark = use->OptionalText(3);
  info.createdBy = use->Text(4);
  info.createdAt = FromSeconds(use->Int(5));
  info.modifiedBy = use->Text(6);
  info.modifiedAt = FromSeconds(use->Int(7));
  return info;
}

void SqliteStore::Begin() {
  if (InTransaction()) throw StoreError(StoreErrorKind::Database, "a transaction is open already");
  connection_.Exec(sql::kBeginWrite);
}

void SqliteStore::Commit() {
  if (InTransaction()) connection_.Exec(sql::kCommit);
}

void SqliteStore::Rollback() {
  if (InTransaction()) connection_.Exec(sql::kRollback);
}

bool SqliteStore::InTransaction() const {
  return sqlite3_get_autocommit(connection_.Get()) == 0;
}

bool SqliteStore::EnsureTransaction() {
  if (InTransaction()) return false;
  Begin();
  return true;
}

std::optional<std::int64_t> SqliteStore::LatestRevisionId(std::uint64_t object) {
  ScopedUse use(Cached(sql::kSelectLatestRevisionId));
  if (!use->Bind(1, Id(object)).Step() || use->IsNull(0)) return std::nullopt;
  return use->Int(0);
}

void SqliteStore::WriteAudit(const Handle& handle, std::string_view user, const char* action,
                             const std::string& detail) {
  ScopedUse use(Cached(sql::kInsertAudit));
  use->Bind(1, ToSeconds(Now()))
      .Bind(2, user)
      .Bind(3, Id(handle.object))
      .Bind(4, Id(handle.revision))
      .Bind(5, std::string_view(action))
      .Bind(6, std::string_view(detail))
      .Run();
}

int SqliteStore::DeleteRevision(std::string_view handleText, std::string_view user) {
  const Handle handle = ParseHandleOrThrow(handleText);
  EnsureTransaction();
  auto revision = FindRevision(handle);
  if (!revision) return 0;
  // An object never loses its latest revision.
  if (LatestRevisionId(handle.object) == Id(handle.revision)) return 0;
  {
    ScopedUse use(Cached(sql::kDeleteRevision));
    use->Bind(1, Id(handle.revision)).Run();
  }
  WriteAudit(handle, user, "DELETE_REVISION",
             "object " + Quoted(revision->objectName) + ", name " + Quoted(revision->name) +
                 ", remark " + Quoted(revision->remark) + ", created by " +
                 Quoted(revision->createdBy));
  return 1;
}

std::int64_t SqliteStore::GetRevisionCount(std::string_view handleText) {
  const Handle handle = ParseHandleOrThrow(handleText);
  ScopedUse use(Cached(sql::kCountRevisions));
  return use->Bind(1, Id(handle.object)).Step() ? use->Int(0) : 0;
}

std::optional<OldestRevision> SqliteStore::GetOldestRevision(std::string_view handleText) {
  const Handle handle = ParseHandleOrThrow(handleText);
  ScopedUse use(Cached(sql::kSelectOldestRevision));
  if (!use->Bind(1, Id(handle.object)).Step()) return std::nullopt;
  return OldestRevision{FormatHandle({handle.object, static_cast<std::uint64_t>(use->Int(0))}),
                        use->OptionalText(1), use->OptionalText(2)};
}

std::optional<bool> SqliteStore::IsLatest(std::string_view objectName,
                                          const std::optional<std::string>& revisionName,
                                          std::int64_t databankCode) {
  ScopedUse use(Cached(sql::kSelectLatestByName));
  if (!use->Bind(1, objectName).Bind(2, databankCode).Step()) return std::nullopt;
  return use->OptionalText(0) == revisionName;
}

bool SqliteStore::UpdateRevisionInfo(std::string_view handleText,
                                     const std::optional<std::string>& name,
                                     const std::optional<std::string>& remark,
                                     std::string_view user) {
  const Handle handle = ParseHandleOrThrow(handleText);
  EnsureTransaction();
  auto revision = FindRevision(handle);
  if (!revision) return false;
  if (LatestRevisionId(handle.object) == Id(handle.revision)) return false;
  {
    ScopedUse use(Cached(sql::kUpdateRevisionInfo));
    use->Bind(1, std::int64_t{name.has_value()})
        .Bind(2, name)
        .Bind(3, std::int64_t{remark.has_value()})
        .Bind(4, remark)
        .Bind(5, user)
        .Bind(6, ToSeconds(Now()))
        .Bind(7, Id(handle.revision))
        .Run();
  }
  std::string detail;
  if (name) detail += "name " + Quoted(revision->name) + " -> " + Quoted(name);
  if (remark) {
    if (!detail.empty()) detail += "; ";
    detail += "remark " + Quoted(revision->remark) + " -> " + Quoted(remark);
  }
  WriteAudit(handle, user, "UPDATE_REVISION_INFO", detail);
  return true;
}

std::unique_ptr<RevisionCursor> SqliteStore::OpenRevisionQuery(const RevisionQuery& query) {
  std::string fault = ValidateQuery(query);
  if (!fault.empty()) throw StoreError(StoreErrorKind::InvalidQuery, fault);
  return std::make_unique<SqliteCursor>(connection_, query, sql::BuildRevisionQuery(query));
}

std::vector<AuditEntry> SqliteStore::ReadAudit(Statement& statement) {
  std::vector<AuditEntry> entries;
  while (statement.Step()) {
    entries.push_back({FromSeconds(statement.Int(0)), statement.Text(1),
                       FormatHandle({static_cast<std::uint64_t>(statement.Int(2)),
                                     static_cast<std::uint64_t>(statement.Int(3))}),
                       statement.Text(4), statement.Text(5)});
  }
  return entries;
}

std::vector<AuditEntry> SqliteStore::AuditTrail(std::string_view handleText) {
  const Handle handle = ParseHandleOrThrow(handleText);
  ScopedUse use(Cached(sql::kSelectAudit));
  use->Bind(1, Id(handle.object)).Bind(2, Id(handle.revision));
  return ReadAudit(*use);
}

std::vector<AuditEntry> SqliteStore::AuditTrailAll() {
  ScopedUse use(Cached(sql::kSelectAuditAll));
  return ReadAudit(*use);
}

void CreateSchemaUpTo(const std::string& path, int version) {
  Connection connection(path, true);
  Configure(connection);
  Upgrade(connection, version);
}

}  // namespace store::sqlite
