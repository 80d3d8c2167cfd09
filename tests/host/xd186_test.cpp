#include "host/xd186.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include "host/exit_callbacks.h"
#include "platform/os/os.h"
#include "tests/fakes/fake_env.h"
#include "tests/host/host_test_support.h"

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

std::string Tid() {
  return std::to_string(os::CurrentThreadId());
}

class Xd186 : public testing_support::HostTest {
 protected:
  void TearDown() override {
    os::SetEndProcessHookForTesting({});
    HostTest::TearDown();
  }
  fakes::FakeEnvService service_;
};

TEST_F(Xd186, FirstRequestCreatesAndRegistersAnEnvironmentObject) {
  com::ComPtr<IEnvVariables> env;
  EXPECT_EQ(xd186_getenvptr(env), 1);
  EXPECT_EQ(env.Get(), static_cast<IEnvVariables*>(&service_.Env()));
  EXPECT_THAT(service_.Log().Entries(),
              ElementsAre("Registry.Run", "Registry.FindEnv(" + Tid() + ")", "Env.Run",
                          "Registry.RegisterEnv(" + Tid() + ",env)"));
}

TEST_F(Xd186, FirstRequestUsesAnAlreadyRegisteredObjectAndRegistersItOnceMore) {
  auto existing = service_.MakeEnv();
  service_.Registry().Preregister(os::CurrentThreadId(), existing->GetUnknown());
  com::ComPtr<IEnvVariables> env;
  EXPECT_EQ(xd186_getenvptr(env), 1);
  EXPECT_EQ(env.Get(), static_cast<IEnvVariables*>(existing.Get()));
  EXPECT_EQ(service_.EnvCreations(), 0);
  EXPECT_THAT(service_.Log().Entries(),
              ElementsAre("Registry.Run", "Registry.FindEnv(" + Tid() + ")",
                          "Registry.RegisterEnv(" + Tid() + ",other)"));
  // Unload unregisters once.
  service_.Log().Clear();
  RunExitCallbacks();
  EXPECT_THAT(service_.Log().Entries(), ElementsAre("Registry.UnregisterEnv(" + Tid() + ")"));
}

TEST_F(Xd186, OnTheFirstRequestOnlyStatusSOkCountsAsFound) {
  auto existing = service_.MakeEnv();
  service_.Registry().Preregister(os::CurrentThreadId(), existing->GetUnknown());
  service_.Registry().SetFindStatus(S_FALSE);  // object given, but status not S_OK
  com::ComPtr<IEnvVariables> env;
  EXPECT_EQ(xd186_getenvptr(env), 1);
  EXPECT_EQ(env.Get(), static_cast<IEnvVariables*>(&service_.Env()));
  EXPECT_EQ(service_.EnvCreations(), 1);
}

TEST_F(Xd186, LaterRequestsOnlyLookUpAndIgnoreTheStatus) {
  com::ComPtr<IEnvVariables> env;
  ASSERT_EQ(xd186_getenvptr(env), 1);
  service_.Log().Clear();
  service_.Registry().SetFindStatus(E_FAIL);  // object still handed out
  EXPECT_EQ(xd186_getenvptr(env), 1);
  EXPECT_EQ(env.Get(), static_cast<IEnvVariables*>(&service_.Env()));
  EXPECT_THAT(service_.Log().Entries(), ElementsAre("Registry.FindEnv(" + Tid() + ")"));
  EXPECT_EQ(service_.RegistryCreations(), 1);
}

TEST_F(Xd186, ASecondThreadWithoutObjectGetsNoneAndNoMessage) {
  com::ComPtr<IEnvVariables> env;
  ASSERT_EQ(xd186_getenvptr(env), 1);
  int result = -2, getenvResult = -2;
  char buffer[kEnvValueBufferSize] = "untouched";
  std::thread other([&] {
    com::ComPtr<IEnvVariables> otherEnv;
    result = xd186_getenvptr(otherEnv);
    getenvResult = xd186_getenv("_#INT#_PROJECT", buffer);
  });
  other.join();
  EXPECT_EQ(result, 0);
  EXPECT_EQ(getenvResult, 0);
  EXPECT_STREQ(buffer, "untouched");
  EXPECT_EQ(service_.EnvCreations(), 1);
}

