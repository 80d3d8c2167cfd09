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

namespace env_test {

// Sets or unsets process variables and puts the old values back at the end.
class VariableScope {
 public:
  VariableScope() = default;
  VariableScope(const VariableScope&) = delete;
  VariableScope& operator=(const VariableScope&) = delete;
  ~VariableScope() {
    for (auto& [name, old] : saved_) {
      if (old) {
        ::setenv(name.c_str(), old->c_str(), 1);
      } else {
        ::unsetenv(name.c_str());
      }
    }
  }
  void Set(const std::string& name, const std::string& value) {
    Save(name);
    ::setenv(name.c_str(), value.c_str(), 1);
  }
  void Unset(const std::string& name) {
    Save(name);
    ::unsetenv(name.c_str());
  }

 private:
  void Save(const std::string& name) {
    if (saved_.count(name)) return;
    const char* old = std::getenv(name.c_str());
    saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
  }
  std::map<std::string, std::optional<std::string>> saved_;
};

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
    std::string pattern = (std::filesystem::temp_directory_path() / "revmgr-env-XXXXXX").string();
    ASSERT_TRUE(::mkdtemp(pattern.data()));
    home_ = pattern;
    variables_.Set("REVMGR_HOME", home_.string());
    for (const char* name : {"_#INT#_PROJECT", "_#INT#_RVXPROJECT", "PW_SUBPROJ", "_#INT#_FTPHOST",
                             "_#INT#_PROJECTGROUP"}) {
      variables_.Unset(name);
    }
    classes_.Register(CLSID_EnvRegistry, env::GetClassObject);
    classes_.Register(CLSID_Env, env::GetClassObject);
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(home_, ignored);
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

  std::filesystem::path home_;
  VariableScope variables_;
  InProcessClasses classes_;
};

}  // namespace env_test
