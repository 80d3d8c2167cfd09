#include "host/xd186.h"
#include "host/module_wide_state.h"

#include <cstring>
#include <mutex>
#include <new>

#include "host/com_error.h"
#include "host/exit_callbacks.h"
#include "platform/com/class_object.h"
#include "platform/com/utf.h"
#include "platform/os/message_box.h"
#include "platform/os/os.h"

namespace {

constexpr char kFile[] = "xd186";
constexpr char kGetEnvPtrCaption[] = "xd186_getenvptr() failed";
constexpr char kExitQuestion[] = "\n\nDo you want to exit the application (highly recommended)?";

// The registry, filled by the module's first request. The lock makes the first request one at a
// time, so that two host threads cannot create two registries.
// The registry holder, filled by the module's first request and emptied at unload.
struct RegistryHolder {
  std::mutex mutex;
  com::ComPtr<IEnvRegistry> registry;
};

RegistryHolder& Holder() {
  static RegistryHolder holder;
  return holder;
}

// The found object's IEnvVariables into env; an object without that interface leaves env empty,
// any other failure of the request is raised.
void QueryEnvVariables(IUnknown* found, com::ComPtr<IEnvVariables>& env) {
  env.Reset();
  if (!found) return;
  HRESULT hr = found->QueryInterface(IEnvVariables::IID_, env.ReleaseAndGetVoidAddress());
  if (hr == E_NOINTERFACE) {
    env.Reset();
    return;
  }
  if (FAILED(hr)) RaiseComErrorIn("QueryInterface(IEnvVariables)", hr);
}

// The registry cannot be created: ask whether to end the application.
void AskToExitAfterRegistryFailure(HRESULT hr) {
  std::string text;
  try {
    std::u16string composed;
    ComposeComErrorText(ComError(hr), 97, kFile, composed);
    text = com::ToUtf8(composed) + kExitQuestion;
  } catch (...) {
    text = std::string(kComErrorOutOfMemoryReport) + kExitQuestion;
  }
  os::MessageBoxRequest request;
  request.owner = nullptr;
  request.text = std::move(text);
  request.caption = kGetEnvPtrCaption;
  request.buttons = os::MessageBoxButtons::YesNo;
  request.icon = os::MessageBoxIcon::None;
  if (os::ShowMessageBox(request) == os::MessageBoxAnswer::Yes) os::EndProcess(-1);
}

// Called with the holder's mutex held and Holder().registry empty.
int FirstRequest(com::ComPtr<IEnvVariables>& env) {
  const std::uint32_t threadId = os::CurrentThreadId();
  HRESULT hr = com::CreateRunning<IEnvRegistry>(CLSID_EnvRegistry, &Holder().registry);
  if (FAILED(hr) || !Holder().registry) {
    Holder().registry.Reset();
    env.Reset();
    AskToExitAfterRegistryFailure(FAILED(hr) ? hr : E_POINTER);
    return 0;
  }
  RegisterExitCallback(&xd186_release);

  com::ComPtr<IUnknown> found;
  hr = Holder().registry->FindEnv(threadId, &found);
  // A registry that claims success without an object is treated like one that has none.
  if (hr == S_OK && found) {
    QueryEnvVariables(found.Get(), env);
  } else {
    env.Reset();
    if (FAILED(com::CreateRunning<IEnvVariables>(CLSID_Env, &env)) || !env) {
      env.Reset();
      return 0;
    }
  }
  hr = Holder().registry->RegisterEnv(threadId, env.Get());
  if (FAILED(hr)) RaiseComErrorIn("RegisterEnv", hr, Holder().registry.Get(), IEnvRegistry::IID_);
  return 1;
}

int LaterRequest(const com::ComPtr<IEnvRegistry>& registry, com::ComPtr<IEnvVariables>& env) {
  com::ComPtr<IUnknown> found;
  registry->FindEnv(os::CurrentThreadId(), &found);  // status ignored: the object decides
  if (!found) {
    env.Reset();
    return 0;
  }
  QueryEnvVariables(found.Get(), env);
  return 1;
}

}  // namespace

void host_detail::TouchEnvRegistryHolder() {
  Holder();
}

int xd186_getenvptr(com::ComPtr<IEnvVariables>& env) {
  try {
    env.Reset();
    com::ComPtr<IEnvRegistry> registry;
    {
      std::lock_guard lock(Holder().mutex);
      if (!Holder().registry) return FirstRequest(env);
      registry = Holder().registry;
    }
    return LaterRequest(registry, env);
  } catch (const ComError& error) {
    env.Reset();
    ReportComError(error, 154, kFile, kGetEnvPtrCaption);
  } catch (const std::bad_alloc&) {
    env.Reset();
    ReportComError(ComError(E_OUTOFMEMORY), 154, kFile, kGetEnvPtrCaption);
  }
  return 0;
}

com::ComPtr<IEnvVariables> xd186_env() {
  try {
    com::ComPtr<IEnvVariables> env;
    if (xd186_getenvptr(env) == 1) return env;
  } catch (const ComError& error) {
    ReportComError(error, 585, kFile, "xd186_env() failed");
  } catch (const std::bad_alloc&) {
    ReportComError(ComError(E_OUTOFMEMORY), 585, kFile, "xd186_env() failed");
  }
  return nullptr;
}

int xd186_getenv(const char* name, char* buffer) {
  com::ComPtr<IEnvVariables> env;
  if (xd186_getenvptr(env) == 0) return 0;
  try {
    if (env && name) {
      const std::optional<std::u16string> wideName = com::TryToUtf16(name);
      if (wideName) {
        const com::BStr bstrName(*wideName);
        com::BStr value;
        if (SUCCEEDED(env->GetVariable(bstrName.Get(), &value)) && !value.Empty()) {
          const std::optional<std::string> text = com::TryToUtf8(value.View());
          if (text && text->size() + 1 <= static_cast<std::size_t>(kEnvValueBufferSize)) {
            if (buffer) std::memcpy(buffer, text->c_str(), text->size() + 1);
            return static_cast<int>(text->size());
          }
        }
      }
    }
  } catch (...) {
    // Reports nothing: every failure ends with the empty text.
  }
  if (buffer) buffer[0] = '\0';
  return -1;
}

void xd186_release() {
  try {
    std::lock_guard lock(Holder().mutex);
    if (!Holder().registry) return;
    const HRESULT hr = Holder().registry->UnregisterEnv(os::CurrentThreadId());
    if (FAILED(hr)) {
      // The reference is left to the static clean-up.
      RaiseComErrorIn("UnregisterEnv", hr, Holder().registry.Get(), IEnvRegistry::IID_);
    }
    Holder().registry.Reset();
  } catch (const ComError& error) {
    ReportComError(error, 72, kFile, "xd186_release() failed");
  } catch (const std::bad_alloc&) {
    ReportComError(ComError(E_OUTOFMEMORY), 72, kFile, "xd186_release() failed");
  }
}

void ResetEnvClientForTesting() {
  std::lock_guard lock(Holder().mutex);
  Holder().registry.Reset();
}
