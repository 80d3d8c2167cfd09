#pragma once
// The stored functions of WDB_REVISION_PKG behind the revision manager's members, and the rename
// sequence. Each raises what RunPackageCall raises.
#include <optional>

#include "platform/com/variant.h"
#include "services/rvx.h"

namespace component {

struct RevisionConnection {
  IRvxProject* project;    // given to every command object
  IRvxDatabase* database;  // committed after a changing call
};

enum class DeleteOutcome { NotExecuted, Deleted, NotDeleted };
DeleteOutcome DeleteRevision(const RevisionConnection& connection, const com::Variant& handle);

struct CountOutcome {
  bool executed = false;
  std::optional<std::int32_t> count;
};
CountOutcome GetRevisionCount(const RevisionConnection& connection, const com::Variant& handle);

struct OldestOutcome {
  bool executed = false;
  // Only the outputs that came back as texts.
  std::optional<com::Variant> objectHandle, revisionName, revisionRemark;
};
OldestOutcome GetOldestRevision(const RevisionConnection& connection, const com::Variant& handle);

// S_OK when updated; S_FALSE when the query server cannot be created, the revision is (or cannot
// be shown not to be) the latest, IS_LATEST or the update does not execute, or both texts are
// empty. Shows "You must not alter latest revision" for a latest revision.
HRESULT RunRenameSequence(const RevisionConnection& connection, const com::Variant& handle,
                          const com::Variant& revisionName, const com::Variant& revisionRemark);

inline constexpr char kLatestRevisionMessage[] = "You must not alter latest revision";

}  // namespace component
