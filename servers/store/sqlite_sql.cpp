#include "servers/store/sqlite_sql.h"

#include <map>

#include "servers/store/handle.h"

namespace store::sqlite::sql {

// Version 1: projects, databanks, objects, revisions, grants.
// Version 2: the audit trail and the index on creation time used by the listing.
const std::vector<const char*> kMigrations = {
    R"sql(
CREATE TABLE projects(
  name TEXT PRIMARY KEY,
  product_mode TEXT NOT NULL
) WITHOUT ROWID;
CREATE TABLE databanks(
  code INTEGER PRIMARY KEY,
  name TEXT NOT NULL UNIQUE
);
CREATE TABLE objects(
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  databank_code INTEGER NOT NULL REFERENCES databanks(code),
  name TEXT NOT NULL,
  type_code INTEGER NOT NULL,
  sub_type_code INTEGER NOT NULL
);
CREATE INDEX objects_by_name ON objects(name, databank_code);
CREATE TABLE revisions(
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  object_id INTEGER NOT NULL REFERENCES objects(id),
  name TEXT,
  remark TEXT,
  created_by TEXT NOT NULL,
  created_at INTEGER NOT NULL,
  modified_by TEXT NOT NULL,
  modified_at INTEGER NOT NULL
);
CREATE INDEX revisions_by_object ON revisions(object_id, id);
CREATE TABLE grants(
  project TEXT NOT NULL,
  user_name TEXT NOT NULL,
  function_name TEXT NOT NULL,
  PRIMARY KEY(project, user_name, function_name)
) WITHOUT ROWID;
)sql",
    R"sql(
CREATE TABLE audit(
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  at INTEGER NOT NULL,
  user_name TEXT NOT NULL,
  object_id INTEGER NOT NULL,
  revision_id INTEGER NOT NULL,
  action TEXT NOT NULL,
  detail TEXT NOT NULL
);
CREATE INDEX audit_by_revision ON audit(object_id, revision_id);
CREATE INDEX revisions_by_creation ON revisions(created_at);
)sql",
};

int CurrentSchemaVersion() {
  return static_cast<int>(kMigrations.size());
}

const char kPragmas[] =
    "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; PRAGMA foreign_keys=ON; "
    "PRAGMA case_sensitive_like=ON; PRAGMA cache_size=-65536;";
const char kBeginWrite[] = "BEGIN IMMEDIATE";
const char kCommit[] = "COMMIT";
const char kRollback[] = "ROLLBACK";

const char kInsertProject[] = "INSERT INTO projects(name, product_mode) VALUES(?1, ?2)";
const char kSelectProject[] = "SELECT name, product_mode FROM projects WHERE name = ?1";
const char kSelectProjects[] = "SELECT name, product_mode FROM projects ORDER BY name";
const char kUpdateProductMode[] = "UPDATE projects SET product_mode = ?2 WHERE name = ?1";
const char kUpsertDatabank[] =
    "INSERT INTO databanks(code, name) VALUES(?1, ?2) "
    "ON CONFLICT(code) DO UPDATE SET name = excluded.name";
const char kInsertGrant[] =
    "INSERT OR IGNORE INTO grants(project, user_name, function_name) VALUES(?1, ?2, ?3)";
const char kDeleteGrant[] =
    "DELETE FROM grants WHERE project = ?1 AND user_name = ?2 AND function_name = ?3";
const char kSelectGrant[] =
    "SELECT 1 FROM grants WHERE project = ?1 AND user_name = ?2 AND function_name = ?3";

const char kInsertObject[] =
    "INSERT INTO objects(databank_code, name, type_code, sub_type_code) VALUES(?1, ?2, ?3, ?4)";
const char kInsertRevision[] =
    "INSERT INTO revisions(object_id, name, remark, created_by, created_at, modified_by, "
    "modified_at) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7)";
const char kSelectRevision[] =
    "SELECT o.name, o.databank_code, r.name, r.remark, r.created_by, r.created_at, "
    "r.modified_by, r.modified_at FROM revisions r JOIN objects o ON o.id = r.object_id "
    "WHERE r.object_id = ?1 AND r.id = ?2";
const char kSelectLatestRevisionId[] = "SELECT max(id) FROM revisions WHERE object_id = ?1";
const char kDeleteRevision[] = "DELETE FROM revisions WHERE id = ?1";
const char kCountRevisions[] = "SELECT count(*) FROM revisions WHERE object_id = ?1";
const char kSelectOldestRevision[] =
    "SELECT id, name, remark FROM revisions WHERE object_id = ?1 ORDER BY id LIMIT 1";
const char kSelectLatestByName[] =
    "SELECT r.name FROM objects o JOIN revisions r ON r.object_id = o.id "
    "WHERE o.name = ?1 AND o.databank_code = ?2 ORDER BY r.id DESC LIMIT 1";
