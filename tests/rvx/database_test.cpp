// Server, database, project and access control: opening, finding, transactions and grants.
#include <gtest/gtest.h>

#include "servers/store/project_list.h"
#include "tests/rvx/rvx_fixture.h"

namespace rvx_test {
namespace {

using DatabaseObjects = RvxFixture;

com::ComPtr<IRvxServer> NewServer() {
  com::ComPtr<IRvxServer> server;
  EXPECT_EQ(com::CreateRunning(CLSID_RvxServer, &server), S_OK);
  return server;
}

TEST_F(DatabaseObjects, CommitMakesTheChangesAndTheirAuditRowsVisibleToOthers) {
  ASSERT_EQ(RunWithHandle(kDelete, a1_).values[0].Get().lVal, 1);
  auto second = SecondConnection();
  EXPECT_TRUE(second->FindRevision(store::ParseHandleOrThrow(a1_))) << "not yet committed";
  EXPECT_TRUE(second->AuditTrail(a1_).empty());

  ASSERT_EQ(database_->Commit(), S_OK);
  EXPECT_FALSE(second->FindRevision(store::ParseHandleOrThrow(a1_)));
  auto audit = second->AuditTrail(a1_);
  ASSERT_EQ(audit.size(), 1u);
  EXPECT_EQ(audit[0].action, "DELETE_REVISION");
  EXPECT_EQ(audit[0].user, rvx::CurrentUserName());
  EXPECT_EQ(audit[0].handle, a1_);

  // Commit with nothing open is harmless.
  EXPECT_EQ(database_->Commit(), S_OK);
}

TEST_F(DatabaseObjects, ReleasingTheDatabaseWithoutCommitRollsBack) {
  ASSERT_EQ(RunWithHandle(kDelete, a1_).values[0].Get().lVal, 1);
  ASSERT_EQ(Run(kUpdateName, {Res(), TextIn(u"ObjId", com::Variant(std::u16string_view(Wide(a2_)))),
                              TextIn(u"RevisionName", com::Variant(u"CHANGED"))})
                .hr,
            S_OK);
  project_.Reset();
  database_.Reset();

  auto second = SecondConnection();
  EXPECT_TRUE(second->FindRevision(store::ParseHandleOrThrow(a1_)));
  EXPECT_EQ(second->FindRevision(store::ParseHandleOrThrow(a2_))->name, "R2");
  EXPECT_TRUE(second->AuditTrailAll().empty());

  // A database opened afterwards sees the same and can write again.
  OpenDatabase();
  EXPECT_EQ(RunWithHandle(kCount, a1_).values[0].Get().lVal, 3);
  EXPECT_EQ(RunWithHandle(kDelete, a1_).values[0].Get().lVal, 1);
  EXPECT_EQ(database_->Commit(), S_OK);
}

TEST_F(DatabaseObjects, FindDatabaseGivesTheOpenDatabaseOfThisProcessOnly) {
  auto server = NewServer();
  com::ComPtr<IRvxDatabase> found;
  ASSERT_EQ(server->FindDatabase(com::Variant(u"OTHER").Get(), &found), S_OK);
  EXPECT_FALSE(found);

  ASSERT_EQ(server->FindDatabase(com::Variant(kProject).Get(), &found), S_OK);
  ASSERT_TRUE(found);
  // It shares the open transaction: a change made through the first is committed by the found.
  ASSERT_EQ(RunWithHandle(kDelete, a1_).values[0].Get().lVal, 1);
  ASSERT_EQ(found->Commit(), S_OK);
  EXPECT_FALSE(SecondConnection()->FindRevision(store::ParseHandleOrThrow(a1_)));

  found.Reset();
  project_.Reset();
  database_.Reset();
  ASSERT_EQ(server->FindDatabase(com::Variant(kProject).Get(), &found), S_OK);
  EXPECT_FALSE(found) << "closed with its last object";
}

TEST_F(DatabaseObjects, OpenDatabaseOfAProjectThatIsNotListedFails) {
  auto server = NewServer();
  com::ComPtr<IRvxDatabase> database;
  com::BStr name(u"NOT-LISTED");
  EXPECT_LT(server->OpenDatabase(name.Get(), &database), 0);
  EXPECT_FALSE(database);
  ErrorText error = TakeErrorInfo();
  EXPECT_EQ(error.source, u"RvxServer.Server");
  EXPECT_NE(error.description.find(u"NOT-LISTED"), std::u16string::npos);

  com::BStr empty(u"");
  EXPECT_LT(server->OpenDatabase(empty.Get(), &database), 0);
  EXPECT_EQ(server.Query<ISupportErrorInfo>()->InterfaceSupportsErrorInfo(IRvxServer::IID_), S_OK);
}

TEST_F(DatabaseObjects, OpenProjectFindsTheStoresProjectsOnly) {
  com::BStr connectText(u"");
  EXPECT_EQ(database_->SetConnectText(connectText.Get()), S_OK);
  EXPECT_EQ(database_->Connect(), S_OK);

  com::ComPtr<IRvxProject> project;
  com::BStr known(kProject);
  EXPECT_EQ(database_->OpenProject(known.Get(), &project), S_OK);
  EXPECT_TRUE(project);
  com::BStr unknown(u"SHIP2");
  EXPECT_EQ(database_->OpenProject(unknown.Get(), &project), S_FALSE);
  EXPECT_FALSE(project);
}

TEST_F(DatabaseObjects, GetCurrentProjectIsSFalseWhenTheStoreLacksTheListedProject) {
  // The list names SHIP3 but its store (shared with SHIP1 here) has no such project.
  store::RegisterProjectLocation("SHIP3", *store::FindProjectLocation("SHIP1"));
  auto server = NewServer();
  com::ComPtr<IRvxDatabase> database;
  com::BStr name(u"SHIP3");
  ASSERT_EQ(server->OpenDatabase(name.Get(), &database), S_OK);
  com::ComPtr<IRvxProject> project;
  EXPECT_EQ(database->GetCurrentProject(&project), S_FALSE);
  EXPECT_FALSE(project);
}

std::int32_t Allowed(IRvxProject* project, const char16_t* function) {
  com::ComPtr<IRvxAccessControl> access;
  EXPECT_EQ(project->GetAccessControl(&access), S_OK);
  if (!access) return -1;
  std::int32_t allowed = -1;
  com::BStr name(function);
  EXPECT_EQ(access->IsFunctionAllowed(name.Get(), &allowed), S_OK);
  return allowed;
}

TEST_F(DatabaseObjects, AccessControlAnswersFromTheGrantsOfTheProcessOwner) {
  EXPECT_NE(Allowed(project_.Get(), u"mor.revisionmgmnt"), 0);
  EXPECT_EQ(Allowed(project_.Get(), u"basic.rvxadmin"), 0) << "granted to somebody else only";
  EXPECT_EQ(Allowed(project_.Get(), u"draft.revisionmgmnt"), 0);
  EXPECT_EQ(Allowed(project_.Get(), u"MOR.REVISIONMGMNT"), 0) << "names are exact";

  auto second = SecondConnection();
  second->Revoke("SHIP1", rvx::CurrentUserName(), "mor.revisionmgmnt");
  second->Grant("SHIP1", rvx::CurrentUserName(), "basic.rvxadmin");
  EXPECT_EQ(Allowed(project_.Get(), u"mor.revisionmgmnt"), 0);
  EXPECT_NE(Allowed(project_.Get(), u"basic.rvxadmin"), 0);

  com::ComPtr<IRvxAccessControl> access;
  ASSERT_EQ(project_->GetAccessControl(&access), S_OK);
  EXPECT_LT(access->IsFunctionAllowed(nullptr, nullptr), 0);
  std::int32_t allowed = 7;
  EXPECT_LT(access->IsFunctionAllowed(nullptr, &allowed), 0);
  EXPECT_EQ(allowed, 0);
}

TEST_F(DatabaseObjects, TheServerIsReachableAsAClassObject) {
  com::ComPtr<IClassFactory> factory;
  ASSERT_EQ(rvx::GetClassObject(CLSID_RvxCommand, IClassFactory::IID_,
                                factory.ReleaseAndGetVoidAddress()),
            S_OK);
  com::ComPtr<IRvxCommand> first, second;
  ASSERT_EQ(factory->CreateInstance(nullptr, IRvxCommand::IID_, first.ReleaseAndGetVoidAddress()),
            S_OK);
  ASSERT_EQ(factory->CreateInstance(nullptr, IRvxCommand::IID_, second.ReleaseAndGetVoidAddress()),
            S_OK);
  EXPECT_NE(first.Get(), second.Get()) << "a new command per request";
  com::ComPtr<IUnknown> aggregated;
  EXPECT_EQ(
      factory->CreateInstance(first.Get(), IUnknown::IID_, aggregated.ReleaseAndGetVoidAddress()),
      CLASS_E_NOAGGREGATION);
  void* none = nullptr;
  EXPECT_EQ(rvx::GetClassObject(com::MakeGuid("{00000000-1111-2222-3333-444444444444}"),
                                IClassFactory::IID_, &none),
            CLASS_E_CLASSNOTAVAILABLE);
}

}  // namespace
}  // namespace rvx_test
