// The process's registry of environment objects by thread id.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/os/os.h"
#include "tests/env/env_fixture.h"

namespace env_test {
namespace {

using Registry = EnvFixture;

com::ComPtr<IEnvRegistry> NewRegistry() {
  com::ComPtr<IEnvRegistry> registry;
  EXPECT_EQ(com::CreateRunning(CLSID_EnvRegistry, &registry), S_OK);
  return registry;
}

IUnknown* Identity(IUnknown* object) {
  com::ComPtr<IUnknown> unknown;
  object->QueryInterface(IUnknown::IID_, unknown.ReleaseAndGetVoidAddress());
  return unknown.Get();
}

TEST_F(Registry, EveryCreationGivesTheSameRegistry) {
  auto first = NewRegistry();
  auto second = NewRegistry();
  ASSERT_TRUE(first && second);
  EXPECT_EQ(Identity(first.Get()), Identity(second.Get()));

  // A separate class object hands out the same one too, as another module's request would.
  com::ComPtr<IClassFactory> factory;
  ASSERT_EQ(env::GetClassObject(CLSID_EnvRegistry, IClassFactory::IID_,
                                factory.ReleaseAndGetVoidAddress()),
            S_OK);
  com::ComPtr<IEnvRegistry> third;
  ASSERT_EQ(factory->CreateInstance(nullptr, IEnvRegistry::IID_, third.ReleaseAndGetVoidAddress()),
            S_OK);
  EXPECT_EQ(Identity(third.Get()), Identity(first.Get()));

  // What one registers, the other finds.
  auto environment = NewEnvironment();
  const std::uint32_t thread = 0xE0000001u;
  ASSERT_EQ(first->RegisterEnv(thread, environment.Get()), S_OK);
  com::ComPtr<IUnknown> found;
  EXPECT_EQ(second->FindEnv(thread, &found), S_OK);
  EXPECT_EQ(found.Get(), Identity(environment.Get()));
  EXPECT_EQ(first->UnregisterEnv(thread), S_OK);
}

TEST_F(Registry, RegistrationsAreCountedPerThread) {
  auto registry = NewRegistry();
  auto environment = NewEnvironment();
  const std::uint32_t thread = 0xE0000002u;
  com::ComPtr<IUnknown> found;
  EXPECT_EQ(registry->FindEnv(thread, &found), S_FALSE);
  EXPECT_FALSE(found);

  ASSERT_EQ(registry->RegisterEnv(thread, environment.Get()), S_OK);
  ASSERT_EQ(registry->RegisterEnv(thread, environment.Get()), S_OK);
  EXPECT_EQ(registry->UnregisterEnv(thread), S_OK);
  EXPECT_EQ(registry->FindEnv(thread, &found), S_OK) << "one registration is left";
  EXPECT_TRUE(found);
  EXPECT_EQ(registry->UnregisterEnv(thread), S_OK);
  EXPECT_EQ(registry->FindEnv(thread, &found), S_FALSE);
  EXPECT_FALSE(found);
  EXPECT_EQ(registry->UnregisterEnv(thread), S_FALSE) << "nothing left to drop";
}

TEST_F(Registry, TheRegistryKeepsItsObjectsAlive) {
  auto registry = NewRegistry();
  const std::uint32_t thread = 0xE0000003u;
  {
    auto environment = NewEnvironment();
    ASSERT_EQ(registry->RegisterEnv(thread, environment.Get()), S_OK);
  }
  com::ComPtr<IUnknown> found;
  ASSERT_EQ(registry->FindEnv(thread, &found), S_OK);
  auto variables = found.Query<IEnvVariables>();
  ASSERT_TRUE(variables);
  com::BStr name(u"REVMGR_HOME"), value;
  EXPECT_EQ(variables->GetVariable(name.Get(), &value), S_OK);
  EXPECT_EQ(registry->UnregisterEnv(thread), S_OK);
}

TEST_F(Registry, TheNewestRegistrationOfAThreadIsFoundUntilItIsDropped) {
  auto registry = NewRegistry();
  auto older = NewEnvironment();
  auto newer = NewEnvironment();
  const std::uint32_t thread = 0xE0000004u;
  ASSERT_EQ(registry->RegisterEnv(thread, older.Get()), S_OK);
  ASSERT_EQ(registry->RegisterEnv(thread, newer.Get()), S_OK);
  com::ComPtr<IUnknown> found;
  ASSERT_EQ(registry->FindEnv(thread, &found), S_OK);
  EXPECT_EQ(found.Get(), Identity(newer.Get()));
  ASSERT_EQ(registry->UnregisterEnv(thread), S_OK);
  ASSERT_EQ(registry->FindEnv(thread, &found), S_OK);
  EXPECT_EQ(found.Get(), Identity(older.Get()));
  ASSERT_EQ(registry->UnregisterEnv(thread), S_OK);
}

TEST_F(Registry, EachThreadFindsOnlyItsOwnObject) {
  auto registry = NewRegistry();
  auto mine = NewEnvironment();
  auto theirs = NewEnvironment();
  const std::uint32_t me = os::CurrentThreadId();
  ASSERT_EQ(registry->RegisterEnv(me, mine.Get()), S_OK);

  std::uint32_t other = 0;
  HRESULT otherFoundBefore = E_FAIL;
  IUnknown* otherFound = nullptr;
  std::thread worker([&] {
    other = os::CurrentThreadId();
    com::ComPtr<IUnknown> found;
    otherFoundBefore = registry->FindEnv(other, &found);
    registry->RegisterEnv(other, theirs.Get());
    registry->FindEnv(other, &found);
    otherFound = found.Get();
  });
  worker.join();
  ASSERT_NE(other, me);
  EXPECT_EQ(otherFoundBefore, S_FALSE) << "nothing is registered for a new thread";
  EXPECT_EQ(otherFound, Identity(theirs.Get()));

  com::ComPtr<IUnknown> found;
  ASSERT_EQ(registry->FindEnv(me, &found), S_OK);
  EXPECT_EQ(found.Get(), Identity(mine.Get()));
  EXPECT_EQ(registry->UnregisterEnv(other), S_OK);
  EXPECT_EQ(registry->UnregisterEnv(me), S_OK);
}

TEST_F(Registry, ConcurrentRegistrationsAreAllCounted) {
  auto registry = NewRegistry();
  auto environment = NewEnvironment();
  const std::uint32_t thread = 0xE0000005u;
  constexpr int kPerWorker = 500;
  std::atomic<int> failures{0};
  auto work = [&] {
    for (int i = 0; i < kPerWorker; ++i) {
      if (registry->RegisterEnv(thread, environment.Get()) != S_OK) ++failures;
      com::ComPtr<IUnknown> found;
      if (registry->FindEnv(thread, &found) != S_OK || !found) ++failures;
    }
  };
  std::thread a(work), b(work);
  a.join();
  b.join();
  EXPECT_EQ(failures.load(), 0);
  for (int i = 0; i < 2 * kPerWorker; ++i) ASSERT_EQ(registry->UnregisterEnv(thread), S_OK) << i;
  EXPECT_EQ(registry->UnregisterEnv(thread), S_FALSE);
}

TEST_F(Registry, BadArgumentsAreRefusedWithErrorInformation) {
  auto registry = NewRegistry();
  EXPECT_EQ(registry->RegisterEnv(1, nullptr), E_POINTER);
  com::ComPtr<IErrorInfo> info;
  EXPECT_EQ(GetErrorInfo(0, &info), S_OK);
  EXPECT_EQ(registry->FindEnv(1, nullptr), E_POINTER);
  EXPECT_EQ(registry.Query<ISupportErrorInfo>()->InterfaceSupportsErrorInfo(IEnvRegistry::IID_),
            S_OK);
}

}  // namespace
}  // namespace env_test