TEST_F(Xd186, RegistryThatCannotBeCreatedAsksAndNoReturnsZeroAndAsksAgain) {
  service_.FailRegistryCreation(E_FAIL);
  Boxes().Expect(os::MessageBoxAnswer::No).Expect(os::MessageBoxAnswer::No);
  com::ComPtr<IEnvVariables> env;
  EXPECT_EQ(xd186_getenvptr(env), 0);
  EXPECT_EQ(xd186_getenvptr(env), 0);
  ASSERT_EQ(Boxes().Shown().size(), 2u);
  const os::MessageBoxRequest& box = Boxes().Shown()[0];
  EXPECT_EQ(box.caption, "xd186_getenvptr() failed");
  EXPECT_EQ(box.buttons, os::MessageBoxButtons::YesNo);
  EXPECT_EQ(box.icon, os::MessageBoxIcon::None);
  EXPECT_EQ(box.owner, nullptr);
  EXPECT_EQ(box.text,
            "ATL Exception thrown:\n\nErr.ErrorMessage() = Unknown error 0x80004005\nSource: "
            "\nDescription: \n\nException caught on line 97 in file 'xd186'\n"
            "\n\nDo you want to exit the application (highly recommended)?");
  EXPECT_EQ(service_.RegistryCreations(), 2);
}

TEST_F(Xd186, YesEndsTheProcessWithMinusOne) {
  service_.FailRegistryCreation(E_FAIL);
  std::vector<int> ended;
  os::SetEndProcessHookForTesting([&](int status) { ended.push_back(status); });
  Boxes().Expect(os::MessageBoxAnswer::Yes);
  com::ComPtr<IEnvVariables> env;
  xd186_getenvptr(env);
  EXPECT_THAT(ended, ElementsAre(-1));
}

TEST_F(Xd186, RegistryThatCannotRunCountsAsNotCreated) {
  service_.Log().Fail("Registry.Run", E_UNEXPECTED);
  Boxes().Expect(os::MessageBoxAnswer::No);
  com::ComPtr<IEnvVariables> env;
  EXPECT_EQ(xd186_getenvptr(env), 0);
  ASSERT_EQ(Boxes().Shown().size(), 1u);
  EXPECT_THAT(Boxes().Shown()[0].text, HasSubstr("Unknown error 0x8000FFFF"));
}

TEST_F(Xd186, EnvironmentObjectThatCannotBeCreatedGivesZeroSilentlyAndKeepsTheRegistry) {
  service_.FailEnvCreation(E_FAIL);
  com::ComPtr<IEnvVariables> env;
  EXPECT_EQ(xd186_getenvptr(env), 0);
  EXPECT_FALSE(env);
  service_.Log().Clear();
  EXPECT_EQ(xd186_getenvptr(env), 0);
  EXPECT_THAT(service_.Log().Entries(), ElementsAre("Registry.FindEnv(" + Tid() + ")"));
}

TEST_F(Xd186, FailedRegisterEnvIsReportedWithLine154) {
  service_.Log().Fail("Registry.RegisterEnv", E_FAIL);
  Boxes().Expect(os::MessageBoxAnswer::Ok);
  com::ComPtr<IEnvVariables> env;
  EXPECT_EQ(xd186_getenvptr(env), 0);
  ASSERT_EQ(Boxes().Shown().size(), 1u);
  EXPECT_EQ(Boxes().Shown()[0].caption, "xd186_getenvptr() failed");
  EXPECT_EQ(Boxes().Shown()[0].buttons, os::MessageBoxButtons::Ok);
  EXPECT_THAT(Boxes().Shown()[0].text,
              HasSubstr("\nSource: Fake\nDescription: Registry.RegisterEnv failed\n\nException "
                        "caught on line 154 in file 'xd186'\n"));
}

TEST_F(Xd186, FoundObjectWithoutEnvVariablesGivesOneAndAnEmptyHolder) {
  auto existing = service_.MakeEnv();
  existing->Withhold(IEnvVariables::IID_);
  service_.Registry().Preregister(os::CurrentThreadId(), existing->GetUnknown());
  com::ComPtr<IEnvVariables> env;
  EXPECT_EQ(xd186_getenvptr(env), 1);
  EXPECT_FALSE(env);
  EXPECT_FALSE(xd186_env());
  char buffer[kEnvValueBufferSize] = "x";
  EXPECT_EQ(xd186_getenv("_#INT#_PROJECT", buffer), -1);
  EXPECT_STREQ(buffer, "");
}

TEST_F(Xd186, AFailedInterfaceRequestOtherThanNoInterfaceIsReported) {
  auto existing = service_.MakeEnv();
  existing->FailQuery(IEnvVariables::IID_, E_OUTOFMEMORY);
  service_.Registry().Preregister(os::CurrentThreadId(), existing->GetUnknown());
  Boxes().Expect(os::MessageBoxAnswer::Ok);
  com::ComPtr<IEnvVariables> env;
  EXPECT_EQ(xd186_getenvptr(env), 0);
  ASSERT_EQ(Boxes().Shown().size(), 1u);
  EXPECT_THAT(Boxes().Shown()[0].text, HasSubstr("line 154"));
}

