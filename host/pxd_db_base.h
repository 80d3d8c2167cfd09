#pragma once
// The connection of a component object to the RVX database: project name, database and project.
#include "platform/com/bstr.h"
#include "platform/com/unknown.h"
#include "services/rvx.h"

class PxdDbBase {
 public:
  PxdDbBase() = default;
  // Releases the project, then the database, then the project name.
  virtual ~PxdDbBase() = default;
  PxdDbBase(const PxdDbBase&) = delete;
  PxdDbBase& operator=(const PxdDbBase&) = delete;

  // Reads the product mode of the calling thread's environment: 1 with *extended set to 0 for
  // "BASIC RVX" or 1 for "EXTENDED RVX"; 1 with *extended untouched when the environment offers
  // no product mode (taken as basic); 0 with *extended untouched for any other text.
  int GetRvxProductMode(int* extended);

  const com::BStr& ProjectName() const { return projectName_; }
  IRvxDatabase* Database() const { return database_.Get(); }
  IRvxProject* Project() const { return project_.Get(); }

 protected:
  // Declared in this order so that destruction releases project, database, then the name.
  com::BStr projectName_;
  com::ComPtr<IRvxDatabase> database_;
  com::ComPtr<IRvxProject> project_;
};
