#pragma once
// An extended RVX project P1 whose user holds "mor.revisionmgmnt", on fakes of the environment
// service, the RVX server and the query server.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/com/error_info.h"
#include "platform/com/utf.h"
#include "tests/fakes/fake_env.h"
#include "tests/fakes/fake_rvx.h"
#include "tests/fakes/fake_vnquery.h"
#include "tests/host/host_test_support.h"
#include "tests/support/error_text.h"

namespace testing_support {

class ComponentTest : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    env_.Env().SetVariable("_#INT#_PROJECT", u"P1");
    env_.Env().SetVariable("_#INT#_RVXPROJECT", u"1");
    env_.Env().SetProductMode(u"EXTENDED RVX");
    env_.Env().SetDatabase(com::ComPtr<IUnknown>(rvx_.DatabasePtr()->GetUnknown()));
    rvx_.AccessControl().Grant("mor.revisionmgmnt");
    SetErrorInfo(0, nullptr);
  }

  // The RVX log from the first command object on.
  std::vector<std::string> CommandLog() {
    const auto& entries = rvx_.Log().Entries();
    auto first = std::find(entries.begin(), entries.end(), "Command.Create");
    return {first, entries.end()};
  }

  fakes::FakeEnvService env_;
  fakes::FakeRvxWorld rvx_;
  fakes::FakeVnQueryServer query_;
};

// A command whose result "res" (position 0) is res.
inline fakes::CommandScript Result(com::Variant res) {
  fakes::CommandScript script;
  script.outputs[0] = std::move(res);
  return script;
}

}  // namespace testing_support
