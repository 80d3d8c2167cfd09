#pragma once
// The block texts of the revision package that the command object runs, and the parameters each
// one binds. Only these exact texts are accepted: the server runs no other SQL.
#include <cstdint>
#include <span>
#include <string_view>

namespace rvx {

enum class PackageCall {
  kDeleteRevision,
  kGetRevisionCount,
  kGetOldestRevision,
  kIsLatest,
  kUpdateNameAndRemark,
  kUpdateName,
  kUpdateRemark,
};

// Data type and direction codes of one positional parameter.
struct ParameterShape {
  std::int32_t dataType;
  std::int32_t direction;
};

struct PackageBlock {
  PackageCall call;
  std::u16string_view text;
  std::span<const ParameterShape> parameters;  // in placeholder order, :1 first
};

// The block with exactly this text, or null.
const PackageBlock* FindPackageBlock(std::u16string_view text);

// Every block the server accepts.
std::span<const PackageBlock> PackageBlocks();

}  // namespace rvx
