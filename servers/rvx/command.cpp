#include "servers/rvx/command.h"

#include <string>

#include "servers/rvx/current_user.h"
#include "servers/rvx/guarded_call.h"
#include "servers/rvx/package_call.h"
#include "servers/rvx/package_runner.h"
#include "servers/rvx/project.h"

namespace rvx {

HRESULT Command::FinalConstruct() {
  return com::Object<Parameters>::Create(&parameters_);
}

HRESULT Command::SetProject(IRvxProject* project) {
  project_ = project;
  return S_OK;
}

HRESULT Command::put_CommandText(BSTR text) {
  return GuardedCall(kSourceCommand, IRvxCommand::IID_, [&]() -> HRESULT {
    text_ = com::BStr(std::u16string_view(text ? text : u"", SysStringLen(text)));
    return S_OK;
  });
}

HRESULT Command::get_Parameters(IRvxParameters** parameters) {
  if (!parameters)
    return Fail(E_POINTER, kSourceCommand, u"No place for the parameters", IRvxCommand::IID_);
  IRvxParameters* collection = parameters_.Get();
  collection->AddRef();
  *parameters = collection;
  return S_OK;
}

HRESULT Command::CreateParameter(BSTR name, std::int32_t dataType, std::int32_t direction,
                                 VARIANT value, IRvxParameter** parameter) {
  return Parameter::Create(name, dataType, direction, value, parameter);
}

HRESULT Command::Execute(std::int32_t /*options*/) {
  if (!project_)
    return Fail(E_FAIL, kSourceCommand, u"The command has no project", IRvxCommand::IID_);
  // Only projects of this server carry a store to run against.
  auto* project = dynamic_cast<Project*>(project_.Get());
  if (!project) {
    return Fail(E_INVALIDARG, kSourceCommand, u"The project does not belong to this server",
                IRvxCommand::IID_);
  }
  const PackageBlock* block = FindPackageBlock(text_.View());
  if (!block) {
    return GuardedCall(kSourceCommand, IRvxCommand::IID_, [&]() -> HRESULT {
      return Fail(E_INVALIDARG, kSourceCommand,
                  u"Unknown command text (only the blocks of WDB_REVISION_PKG run here): " +
                      std::u16string(text_.View()),
                  IRvxCommand::IID_);
    });
  }
  return GuardedCall(kSourceCommand, IRvxCommand::IID_, [&]() -> HRESULT {
    const auto& parameters = parameters_->Items();
    std::string mismatch = CheckBinding(*block, parameters);
    if (!mismatch.empty())
      return FailUtf8(E_INVALIDARG, kSourceCommand, mismatch, IRvxCommand::IID_);
    std::string user = CurrentUserName();
    project->Session()->Run(
        [&](store::RevisionStore& s) { RunPackageBlock(*block, parameters, s, user); });
    return S_OK;
  });
}

HRESULT Command::InterfaceSupportsErrorInfo(REFIID iid) {
  return iid == IRvxCommand::IID_ ? S_OK : S_FALSE;
}

}  // namespace rvx
