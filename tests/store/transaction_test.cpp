#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include "store_fixture.h"

namespace store {
namespace {

using Transactions = SmallStore;

constexpr char kChildLocation[] = "REVMGR_TEST_CHILD_LOCATION";
constexpr char kChildHandle[] = "REVMGR_TEST_CHILD_HANDLE";
constexpr char kChildExpect[] = "REVMGR_TEST_CHILD_EXPECT";

// Runs in the second process only: reads a revision name through a store of its own.
TEST(ChildProcess, ReadsRevisionName) {
  const char* location = std::getenv(kChildLocation);
  if (!location) GTEST_SKIP() << "runs as the second process of Transactions tests";
  auto store = OpenStore(location, OpenMode::OpenExisting);
  ASSERT_TRUE(store);
  auto info = store->FindRevision(*ParseHandle(std::getenv(kChildHandle)));
  ASSERT_TRUE(info);
  EXPECT_EQ(info->name.value_or("<null>"), std::getenv(kChildExpect));
}

// The revision name another process reads, checked there: true when it read `expected`.
bool OtherProcessReads(const std::string& location, const std::string& handle,
                       const std::string& expected) {
  ::setenv(kChildLocation, location.c_str(), 1);
  ::setenv(kChildHandle, handle.c_str(), 1);
  ::setenv(kChildExpect, expected.c_str(), 1);
  pid_t pid = ::fork();
  if (pid == 0) {
    const char* argv[] = {"test_store", "--gtest_filter=ChildProcess.ReadsRevisionName",
                          "--gtest_brief=1", nullptr};
    ::execv("/proc/self/exe", const_cast<char* const*>(argv));
    ::_exit(127);
  }
  ::unsetenv(kChildLocation);
  ::unsetenv(kChildHandle);
  ::unsetenv(kChildExpect);
  int status = 0;
  if (pid < 0 || ::waitpid(pid, &status, 0) != pid) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST_F(Transactions, AnotherProcessSeesCommittedChangesOnly) {
  ASSERT_TRUE(OtherProcessReads(location_, revisions_[0], "A"));
  ASSERT_TRUE(store_->UpdateRevisionInfo(revisions_[0], std::string("B"), std::nullopt, "eva"));
  EXPECT_TRUE(store_->InTransaction());
  EXPECT_TRUE(OtherProcessReads(location_, revisions_[0], "A"));  // not yet committed
  store_->Commit();
  EXPECT_FALSE(store_->InTransaction());
  EXPECT_TRUE(OtherProcessReads(location_, revisions_[0], "B"));
}

TEST_F(Transactions, RollbackUndoesTheChangeAndItsAuditRow) {
  ASSERT_EQ(store_->DeleteRevision(revisions_[0], "eva"), 1);
  ASSERT_TRUE(store_->UpdateRevisionInfo(revisions_[1], std::string("X"), std::nullopt, "eva"));
  EXPECT_EQ(store_->AuditTrailAll().size(), 2u);  // visible inside the transaction
  store_->Rollback();
  EXPECT_EQ(store_->GetRevisionCount(revisions_[0]), 3);
  EXPECT_FALSE(store_->FindRevision(*ParseHandle(revisions_[1]))->name);
  EXPECT_TRUE(store_->AuditTrailAll().empty());
}

TEST_F(Transactions, ReleasingTheStoreWithoutCommitRollsBack) {
  ASSERT_EQ(store_->DeleteRevision(revisions_[0], "eva"), 1);
  store_.reset();
  auto reopened = Reopen();
  ASSERT_TRUE(reopened);
  EXPECT_EQ(reopened->GetRevisionCount(revisions_[0]), 3);
  EXPECT_TRUE(reopened->AuditTrailAll().empty());
}

TEST_F(Transactions, ChangesJoinAnOpenTransaction) {
  store_->Begin();
  EXPECT_THROW(store_->Begin(), StoreError);
  ASSERT_EQ(store_->DeleteRevision(revisions_[0], "eva"), 1);
  ASSERT_EQ(store_->DeleteRevision(revisions_[1], "eva"), 1);
  store_->Commit();
  auto other = Reopen();
  EXPECT_EQ(other->GetRevisionCount(revisions_[2]), 1);
  EXPECT_EQ(other->AuditTrailAll().size(), 2u);
}

TEST_F(Transactions, ReadingFunctionsOpenNoTransaction) {
  store_->GetRevisionCount(revisions_[0]);
  store_->GetOldestRevision(revisions_[0]);
  store_->IsLatest("B204-PLP-00001", std::string("C"), kOgdb);
  EXPECT_FALSE(store_->InTransaction());
  // So another connection can write meanwhile.
  auto other = Reopen();
  EXPECT_EQ(other->DeleteRevision(revisions_[0], "eva"), 1);
  other->Commit();
  EXPECT_EQ(store_->GetRevisionCount(revisions_[0]), 2);
}

}  // namespace
}  // namespace store
