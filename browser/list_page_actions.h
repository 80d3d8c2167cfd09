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

// Delete listed reports its progress (one step per listed row) and its tallies through the
// process's progress service; the page itself shows nothing of it.
inline constexpr char kDeleteListedTask[] = "Delete listed";
inline constexpr char kTallyRevisionsDeleted[] = "revisions deleted";
inline constexpr char kTallyCountFailed[] = "rows whose count failed";
inline constexpr char kTallyOldestFailed[] = "rows whose oldest revision failed";
inline constexpr char kTallyDeleteFailed[] = "rows whose delete failed";

// The leading-digits rule: leading blanks and a sign allowed, conversion stops at the first
// non-digit, no digits give 0; saturates instead of overflowing.
std::int64_t LeadingNumber(std::string_view text);

}  // namespace browser
