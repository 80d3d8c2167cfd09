#include "servers/rvx/package_call.h"

#include "services/rvx.h"

namespace rvx {
namespace {

constexpr ParameterShape kResult{kRvxTypeNumber, kRvxDirectionOutput};
constexpr ParameterShape kTextIn{kRvxTypeText, kRvxDirectionInput};
constexpr ParameterShape kTextOut{kRvxTypeText, kRvxDirectionOutput};
constexpr ParameterShape kNumberIn{kRvxTypeNumber, kRvxDirectionInput};

constexpr ParameterShape kHandleOnly[] = {kResult, kTextIn};
constexpr ParameterShape kOldest[] = {kResult, kTextIn, kTextOut, kTextOut, kTextOut};
constexpr ParameterShape kIsLatest[] = {kResult, kTextIn, kTextIn, kNumberIn};
constexpr ParameterShape kUpdateBoth[] = {kResult, kTextIn, kTextIn, kTextIn};
constexpr ParameterShape kUpdateOne[] = {kResult, kTextIn, kTextIn};

constexpr PackageBlock kBlocks[] = {
    {PackageCall::kDeleteRevision,
     u"BEGIN :1 := WDB_REVISION_PKG.DELETE_REVISION(HEXTORAW(:2)); END;", kHandleOnly},
    {PackageCall::kGetRevisionCount,
     u"BEGIN :1 := WDB_REVISION_PKG.GET_REVISION_COUNT(HEXTORAW(:2)); END;", kHandleOnly},
    {PackageCall::kGetOldestRevision,
     u"BEGIN :1 := WDB_REVISION_PKG.GET_OLDEST_REVISION(HEXTORAW(:2), :3, :4, :5); END;", kOldest},
    {PackageCall::kIsLatest, u"BEGIN :1 := WDB_REVISION_PKG.IS_LATEST(:2, :3, :4); END;",
     kIsLatest},
    {PackageCall::kUpdateNameAndRemark,
     u"BEGIN :1 := WDB_REVISION_PKG.UPDATE_REVISION_INFO(HEXTORAW(:2), :3, :4); END;", kUpdateBoth},
    {PackageCall::kUpdateName,
     u"BEGIN :1 := WDB_REVISION_PKG.UPDATE_REVISION_INFO(HEXTORAW(:2), :3, NULL); END;",
     kUpdateOne},
    {PackageCall::kUpdateRemark,
     u"BEGIN :1 := WDB_REVISION_PKG.UPDATE_REVISION_INFO(HEXTORAW(:2), NULL, :3); END;",
     kUpdateOne},
};

}  // namespace

const PackageBlock* FindPackageBlock(std::u16string_view text) {
  for (const PackageBlock& block : kBlocks) {
    if (block.text == text) return &block;
  }
  return nullptr;
}

std::span<const PackageBlock> PackageBlocks() {
  return kBlocks;
}

}  // namespace rvx
