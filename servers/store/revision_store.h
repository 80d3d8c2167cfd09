#pragma once
// The revision store: one RVX database with its projects, databanks, model objects, revisions,
// function grants and audit trail. One instance is one connection, used by one thread at a time.
// Functions throw StoreError (store_error.h); nothing else escapes.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "servers/store/handle.h"
#include "servers/store/revision_query.h"
#include "servers/store/store_error.h"

namespace store {

inline constexpr char kBasicRvx[] = "BASIC RVX";
inline constexpr char kExtendedRvx[] = "EXTENDED RVX";

struct ProjectInfo {
  std::string name;
  std::string productMode;  // "BASIC RVX", "EXTENDED RVX" or whatever was stored
};

struct OldestRevision {
  std::string handle;
  std::optional<std::string> name;
  std::optional<std::string> remark;
};

struct RevisionInfo {
  Handle handle;
  std::string objectName;
  std::int64_t databankCode = 0;
  std::optional<std::string> name;
  std::optional<std::string> remark;
  std::string createdBy;
  TimePoint createdAt{};
  std::string modifiedBy;
  TimePoint modifiedAt{};
};

struct AuditEntry {
  TimePoint at{};
  std::string user;
  std::string handle;
  std::string action;  // "DELETE_REVISION", "UPDATE_REVISION_INFO"
  std::string detail;  // what changed, readable
};

struct NewRevision {
  std::optional<std::string> name;
  std::optional<std::string> remark;
  std::string createdBy;
  TimePoint createdAt{};
  // Empty / unset: the creator and creation time.
  std::string modifiedBy;
  std::optional<TimePoint> modifiedAt;
};

enum class OpenMode {
  OpenExisting,     // fails when the database does not exist
  CreateIfMissing,  // creates an empty database
};

class RevisionStore {
 public:
  virtual ~RevisionStore() = default;  // an open transaction is rolled back

  // --- projects, databanks, grants (each commits at once unless a transaction is open)
  virtual void CreateProject(const std::string& name, const std::string& productMode) = 0;
  virtual std::optional<ProjectInfo> FindProject(std::string_view name) = 0;
  virtual std::vector<ProjectInfo> ListProjects() = 0;
  // Throws StoreError(NotFound) for an unknown project.
  virtual void SetProductMode(std::string_view project, const std::string& productMode) = 0;
  // Adds the databank or renames the code's databank.
  virtual void EnsureDatabank(std::int64_t code, const std::string& name) = 0;
  virtual void Grant(std::string_view project, std::string_view user,
                     std::string_view function) = 0;
  virtual void Revoke(std::string_view project, std::string_view user,
                      std::string_view function) = 0;
  virtual bool IsFunctionGranted(std::string_view project, std::string_view user,
                                 std::string_view function) = 0;

  // --- model objects and revisions (for the generator, demos and tests)
  // The new object's identity. The databank must exist.
  virtual std::uint64_t AddObject(std::int64_t databankCode, const std::string& name,
                                  std::int32_t typeCode, std::int32_t subTypeCode) = 0;
  // A new revision, newer than every earlier one of the object.
  virtual Handle AddRevision(std::uint64_t object, const NewRevision& revision) = 0;
  virtual std::optional<RevisionInfo> FindRevision(const Handle& handle) = 0;

  // --- transaction
  // Begins a write transaction. Throws when one is open already.
  virtual void Begin() = 0;
  virtual void Commit() = 0;
  virtual void Rollback() = 0;
  virtual bool InTransaction() const = 0;

  // --- the revision package. The changing functions run inside the open transaction, beginning
  // one if none is open (and leave it open for the caller's commit), and write their audit row
  // in it. The reading functions read in the open transaction, or without one.
  // Handles that are not 32 hexadecimal digits throw StoreError(BadHandle).

  // 1: the revision existed and was deleted. 0: no such revision, or it is its object's latest.
  virtual int DeleteRevision(std::string_view handle, std::string_view user) = 0;
  // Revisions of the object the handle names (its first 16 digits); 0 for an unknown object.
  virtual std::int64_t GetRevisionCount(std::string_view handle) = 0;
  // The oldest revision of the handle's object; nullopt when it has none.
  virtual std::optional<OldestRevision> GetOldestRevision(std::string_view handle) = 0;
  // Whether the latest revision of the named object in that databank has that revision name
  // (a null name equals a null name); nullopt for an unknown object.
  virtual std::optional<bool> IsLatest(std::string_view objectName,
                                       const std::optional<std::string>& revisionName,
                                       std::int64_t databankCode) = 0;
  // Sets the given fields (nullopt leaves one) and modified by/at. False for an unknown
  // revision or the object's latest revision.
  virtual bool UpdateRevisionInfo(std::string_view handle, const std::optional<std::string>& name,
                                  const std::optional<std::string>& remark,
                                  std::string_view user) = 0;

  // --- query server
  // Throws StoreError(InvalidQuery) for a query ValidateQuery refuses.
  virtual std::unique_ptr<RevisionCursor> OpenRevisionQuery(const RevisionQuery& query) = 0;

  // --- audit trail, oldest first
  virtual std::vector<AuditEntry> AuditTrail(std::string_view handle) = 0;
  virtual std::vector<AuditEntry> AuditTrailAll() = 0;

  // Schema version of the open database.
  virtual int SchemaVersion() = 0;
};

// Opens a store location: "sqlite:<path>" (or a plain path, taken as SQLite). Creates or
// upgrades the schema. Returns null and sets *error (when given) on failure; never throws.
std::unique_ptr<RevisionStore> OpenStore(std::string_view location, OpenMode mode,
                                         std::string* error = nullptr);

// The project's store through the product home's project list; null and *error when the
// project is not listed or its store cannot be opened.
std::unique_ptr<RevisionStore> OpenProjectStore(std::string_view project,
                                                std::string* error = nullptr);

}  // namespace store
