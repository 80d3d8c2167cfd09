#pragma once
// The registry: a small hierarchical store of keys, each with an optional default value and named
// values, kept in one file under the product home and shared by every process of the user.
// Readers see a whole file or none (writes go to a temporary file that is then renamed over the
// old one); writers are serialised between processes by a lock on a file beside it.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/com/result.h"

namespace com {

// The product's folder: REVMGR_HOME, else $XDG_DATA_HOME/revmgr, else ~/.local/share/revmgr.
std::filesystem::path ProductHome();

// The top key of the class registrations.
inline constexpr std::string_view kClassesRoot = "HKEY_CLASSES_ROOT";

struct RegistryValue {
  enum class Kind { String, Number };
  Kind kind = Kind::String;
  std::string text;          // a String value, UTF-8
  std::uint32_t number = 0;  // a Number value

  static RegistryValue String(std::string text) { return {Kind::String, std::move(text), 0}; }
  static RegistryValue Number(std::uint32_t number) { return {Kind::Number, {}, number}; }
  friend bool operator==(const RegistryValue&, const RegistryValue&) = default;
};

// Orders names without regard to ASCII case, as key and value names are compared.
struct CaseInsensitiveLess {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const;
};

// One key. Subkeys and values are found by name without regard to case; a name keeps the case it
// was first created with. Paths are backslash-separated names relative to the key.
class RegistryKey {
 public:
  RegistryKey() = default;
  explicit RegistryKey(std::string name) : name_(std::move(name)) {}
  RegistryKey(RegistryKey&&) noexcept = default;
  RegistryKey& operator=(RegistryKey&&) noexcept = default;

  const std::string& Name() const { return name_; }

  RegistryKey* Find(std::string_view path);
  const RegistryKey* Find(std::string_view path) const;
  // The key at path, creating every missing key on the way.
  RegistryKey& Create(std::string_view path);
  // Removes the key at path with everything under it; false when there was none.
  bool Remove(std::string_view path);

  const std::optional<RegistryValue>& Default() const { return default_; }
  void SetDefault(RegistryValue value) { default_ = std::move(value); }
  void ClearDefault() { default_.reset(); }
  // The default value when it is a String.
  std::optional<std::string> DefaultText() const;

  const RegistryValue* Value(std::string_view name) const;
  void SetValue(std::string_view name, RegistryValue value);
  bool RemoveValue(std::string_view name);
  const std::map<std::string, RegistryValue, CaseInsensitiveLess>& Values() const {
    return values_;
  }

  bool HasSubkeys() const { return !subkeys_.empty(); }
  std::vector<const RegistryKey*> Subkeys() const;

  friend bool operator==(const RegistryKey& a, const RegistryKey& b);

 private:
  RegistryKey* Child(std::string_view name) const;

  std::string name_;
  std::optional<RegistryValue> default_;
  std::map<std::string, RegistryValue, CaseInsensitiveLess> values_;
  std::map<std::string, std::unique_ptr<RegistryKey>, CaseInsensitiveLess> subkeys_;
};

// The text form of a registry file, and back. Parsing fails (nullopt, reason in *error) on
// anything but a complete, well-formed file.
std::string SerializeRegistry(const RegistryKey& root);
std::optional<RegistryKey> ParseRegistry(std::string_view text, std::string* error = nullptr);

// The registry file and its lock file in the product home.
std::filesystem::path RegistryFilePath();

// Reads the registry under a shared lock. No file yet is an empty registry. E_FAIL for a file
// that cannot be read or parsed.
HRESULT ReadRegistry(RegistryKey* root);
// The registry as the file holds it now, shared and read-only. The parsed registry is kept for
// the process and the file read again only when it is no longer the file that was parsed (another
// inode, size, modification or change time), so a change made by any process, which replaces the
// file, is seen by the next call. No file yet is an empty registry; E_FAIL as ReadRegistry.
HRESULT ReadRegistrySnapshot(std::shared_ptr<const RegistryKey>* root);
// How many times ReadRegistrySnapshot has parsed a file in this process (for tests).
std::uint64_t RegistrySnapshotParseCount();

// Runs change on the registry under an exclusive lock and, when change succeeds, writes the
// result back atomically. A failing change leaves the file as it was and its code is returned;
// so does one that throws (E_OUTOFMEMORY for exhausted memory, E_FAIL for anything else).
HRESULT UpdateRegistry(const std::function<HRESULT(RegistryKey& root)>& change);

}  // namespace com
