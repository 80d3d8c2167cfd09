#pragma once
// Creating a project in a store with its function grants, and listing it in the product home.
#include <string>
#include <vector>

#include "servers/store/revision_store.h"

namespace store {

struct FunctionGrant {
  std::string user;
  std::string function;  // e.g. "mor.revisionmgmnt"
};

// Creates the project (or sets its mode when it exists) and grants the functions, in one
// transaction. Throws StoreError.
void CreateProjectWithGrants(RevisionStore& store, const std::string& project,
                             const std::string& productMode,
                             const std::vector<FunctionGrant>& grants);

// Opens (creating if missing) the store at location (empty: DefaultProjectLocation), creates the
// project with its grants and registers it in the product home's project list.
// Returns the store, or null with *error.
std::unique_ptr<RevisionStore> SetUpProject(const std::string& project,
                                            const std::string& productMode,
                                            const std::vector<FunctionGrant>& grants,
                                            std::string location = {},
                                            std::string* error = nullptr);

}  // namespace store