const char kUpdateRevisionInfo[] =
    "UPDATE revisions SET name = CASE WHEN ?1 THEN ?2 ELSE name END, "
    "remark = CASE WHEN ?3 THEN ?4 ELSE remark END, modified_by = ?5, modified_at = ?6 "
    "WHERE id = ?7";
const char kInsertAudit[] =
    "INSERT INTO audit(at, user_name, object_id, revision_id, action, detail) "
    "VALUES(?1, ?2, ?3, ?4, ?5, ?6)";
const char kSelectAudit[] =
    "SELECT at, user_name, object_id, revision_id, action, detail FROM audit "
    "WHERE object_id = ?1 AND revision_id = ?2 ORDER BY id";
const char kSelectAuditAll[] =
    "SELECT at, user_name, object_id, revision_id, action, detail FROM audit ORDER BY id";

namespace {

const char* ColumnOf(Attribute attribute) {
  switch (attribute) {
    case Attribute::Handle:
      return "printf('%016X%016X', o.id, r.id)";
    case Attribute::ObjectName:
      return "o.name";
    case Attribute::DatabankCode:
      return "o.databank_code";
    case Attribute::DatabankName:
      return "d.name";
    case Attribute::TypeCode:
      return "o.type_code";
    case Attribute::SubTypeCode:
      return "o.sub_type_code";
    case Attribute::RevisionName:
      return "r.name";
    case Attribute::RevisionRemark:
      return "r.remark";
    case Attribute::ModifiedBy:
      return "r.modified_by";
    case Attribute::ModifiedDate:
      return "r.modified_at";
    case Attribute::CreatedBy:
      return "r.created_by";
    case Attribute::CreationDate:
      return "r.created_at";
  }
  return "NULL";
}

Parameter ToParameter(const Value& value) {
  if (const auto* text = std::get_if<std::string>(&value)) return *text;
  if (const auto* number = std::get_if<std::int64_t>(&value)) return *number;
  if (const auto* time = std::get_if<TimePoint>(&value)) {
    return static_cast<std::int64_t>(time->time_since_epoch().count());
  }
  return std::monostate{};
}

// A handle compared for (in)equality becomes a comparison of the two identities, so that the
// primary keys serve the lookup. Only the canonical upper-case form can equal a stored handle.
bool AppendHandleIdentity(const Condition& condition, BuiltQuery& out) {
  if (condition.attribute != Attribute::Handle || condition.op != Operator::Equal) return false;
  const auto* text = std::get_if<std::string>(&condition.first);
  if (!text) return false;
  auto handle = ParseHandle(*text);
  if (!handle || FormatHandle(*handle) != *text) return false;
  out.text += "(o.id = ? AND r.id = ?)";
  out.parameters.emplace_back(static_cast<std::int64_t>(handle->object));
  out.parameters.emplace_back(static_cast<std::int64_t>(handle->revision));
  return true;
}

void AppendCondition(const Condition& condition, BuiltQuery& out) {
  if (AppendHandleIdentity(condition, out)) return;
  const bool isNull = std::holds_alternative<Null>(condition.first);
  out.text += ColumnOf(condition.attribute);
  switch (condition.op) {
    case Operator::Equal:
      out.text += isNull ? " IS ?" : " = ?";
      break;
    case Operator::NotEqual:
      out.text += " IS NOT ?";  // a null differs from every value
      break;
    case Operator::Like:
      out.text += " LIKE ?";
      break;
    case Operator::Less:
      out.text += " < ?";
      break;
    case Operator::Greater:
      out.text += " > ?";
      break;
    case Operator::Between:
      out.text += " BETWEEN ? AND ?";
      break;
  }
  out.parameters.push_back(ToParameter(condition.first));
  if (condition.op == Operator::Between) out.parameters.push_back(ToParameter(condition.second));
}

}  // namespace

BuiltQuery BuildRevisionQuery(const RevisionQuery& query) {
  BuiltQuery out;
  out.text = "SELECT ";
  if (query.select.empty()) out.text += "NULL";
  for (std::size_t i = 0; i < query.select.size(); ++i) {
    if (i) out.text += ", ";
    out.text += ColumnOf(query.select[i]);
  }
  out.text +=
      " FROM revisions r JOIN objects o ON o.id = r.object_id"
      " JOIN databanks d ON d.code = o.databank_code";

  // Conditions grouped by attribute, in the order the attributes first appear.
  std::vector<Attribute> order;
  std::map<Attribute, std::vector<const Condition*>> groups;
  for (const Condition& condition : query.conditions) {
    auto& group = groups[condition.attribute];
    if (group.empty()) order.push_back(condition.attribute);
    group.push_back(&condition);
  }
  for (std::size_t g = 0; g < order.size(); ++g) {
    out.text += g ? " AND (" : " WHERE (";
    const auto& group = groups[order[g]];
    for (std::size_t i = 0; i < group.size(); ++i) {
      if (i) out.text += " OR ";
      AppendCondition(*group[i], out);
    }
    out.text += ")";
  }
  out.text += " ORDER BY r.id";
  return out;
}

}  // namespace store::sqlite::sql
