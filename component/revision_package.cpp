#include "component/revision_package.h"

#include "component/package_command.h"
#include "platform/com/class_object.h"
#include "platform/ui/app_message_box.h"
#include "services/vnquery.h"

namespace component {

namespace {

constexpr char16_t kDeleteRevision[] =
    u"BEGIN :1 := WDB_REVISION_PKG.DELETE_REVISION(HEXTORAW(:2)); END;";
constexpr char16_t kGetRevisionCount[] =
    u"BEGIN :1 := WDB_REVISION_PKG.GET_REVISION_COUNT(HEXTORAW(:2)); END;";
constexpr char16_t kGetOldestRevision[] =
    u"BEGIN :1 := WDB_REVISION_PKG.GET_OLDEST_REVISION(HEXTORAW(:2), :3, :4, :5); END;";
constexpr char16_t kIsLatest[] = u"BEGIN :1 := WDB_REVISION_PKG.IS_LATEST(:2, :3, :4); END;";
constexpr char16_t kUpdateNameAndRemark[] =
    u"BEGIN :1 := WDB_REVISION_PKG.UPDATE_REVISION_INFO(HEXTORAW(:2), :3, :4); END;";
constexpr char16_t kUpdateName[] =
    u"BEGIN :1 := WDB_REVISION_PKG.UPDATE_REVISION_INFO(HEXTORAW(:2), :3, NULL); END;";
constexpr char16_t kUpdateRemark[] =
    u"BEGIN :1 := WDB_REVISION_PKG.UPDATE_REVISION_INFO(HEXTORAW(:2), NULL, :3); END;";

// Query server attributes of the rename lookup: handle, object name, revision name, and the one
// passed on as "dbc".
constexpr std::int32_t kLookupAttributes[] = {1, 2, 8, 3};
constexpr std::int32_t kOperatorEqual = 0;

PackageParameter Result() {
  return {u"res", kRvxTypeNumber, kRvxDirectionOutput, com::Variant()};
}
PackageParameter TextInput(std::u16string_view name, const com::Variant& value) {
  return {name, kRvxTypeText, kRvxDirectionInput, value};
}
PackageParameter TextOutput(std::u16string_view name) {
  return {name, kRvxTypeText, kRvxDirectionOutput, com::Variant()};
}

bool IsEmptyText(const com::Variant& value) {
  return !value.IsText() || value.TextView().empty();
}

std::optional<com::Variant> TextOutputAt(IRvxParameters* parameters, std::int32_t position) {
  auto value = ReadOutput(parameters, position);
  if (!value || !value->IsText()) return std::nullopt;
  return value;
}

// Outcome of IS_LATEST: not executed, latest, not latest. A result that cannot be read counts as
// latest: no update is made on a guess.
enum class LatestOutcome { NotExecuted, Latest, NotLatest, Unknown };

LatestOutcome IsLatest(const RevisionConnection& connection, const com::Variant& objectName,
                       const com::Variant& revisionName, const com::Variant& dbc) {
  PackageCall call{kIsLatest, {}, false};
  call.parameters.push_back(Result());
  call.parameters.push_back(TextInput(u"ObjName", objectName));
  call.parameters.push_back(TextInput(u"RevName", revisionName));
  call.parameters.push_back({u"dbc", kRvxTypeNumber, kRvxDirectionInput, dbc});
  PackageOutcome outcome = RunPackageCall(call, connection.project, connection.database);
  if (!outcome.executed) return LatestOutcome::NotExecuted;
  const std::optional<std::int32_t> result =
      outcome.resultRead ? NumberOf(outcome.result) : std::nullopt;
  if (!result) return LatestOutcome::Unknown;
  return *result != 0 ? LatestOutcome::Latest : LatestOutcome::NotLatest;
}

// True when UPDATE_REVISION_INFO executed; false when it did not or no call was made.
bool UpdateRevisionInfo(const RevisionConnection& connection, const com::Variant& handle,
                        const com::Variant& revisionName, const com::Variant& revisionRemark) {
  const bool noName = IsEmptyText(revisionName);
  const bool noRemark = IsEmptyText(revisionRemark);
  if (noName && noRemark) return false;
  PackageCall call{noName     ? kUpdateRemark
                   : noRemark ? kUpdateName
                              : kUpdateNameAndRemark,
                   {},
                   true};
  call.parameters.push_back(Result());
  call.parameters.push_back(TextInput(u"ObjId", handle));
  if (!noName) call.parameters.push_back(TextInput(u"RevisionName", revisionName));
  if (!noRemark) call.parameters.push_back(TextInput(u"RevisionRemark", revisionRemark));
  // "res" is read (so that Commit follows) but its value is not examined.
  return RunPackageCall(call, connection.project, connection.database).executed;
}

}  // namespace

DeleteOutcome DeleteRevision(const RevisionConnection& connection, const com::Variant& handle) {
  PackageCall call{kDeleteRevision, {}, true};
  call.parameters.push_back(Result());
  call.parameters.push_back(TextInput(u"ObjId", handle));
  PackageOutcome outcome = RunPackageCall(call, connection.project, connection.database);
  if (!outcome.executed) return DeleteOutcome::NotExecuted;
  const bool deleted = outcome.resultRead && NumberOf(outcome.result) == 1;
  return deleted ? DeleteOutcome::Deleted : DeleteOutcome::NotDeleted;
}

CountOutcome GetRevisionCount(const RevisionConnection& connection, const com::Variant& handle) {
  PackageCall call{kGetRevisionCount, {}, false};
  call.parameters.push_back(Result());
  call.parameters.push_back(TextInput(u"ObjId", handle));
  PackageOutcome outcome = RunPackageCall(call, connection.project, connection.database);
  CountOutcome result;
  result.executed = outcome.executed;
  if (outcome.resultRead) result.count = NumberOf(outcome.result);
  return result;
}

OldestOutcome GetOldestRevision(const RevisionConnection& connection, const com::Variant& handle) {
  PackageCall call{kGetOldestRevision, {}, false};
  call.parameters.push_back(Result());
  call.parameters.push_back(TextInput(u"ObjId", handle));
  call.parameters.push_back(TextOutput(u"oldObjId"));
  call.parameters.push_back(TextOutput(u"RevisionName"));
  call.parameters.push_back(TextOutput(u"RevisionRemark"));
  PackageOutcome outcome = RunPackageCall(call, connection.project, connection.database);
  OldestOutcome result;
  result.executed = outcome.executed;
  // The outputs are read only when the procedure reports the oldest revision; a result that
  // cannot be read leaves them all untouched.
  if (outcome.resultRead && NumberOf(outcome.result) == 1) {
    result.objectHandle = TextOutputAt(outcome.parameters.Get(), 2);
    result.revisionName = TextOutputAt(outcome.parameters.Get(), 3);
    result.revisionRemark = TextOutputAt(outcome.parameters.Get(), 4);
  }
  return result;
}

HRESULT RunRenameSequence(const RevisionConnection& connection, const com::Variant& handle,
                          const com::Variant& revisionName, const com::Variant& revisionRemark) {
  CLSID clsid;
  com::ComPtr<IVNQuery> query;
  if (FAILED(CLSIDFromProgID(kVnQueryProgId, &clsid)) ||
      FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IVNQuery::IID_,
                              query.ReleaseAndGetVoidAddress())) ||
      !query) {
    return S_FALSE;  // nothing looked up, nothing changed
  }
  // Results of the lookup are not examined: the values go on as the query server gives them.
  for (std::int32_t attribute : kLookupAttributes) query->AddSelect(attribute);
  const com::Variant emptyText(u"");
  query->AddCondition(1, kOperatorEqual, handle.Get(), emptyText.Get());
  query->SetRowOption(-1);
  query->Execute();
  com::Variant values[4];
  for (std::int32_t index = 0; index < 4; ++index) query->GetValue(index, values[index].Out());

  switch (IsLatest(connection, values[1], values[2], values[3])) {
    case LatestOutcome::NotExecuted:
    case LatestOutcome::Unknown:
      return S_FALSE;
    case LatestOutcome::Latest:
      ui::AppMessageBox(kLatestRevisionMessage, os::MessageBoxButtons::Ok);
      return S_FALSE;
    case LatestOutcome::NotLatest:
      break;
  }
  return UpdateRevisionInfo(connection, handle, revisionName, revisionRemark) ? S_OK : S_FALSE;
}

}  // namespace component
