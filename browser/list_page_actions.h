#pragma once
// Texts and helpers of the List revisions page's actions (rename, delete selected, keep check
// box, delete listed); the actions themselves are members of ListProp.
#include <cstdint>
#include <string_view>

namespace browser {

inline constexpr char kAskDeleteSelected[] =
    "Do you realy want to delete selected model object revision";
inline constexpr char kUnableToDeletePrefix[] = "Unable to delete: ";
inline constexpr char kUnableToDeleteRevisionName[] = ", Revision name: ";
inline constexpr char kUnableToDeleteMore[] = "Unable to delete...";
inline constexpr char kMustKeepLatest[] = "Must keep latest revision";
inline constexpr char kAskDeleteListed[] = "Do you realy want to delete model object revision";

// The leading-digits rule: leading blanks and a sign allowed, conversion stops at the first
// non-digit, no digits give 0; saturates instead of overflowing.
std::int64_t LeadingNumber(std::string_view text);

}  // namespace browser
