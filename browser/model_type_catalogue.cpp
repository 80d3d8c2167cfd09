#include "browser/model_type_catalogue.h"

namespace browser {
namespace {

using A = QueryAttribute;
using Op = QueryOperator;

constexpr CodeCondition kVentModels[] = {
    {A::TypeCode, Op::Between, 400, 499},
    {A::SubTypeCode, Op::Equal, 3},
};
constexpr CodeCondition kPipeSpools[] = {
    {A::TypeCode, Op::Equal, 305},
};
constexpr CodeCondition kPipeModels[] = {
    {A::TypeCode, Op::Between, 400, 499},
    {A::SubTypeCode, Op::Equal, 1},
};
constexpr CodeCondition kCurvedPanels[] = {
    {A::TypeCode, Op::Between, 500, 699},
    {A::SubTypeCode, Op::Equal, 501},
};
constexpr CodeCondition kDrawings[] = {
    {A::TypeCode, Op::Equal, 100},
};
// The two type ranges are alternatives: the server ORs conditions on one attribute.
constexpr CodeCondition kPlanePanels[] = {
    {A::TypeCode, Op::Between, 100, 499},
    {A::TypeCode, Op::Between, 700, 999},
    {A::SubTypeCode, Op::Between, 100, 999},
};

constexpr std::array<ModelTypeEntry, 10> kEntries = {{
    {kAllModels, Op::NotEqual, "PW_MORVOLDB", {}},
    {"Equipments", Op::Equal, "PWE_GENEQPDB", {}},
    {"Structure models", Op::Equal, "PWF_DB_FSTRU", {}},
    {"Cableway models", Op::Equal, "PWC_CAWSTRDB", {}},
    {"Vent models", Op::Equal, "PW_PSDB", kVentModels},
    {"Pipe spools", Op::Equal, "PW_PPDB", kPipeSpools},
    {"Pipe models", Op::Equal, "PW_PSDB", kPipeModels},
    {"Curved panels", Op::Equal, "PW_OGDB", kCurvedPanels},
    {"Drawings", Op::Equal, "PW_PDB", kDrawings},
    {"Plane panels", Op::Equal, "PW_OGDB", kPlanePanels},
}};

}  // namespace

std::span<const ModelTypeEntry> ModelTypeCatalogue::Entries() {
  return kEntries;
}

const ModelTypeEntry& ModelTypeCatalogue::AllModels() {
  return kEntries.front();
}

const ModelTypeEntry& ModelTypeCatalogue::Find(std::string_view text) {
  for (const ModelTypeEntry& entry : kEntries) {
    if (entry.displayName == text) return entry;
  }
  return AllModels();
}

}  // namespace browser
