#include "apps/revmgr/component_session.h"

#include <stdlib.h>

#include <iostream>

#include "platform/com/class_object.h"
#include "platform/com/error_info.h"
#include "platform/com/utf.h"
#include "platform/os/message_box.h"

namespace revmgr {

namespace {

class StandardErrorBoxes : public os::MessageBoxFrontEnd {
 public:
  explicit StandardErrorBoxes(bool answerYes) : answerYes_(answerYes) {}
  os::MessageBoxAnswer Show(const os::MessageBoxRequest& request) override {
    std::cerr << request.caption << ": " << request.text << "\n";
    if (request.buttons == os::MessageBoxButtons::Ok) return os::MessageBoxAnswer::Ok;
    return answerYes_ ? os::MessageBoxAnswer::Yes : os::MessageBoxAnswer::No;
  }

 private:
  bool answerYes_;
};

}  // namespace

std::string ProjectOf(const CommandLine& line) {
  if (auto project = line.Value("project")) return *project;
  if (const char* project = std::getenv("_#INT#_PROJECT"); project && *project) return project;
  throw UsageError("no project: give --project NAME or set _#INT#_PROJECT");
}

void EnterProject(const std::string& project) {
  ::setenv("_#INT#_PROJECT", project.c_str(), 1);
  ::setenv("_#INT#_RVXPROJECT", "1", 0);
}

std::filesystem::path ModulesFolder() {
  std::error_code ec;
  const auto self = std::filesystem::canonical("/proc/self/exe", ec);
  return ec ? std::filesystem::path("lib") : self.parent_path().parent_path() / "lib";
}

com::ComPtr<IRevManager> CreateRevManager(std::string* why) {
  com::ComPtr<IRevManager> manager;
  const HRESULT hr = CoCreateInstance(CLSID_RevManager, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IRevManager, manager.ReleaseAndGetVoidAddress());
  if (SUCCEEDED(hr) && manager) return manager;
  com::ComPtr<IErrorInfo> info;
  com::BStr description;
  if (GetErrorInfo(0, &info) == S_OK && info) info->GetDescription(&description);
  char code[16];
  std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(hr));
  if (why) {
    *why = hr == REGDB_E_CLASSNOTREG
               ? std::string("the component is not registered (run: revmgr register)")
               : "the component could not be created (" + std::string(code) + ")" +
                     (description.Empty() ? "" : ": " + description.ToUtf8());
  }
  return nullptr;
}

void SendMessageBoxesToStandardError(bool answerYes) {
  os::SetMessageBoxFrontEnd(std::make_shared<StandardErrorBoxes>(answerYes));
}

}  // namespace revmgr
