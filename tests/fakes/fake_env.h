#pragma once
// Fakes of the environment service: the registry of per-thread environment objects and the
// environment object with its variables, optional product mode and optional database link. Every
// call goes into one shared log, in order:
//
//   Registry.Run  Registry.RegisterEnv(<tid>,env|other|null)  Registry.UnregisterEnv(<tid>)
//   Registry.FindEnv(<tid>)
//   Env.Run  Env.GetVariable(<name>)  Env.GetModeText(<selector>)  Env.GetDatabase
//
// <tid> is the decimal thread id; "env" is the service's own Env() object. Operations fail as
// scripted with Log().Fail("<operation>", hr[, nth]) where <operation> is the log entry's name
// without arguments (e.g. "Registry.FindEnv").
//
//   fakes::FakeEnvService service;                 // registers both classes in this process
//   service.Env().SetVariable("_#INT#_PROJECT", u"P1");
//   service.Env().SetProductMode(u"EXTENDED RVX");
//   service.FailRegistryCreation(E_FAIL);
#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "platform/com/class_object.h"
#include "services/env.h"
#include "tests/fakes/fake_call_log.h"
#include "tests/fakes/fake_class_registration.h"
#include "tests/fakes/fake_com_object.h"

namespace fakes {

class FakeEnvVariables : public FakeComObject<IEnvVariables, IEnvProductMode, IEnvDatabaseLink,
                                              IRunnableObject, ISupportErrorInfo> {
 public:
  // Product mode and database link are withheld until set.
  explicit FakeEnvVariables(FakeCallLogPtr log);

  void SetVariable(const std::string& name, std::u16string value) { variables_[name] = value; }
  // GetVariable succeeds with a null value.
  void SetVariableNull(const std::string& name) { variables_[name] = std::nullopt; }
  void RemoveVariable(const std::string& name) { variables_.erase(name); }
  // Offers IEnvProductMode with that text (nullopt: a null text).
  void SetProductMode(std::optional<std::u16string> text);
  void RemoveProductMode() { Withhold(IEnvProductMode::IID_); }
  // Offers IEnvDatabaseLink handing out database (may be null).
  void SetDatabase(com::ComPtr<IUnknown> database);

  HRESULT GetVariable(BSTR name, BSTR* value) override;
  HRESULT GetModeText(std::int32_t selector, BSTR* text) override;
  HRESULT GetDatabase(IUnknown** database) override;
  HRESULT Run() override;
  BOOL IsRunning() override { return 1; }
  HRESULT InterfaceSupportsErrorInfo(REFIID) override { return S_OK; }

 private:
  FakeCallLogPtr log_;
  std::map<std::string, std::optional<std::u16string>> variables_;
  std::optional<std::u16string> modeText_;
  com::ComPtr<IUnknown> database_;
};

class FakeEnvRegistry : public FakeComObject<IEnvRegistry, IRunnableObject, ISupportErrorInfo> {
 public:
  FakeEnvRegistry(FakeCallLogPtr log, IUnknown* serviceEnv)
      : log_(std::move(log)), env_(serviceEnv) {}

  // Puts an object in the registry without a call being logged.
  void Preregister(std::uint32_t threadId, com::ComPtr<IUnknown> env) { map_[threadId] = env; }
  // FindEnv answers this status (with the object, if any) instead of S_OK / S_FALSE.
  void SetFindStatus(std::optional<HRESULT> status) { findStatus_ = status; }
  const std::map<std::uint32_t, com::ComPtr<IUnknown>>& Registered() const { return map_; }
  // RegisterEnv calls per thread id, minus UnregisterEnv calls.
  int Registrations(std::uint32_t threadId) const;

  HRESULT RegisterEnv(std::uint32_t threadId, IEnvVariables* env) override;
  HRESULT UnregisterEnv(std::uint32_t threadId) override;
  HRESULT FindEnv(std::uint32_t threadId, IUnknown** env) override;
  HRESULT Run() override;
  BOOL IsRunning() override { return 1; }
  HRESULT InterfaceSupportsErrorInfo(REFIID) override { return S_OK; }

 private:
  std::string Describe(IUnknown* env) const;
  FakeCallLogPtr log_;
  IUnknown* env_;  // not owned: for log texts only
  std::map<std::uint32_t, com::ComPtr<IUnknown>> map_;
  std::map<std::uint32_t, int> registrations_;
  std::optional<HRESULT> findStatus_;
};

class FakeEnvService {
 public:
  FakeEnvService();
  FakeCallLog& Log() { return *log_; }
  FakeCallLogPtr SharedLog() { return log_; }
  FakeEnvRegistry& Registry() { return *registry_.Get(); }
  // The object that creating CLSID_Env hands out.
  FakeEnvVariables& Env() { return *env_.Get(); }
  com::ComPtr<FakeEnvVariables> EnvPtr() { return env_; }
  // A further environment object sharing the log (e.g. one already registered for a thread).
  com::ComPtr<FakeEnvVariables> MakeEnv() { return MakeFake<FakeEnvVariables>(log_); }

  void FailRegistryCreation(HRESULT hr) { registryClass_.FailCreation(hr); }
  void FailEnvCreation(HRESULT hr) { envClass_.FailCreation(hr); }
  int RegistryCreations() const { return registryClass_.CreationRequests(); }
  int EnvCreations() const { return envClass_.CreationRequests(); }

 private:
  FakeCallLogPtr log_;
  com::ComPtr<FakeEnvVariables> env_;
  com::ComPtr<FakeEnvRegistry> registry_;
  FakeClassRegistration registryClass_;
  FakeClassRegistration envClass_;
};

}  // namespace fakes
