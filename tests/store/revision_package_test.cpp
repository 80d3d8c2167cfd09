#include <gtest/gtest.h>

#include "servers/store/store_error.h"
#include "store_fixture.h"

namespace store {
namespace {

using RevisionPackage = SmallStore;

std::string UnknownRevisionOf(std::uint64_t object) {
  return FormatHandle({object, 0x7FFFFFFF});
}

TEST_F(RevisionPackage, CountsRevisionsOfTheHandlesObject) {
  EXPECT_EQ(store_->GetRevisionCount(revisions_[0]), 3);
  EXPECT_EQ(store_->GetRevisionCount(spoolRevision_), 1);
  // Only the object part counts: a handle of a revision that is gone still names the object.
  EXPECT_EQ(store_->GetRevisionCount(UnknownRevisionOf(panel_)), 3);
  EXPECT_EQ(store_->GetRevisionCount(FormatHandle({999, 1})), 0);
}

TEST_F(RevisionPackage, OldestRevisionCarriesNameAndRemarkOrNull) {
  auto oldest = store_->GetOldestRevision(revisions_[2]);
  ASSERT_TRUE(oldest);
  EXPECT_EQ(oldest->handle, revisions_[0]);
  EXPECT_EQ(oldest->name, "A");
  EXPECT_EQ(oldest->remark, "first");

  ASSERT_EQ(store_->DeleteRevision(revisions_[0], "bjorn"), 1);
  oldest = store_->GetOldestRevision(revisions_[2]);
  ASSERT_TRUE(oldest);
  EXPECT_EQ(oldest->handle, revisions_[1]);
  EXPECT_FALSE(oldest->name);
  EXPECT_FALSE(oldest->remark);

  EXPECT_FALSE(store_->GetOldestRevision(FormatHandle({999, 1})));
}

TEST_F(RevisionPackage, DeleteRemovesAnOlderRevisionOnlyOnce) {
  EXPECT_EQ(store_->DeleteRevision(revisions_[1], "bjorn"), 1);
  EXPECT_EQ(store_->DeleteRevision(revisions_[1], "bjorn"), 0);
  EXPECT_EQ(store_->GetRevisionCount(revisions_[0]), 2);
  EXPECT_FALSE(store_->FindRevision(*ParseHandle(revisions_[1])));
}

TEST_F(RevisionPackage, LatestRevisionIsNeverDeleted) {
  EXPECT_EQ(store_->DeleteRevision(revisions_[2], "bjorn"), 0);
  EXPECT_EQ(store_->DeleteRevision(spoolRevision_, "bjorn"), 0);  // the only one
  // Deleting the older ones leaves the latest, which then is the only and still not deletable.
  EXPECT_EQ(store_->DeleteRevision(revisions_[0], "bjorn"), 1);
  EXPECT_EQ(store_->DeleteRevision(revisions_[1], "bjorn"), 1);
  EXPECT_EQ(store_->DeleteRevision(revisions_[2], "bjorn"), 0);
  EXPECT_EQ(store_->GetRevisionCount(revisions_[2]), 1);
  EXPECT_TRUE(store_->AuditTrail(revisions_[2]).empty());
}

TEST_F(RevisionPackage, RevisionOfAnotherObjectDoesNotMatchTheHandle) {
  // Object part of the spool, revision part of a panel revision: no such revision.
  Handle mixed{spool_, ParseHandle(revisions_[0])->revision};
  EXPECT_EQ(store_->DeleteRevision(FormatHandle(mixed), "bjorn"), 0);
  EXPECT_FALSE(store_->UpdateRevisionInfo(FormatHandle(mixed), std::string("x"), {}, "bjorn"));
  EXPECT_EQ(store_->GetRevisionCount(revisions_[0]), 3);
}

TEST_F(RevisionPackage, IsLatestComparesTheLatestNameNullEqualsNull) {
  EXPECT_EQ(store_->IsLatest("B204-PLP-00001", std::string("C"), kOgdb), true);
  EXPECT_EQ(store_->IsLatest("B204-PLP-00001", std::string("A"), kOgdb), false);
  EXPECT_EQ(store_->IsLatest("B204-PLP-00001", std::nullopt, kOgdb), false);
  EXPECT_EQ(store_->IsLatest("b204-plp-00001", std::string("C"), kOgdb), std::nullopt);
  EXPECT_EQ(store_->IsLatest("B204-PLP-00001", std::string("C"), kPpdb), std::nullopt);

  auto unnamed = store_->AddObject(kPpdb, "ES1-PP-9", 305, 0);
  Add(unnamed, std::nullopt, std::nullopt, 5000);
  EXPECT_EQ(store_->IsLatest("ES1-PP-9", std::nullopt, kPpdb), true);
  EXPECT_EQ(store_->IsLatest("ES1-PP-9", std::string(""), kPpdb), false);
}

TEST_F(RevisionPackage, UpdateSetsWhatIsGivenAndTheModifier) {
  ASSERT_TRUE(
      store_->UpdateRevisionInfo(revisions_[0], std::string("Issue 2"), std::nullopt, "chen"));
  auto info = store_->FindRevision(*ParseHandle(revisions_[0]));
  ASSERT_TRUE(info);
  EXPECT_EQ(info->name, "Issue 2");
  EXPECT_EQ(info->remark, "first");  // left as it was
  EXPECT_EQ(info->modifiedBy, "chen");
  EXPECT_GT(info->modifiedAt, info->createdAt);
  EXPECT_EQ(info->createdBy, "anna");

  ASSERT_TRUE(
      store_->UpdateRevisionInfo(revisions_[1], std::nullopt, std::string("only remark"), "chen"));
  info = store_->FindRevision(*ParseHandle(revisions_[1]));
  EXPECT_FALSE(info->name);
  EXPECT_EQ(info->remark, "only remark");
}

TEST_F(RevisionPackage, UpdateRefusesLatestAndUnknownRevisions) {
  EXPECT_FALSE(store_->UpdateRevisionInfo(revisions_[2], std::string("x"), std::string("y"), "c"));
  EXPECT_FALSE(store_->UpdateRevisionInfo(UnknownRevisionOf(panel_), std::string("x"), {}, "c"));
  EXPECT_EQ(store_->FindRevision(*ParseHandle(revisions_[2]))->name, "C");
  EXPECT_TRUE(store_->AuditTrailAll().empty());
}

TEST_F(RevisionPackage, MalformedHandlesAreErrorsNotMisses) {
  const char* bad[] = {"", "123", "x' OR '1'='1", "0000000000000001000000000000000Z"};
  for (const char* handle : bad) {
    SCOPED_TRACE(handle);
    auto expectBadHandle = [](auto&& call) {
      try {
        call();
        ADD_FAILURE() << "no error";
      } catch (const StoreError& e) {
        EXPECT_EQ(e.Kind(), StoreErrorKind::BadHandle);
      }
    };
    expectBadHandle([&] { store_->DeleteRevision(handle, "u"); });
    expectBadHandle([&] { store_->GetRevisionCount(handle); });
    expectBadHandle([&] { store_->GetOldestRevision(handle); });
    expectBadHandle([&] { store_->UpdateRevisionInfo(handle, std::string("n"), {}, "u"); });
  }
  EXPECT_EQ(store_->GetRevisionCount(revisions_[0]), 3);
}

TEST_F(RevisionPackage, ChangesWriteAuditRows) {
  ASSERT_EQ(store_->DeleteRevision(revisions_[0], "bjorn"), 1);
  ASSERT_TRUE(
      store_->UpdateRevisionInfo(revisions_[1], std::string("N\"1"), std::string("R"), "chen"));
  store_->Commit();

  auto deleted = store_->AuditTrail(revisions_[0]);
  ASSERT_EQ(deleted.size(), 1u);
  EXPECT_EQ(deleted[0].user, "bjorn");
  EXPECT_EQ(deleted[0].action, "DELETE_REVISION");
  EXPECT_EQ(deleted[0].handle, revisions_[0]);
  EXPECT_NE(deleted[0].detail.find("\"A\""), std::string::npos) << deleted[0].detail;
  EXPECT_NE(deleted[0].detail.find("\"first\""), std::string::npos) << deleted[0].detail;

  auto updated = store_->AuditTrail(revisions_[1]);
  ASSERT_EQ(updated.size(), 1u);
  EXPECT_EQ(updated[0].user, "chen");
  EXPECT_EQ(updated[0].action, "UPDATE_REVISION_INFO");
  EXPECT_NE(updated[0].detail.find("NULL -> \"N\"1\""), std::string::npos) << updated[0].detail;
  EXPECT_EQ(store_->AuditTrailAll().size(), 2u);
}

TEST_F(RevisionPackage, ValuesFullOfSqlAreStoredAsTyped) {
  const std::string name = "x'); DROP TABLE revisions; --";
  ASSERT_TRUE(store_->UpdateRevisionInfo(revisions_[0], name, std::string("' OR 1=1 --"), "u"));
  store_->Commit();
  auto info = store_->FindRevision(*ParseHandle(revisions_[0]));
  EXPECT_EQ(info->name, name);
  EXPECT_EQ(info->remark, "' OR 1=1 --");
  EXPECT_EQ(store_->GetRevisionCount(revisions_[0]), 3);
}

TEST_F(RevisionPackage, ProjectsModesAndGrants) {
  store_->CreateProject("SHIP1", kExtendedRvx);
  EXPECT_THROW(store_->CreateProject("SHIP1", kBasicRvx), StoreError);
  ASSERT_TRUE(store_->FindProject("SHIP1"));
  EXPECT_EQ(store_->FindProject("SHIP1")->productMode, "EXTENDED RVX");
  store_->SetProductMode("SHIP1", kBasicRvx);
  EXPECT_EQ(store_->FindProject("SHIP1")->productMode, "BASIC RVX");
  EXPECT_FALSE(store_->FindProject("ship1"));
  EXPECT_THROW(store_->SetProductMode("NOPE", kBasicRvx), StoreError);

  store_->Grant("SHIP1", "anna", "mor.revisionmgmnt");
  store_->Grant("SHIP1", "anna", "mor.revisionmgmnt");  // twice is once
  EXPECT_TRUE(store_->IsFunctionGranted("SHIP1", "anna", "mor.revisionmgmnt"));
  EXPECT_FALSE(store_->IsFunctionGranted("SHIP1", "bjorn", "mor.revisionmgmnt"));
  EXPECT_FALSE(store_->IsFunctionGranted("SHIP2", "anna", "mor.revisionmgmnt"));
  EXPECT_FALSE(store_->IsFunctionGranted("SHIP1", "anna", "MOR.REVISIONMGMNT"));
  store_->Revoke("SHIP1", "anna", "mor.revisionmgmnt");
  EXPECT_FALSE(store_->IsFunctionGranted("SHIP1", "anna", "mor.revisionmgmnt"));
  EXPECT_EQ(store_->ListProjects().size(), 1u);
}

}  // namespace
}  // namespace store
