#pragma once
// The current project "SHIP1" in a temporary product home, with a handful of revisions, and the
// local time zone set to Central European time (UTC+1, summer UTC+2).
//
//   PW_OGDB  "B204-PLP-001" type 100 sub 100: A/"x" (2004-03-01 08:00 UTC), null/null
//            (2004-03-02 12:00 UTC), "  "/"hidden" (2004-06-01 00:00 UTC)
//   PW_OGDB  "b204-plp-002" type 499 sub 999: "Rev 1"/null (2005-01-01 00:00 UTC)
//   PW_PPDB  "ES122-PP-0042" type 305 sub 0: "A"/"it's 50% done" (2010-07-01 12:00 UTC)
//   PW_MORVOLDB "VOL-1" type 1 sub 0: "V" (2011-01-01 00:00 UTC)
#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "query_support.h"
#include "servers/store/project_list.h"
#include "servers/store/project_setup.h"
#include "temp_dir.h"

namespace vnquery_test {

inline constexpr char kCentralEurope[] = "CET-1CEST,M3.5.0,M10.5.0/3";

inline store::TimePoint Utc(int year, unsigned month, unsigned day, int hour) {
  using namespace std::chrono;
  return store::TimePoint(sys_days{std::chrono::year{year} / month / day} + hours(hour));
}

// The process's time zone for one scope.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* zone) : env_(std::in_place, "TZ", zone) { ::tzset(); }
  ~ScopedTimeZone() {
    env_.reset();
    ::tzset();
  }

 private:
  std::optional<ScopedEnv> env_;
};

class SmallProject : public ::testing::Test {
 protected:
  static constexpr std::int64_t kOgdb = 11, kPpdb = 12, kVolume = 13;

  void SetUp() override {
    std::string error;
    store_ = store::SetUpProject("SHIP1", store::kExtendedRvx, {}, {}, &error);
    ASSERT_TRUE(store_) << error;
    store_->EnsureDatabank(kOgdb, "PW_OGDB");
    store_->EnsureDatabank(kPpdb, "PW_PPDB");
    store_->EnsureDatabank(kVolume, "PW_MORVOLDB");
    auto panel = store_->AddObject(kOgdb, "B204-PLP-001", 100, 100);
    Add(panel, "A", "x", Utc(2004, 3, 1, 8));
    Add(panel, std::nullopt, std::nullopt, Utc(2004, 3, 2, 12));
    Add(panel, "  ", "hidden", Utc(2004, 6, 1, 0));
    Add(store_->AddObject(kOgdb, "b204-plp-002", 499, 999), "Rev 1", std::nullopt,
        Utc(2005, 1, 1, 0));
    Add(store_->AddObject(kPpdb, "ES122-PP-0042", 305, 0), "A", "it's 50% done",
        Utc(2010, 7, 1, 12));
    Add(store_->AddObject(kVolume, "VOL-1", 1, 0), "V", std::nullopt, Utc(2011, 1, 1, 0));
  }

  void TearDown() override { store_.reset(); }

  void Add(std::uint64_t object, std::optional<std::string> name, std::optional<std::string> remark,
           store::TimePoint at) {
    store::NewRevision revision;
    revision.name = std::move(name);
    revision.remark = std::move(remark);
    revision.createdBy = "anna";
    revision.createdAt = at;
    handles_.push_back(store::FormatHandle(store_->AddRevision(object, revision)));
  }

  std::int64_t RevisionCount() {
    auto cursor = store_->OpenRevisionQuery({{store::Attribute::Handle}, {}});
    std::int64_t count = 0;
    for (; !cursor->AtEnd(); cursor->MoveNext()) ++count;
    return count;
  }

  TempDir dir_;
  ScopedEnv home_{"REVMGR_HOME", dir_.Path().c_str()};
  ScopedEnv project_{"_#INT#_PROJECT", "SHIP1"};
  ScopedTimeZone zone_{kCentralEurope};
  std::unique_ptr<store::RevisionStore> store_;
  std::vector<std::string> handles_;  // in the order above
};

}  // namespace vnquery_test
