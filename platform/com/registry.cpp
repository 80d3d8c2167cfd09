#include "platform/com/registry.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <new>
#include <sstream>
#include <system_error>

namespace com {

namespace {

constexpr std::string_view kFileHeader = "revmgr-registry 1";

char Lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Splits "a\b\c" into its names; empty names (doubled or edge backslashes) are skipped.
std::vector<std::string_view> SplitPath(std::string_view path) {
  std::vector<std::string_view> names;
  while (!path.empty()) {
    const std::size_t cut = path.find('\\');
    std::string_view name = path.substr(0, cut);
    if (!name.empty()) names.push_back(name);
    if (cut == std::string_view::npos) break;
    path.remove_prefix(cut + 1);
  }
  return names;
}

void AppendQuoted(std::string& out, std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  out += '"';
  for (char c : text) {
    const auto u = static_cast<unsigned char>(c);
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '"':
        out += "\\\"";
        break;
      case '\n':
        out += "\\n";
        break;
      default:
        if (u < 0x20 || u == 0x7F) {
          out += "\\x";
          out += kHex[u >> 4];
          out += kHex[u & 0xF];
        } else {
          out += c;
        }
    }
  }
  out += '"';
}

void AppendValue(std::string& out, const RegistryValue& value) {
  if (value.kind == RegistryValue::Kind::Number) {
    out += "d ";
    out += std::to_string(value.number);
  } else {
    out += "s ";
    AppendQuoted(out, value.text);
  }
}

void SerializeKey(std::string& out, const RegistryKey& key, std::vector<std::string_view>& path) {
  if (!path.empty()) {
    out += "key";
    for (std::string_view name : path) {
      out += ' ';
      AppendQuoted(out, name);
    }
    out += '\n';
    if (key.Default()) {
      out += "default ";
      AppendValue(out, *key.Default());
      out += '\n';
    }
    for (const auto& [name, value] : key.Values()) {
      out += "value ";
      AppendQuoted(out, name);
      out += ' ';
      AppendValue(out, value);
      out += '\n';
    }
  }
  for (const RegistryKey* child : key.Subkeys()) {
    path.push_back(child->Name());
    SerializeKey(out, *child, path);
    path.pop_back();
  }
}

// Reads the words of one line: bare words and quoted texts.
class LineReader {
 public:
  explicit LineReader(std::string_view line) : line_(line) {}

  bool AtEnd() {
    SkipBlanks();
    return pos_ >= line_.size();
  }
  std::optional<std::string> Word() {
    SkipBlanks();
    const std::size_t start = pos_;
    while (pos_ < line_.size() && line_[pos_] != ' ') ++pos_;
    if (start == pos_) return std::nullopt;
    return std::string(line_.substr(start, pos_ - start));
  }
  std::optional<std::string> Quoted() {
    SkipBlanks();
    if (pos_ >= line_.size() || line_[pos_] != '"') return std::nullopt;
    ++pos_;
    std::string text;
    while (pos_ < line_.size()) {
      const char c = line_[pos_++];
      if (c == '"') return text;
      if (c != '\\') {
        text += c;
        continue;
      }
      if (pos_ >= line_.size()) return std::nullopt;
      const char e = line_[pos_++];
      if (e == '\\' || e == '"') {
        text += e;
      } else if (e == 'n') {
        text += '\n';
      } else if (e == 'x' && pos_ + 2 <= line_.size()) {
        const int hi = HexValue(line_[pos_]), lo = HexValue(line_[pos_ + 1]);
        if (hi < 0 || lo < 0) return std::nullopt;
        text += static_cast<char>(hi * 16 + lo);
        pos_ += 2;
      } else {
        return std::nullopt;
      }
    }
    return std::nullopt;  // unterminated
  }
  std::optional<RegistryValue> Value() {
    auto kind = Word();
    if (kind == "s") {
      auto text = Quoted();
      if (!text) return std::nullopt;
      return RegistryValue::String(std::move(*text));
    }
    if (kind == "d") {
      auto digits = Word();
      if (!digits || digits->empty() || digits->size() > 10) return std::nullopt;
      std::uint64_t number = 0;
      for (char c : *digits) {
        if (c < '0' || c > '9') return std::nullopt;
        number = number * 10 + static_cast<std::uint64_t>(c - '0');
      }
      if (number > 0xFFFFFFFFu) return std::nullopt;
      return RegistryValue::Number(static_cast<std::uint32_t>(number));
    }
    return std::nullopt;
  }

