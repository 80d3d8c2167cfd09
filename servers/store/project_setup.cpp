#include "servers/store/project_setup.h"

#include "servers/store/project_list.h"

namespace store {

void CreateProjectWithGrants(RevisionStore& store, const std::string& project,
                             const std::string& productMode,
                             const std::vector<FunctionGrant>& grants) {
  const bool own = !store.InTransaction();
  if (own) store.Begin();
  try {
    if (store.FindProject(project)) {
      store.SetProductMode(project, productMode);
    } else {
      store.CreateProject(project, productMode);
    }
    for (const FunctionGrant& grant : grants) store.Grant(project, grant.user, grant.function);
    if (own) store.Commit();
  } catch (...) {
    if (own) store.Rollback();
    throw;
  }
}

std::unique_ptr<RevisionStore> SetUpProject(const std::string& project,
                                            const std::string& productMode,
                                            const std::vector<FunctionGrant>& grants,
                                            std::string location, std::string* error) {
  if (location.empty()) location = DefaultProjectLocation(project);
  auto store = OpenStore(location, OpenMode::CreateIfMissing, error);
  if (!store) return nullptr;
  try {
    CreateProjectWithGrants(*store, project, productMode, grants);
    RegisterProjectLocation(project, location);
  } catch (const std::exception& e) {
    if (error) *error = e.what();
    return nullptr;
  }
  return store;
}

}  // namespace store
