#pragma once
// Dialog template 202, the List revisions page, as data; and the ids of its controls.
#include <memory>

#include "platform/ui/dialog_template.h"
#include "platform/ui/module_state.h"

namespace browser {

inline constexpr int kListRevisionsTemplateId = 202;

// Control ids of template 202.
inline constexpr int kIdModelType = 201;
inline constexpr int kIdListView = 204;
inline constexpr int kIdObjectName = 205;
inline constexpr int kIdList = 209;
inline constexpr int kIdDeleteSelected = 213;
inline constexpr int kIdRevisionName = 214;
inline constexpr int kIdRevisionRemark = 215;
inline constexpr int kIdRename = 216;
inline constexpr int kIdCreatedAfter = 219;
inline constexpr int kIdCreatedBefore = 220;
inline constexpr int kIdKeepCheck = 234;
inline constexpr int kIdKeepCount = 235;
inline constexpr int kIdDeleteListed = 236;

// The thirteen controls with an id, in the order access refusal disables them.
inline constexpr int kIdsOfAllControls[] = {
    kIdRename,    kIdList,         kIdCreatedAfter, kIdCreatedBefore,  kIdModelType,
    kIdListView,  kIdObjectName,   kIdRevisionName, kIdRevisionRemark, kIdDeleteSelected,
    kIdKeepCheck, kIdDeleteListed, kIdKeepCount};

std::shared_ptr<const ui::DialogTemplate> ListRevisionsTemplate();

// Adds template 202 to the module's templates unless it has it already.
void EnsureListRevisionsTemplate(ui::ModuleState& module);

}  // namespace browser