 private:
  static int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  }
  void SkipBlanks() {
    while (pos_ < line_.size() && line_[pos_] == ' ') ++pos_;
  }

  std::string_view line_;
  std::size_t pos_ = 0;
};

// An open file descriptor, closed on every way out.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd = -1) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() { Reset(); }
  int Get() const { return fd_; }
  bool Valid() const { return fd_ >= 0; }
  void Reset(int fd = -1) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }
  void Swap(FileDescriptor& other) noexcept { std::swap(fd_, other.fd_); }

 private:
  int fd_;
};

// The inter-process lock of the registry: flock on a file beside it, for the scope.
class RegistryLock {
 public:
  explicit RegistryLock(bool exclusive) : fd_(OpenLockFile()) {
    if (!fd_.Valid()) return;
    int rc;
    do {
      rc = ::flock(fd_.Get(), exclusive ? LOCK_EX : LOCK_SH);
    } while (rc != 0 && errno == EINTR);
    locked_ = rc == 0;
  }
  ~RegistryLock() {
    if (locked_) ::flock(fd_.Get(), LOCK_UN);
  }
  RegistryLock(const RegistryLock&) = delete;
  RegistryLock& operator=(const RegistryLock&) = delete;
  bool Locked() const { return locked_; }

 private:
  static int OpenLockFile() {
    std::error_code ec;
    const std::filesystem::path file = RegistryFilePath();
    std::filesystem::create_directories(file.parent_path(), ec);
    const std::string lockName = file.string() + ".lock";
    return ::open(lockName.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  }

  FileDescriptor fd_;
  bool locked_ = false;
};

HRESULT LoadFile(RegistryKey* root) {
  std::ifstream in(RegistryFilePath(), std::ios::binary);
  if (!in) {
    // No file yet is an empty registry; any other failure to open is an error.
    std::error_code ec;
    if (!std::filesystem::exists(RegistryFilePath(), ec) && !ec) {
      *root = RegistryKey();
      return S_OK;
    }
    return E_FAIL;
  }
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) return E_FAIL;
  auto parsed = ParseRegistry(text.str());
  if (!parsed) return E_FAIL;
  *root = std::move(*parsed);
  return S_OK;
}

// What tells one registry file from another. Writers never change the file in place but rename a
// new one over it; as long as the parsed file is held open its inode cannot be reused, so the
// same device and inode mean the same text. Size and times catch an edit in place as well.
struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  std::int64_t modifiedSeconds = 0, modifiedNanoseconds = 0;
  std::int64_t changedSeconds = 0, changedNanoseconds = 0;

  static FileIdentity Of(const struct stat& status) {
    return {status.st_dev,         status.st_ino,          status.st_size,
            status.st_mtim.tv_sec, status.st_mtim.tv_nsec, status.st_ctim.tv_sec,
            status.st_ctim.tv_nsec};
  }
  friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// The registry parsed last in this process, with the file it came from held open.
struct Snapshot {
  std::mutex mutex;
  std::string path;
  FileDescriptor file;                      // invalid when there was no file
  std::optional<FileIdentity> identity;     // nullopt: no file, an empty registry
  std::shared_ptr<const RegistryKey> root;  // null until the first read
  std::uint64_t parses = 0;
};

Snapshot& TheSnapshot() {
  static Snapshot snapshot;
  return snapshot;
}

bool ReadAll(int fd, std::string* text) {
  char buffer[16384];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return true;
    text->append(buffer, static_cast<std::size_t>(n));
  }
}

// Whether the snapshot still is the registry at path: the same file, or still no file.
bool SnapshotIsCurrent(const Snapshot& snapshot, const std::string& path) {
  if (!snapshot.root || snapshot.path != path) return false;
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return errno == ENOENT && !snapshot.identity;
  return snapshot.identity && *snapshot.identity == FileIdentity::Of(status);
}

