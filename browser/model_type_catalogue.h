#pragma once
// The fixed catalogue of model types the user lists revisions by.
#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "browser/query_attribute.h"

namespace browser {

inline constexpr std::string_view kAllModels = "All models";

// A condition on a type or sub-type code: Equal takes `first` only, Between both bounds.
struct CodeCondition {
  QueryAttribute attribute;
  QueryOperator op;
  std::int32_t first;
  std::int32_t second = 0;
};

struct ModelTypeEntry {
  std::string_view displayName;
  // The condition on the databank name (attribute 4).
  QueryOperator databankOperator;
  std::string_view databank;
  // Added after the databank condition, in this order.
  std::span<const CodeCondition> codeConditions;
};

class ModelTypeCatalogue {
 public:
  // The ten entries, "All models" first.
  static std::span<const ModelTypeEntry> Entries();
  // The entry whose display name equals text exactly (case-sensitive); "All models" for any
  // other text.
  static const ModelTypeEntry& Find(std::string_view text);
  static const ModelTypeEntry& AllModels();
};

}  // namespace browser
