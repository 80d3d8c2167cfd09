#pragma once
// Runs one block of the revision package against a store: reads the bound inputs, calls the
// store's function and writes the outputs into the bound output parameters.
#include <span>
#include <stdexcept>
#include <string>

#include "platform/com/unknown.h"
#include "servers/rvx/package_call.h"
#include "servers/rvx/parameter.h"
#include "servers/store/revision_store.h"

namespace rvx {

// A block that does not run (bad binding, unknown object, refused update); what() says why.
class PackageCallError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Empty when the parameters fit the block's shape, else what does not fit.
std::string CheckBinding(const PackageBlock& block,
                         std::span<const com::ComPtr<Parameter>> parameters);

// The parameters must fit (CheckBinding). Throws PackageCallError, store::StoreError,
// com::TextConversionError or std::bad_alloc; outputs are written only when the call succeeds.
void RunPackageBlock(const PackageBlock& block, std::span<const com::ComPtr<Parameter>> parameters,
                     store::RevisionStore& store, const std::string& user);

}  // namespace rvx
