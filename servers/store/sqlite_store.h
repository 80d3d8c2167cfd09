#pragma once
// The SQLite backend of the revision store: one file per database, WAL, so that several
// processes can work on one project at once.
#include <map>
#include <memory>
#include <string>

#include "servers/store/revision_store.h"
#include "servers/store/sqlite_db.h"

namespace store::sqlite {

class SqliteStore final : public RevisionStore {
 public:
  // Opens the file and creates or upgrades its schema. Throws StoreError.
  SqliteStore(const std::string& path, OpenMode mode);
  ~SqliteStore() override;

  void CreateProject(const std::string& name, const std::string& productMode) override;
  std::optional<ProjectInfo> FindProject(std::string_view name) override;
  std::vector<ProjectInfo> ListProjects() override;
  void SetProductMode(std::string_view project, const std::string& productMode) override;
  void EnsureDatabank(std::int64_t code, const std::string& name) override;
  void Grant(std::string_view project, std::string_view user, std::string_view function) override;
  void Revoke(std::string_view project, std::string_view user, std::string_view function) override;
  bool IsFunctionGranted(std::string_view project, std::string_view user,
                         std::string_view function) override;

  std::uint64_t AddObject(std::int64_t databankCode, const std::string& name, std::int32_t typeCode,
                          std::int32_t subTypeCode) override;
  Handle AddRevision(std::uint64_t object, const NewRevision& revision) override;
  std::optional<RevisionInfo> FindRevision(const Handle& handle) override;

  void Begin() override;
  void Commit() override;
  void Rollback() override;
  bool InTransaction() const override;

  int DeleteRevision(std::string_view handle, std::string_view user) override;
  std::int64_t GetRevisionCount(std::string_view handle) override;
  std::optional<OldestRevision> GetOldestRevision(std::string_view handle) override;
  std::optional<bool> IsLatest(std::string_view objectName,
                               const std::optional<std::string>& revisionName,
                               std::int64_t databankCode) override;
  bool UpdateRevisionInfo(std::string_view handle, const std::optional<std::string>& name,
                          const std::optional<std::string>& remark, std::string_view user) override;

  std::unique_ptr<RevisionCursor> OpenRevisionQuery(const RevisionQuery& query) override;

  std::vector<AuditEntry> AuditTrail(std::string_view handle) override;
  std::vector<AuditEntry> AuditTrailAll() override;
  int SchemaVersion() override;

 private:
  Statement& Cached(const char* sql);
  void UpgradeSchema();
  // Begins a transaction when none is open; true when it did.
  bool EnsureTransaction();
  std::optional<std::int64_t> LatestRevisionId(std::uint64_t object);
  void WriteAudit(const Handle& handle, std::string_view user, const char* action,
                  const std::string& detail);
  std::vector<AuditEntry> ReadAudit(Statement& statement);

  Connection connection_;
  std::map<const char*, Statement> statements_;
};

// Creates the schema up to the given version (for tests of the upgrade path).
void CreateSchemaUpTo(const std::string& path, int version);

}  // namespace store::sqlite