// Reads the file at path into the snapshot, under the readers' lock. Call with its mutex held.
HRESULT RefreshSnapshot(Snapshot& snapshot, const std::string& path) {
  RegistryLock lock(false);
  if (!lock.Locked()) return E_FAIL;
  FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  std::optional<FileIdentity> identity;
  std::shared_ptr<const RegistryKey> root;
  if (!file.Valid()) {
    if (errno != ENOENT) return E_FAIL;
    root = std::make_shared<const RegistryKey>();
  } else {
    struct stat status {};
    if (::fstat(file.Get(), &status) != 0) return E_FAIL;
    std::string text;
    if (!ReadAll(file.Get(), &text)) return E_FAIL;
    auto parsed = ParseRegistry(text);
    if (!parsed) return E_FAIL;
    identity = FileIdentity::Of(status);
    root = std::make_shared<const RegistryKey>(std::move(*parsed));
  }
  ++snapshot.parses;
  snapshot.path = path;
  snapshot.file.Swap(file);  // the old file is closed with `file`
  snapshot.identity = identity;
  snapshot.root = std::move(root);
  return S_OK;
}

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Writes the whole text to a temporary file, flushes it to disk and renames it over the
// registry file, so that a reader sees either the old or the new file, never a part.
HRESULT SaveFile(const RegistryKey& root) {
  const std::filesystem::path file = RegistryFilePath();
  const std::string temp = file.string() + ".tmp";
  const std::string text = SerializeRegistry(root);
  {
    FileDescriptor fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (!fd.Valid()) return E_FAIL;
    if (!WriteAll(fd.Get(), text) || ::fsync(fd.Get()) != 0) {
      ::unlink(temp.c_str());
      return E_FAIL;
    }
  }
  if (::rename(temp.c_str(), file.c_str()) != 0) {
    ::unlink(temp.c_str());
    return E_FAIL;
  }
  return S_OK;
}

}  // namespace

std::filesystem::path ProductHome() {
  if (const char* home = std::getenv("REVMGR_HOME"); home && *home) return home;
  if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data) {
    return std::filesystem::path(data) / "revmgr";
  }
  const char* user = std::getenv("HOME");
  return std::filesystem::path(user && *user ? user : ".") / ".local" / "share" / "revmgr";
}

std::filesystem::path RegistryFilePath() {
  return ProductHome() / "registry";
}

bool CaseInsensitiveLess::operator()(std::string_view a, std::string_view b) const {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const char x = Lower(a[i]), y = Lower(b[i]);
    if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
  }
  return a.size() < b.size();
}

RegistryKey* RegistryKey::Child(std::string_view name) const {
  auto it = subkeys_.find(name);
  return it == subkeys_.end() ? nullptr : it->second.get();
}

RegistryKey* RegistryKey::Find(std::string_view path) {
  RegistryKey* key = this;
  for (std::string_view name : SplitPath(path)) {
    key = key->Child(name);
    if (!key) return nullptr;
  }
  return key;
}

const RegistryKey* RegistryKey::Find(std::string_view path) const {
  return const_cast<RegistryKey*>(this)->Find(path);
}

RegistryKey& RegistryKey::Create(std::string_view path) {
  RegistryKey* key = this;
  for (std::string_view name : SplitPath(path)) {
    RegistryKey* child = key->Child(name);
    if (!child) {
      auto made = std::make_unique<RegistryKey>(std::string(name));
      child = made.get();
      key->subkeys_.emplace(std::string(name), std::move(made));
    }
    key = child;
  }
  return *key;
}

bool RegistryKey::Remove(std::string_view path) {
  auto names = SplitPath(path);
  if (names.empty()) return false;
  RegistryKey* parent = this;
  for (std::size_t i = 0; i + 1 < names.size(); ++i) {
    parent = parent->Child(names[i]);
    if (!parent) return false;
  }
  auto it = parent->subkeys_.find(names.back());
  if (it == parent->subkeys_.end()) return false;
  parent->subkeys_.erase(it);
  return true;
}

std::optional<std::string> RegistryKey::DefaultText() const {
  if (!default_ || default_->kind != RegistryValue::Kind::String) return std::nullopt;
  return default_->text;
}

const RegistryValue* RegistryKey::Value(std::string_view name) const {
  auto it = values_.find(name);
  return it == values_.end() ? nullptr : &it->second;
}

void RegistryKey::SetValue(std::string_view name, RegistryValue value) {
  auto it = values_.find(name);
  if (it != values_.end()) {
    it->second = std::move(value);
  } else {
    values_.emplace(std::string(name), std::move(value));
  }
}

bool RegistryKey::RemoveValue(std::string_view name) {
  auto it = values_.find(name);
  if (it == values_.end()) return false;
  values_.erase(it);
  return true;
}

