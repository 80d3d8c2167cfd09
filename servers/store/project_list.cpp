#include "servers/store/project_list.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <system_error>

#include "servers/store/product_home.h"
#include "servers/store/store_error.h"

namespace store {

namespace {

bool HasSeparator(std::string_view text) {
  return text.find_first_of("\t\r\n") != std::string_view::npos;
}

// An exclusive lock on a file beside the list, held for one read-modify-write.
class ListLock {
 public:
  explicit ListLock(const std::filesystem::path& list) {
    std::filesystem::path lockPath = list;
    lockPath += ".lock";
    fd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0) {
      throw StoreError(StoreErrorKind::Database, "cannot open " + lockPath.string());
    }
    while (::flock(fd_, LOCK_EX) != 0) {
      if (errno != EINTR) {
        ::close(fd_);
        throw StoreError(StoreErrorKind::Database, "cannot lock " + lockPath.string());
      }
    }
  }
  ~ListLock() { ::close(fd_); }  // closing releases the lock
  ListLock(const ListLock&) = delete;
  ListLock& operator=(const ListLock&) = delete;

 private:
  int fd_ = -1;
};

}  // namespace

ProjectList ProjectList::Load(const std::filesystem::path& file) {
  ProjectList list;
  std::ifstream in(file);
  if (!in) {
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) return list;
    throw StoreError(StoreErrorKind::Database, "cannot read " + file.string());
  }
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    auto tab = line.find('\t');
    if (tab == std::string::npos || tab == 0) continue;
    list.entries_[line.substr(0, tab)] = line.substr(tab + 1);
  }
  return list;
}

std::optional<std::string> ProjectList::Find(std::string_view name) const {
  auto it = entries_.find(name);
  if (it == entries_.end()) return std::nullopt;
  return it->second;
}

void ProjectList::Set(const std::string& name, const std::string& location) {
  if (name.empty() || HasSeparator(name) || HasSeparator(location)) {
    throw StoreError(StoreErrorKind::InvalidQuery,
                     "a project name or location must not be empty or hold tabs or line breaks");
  }
  entries_[name] = location;
}

bool ProjectList::Remove(std::string_view name) {
  auto it = entries_.find(name);
  if (it == entries_.end()) return false;
  entries_.erase(it);
  return true;
}

void ProjectList::Save(const std::filesystem::path& file) const {
  std::error_code ec;
  if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), ec);
  std::filesystem::path temp = file;
  temp += ".tmp." + std::to_string(::getpid());
  {
    std::ofstream out(temp, std::ios::trunc);
    out << "# project name <TAB> store location\n";
    for (const auto& [name, location] : entries_) out << name << '\t' << location << '\n';
    out.flush();
    if (!out) {
      std::filesystem::remove(temp, ec);
      throw StoreError(StoreErrorKind::Database, "cannot write " + temp.string());
    }
  }
  std::filesystem::rename(temp, file, ec);
  if (ec) {
    std::filesystem::remove(temp, ec);
    throw StoreError(StoreErrorKind::Database, "cannot replace " + file.string());
  }
}

std::filesystem::path ProjectListPath() {
  return ProductHome() / "projects.list";
}

std::optional<std::string> FindProjectLocation(std::string_view name) {
  try {
    return ProjectList::Load(ProjectListPath()).Find(name);
  } catch (const StoreError&) {
    return std::nullopt;
  }
}

void RegisterProjectLocation(const std::string& name, const std::string& location) {
  std::filesystem::path file = ProjectListPath();
  std::error_code ec;
  std::filesystem::create_directories(file.parent_path(), ec);
  ListLock lock(file);
  ProjectList list = ProjectList::Load(file);
  list.Set(name, location);
  list.Save(file);
}

std::string DefaultProjectLocation(std::string_view name) {
  return "sqlite:" + (ProductHome() / "projects" / (std::string(name) + ".rvxdb")).string();
}

}  // namespace store
