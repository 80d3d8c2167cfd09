#pragma once
// The user the server acts for: the login name of the process owner.
#include <string>

namespace rvx {

std::string CurrentUserName();

}  // namespace rvx
