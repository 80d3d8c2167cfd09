#pragma once
// One revision as the listing returns it.
#include <string>

namespace browser {

struct RevisionRow {
  std::string handle;
  std::string objectName;
  // The entry's display name, or the classified text for an "All models" listing.
  std::string typeText;
  // Empty when the server reports it null.
  std::string revisionName;
  // Empty when the server reports it null.
  std::string remark;
  std::string createdBy;
  // Date texts "YYYY-MM-DD HH:MM:SS"; empty when the server sent no date.
  std::string creationDate;
  std::string modifiedBy;
  std::string modifiedDate;

  friend bool operator==(const RevisionRow&, const RevisionRow&) = default;
};

}  // namespace browser
