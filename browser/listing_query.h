#pragma once
// The listing query: model type, object-name pattern and creation-date range in, revision rows
// out, against a new query server object per run.
#include <string>
#include <vector>

#include "browser/revision_date.h"
#include "browser/revision_row.h"

namespace browser {

struct ListingRequest {
  std::string modelType;
  std::string objectName;
  std::string createdAfter;
  std::string createdBefore;
};

struct ListingOutcome {
  // False: nothing else below was filled in.
  bool serverCreated = false;
  // The request's model type, or "All models" after the fall-back.
  std::string modelTypeUsed;
  DateParseResult createdAfter;
  DateParseResult createdBefore;
  bool executeFailed = false;
  // In the order the server delivered them.
  std::vector<RevisionRow> rows;
};

// Throws com::TextConversionError when a request text is not valid UTF-8, and std::bad_alloc
// when memory runs out; the query server object is released on every path.
ListingOutcome RunListingQuery(const ListingRequest& request);

}  // namespace browser
