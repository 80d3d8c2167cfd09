#pragma once
// A store in a temporary folder with two small objects:
//   panel (PW_OGDB): revisions "A"/"first", unnamed/no remark, "C"/"latest" (newest last)
//   spool (PW_PPDB): one revision "S1"
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "servers/store/revision_store.h"
#include "temp_dir.h"

class SmallStore : public ::testing::Test {
 protected:
  static constexpr std::int64_t kOgdb = 7;
  static constexpr std::int64_t kPpdb = 8;

  void SetUp() override {
    location_ = dir_.Location("small.rvxdb");
    std::string error;
    store_ = store::OpenStore(location_, store::OpenMode::CreateIfMissing, &error);
    ASSERT_TRUE(store_) << error;
    store_->EnsureDatabank(kOgdb, "PW_OGDB");
    store_->EnsureDatabank(kPpdb, "PW_PPDB");
    panel_ = store_->AddObject(kOgdb, "B204-PLP-00001", 120, 150);
    revisions_.push_back(Add(panel_, std::string("A"), std::string("first"), 1000));
    revisions_.push_back(Add(panel_, std::nullopt, std::nullopt, 2000));
    revisions_.push_back(Add(panel_, std::string("C"), std::string("latest"), 3000));
    spool_ = store_->AddObject(kPpdb, "ES122-PP-00002-SP01", 305, 0);
    spoolRevision_ = Add(spool_, std::string("S1"), std::nullopt, 4000);
  }

  std::string Add(std::uint64_t object, std::optional<std::string> name,
                  std::optional<std::string> remark, std::int64_t at) {
    store::NewRevision revision;
    revision.name = std::move(name);
    revision.remark = std::move(remark);
    revision.createdBy = "anna";
    revision.createdAt = store::TimePoint(std::chrono::seconds(at));
    return store::FormatHandle(store_->AddRevision(object, revision));
  }

  std::unique_ptr<store::RevisionStore> Reopen() {
    std::string error;
    auto other = store::OpenStore(location_, store::OpenMode::OpenExisting, &error);
    EXPECT_TRUE(other) << error;
    return other;
  }

  TempDir dir_;
  std::string location_;
  std::unique_ptr<store::RevisionStore> store_;
  std::uint64_t panel_ = 0;
  std::uint64_t spool_ = 0;
  std::vector<std::string> revisions_;  // oldest first
  std::string spoolRevision_;
};
