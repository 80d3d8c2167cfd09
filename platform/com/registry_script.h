#pragma once
// Registry scripts: the text that a module carries to describe its registry entries, run forwards
// to register and backwards to unregister.
//
//   HKCR
//   {
//     NoRemove CLSID
//     {
//       ForceRemove {00000000-0000-0000-0000-000000000001} = s 'Thing Class'
//       {
//         InprocServer32 = s '%MODULE%'
//         {
//           val ThreadingModel = s 'Apartment'
//         }
//       }
//     }
//   }
//
// A key is a name (bare or in single quotes) with an optional flag before it (ForceRemove,
// NoRemove, Delete), an optional default value (= s 'text' or = d number) and an optional block
// of subkeys and named values (val Name = s 'text'). In quoted texts '' stands for one quote.
// %NAME% is replaced by the caller's value for NAME everywhere; %% stands for one percent sign.
//
// Register creates every key and sets every value; ForceRemove first removes the key with its
// subtree; Delete removes the key and creates nothing. Unregister removes, depth first, the keys
// the script names: a ForceRemove key with everything under it, a plain key once it has no
// subkeys left, a NoRemove key never (but its named values and subkeys as the script says);
// Delete keys are left alone.
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/com/registry.h"

namespace com {

using ScriptReplacements = std::map<std::string, std::string>;

class RegistryScript {
 public:
  enum class Flag { None, ForceRemove, NoRemove, Delete };
  struct NamedValue {
    std::string name;
    RegistryValue value;
  };
  struct Key {
    Flag flag = Flag::None;
    std::string name;
    std::optional<RegistryValue> value;
    std::vector<NamedValue> values;
    std::vector<Key> subkeys;
  };

  // nullopt with the line and the reason in *error for a malformed script or an unknown %NAME%.
  static std::optional<RegistryScript> Parse(std::string_view text,
                                             const ScriptReplacements& replacements,
                                             std::string* error = nullptr);

  void Register(RegistryKey& root) const;
  void Unregister(RegistryKey& root) const;

  // The top keys; each names a root of the registry by its full name (HKCR becomes
  // HKEY_CLASSES_ROOT).
  const std::vector<Key>& Roots() const { return roots_; }

 private:
  std::vector<Key> roots_;
};

// Parses the script and registers or unregisters it in the registry file as one change.
// E_INVALIDARG (with the reason in *error) for a script that does not parse; nothing is changed
// then.
HRESULT RunRegistryScript(std::string_view text, const ScriptReplacements& replacements,
                          bool doRegister, std::string* error = nullptr);

}  // namespace com
