#pragma once
// The product home: REVMGR_HOME, else $XDG_DATA_HOME/revmgr, else ~/.local/share/revmgr.
#include <filesystem>

namespace store {

std::filesystem::path ProductHome();

}  // namespace store