TEST_F(Xd186, EnvHandsOutANewReference) {
  com::ComPtr<IEnvVariables> env = xd186_env();
  ASSERT_TRUE(env);
  EXPECT_EQ(env.Get(), static_cast<IEnvVariables*>(&service_.Env()));
}

struct GetenvCase {
  const char* name;
  std::optional<std::u16string> value;  // nullopt: a null value
  bool set;
  int result;
  const char* buffer;
};

class Xd186Getenv : public Xd186, public ::testing::WithParamInterface<GetenvCase> {};

TEST_P(Xd186Getenv, CopiesTheValueOrGivesMinusOneAndTheEmptyText) {
  const GetenvCase& c = GetParam();
  if (c.set) {
    if (c.value) {
      service_.Env().SetVariable(c.name, *c.value);
    } else {
      service_.Env().SetVariableNull(c.name);
    }
  }
  char buffer[kEnvValueBufferSize];
  std::memset(buffer, 'z', sizeof buffer);
  EXPECT_EQ(xd186_getenv(c.name, buffer), c.result);
  EXPECT_STREQ(buffer, c.buffer);
}

INSTANTIATE_TEST_SUITE_P(
    Values, Xd186Getenv,
    ::testing::Values(GetenvCase{"_#INT#_PROJECT", u"P1", true, 2, "P1"},
                      GetenvCase{"_#INT#_PROJECT", u"Gr\u00fcn", true, 5, "Gr\xC3\xBCn"},
                      GetenvCase{"_#INT#_PROJECT", u"", true, -1, ""},
                      GetenvCase{"_#INT#_PROJECT", std::nullopt, true, -1, ""},
                      GetenvCase{"_#INT#_PROJECT", u"", false, -1, ""},
                      GetenvCase{
                          "V", std::u16string(255, u'a'), true, 255,
                          "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa"
                          "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa"
                          "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa"
                          "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa"},
                      // A value that does not fit the 256-byte buffer counts as no value.
                      GetenvCase{"V", std::u16string(256, u'a'), true, -1, ""},
                      GetenvCase{"V", std::u16string(128, u'\u00fc'), true, -1, ""}));

TEST_F(Xd186, GetenvFailureOfGetVariableGivesMinusOne) {
  service_.Env().SetVariable("_#INT#_PROJECT", u"P1");
  service_.Log().Fail("Env.GetVariable", E_FAIL);
  char buffer[kEnvValueBufferSize] = "x";
  EXPECT_EQ(xd186_getenv("_#INT#_PROJECT", buffer), -1);
  EXPECT_STREQ(buffer, "");
}

TEST_F(Xd186, ReleaseUnregistersTheUnloadingThread) {
  com::ComPtr<IEnvVariables> env;
  ASSERT_EQ(xd186_getenvptr(env), 1);
  service_.Log().Clear();
  std::string otherTid;
  std::thread unloading([&] {
    otherTid = Tid();
    xd186_release();
  });
  unloading.join();
  EXPECT_THAT(service_.Log().Entries(), ElementsAre("Registry.UnregisterEnv(" + otherTid + ")"));
  // The holder is empty now: the next request is a first request again.
  service_.Log().Clear();
  xd186_release();
  EXPECT_TRUE(service_.Log().Entries().empty());
}

TEST_F(Xd186, FailedUnregisterIsReportedWithLine72AndKeepsTheRegistry) {
  com::ComPtr<IEnvVariables> env;
  ASSERT_EQ(xd186_getenvptr(env), 1);
  service_.Log().Fail("Registry.UnregisterEnv", E_FAIL);
  Boxes().Expect(os::MessageBoxAnswer::Ok);
  xd186_release();
  ASSERT_EQ(Boxes().Shown().size(), 1u);
  EXPECT_EQ(Boxes().Shown()[0].caption, "xd186_release() failed");
  EXPECT_THAT(Boxes().Shown()[0].text, HasSubstr("line 72 in file 'xd186'"));
  service_.Log().Clear();
  EXPECT_EQ(xd186_getenvptr(env), 1);
  EXPECT_THAT(service_.Log().Entries(), ElementsAre("Registry.FindEnv(" + Tid() + ")"));
}

TEST_F(Xd186, TwoThreadsFirstRequestsCreateOneRegistry) {
  std::thread a([] {
    com::ComPtr<IEnvVariables> env;
    xd186_getenvptr(env);
  });
  std::thread b([] {
    com::ComPtr<IEnvVariables> env;
    xd186_getenvptr(env);
  });
  a.join();
  b.join();
  EXPECT_EQ(service_.RegistryCreations(), 1);
}

}  // namespace
