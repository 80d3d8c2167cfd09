#pragma once
// Every SQL text of the SQLite backend. Values never appear in these texts: they are bound.
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "servers/store/revision_query.h"

namespace store::sqlite::sql {

// Schema migrations: kMigrations[i] upgrades a database from version i to version i + 1.
extern const std::vector<const char*> kMigrations;
int CurrentSchemaVersion();

extern const char kPragmas[];
extern const char kBeginWrite[];
extern const char kCommit[];
extern const char kRollback[];

extern const char kInsertProject[];
extern const char kSelectProject[];
extern const char kSelectProjects[];
extern const char kUpdateProductMode[];
extern const char kUpsertDatabank[];
extern const char kInsertGrant[];
extern const char kDeleteGrant[];
extern const char kSelectGrant[];

extern const char kInsertObject[];
extern const char kInsertRevision[];
extern const char kSelectRevision[];          // ?1 object, ?2 revision
extern const char kSelectLatestRevisionId[];  // ?1 object
extern const char kDeleteRevision[];          // ?1 revision
extern const char kCountRevisions[];          // ?1 object
extern const char kSelectOldestRevision[];    // ?1 object
extern const char kSelectLatestByName[];      // ?1 object name, ?2 databank code
extern const char kUpdateRevisionInfo[];      // ?1 name set, ?2 name, ?3 remark set, ?4 remark,
                                              // ?5 modified by, ?6 modified at, ?7 revision
extern const char kInsertAudit[];
extern const char kSelectAudit[];  // ?1 object, ?2 revision
extern const char kSelectAuditAll[];

// A value bound to a parameter of a built query, in parameter order.
using Parameter = std::variant<std::monostate, std::string, std::int64_t>;

struct BuiltQuery {
  std::string text;
  std::vector<Parameter> parameters;
};

// One statement for the whole query. The query must have passed ValidateQuery.
BuiltQuery BuildRevisionQuery(const RevisionQuery& query);

}  // namespace store::sqlite::sql
