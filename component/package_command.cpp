#include "component/package_command.h"

#include "host/com_error.h"
#include "platform/com/class_object.h"

namespace component {

std::optional<com::Variant> ReadOutput(IRvxParameters* parameters, std::int32_t position) {
  if (!parameters) return std::nullopt;
  com::ComPtr<IRvxParameter> item;
  if (FAILED(parameters->get_Item(com::Variant(position).Get(), &item)) || !item) {
    return std::nullopt;
  }
  com::Variant value;
  if (FAILED(item->get_Value(value.Out()))) return std::nullopt;
  return value;
}

std::optional<std::int32_t> NumberOf(const com::Variant& value) {
  if (value.Type() == VT_EMPTY || value.Type() == VT_NULL) return std::nullopt;
  com::Variant number(value);
  if (FAILED(number.ChangeType(VT_I4))) return std::nullopt;
  return number.Get().lVal;
}

PackageOutcome RunPackageCall(const PackageCall& call, IRvxProject* project,
                              IRvxDatabase* database) {
  PackageOutcome outcome;
  com::ComPtr<IRvxCommand>& command = outcome.command;
  if (FAILED(com::CreateRunning<IRvxCommand>(CLSID_RvxCommand, &command)) || !command) {
    RaiseComErrorIn("creating the command object", E_POINTER);
  }
  command->SetProject(project);  // result not examined
  command->get_Parameters(&outcome.parameters);
  for (const PackageParameter& parameter : call.parameters) {
    const com::BStr name(parameter.name);
    com::ComPtr<IRvxParameter> created;
    command->CreateParameter(name.Get(), parameter.type, parameter.direction, parameter.value.Get(),
                             &created);
    // A missing collection cannot take the parameter: raised like a refused Append.
    if (!outcome.parameters) RaiseComErrorIn("Append", E_POINTER);
    const HRESULT hr = outcome.parameters->Append(created.Get());
    if (FAILED(hr)) RaiseComErrorIn("Append", hr, outcome.parameters.Get(), IRvxParameters::IID_);
  }
  const com::BStr text(call.text);
  command->put_CommandText(text.Get());
  if (FAILED(command->Execute(0))) return outcome;
  outcome.executed = true;
  if (auto result = ReadOutput(outcome.parameters.Get(), 0)) {
    outcome.resultRead = true;
    outcome.result = std::move(*result);
  }
  if (call.changing && outcome.resultRead) {
    if (!database) RaiseComErrorIn("Commit", E_POINTER);
    const HRESULT hr = database->Commit();
    if (FAILED(hr)) RaiseComErrorIn("Commit", hr, database, IRvxDatabase::IID_);
  }
  return outcome;
}

}  // namespace component
