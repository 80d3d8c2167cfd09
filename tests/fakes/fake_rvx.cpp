#include "tests/fakes/fake_rvx.h"

#include "platform/com/utf.h"
#include "tests/fakes/variant_text.h"

namespace fakes {

namespace {
std::string Utf8(BSTR text) {
  return com::TryToUtf8(std::u16string_view(text ? text : u"", SysStringLen(text)))
      .value_or("<invalid UTF-16>");
}

bool SameObject(IUnknown* a, IUnknown* b) {
  if (!a || !b) return false;
  com::ComPtr<IUnknown> ia, ib;
  a->QueryInterface(IUnknown::IID_, ia.ReleaseAndGetVoidAddress());
  b->QueryInterface(IUnknown::IID_, ib.ReleaseAndGetVoidAddress());
  return ia == ib;
}
}  // namespace

HRESULT FakeRvxParameter::get_Value(VARIANT* value) {
  HRESULT hr = log_->Record("Parameter.get_Value", "Parameter.get_Value(" + name_ + ")");
  if (!value) return E_POINTER;
  VariantInit(value);
  if (FAILED(hr)) return hr;
  return VariantCopy(value, &value_.Get());
}

HRESULT FakeRvxParameters::get_Item(VARIANT index, IRvxParameter** parameter) {
  HRESULT hr =
      log_->Record("Parameters.get_Item", "Parameters.get_Item(" + VariantText(index) + ")");
  if (!parameter) return E_POINTER;
  *parameter = nullptr;
  if (FAILED(hr)) return hr;
  com::Variant position(index);
  if (FAILED(position.ChangeType(VT_I4))) return E_INVALIDARG;
  const std::int32_t i = position.Get().lVal;
  if (i < 0 || static_cast<std::size_t>(i) >= items_.size()) return E_INVALIDARG;
  *parameter = items_[i].Get();
  (*parameter)->AddRef();
  return S_OK;
}

HRESULT FakeRvxParameters::Append(IRvxParameter* parameter) {
  FakeRvxParameter* fake = static_cast<FakeRvxParameter*>(parameter);
  HRESULT hr =
      log_->Record("Parameters.Append",
                   "Parameters.Append(" + (fake ? fake->Name() : std::string("null")) + ")");
  if (FAILED(hr)) return hr;
  if (!fake) return E_POINTER;
  items_.push_back(com::ComPtr<FakeRvxParameter>(fake));
  for (ParameterRecord& record : record_->parameters) {
    if (record.name == fake->Name() && !record.appended) {
      record.appended = true;
      break;
    }
  }
  return S_OK;
}

FakeRvxCommand::FakeRvxCommand(FakeRvxWorld* world, CommandScript script, CommandRecord* record)
    : world_(world),
      log_(world->SharedLog()),
      script_(std::move(script)),
      record_(record),
      parameters_(MakeFake<FakeRvxParameters>(log_, record)) {}

HRESULT FakeRvxCommand::SetProject(IRvxProject* project) {
  const std::string which = !project                                                  ? "null"
                            : SameObject(project, world_->ProjectPtr()->GetUnknown()) ? "project"
                                                                                      : "other";
  HRESULT hr = log_->Record("Command.SetProject", "Command.SetProject(" + which + ")");
  if (FAILED(hr)) return hr;
  return S_OK;
}

HRESULT FakeRvxCommand::Execute(std::int32_t options) {
  HRESULT hr = log_->Record("Command.Execute", "Command.Execute(" + std::to_string(options) + ")");
  if (FAILED(hr)) return hr;
  if (FAILED(script_.execute)) return script_.execute;
  record_->executed = true;
  for (auto& [position, value] : script_.outputs) {
    if (position >= 0 && static_cast<std::size_t>(position) < parameters_->Items().size()) {
      parameters_->Items()[position]->SetValue(value);
    }
  }
  return script_.execute;
}

HRESULT FakeRvxCommand::put_CommandText(BSTR text) {
  const std::string utf8 = Utf8(text);
  HRESULT hr = log_->Record("Command.put_CommandText", "Command.put_CommandText(" + utf8 + ")");
  if (FAILED(hr)) return hr;
  record_->text = utf8;
  return S_OK;
}

HRESULT FakeRvxCommand::get_Parameters(IRvxParameters** parameters) {
  HRESULT hr = log_->Record("Command.get_Parameters", "Command.get_Parameters");
  if (!parameters) return E_POINTER;
  *parameters = nullptr;
  if (FAILED(hr)) return hr;
  *parameters = parameters_.Get();
  (*parameters)->AddRef();
  return S_OK;
}

HRESULT FakeRvxCommand::CreateParameter(BSTR name, std::int32_t dataType, std::int32_t direction,
                                        VARIANT value, IRvxParameter** parameter) {
  const std::string utf8 = Utf8(name);
  HRESULT hr = log_->Record("Command.CreateParameter",
                            "Command.CreateParameter(" + utf8 + "," + std::to_string(dataType) +
                                "," + std::to_string(direction) + "," + VariantText(value) + ")");
  if (!parameter) return E_POINTER;
  *parameter = nullptr;
  if (FAILED(hr)) return hr;
  record_->parameters.push_back({utf8, dataType, direction, com::Variant(value), false});
  auto created = MakeFake<FakeRvxParameter>(log_, utf8, com::Variant(value));
  *parameter = created.Detach();
  return S_OK;
}

HRESULT FakeRvxCommand::Run() {
  return log_->Record("Command.Run", "Command.Run");
}

HRESULT FakeRvxAccessControl::IsFunctionAllowed(BSTR functionName, std::int32_t* allowed) {
  const std::string name = Utf8(functionName);
  HRESULT hr = log_->Record("AccessControl.IsFunctionAllowed",
                            "AccessControl.IsFunctionAllowed(" + name + ")");
  if (!allowed) return E_POINTER;
  if (FAILED(hr)) return hr;
  *allowed = granted_.count(name) ? 1 : 0;
  return S_OK;
}

HRESULT FakeRvxProject::GetAccessControl(IRvxAccessControl** accessControl) {
  HRESULT hr = log_->Record("Project.GetAccessControl", "Project.GetAccessControl");
  if (!accessControl) return E_POINTER;
  *accessControl = nullptr;
  if (FAILED(hr)) return hr;
  if (accessControl_) {
    *accessControl = accessControl_.Get();
    (*accessControl)->AddRef();
  }
  return S_OK;
}

HRESULT FakeRvxDatabase::HandOut(HRESULT result, IRvxProject** project) {
  if (FAILED(result) || result == S_FALSE) return result;
  if (project_) {
    *project = project_.Get();
    (*project)->AddRef();
  }
  return result;
}

HRESULT FakeRvxDatabase::Connect() {
  return log_->Record("Database.Connect", "Database.Connect");
}

HRESULT FakeRvxDatabase::OpenProject(BSTR projectName, IRvxProject** project) {
  HRESULT hr =
      log_->Record("Database.OpenProject", "Database.OpenProject(" + Utf8(projectName) + ")");
  if (!project) return E_POINTER;
  *project = nullptr;
  if (FAILED(hr)) return hr;
  return HandOut(openProjectResult_, project);
}

HRESULT FakeRvxDatabase::GetCurrentProject(IRvxProject** project) {
  HRESULT hr = log_->Record("Database.GetCurrentProject", "Database.GetCurrentProject");
  if (!project) return E_POINTER;
  *project = nullptr;
  if (FAILED(hr)) return hr;
  return HandOut(currentProjectResult_, project);
}

HRESULT FakeRvxDatabase::SetConnectText(BSTR text) {
  return log_->Record("Database.SetConnectText", "Database.SetConnectText(" + Utf8(text) + ")");
}

HRESULT FakeRvxDatabase::Commit() {
  return log_->Record("Database.Commit", "Database.Commit");
}

HRESULT FakeRvxServer::OpenDatabase(BSTR projectName, IRvxDatabase** database) {
  HRESULT hr =
      log_->Record("Server.OpenDatabase", "Server.OpenDatabase(" + Utf8(projectName) + ")");
  if (!database) return E_POINTER;
  *database = nullptr;
  if (FAILED(hr)) return hr;
  *database = world_->DatabasePtr().Detach();
  return S_OK;
}

HRESULT FakeRvxServer::FindDatabase(VARIANT projectName, IRvxDatabase** database) {
  HRESULT hr =
      log_->Record("Server.FindDatabase", "Server.FindDatabase(" + VariantText(projectName) + ")");
  if (!database) return E_POINTER;
  *database = nullptr;
  if (FAILED(hr)) return hr;
  if (world_->DatabaseOpen()) *database = world_->DatabasePtr().Detach();
  return S_OK;
}

HRESULT FakeRvxServer::Run() {
  return log_->Record("Server.Run", "Server.Run");
}

FakeRvxWorld::FakeRvxWorld()
    : log_(std::make_shared<FakeCallLog>()),
      accessControl_(MakeFake<FakeRvxAccessControl>(log_)),
      project_(MakeFake<FakeRvxProject>(log_, accessControl_)),
      database_(MakeFake<FakeRvxDatabase>(log_, project_)),
      serverClass_(CLSID_RvxServer,
                   [this] {
                     log_->Record("Server.Create", "Server.Create");
                     auto server = MakeFake<FakeRvxServer>(log_, this);
                     return com::ComPtr<IUnknown>(server->GetUnknown());
                   }),
      commandClass_(CLSID_RvxCommand, [this] { return MakeCommand(); }) {}

com::ComPtr<IUnknown> FakeRvxWorld::MakeCommand() {
  log_->Record("Command.Create", "Command.Create");
  CommandScript script;
  if (!scripts_.empty()) {
    script = std::move(scripts_.front());
    scripts_.pop_front();
  }
  records_.emplace_back();
  auto command = MakeFake<FakeRvxCommand>(this, std::move(script), &records_.back());
  return com::ComPtr<IUnknown>(command->GetUnknown());
}

}  // namespace fakes
