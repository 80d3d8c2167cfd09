#pragma once
// A temporary product home, process variables set for one test, and the environment service
// (with the RVX server, for the database link) registered in this process for the test's length.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/com/class_object.h"
#include "platform/com/error_info.h"
#include "platform/com/unknown.h"
#include "servers/env/env_service.h"
#include "servers/rvx/rvx_server.h"
#include "services/env.h"
#include "services/rvx.h"
#include "tests/support/temporary_home.h"
#include "tests/support/variable_scope.h"

namespace env_test {

using VariableScope = test_support::VariableScope;

// Class objects registered for one test and revoked after it.
class InProcessClasses {
 public:
  InProcessClasses() = default;
  InProcessClasses(const InProcessClasses&) = delete;
  InProcessClasses& operator=(const InProcessClasses&) = delete;
  ~InProcessClasses() {
    for (std::uint32_t cookie : cookies_) CoRevokeClassObject(cookie);
  }
  template <class GetClassObjectFn>
  void Register(REFCLSID clsid, GetClassObjectFn getClassObject) {
    com::ComPtr<IUnknown> factory;
    ASSERT_EQ(getClassObject(clsid, IUnknown::IID_, factory.ReleaseAndGetVoidAddress()), S_OK);
    std::uint32_t cookie = 0;
    ASSERT_EQ(CoRegisterClassObject(clsid, factory.Get(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                                    &cookie),
              S_OK);
    cookies_.push_back(cookie);
  }

 private:
  std::vector<std::uint32_t> cookies_;
};

class EnvFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"_#INT#_PROJECT", "_#INT#_RVXPROJECT", "PW_SUBPROJ", "_#INT#_FTPHOST",
                             "_#INT#_PROJECTGROUP"}) {
      variables_.Unset(name);
    }
    classes_.Register(CLSID_EnvRegistry, env::GetClassObject);
    classes_.Register(CLSID_Env, env::GetClassObject);
  }

  void RegisterRvxServer() {
    classes_.Register(CLSID_RvxServer, rvx::GetClassObject);
    classes_.Register(CLSID_RvxCommand, rvx::GetClassObject);
  }

  com::ComPtr<IEnvVariables> NewEnvironment() {
    com::ComPtr<IEnvVariables> environment;
    EXPECT_EQ(com::CreateRunning(CLSID_Env, &environment), S_OK);
    return environment;
  }

  test_support::TemporaryHome home_{"revmgr-env"};
  VariableScope variables_;
  InProcessClasses classes_;
};

}  // namespace env_test
