#include "tests/fakes/fake_env.h"

#include "platform/com/utf.h"

namespace fakes {

FakeEnvVariables::FakeEnvVariables(FakeCallLogPtr log) : log_(std::move(log)) {
  Withhold(IEnvProductMode::IID_);
  Withhold(IEnvDatabaseLink::IID_);
}

void FakeEnvVariables::SetProductMode(std::optional<std::u16string> text) {
  modeText_ = std::move(text);
  Offer(IEnvProductMode::IID_);
}

void FakeEnvVariables::SetDatabase(com::ComPtr<IUnknown> database) {
  database_ = std::move(database);
  Offer(IEnvDatabaseLink::IID_);
}

HRESULT FakeEnvVariables::GetVariable(BSTR name, BSTR* value) {
  const std::string key = com::ToUtf8(std::u16string_view(name ? name : u"", SysStringLen(name)));
  HRESULT hr = log_->Record("Env.GetVariable", "Env.GetVariable(" + key + ")");
  if (!value) return E_POINTER;
  *value = nullptr;
  if (FAILED(hr)) return hr;
  auto it = variables_.find(key);
  if (it == variables_.end()) return S_FALSE;
  if (it->second) *value = SysAllocStringLen(it->second->data(), it->second->size());
  return S_OK;
}

HRESULT FakeEnvVariables::GetModeText(std::int32_t selector, BSTR* text) {
  HRESULT hr = log_->Record("Env.GetModeText", "Env.GetModeText(" + std::to_string(selector) + ")");
  if (!text) return E_POINTER;
  *text = nullptr;
  // The text is delivered even with a failure status: callers must not rely on the status.
  if (modeText_) *text = SysAllocStringLen(modeText_->data(), modeText_->size());
  return hr;
}

HRESULT FakeEnvVariables::GetDatabase(IUnknown** database) {
  HRESULT hr = log_->Record("Env.GetDatabase", "Env.GetDatabase");
  if (!database) return E_POINTER;
  *database = nullptr;
  if (FAILED(hr)) return hr;
  return database_.CopyTo(database);
}

HRESULT FakeEnvVariables::Run() {
  return log_->Record("Env.Run", "Env.Run");
}

int FakeEnvRegistry::Registrations(std::uint32_t threadId) const {
  auto it = registrations_.find(threadId);
  return it == registrations_.end() ? 0 : it->second;
}

std::string FakeEnvRegistry::Describe(IUnknown* env) const {
  if (!env) return "null";
  com::ComPtr<IUnknown> identity;
  env->QueryInterface(IUnknown::IID_, identity.ReleaseAndGetVoidAddress());
  com::ComPtr<IUnknown> serviceIdentity;
  if (env_) env_->QueryInterface(IUnknown::IID_, serviceIdentity.ReleaseAndGetVoidAddress());
  return identity == serviceIdentity ? "env" : "other";
}

HRESULT FakeEnvRegistry::RegisterEnv(std::uint32_t threadId, IEnvVariables* env) {
  HRESULT hr =
      log_->Record("Registry.RegisterEnv",
                   "Registry.RegisterEnv(" + std::to_string(threadId) + "," + Describe(env) + ")");
  if (FAILED(hr)) return hr;
  // Registering no object keeps what the thread had.
  if (env) map_[threadId] = com::ComPtr<IUnknown>(env);
  ++registrations_[threadId];
  return S_OK;
}

HRESULT FakeEnvRegistry::UnregisterEnv(std::uint32_t threadId) {
  HRESULT hr = log_->Record("Registry.UnregisterEnv",
                            "Registry.UnregisterEnv(" + std::to_string(threadId) + ")");
  if (FAILED(hr)) return hr;
  if (--registrations_[threadId] <= 0) map_.erase(threadId);
  return S_OK;
}

HRESULT FakeEnvRegistry::FindEnv(std::uint32_t threadId, IUnknown** env) {
  HRESULT hr =
      log_->Record("Registry.FindEnv", "Registry.FindEnv(" + std::to_string(threadId) + ")");
  if (!env) return E_POINTER;
  *env = nullptr;
  if (FAILED(hr)) return hr;
  auto it = map_.find(threadId);
  const bool found = it != map_.end() && it->second;
  if (found) it->second.CopyTo(env);
  if (findStatus_) return *findStatus_;
  return found ? S_OK : S_FALSE;
}

HRESULT FakeEnvRegistry::Run() {
  return log_->Record("Registry.Run", "Registry.Run");
}

FakeEnvService::FakeEnvService()
    : log_(std::make_shared<FakeCallLog>()),
      env_(MakeFake<FakeEnvVariables>(log_)),
      registry_(MakeFake<FakeEnvRegistry>(log_, env_->GetUnknown())),
      registryClass_(CLSID_EnvRegistry,
                     [this] { return com::ComPtr<IUnknown>(registry_->GetUnknown()); }),
      envClass_(CLSID_Env, [this] { return com::ComPtr<IUnknown>(env_->GetUnknown()); }) {}

}  // namespace fakes
