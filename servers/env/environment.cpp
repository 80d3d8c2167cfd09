#include "servers/env/environment.h"

#include <cstdlib>
#include <memory>
#include <new>
#include <optional>
#include <string>

#include "platform/com/bstr.h"
#include "platform/com/class_object.h"
#include "platform/com/utf.h"
#include "platform/com/variant.h"
#include "servers/env/error.h"
#include "servers/store/revision_store.h"
#include "services/rvx.h"

namespace env {
namespace {

// A set, non-empty variable of the process environment.
std::optional<std::string> ReadVariable(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  if (!value || !*value) return std::nullopt;
  return std::string(value);
}

std::u16string Utf16(const std::string& text) {
  if (auto converted = com::TryToUtf16(text)) return std::move(*converted);
  return u"(undecodable text)";
}

HRESULT FailUtf8(HRESULT hr, const std::string& description, const GUID& iid) {
  return Fail(hr, kSourceEnvironment, Utf16(description), iid);
}

}  // namespace

HRESULT Environment::GetVariable(BSTR name, BSTR* value) {
  if (!value)
    return Fail(E_POINTER, kSourceEnvironment, u"No place for the value", IEnvVariables::IID_);
  *value = nullptr;
  if (SysStringLen(name) == 0) {
    return Fail(E_INVALIDARG, kSourceEnvironment, u"No variable name given", IEnvVariables::IID_);
  }
  try {
    std::optional<std::string> utf8Name = com::TryToUtf8({name, SysStringLen(name)});
    if (!utf8Name || utf8Name->find('\0') != std::string::npos) {
      return Fail(E_INVALIDARG, kSourceEnvironment, u"The variable name is not a valid text",
                  IEnvVariables::IID_);
    }
    const char* found = std::getenv(utf8Name->c_str());
    if (!found) return S_FALSE;
    std::optional<std::u16string> wide = com::TryToUtf16(found);
    if (!wide) {
      return FailUtf8(E_FAIL, "The value of " + *utf8Name + " is not valid UTF-8",
                      IEnvVariables::IID_);
    }
    *value = SysAllocStringLen(wide->data(), static_cast<std::uint32_t>(wide->size()));
    if (!*value)
      return Fail(E_OUTOFMEMORY, kSourceEnvironment, u"Out of memory", IEnvVariables::IID_);
    return S_OK;
  } catch (const std::bad_alloc&) {
    return Fail(E_OUTOFMEMORY, kSourceEnvironment, u"Out of memory", IEnvVariables::IID_);
  }
}

HRESULT Environment::GetModeText(std::int32_t selector, BSTR* text) {
  if (!text)
    return Fail(E_POINTER, kSourceEnvironment, u"No place for the text", IEnvProductMode::IID_);
  *text = nullptr;
  if (selector != 1) {
    return Fail(E_INVALIDARG, kSourceEnvironment, u"Only selector 1 (product mode) is known",
                IEnvProductMode::IID_);
  }
  try {
    std::optional<std::string> project = ReadVariable(kProjectVariable);
    if (!project) return S_FALSE;
    std::string error;
    std::unique_ptr<store::RevisionStore> opened = store::OpenProjectStore(*project, &error);
    if (!opened) {
      return FailUtf8(E_FAIL,
                      "The store of project \"" + *project + "\" cannot be opened: " + error,
                      IEnvProductMode::IID_);
    }
    std::optional<store::ProjectInfo> info = opened->FindProject(*project);
    if (!info) return S_FALSE;
    std::u16string mode = Utf16(info->productMode);
    *text = SysAllocStringLen(mode.data(), static_cast<std::uint32_t>(mode.size()));
    if (!*text)
      return Fail(E_OUTOFMEMORY, kSourceEnvironment, u"Out of memory", IEnvProductMode::IID_);
    return S_OK;
  } catch (const store::StoreError& error) {
    return FailUtf8(E_FAIL, error.what(), IEnvProductMode::IID_);
  } catch (const std::bad_alloc&) {
    return Fail(E_OUTOFMEMORY, kSourceEnvironment, u"Out of memory", IEnvProductMode::IID_);
  }
}

HRESULT Environment::GetDatabase(IUnknown** database) {
  if (!database) {
    return Fail(E_POINTER, kSourceEnvironment, u"No place for the database",
                IEnvDatabaseLink::IID_);
  }
  *database = nullptr;
  try {
    std::optional<std::string> project = ReadVariable(kProjectVariable);
    if (!project) {
      return FailUtf8(E_FAIL,
                      std::string("No current project (") + kProjectVariable + " is not set)",
                      IEnvDatabaseLink::IID_);
    }
    com::ComPtr<IRvxServer> server;
    HRESULT hr = com::CreateRunning(CLSID_RvxServer, &server);
    if (FAILED(hr)) {
      return Fail(hr, kSourceEnvironment, u"The RVX server cannot be created",
                  IEnvDatabaseLink::IID_);
    }
    std::u16string name = com::ToUtf16(*project);
    com::ComPtr<IRvxDatabase> found;
    com::Variant nameVariant{std::u16string_view(name)};
    // One database per project and process: later callers share the open one (and its
    // transaction) instead of competing with it for the store.
    hr = server->FindDatabase(nameVariant.Get(), &found);
    if (FAILED(hr)) return hr;  // the server's error information stays
    if (!found) {
      com::BStr bstrName(name);
      hr = server->OpenDatabase(bstrName.Get(), &found);
      if (FAILED(hr)) return hr;
      if (!found) {
        return Fail(E_FAIL, kSourceEnvironment, u"The RVX server gave no database",
                    IEnvDatabaseLink::IID_);
      }
      hr = found->Connect();
      if (FAILED(hr)) return hr;
    }
    return found->QueryInterface(IUnknown::IID_, reinterpret_cast<void**>(database));
  } catch (const std::bad_alloc&) {
    return Fail(E_OUTOFMEMORY, kSourceEnvironment, u"Out of memory", IEnvDatabaseLink::IID_);
  } catch (const com::TextConversionError&) {
    return Fail(E_FAIL, kSourceEnvironment, u"The project name is not valid UTF-8",
                IEnvDatabaseLink::IID_);
  }
}

HRESULT Environment::InterfaceSupportsErrorInfo(REFIID iid) {
  return iid == IEnvVariables::IID_ || iid == IEnvProductMode::IID_ || iid == IEnvDatabaseLink::IID_
             ? S_OK
             : S_FALSE;
}

}  // namespace env
