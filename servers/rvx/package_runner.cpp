#include "servers/rvx/package_runner.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>

#include "platform/com/utf.h"
#include "platform/com/variant.h"
#include "services/rvx.h"

namespace rvx {
namespace {

std::string Describe(std::int32_t dataType, std::int32_t direction) {
  std::string text = dataType == kRvxTypeText ? "text" : "number";
  text += direction == kRvxDirectionInput ? " input" : " output";
  return text;
}

std::string Label(const Parameter& parameter, std::size_t position) {
  // Appended piece by piece: GCC 12 at -O3 warns falsely (-Wrestrict) about "literal" + string.
  std::string label = ":";
  label += std::to_string(position + 1);
  label += " (\"";
  label += parameter.Name().ToUtf8();
  label += "\")";
  return label;
}

// A text input: null, empty variant and empty text are all none, as the package's database
// knows no empty text; other types bind as their text form.
std::optional<std::string> TextInput(const Parameter& parameter, std::size_t position) {
  const com::Variant& value = parameter.Value();
  if (value.Type() == VT_NULL || value.Type() == VT_EMPTY) return std::nullopt;
  com::Variant text(value);
  if (!text.IsText() && FAILED(text.ChangeType(VT_BSTR))) {
    throw PackageCallError(Label(parameter, position) + " cannot be read as a text");
  }
  if (text.TextView().empty()) return std::nullopt;
  return com::ToUtf8(text.TextView());
}

// A handle bound as text; an absent one is no handle at all, as HEXTORAW(NULL) names nothing.
std::string HandleInput(const Parameter& parameter, std::size_t position) {
  auto text = TextInput(parameter, position);
  if (!text) throw PackageCallError(Label(parameter, position) + " holds no handle");
  return *text;
}

std::optional<std::int64_t> NumberInput(const Parameter& parameter, std::size_t position) {
  const com::Variant& value = parameter.Value();
  if (value.Type() == VT_NULL || value.Type() == VT_EMPTY) return std::nullopt;
  com::Variant number(value);
  if (FAILED(number.ChangeType(VT_I4))) {
    throw PackageCallError(Label(parameter, position) + " cannot be read as a number");
  }
  return number.Get().lVal;
}

std::int32_t ClampToInt32(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

com::Variant TextOutput(const std::optional<std::string>& text) {
  if (!text) return com::Variant(com::kNull);
  return com::Variant(std::u16string_view(com::ToUtf16(*text)));
}

}  // namespace

std::string CheckBinding(const PackageBlock& block,
                         std::span<const com::ComPtr<Parameter>> parameters) {
  if (parameters.size() != block.parameters.size()) {
    return "The block binds " + std::to_string(block.parameters.size()) + " parameters, " +
           std::to_string(parameters.size()) + " are appended";
  }
  for (std::size_t i = 0; i < parameters.size(); ++i) {
    const Parameter& parameter = *parameters[i];
    const ParameterShape& expected = block.parameters[i];
    if (parameter.DataType() != expected.dataType || parameter.Direction() != expected.direction) {
      return "Parameter " + Label(parameter, i) + " is a " +
             Describe(parameter.DataType(), parameter.Direction()) + ", the block needs a " +
             Describe(expected.dataType, expected.direction);
    }
  }
  return {};
}

void RunPackageBlock(const PackageBlock& block, std::span<const com::ComPtr<Parameter>> parameters,
                     store::RevisionStore& store, const std::string& user) {
  Parameter& result = *parameters[0];
  switch (block.call) {
    case PackageCall::kDeleteRevision: {
      int deleted = store.DeleteRevision(HandleInput(*parameters[1], 1), user);
      result.SetValue(com::Variant(std::int32_t{deleted}));
      return;
    }
    case PackageCall::kGetRevisionCount: {
      std::int64_t count = store.GetRevisionCount(HandleInput(*parameters[1], 1));
      result.SetValue(com::Variant(ClampToInt32(count)));
      return;
    }
    case PackageCall::kGetOldestRevision: {
      auto oldest = store.GetOldestRevision(HandleInput(*parameters[1], 1));
      if (!oldest) {
        result.SetValue(com::Variant(std::int32_t{0}));
        for (std::size_t i = 2; i < 5; ++i) parameters[i]->SetValue(com::Variant(com::kNull));
        return;
      }
      com::Variant handle = TextOutput(oldest->handle);
      com::Variant name = TextOutput(oldest->name);
      com::Variant remark = TextOutput(oldest->remark);
      result.SetValue(com::Variant(std::int32_t{1}));
      parameters[2]->SetValue(std::move(handle));
      parameters[3]->SetValue(std::move(name));
      parameters[4]->SetValue(std::move(remark));
      return;
    }
    case PackageCall::kIsLatest: {
      auto objectName = TextInput(*parameters[1], 1);
      auto revisionName = TextInput(*parameters[2], 2);
      auto databank = NumberInput(*parameters[3], 3);
      std::optional<bool> latest;
      if (objectName && databank) latest = store.IsLatest(*objectName, revisionName, *databank);
      if (!latest) {
        throw PackageCallError("IS_LATEST: no object \"" + objectName.value_or("") +
                               "\" in databank " +
                               (databank ? std::to_string(*databank) : std::string("NULL")));
      }
      result.SetValue(com::Variant(std::int32_t{*latest ? 1 : 0}));
      return;
    }
    case PackageCall::kUpdateNameAndRemark:
    case PackageCall::kUpdateName:
    case PackageCall::kUpdateRemark: {
      std::string handle = HandleInput(*parameters[1], 1);
      std::optional<std::string> name;
      std::optional<std::string> remark;
      if (block.call == PackageCall::kUpdateNameAndRemark) {
        name = TextInput(*parameters[2], 2);
        remark = TextInput(*parameters[3], 3);
      } else if (block.call == PackageCall::kUpdateName) {
        name = TextInput(*parameters[2], 2);
      } else {
        remark = TextInput(*parameters[2], 2);
      }
      if (!store.UpdateRevisionInfo(handle, name, remark, user)) {
        throw PackageCallError("UPDATE_REVISION_INFO: revision " + handle +
                               " is unknown or is the latest revision of its object");
      }
      result.SetValue(com::Variant(std::int32_t{1}));
      return;
    }
  }
  throw PackageCallError("Unknown package call");
}

}  // namespace rvx
