#pragma once
// A product home in a temporary folder with one extended project, "SHIP1", whose store holds:
// object A (three revisions: named, named, unnamed latest), object B (one revision) and grants of
// "mor.revisionmgmnt" to the user running the tests. The RVX server runs in process.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/com/class_object.h"
#include "platform/com/error_info.h"
#include "platform/com/utf.h"
#include "platform/com/variant.h"
#include "servers/rvx/current_user.h"
#include "servers/rvx/rvx_server.h"
#include "servers/store/project_setup.h"
#include "servers/store/revision_store.h"
#include "services/rvx.h"
#include "tests/support/temporary_home.h"

namespace rvx_test {

inline constexpr char16_t kProject[] = u"SHIP1";
inline constexpr std::int64_t kDatabank = 7;

// A product home of its own, with the project in it.
struct TempHome : test_support::TemporaryHome {
  TempHome() : test_support::TemporaryHome("revmgr-rvx") {}
};

// One parameter as a caller appends it.
struct Param {
  std::u16string name;
  std::int32_t type;
  std::int32_t direction;
  com::Variant value;
};

inline Param Res() {
  return {u"res", kRvxTypeNumber, kRvxDirectionOutput, com::Variant()};
}
inline Param TextIn(std::u16string name, com::Variant value) {
  return {std::move(name), kRvxTypeText, kRvxDirectionInput, std::move(value)};
}
inline Param TextOut(std::u16string name) {
  return {std::move(name), kRvxTypeText, kRvxDirectionOutput, com::Variant()};
}
inline Param NumberIn(std::u16string name, com::Variant value) {
  return {std::move(name), kRvxTypeNumber, kRvxDirectionInput, std::move(value)};
}

struct Outcome {
  HRESULT hr = E_FAIL;
  std::vector<com::Variant> values;  // every position after Execute, as get_Item/get_Value give it
};

inline constexpr char16_t kDelete[] =
    u"BEGIN :1 := WDB_REVISION_PKG.DELETE_REVISION(HEXTORAW(:2)); END;";
inline constexpr char16_t kCount[] =
    u"BEGIN :1 := WDB_REVISION_PKG.GET_REVISION_COUNT(HEXTORAW(:2)); END;";
inline constexpr char16_t kOldest[] =
    u"BEGIN :1 := WDB_REVISION_PKG.GET_OLDEST_REVISION(HEXTORAW(:2), :3, :4, :5); END;";
inline constexpr char16_t kIsLatest[] = u"BEGIN :1 := WDB_REVISION_PKG.IS_LATEST(:2, :3, :4); END;";
inline constexpr char16_t kUpdateBoth[] =
    u"BEGIN :1 := WDB_REVISION_PKG.UPDATE_REVISION_INFO(HEXTORAW(:2), :3, :4); END;";
inline constexpr char16_t kUpdateName[] =
    u"BEGIN :1 := WDB_REVISION_PKG.UPDATE_REVISION_INFO(HEXTORAW(:2), :3, NULL); END;";
inline constexpr char16_t kUpdateRemark[] =
    u"BEGIN :1 := WDB_REVISION_PKG.UPDATE_REVISION_INFO(HEXTORAW(:2), NULL, :3); END;";

// Builds and runs a command exactly as the component does: SetProject, get_Parameters,
// CreateParameter + Append per parameter, put_CommandText, Execute(0), then reads each position.
inline Outcome RunBlock(IRvxProject* project, std::u16string_view text,
                        const std::vector<Param>& params) {
  Outcome outcome;
  com::ComPtr<IRvxCommand> command;
  EXPECT_EQ(com::CreateRunning(CLSID_RvxCommand, &command), S_OK);
  if (!command) return outcome;
  command->SetProject(project);
  com::ComPtr<IRvxParameters> parameters;
  EXPECT_EQ(command->get_Parameters(&parameters), S_OK);
  for (const Param& p : params) {
    com::ComPtr<IRvxParameter> parameter;
    com::BStr name(p.name);
    EXPECT_EQ(command->CreateParameter(name.Get(), p.type, p.direction, p.value.Get(), &parameter),
              S_OK);
    EXPECT_EQ(parameters->Append(parameter.Get()), S_OK);
  }
  com::BStr blockText(text);
  command->put_CommandText(blockText.Get());
  outcome.hr = command->Execute(0);
  for (std::size_t i = 0; i < params.size(); ++i) {
    com::ComPtr<IRvxParameter> item;
    com::Variant value;
    if (SUCCEEDED(parameters->get_Item(com::Variant(static_cast<std::int32_t>(i)).Get(), &item)) &&
        item) {
      item->get_Value(value.Out());
    }
    outcome.values.push_back(std::move(value));
  }
  return outcome;
}

inline std::u16string Wide(std::string_view text) {
  return std::u16string(text.begin(), text.end());
}

class RvxFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    rvx::RegisterInProcess();
    std::string error;
    auto setup = store::SetUpProject(
        "SHIP1", store::kExtendedRvx,
        {{rvx::CurrentUserName(), "mor.revisionmgmnt"}, {"somebody-else", "basic.rvxadmin"}}, {},
        &error);
    ASSERT_TRUE(setup) << error;
    setup->EnsureDatabank(kDatabank, "PW_TESTDB");
    store::TimePoint t0 = std::chrono::time_point_cast<std::chrono::seconds>(
        std::chrono::sys_days(std::chrono::year(2020) / 1 / 1));
    objectA_ = setup->AddObject(kDatabank, "PANEL-A", 1, 0);
    a1_ = store::FormatHandle(setup->AddRevision(objectA_, {"R1", "first", "anna", t0, {}, {}}));
    a2_ = store::FormatHandle(setup->AddRevision(
        objectA_, {"R2", std::nullopt, "anna", t0 + std::chrono::hours(1), {}, {}}));
    a3_ = store::FormatHandle(setup->AddRevision(
        objectA_, {std::nullopt, std::nullopt, "anna", t0 + std::chrono::hours(2), {}, {}}));
    objectB_ = setup->AddObject(kDatabank, "PANEL-B", 1, 0);
    b1_ = store::FormatHandle(setup->AddRevision(objectB_, {"B1", "only", "bjorn", t0, {}, {}}));
    setup.reset();
    OpenDatabase();
  }

  void OpenDatabase() {
    project_.Reset();
    database_.Reset();
    com::ComPtr<IRvxServer> server;
    ASSERT_EQ(com::CreateRunning(CLSID_RvxServer, &server), S_OK);
    com::BStr name(kProject);
    ASSERT_EQ(server->OpenDatabase(name.Get(), &database_), S_OK);
    ASSERT_TRUE(database_);
    ASSERT_EQ(database_->GetCurrentProject(&project_), S_OK);
    ASSERT_TRUE(project_);
  }

  // A second connection to the project's store, seeing only what was committed.
  std::unique_ptr<store::RevisionStore> SecondConnection() {
    std::string error;
    auto opened = store::OpenProjectStore("SHIP1", &error);
    EXPECT_TRUE(opened) << error;
    return opened;
  }

  Outcome Run(std::u16string_view text, const std::vector<Param>& params) {
    return RunBlock(project_.Get(), text, params);
  }
  Outcome RunWithHandle(std::u16string_view text, const std::string& handle) {
    return Run(text, {Res(), TextIn(u"ObjId", com::Variant(std::u16string_view(Wide(handle))))});
  }

  TempHome home_;
  com::ComPtr<IRvxDatabase> database_;
  com::ComPtr<IRvxProject> project_;
  std::uint64_t objectA_ = 0;
  std::uint64_t objectB_ = 0;
  std::string a1_, a2_, a3_, b1_;  // a3_ is A's latest revision
};

// The calling thread's error information, taken (and cleared).
struct ErrorText {
  bool present = false;
  std::u16string source;
  std::u16string description;
};
inline ErrorText TakeErrorInfo() {
  ErrorText text;
  com::ComPtr<IErrorInfo> info;
  if (GetErrorInfo(0, &info) != S_OK || !info) return text;
  text.present = true;
  com::BStr source, description;
  info->GetSource(&source);
  info->GetDescription(&description);
  text.source = std::u16string(source.View());
  text.description = std::u16string(description.View());
  return text;
}

}  // namespace rvx_test