std::vector<const RegistryKey*> RegistryKey::Subkeys() const {
  std::vector<const RegistryKey*> keys;
  keys.reserve(subkeys_.size());
  for (const auto& [name, key] : subkeys_) keys.push_back(key.get());
  return keys;
}

bool operator==(const RegistryKey& a, const RegistryKey& b) {
  if (a.name_ != b.name_ || a.default_ != b.default_ || a.values_ != b.values_ ||
      a.subkeys_.size() != b.subkeys_.size()) {
    return false;
  }
  for (auto x = a.subkeys_.begin(), y = b.subkeys_.begin(); x != a.subkeys_.end(); ++x, ++y) {
    if (!(*x->second == *y->second)) return false;
  }
  return true;
}

std::string SerializeRegistry(const RegistryKey& root) {
  std::string out(kFileHeader);
  out += '\n';
  std::vector<std::string_view> path;
  SerializeKey(out, root, path);
  out += "end\n";
  return out;
}

std::optional<RegistryKey> ParseRegistry(std::string_view text, std::string* error) {
  auto fail = [&](std::size_t lineNumber, std::string_view why) -> std::optional<RegistryKey> {
    if (error) *error = "line " + std::to_string(lineNumber) + ": " + std::string(why);
    return std::nullopt;
  };
  RegistryKey root;
  RegistryKey* current = nullptr;
  std::size_t lineNumber = 0;
  bool ended = false;
  while (!text.empty()) {
    const std::size_t cut = text.find('\n');
    if (cut == std::string_view::npos) return fail(lineNumber + 1, "incomplete last line");
    const std::string_view line = text.substr(0, cut);
    text.remove_prefix(cut + 1);
    ++lineNumber;
    if (ended) return fail(lineNumber, "text after the end");
    if (lineNumber == 1) {
      if (line != kFileHeader) return fail(lineNumber, "not a registry file");
      continue;
    }
    LineReader reader(line);
    const auto word = reader.Word();
    if (word == "end") {
      ended = true;
    } else if (word == "key") {
      current = &root;
      bool any = false;
      while (!reader.AtEnd()) {
        auto name = reader.Quoted();
        if (!name || name->empty() || name->find('\\') != std::string::npos) {
          return fail(lineNumber, "bad key name");
        }
        current = &current->Create(*name);
        any = true;
      }
      if (!any) return fail(lineNumber, "key without a name");
    } else if (word == "default" && current) {
      auto value = reader.Value();
      if (!value || !reader.AtEnd()) return fail(lineNumber, "bad default value");
      current->SetDefault(std::move(*value));
    } else if (word == "value" && current) {
      auto name = reader.Quoted();
      auto value = name ? reader.Value() : std::nullopt;
      if (!value || !reader.AtEnd()) return fail(lineNumber, "bad named value");
      current->SetValue(*name, std::move(*value));
    } else {
      return fail(lineNumber, "unexpected line");
    }
  }
  if (!ended) return fail(lineNumber, "file ends early");
  return root;
}

HRESULT ReadRegistry(RegistryKey* root) {
  if (!root) return E_POINTER;
  try {
    RegistryLock lock(false);
    if (!lock.Locked()) return E_FAIL;
    return LoadFile(root);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_FAIL;
  }
}

HRESULT ReadRegistrySnapshot(std::shared_ptr<const RegistryKey>* root) {
  if (!root) return E_POINTER;
  try {
    const std::string path = RegistryFilePath().string();
    Snapshot& snapshot = TheSnapshot();
    std::lock_guard guard(snapshot.mutex);
    if (!SnapshotIsCurrent(snapshot, path)) {
      const HRESULT hr = RefreshSnapshot(snapshot, path);
      if (FAILED(hr)) return hr;
    }
    *root = snapshot.root;
    return S_OK;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_FAIL;
  }
}

std::uint64_t RegistrySnapshotParseCount() {
  Snapshot& snapshot = TheSnapshot();
  std::lock_guard guard(snapshot.mutex);
  return snapshot.parses;
}

HRESULT UpdateRegistry(const std::function<HRESULT(RegistryKey& root)>& change) {
  try {
    RegistryLock lock(true);
    if (!lock.Locked()) return E_FAIL;
    RegistryKey root;
    HRESULT hr = LoadFile(&root);
    if (FAILED(hr)) return hr;
    hr = change(root);
    if (FAILED(hr)) return hr;
    const HRESULT saved = SaveFile(root);
    return FAILED(saved) ? saved : hr;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_FAIL;
  }
}

}  // namespace com
