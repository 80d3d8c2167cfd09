#pragma once
// Fills a store with realistic, seeded revision data of a ship project: every model type of the
// catalogue, curved stiffeners, rows that classify as unknown, and volume-databank objects.
// Same seed and count -> same data (own PRNG arithmetic; no std distributions).
#include <cstdint>
#include <string>
#include <vector>

#include "servers/store/revision_store.h"

namespace store {

struct DatabankDef {
  std::int64_t code;
  const char* name;
};

// The databanks the generator uses, including "PW_MORVOLDB" and one the listing does not know.
const std::vector<DatabankDef>& GeneratedDatabanks();

struct GeneratorOptions {
  std::uint64_t seed = 1;
  std::int64_t revisionCount = 10000;  // total revisions, 1 to 20 per object
  // Users that create and modify revisions.
  std::vector<std::string> users = {"anna", "bjorn", "chen", "dmitri", "eva", "farid"};
};

struct GeneratorSummary {
  std::int64_t objects = 0;
  std::int64_t revisions = 0;
};

// Adds objects and revisions in one transaction of its own (the store must have none open).
// Databanks are ensured first. Throws StoreError.
GeneratorSummary GenerateRevisions(RevisionStore& store, const GeneratorOptions& options);

}  // namespace store
