#pragma once
// Fakes of the RVX server: server, database, project, access control, command, parameters and
// parameter. Every call goes into one shared log, in order:
//
//   Server.Create  Server.Run  Server.FindDatabase(<variant>)  Server.OpenDatabase(<name>)
//   Database.Connect  Database.OpenProject(<name>)  Database.GetCurrentProject
//   Database.SetConnectText(<text>)  Database.Commit
//   Project.GetAccessControl  AccessControl.IsFunctionAllowed(<name>)
//   Command.Create  Command.Run  Command.SetProject(project|other|null)
//   Command.get_Parameters  Command.CreateParameter(<name>,<type>,<direction>,<variant>)
//   Parameters.Append(<name>|null)  Command.put_CommandText(<text>)  Command.Execute(<options>)
//   Parameters.get_Item(<variant>)  Parameter.get_Value(<name>)
//
// (<variant> as fakes::VariantText.) Any operation fails with Log().Fail("<entry name>", hr[,
// nth]), leaving error information ("Fake", "<operation> failed") that each fake offers through
// ISupportErrorInfo.
//
// Commands are scripted in creation order with ScriptCommand; an unscripted command executes with
// S_OK and leaves every output at its initial value. After a successful Execute, each scripted
// output replaces the value of the parameter at that position.
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/com/class_object.h"
#include "platform/com/variant.h"
#include "services/rvx.h"
#include "tests/fakes/fake_call_log.h"
#include "tests/fakes/fake_class_registration.h"
#include "tests/fakes/fake_com_object.h"

namespace fakes {

struct CommandScript {
  HRESULT execute = S_OK;
  std::map<std::int32_t, com::Variant> outputs;  // position -> value after Execute
};

// One parameter as the command got it.
struct ParameterRecord {
  std::string name;
  std::int32_t type = 0;
  std::int32_t direction = 0;
  com::Variant value;  // the initial value
  bool appended = false;
};

// What one command object saw, for checks of a whole call.
struct CommandRecord {
  std::string text;
  std::vector<ParameterRecord> parameters;  // in creation order
  bool executed = false;
};

class FakeRvxWorld;

class FakeRvxParameter : public FakeComObject<IRvxParameter, ISupportErrorInfo> {
 public:
  FakeRvxParameter(FakeCallLogPtr log, std::string name, com::Variant value)
      : log_(std::move(log)), name_(std::move(name)), value_(std::move(value)) {}
  const std::string& Name() const { return name_; }
  void SetValue(com::Variant value) { value_ = std::move(value); }

  HRESULT get_Value(VARIANT* value) override;
  HRESULT InterfaceSupportsErrorInfo(REFIID) override { return S_OK; }

 private:
  FakeCallLogPtr log_;
  std::string name_;
  com::Variant value_;
};

class FakeRvxParameters : public FakeComObject<IRvxParameters, ISupportErrorInfo> {
 public:
  FakeRvxParameters(FakeCallLogPtr log, CommandRecord* record)
      : log_(std::move(log)), record_(record) {}
  std::vector<com::ComPtr<FakeRvxParameter>>& Items() { return items_; }

  HRESULT get_Item(VARIANT index, IRvxParameter** parameter) override;
  HRESULT Append(IRvxParameter* parameter) override;
  HRESULT InterfaceSupportsErrorInfo(REFIID) override { return S_OK; }

 private:
  FakeCallLogPtr log_;
  CommandRecord* record_;
  std::vector<com::ComPtr<FakeRvxParameter>> items_;
};

class FakeRvxCommand : public FakeComObject<IRvxCommand, IRunnableObject, ISupportErrorInfo> {
 public:
  FakeRvxCommand(FakeRvxWorld* world, CommandScript script, CommandRecord* record);

  HRESULT SetProject(IRvxProject* project) override;
  HRESULT Execute(std::int32_t options) override;
  HRESULT put_CommandText(BSTR text) override;
  HRESULT get_Parameters(IRvxParameters** parameters) override;
  HRESULT CreateParameter(BSTR name, std::int32_t dataType, std::int32_t direction, VARIANT value,
                          IRvxParameter** parameter) override;
  HRESULT Run() override;
  BOOL IsRunning() override { return 1; }
  HRESULT InterfaceSupportsErrorInfo(REFIID) override { return S_OK; }

 private:
  FakeRvxWorld* world_;
  FakeCallLogPtr log_;
  CommandScript script_;
  CommandRecord* record_;
  com::ComPtr<FakeRvxParameters> parameters_;
};

class FakeRvxAccessControl : public FakeComObject<IRvxAccessControl, ISupportErrorInfo> {
 public:
  explicit FakeRvxAccessControl(FakeCallLogPtr log) : log_(std::move(log)) {}
  void Grant(const std::string& functionName) { granted_.insert(functionName); }
  void Revoke(const std::string& functionName) { granted_.erase(functionName); }

  HRESULT IsFunctionAllowed(BSTR functionName, std::int32_t* allowed) override;
  HRESULT InterfaceSupportsErrorInfo(REFIID) override { return S_OK; }

 private:
  FakeCallLogPtr log_;
  std::set<std::string> granted_;
};

class FakeRvxProject : public FakeComObject<IRvxProject, ISupportErrorInfo> {
 public:
  FakeRvxProject(FakeCallLogPtr log, com::ComPtr<FakeRvxAccessControl> accessControl)
      : log_(std::move(log)), accessControl_(std::move(accessControl)) {}
  // GetAccessControl hands out nothing (S_OK with null).
  void RemoveAccessControl() { accessControl_.Reset(); }

  HRESULT GetAccessControl(IRvxAccessControl** accessControl) override;
  HRESULT InterfaceSupportsErrorInfo(REFIID) override { return S_OK; }

 private:
  FakeCallLogPtr log_;
  com::ComPtr<FakeRvxAccessControl> accessControl_;
};

class FakeRvxDatabase : public FakeComObject<IRvxDatabase, ISupportErrorInfo> {
 public:
  FakeRvxDatabase(FakeCallLogPtr log, com::ComPtr<FakeRvxProject> project)
      : log_(std::move(log)), project_(std::move(project)) {}
  // Results of the two project operations: S_OK (with the project), S_FALSE (no project), or a
  // failure (set with Log().Fail).
  void SetCurrentProjectResult(HRESULT hr) { currentProjectResult_ = hr; }
  void SetOpenProjectResult(HRESULT hr) { openProjectResult_ = hr; }

  HRESULT Connect() override;
  HRESULT OpenProject(BSTR projectName, IRvxProject** project) override;
  HRESULT GetCurrentProject(IRvxProject** project) override;
  HRESULT SetConnectText(BSTR text) override;
  HRESULT Commit() override;
  HRESULT InterfaceSupportsErrorInfo(REFIID) override { return S_OK; }

 private:
  HRESULT HandOut(HRESULT result, IRvxProject** project);
  FakeCallLogPtr log_;
  com::ComPtr<FakeRvxProject> project_;
  HRESULT currentProjectResult_ = S_OK;
  HRESULT openProjectResult_ = S_OK;
};

class FakeRvxServer : public FakeComObject<IRvxServer, IRunnableObject, ISupportErrorInfo> {
 public:
  FakeRvxServer(FakeCallLogPtr log, FakeRvxWorld* world) : log_(std::move(log)), world_(world) {}

  HRESULT OpenDatabase(BSTR projectName, IRvxDatabase** database) override;
  HRESULT FindDatabase(VARIANT projectName, IRvxDatabase** database) override;
  HRESULT Run() override;
  BOOL IsRunning() override { return 1; }
  HRESULT InterfaceSupportsErrorInfo(REFIID) override { return S_OK; }

 private:
  FakeCallLogPtr log_;
  FakeRvxWorld* world_;
};

// The whole fake server: registers CLSID_RvxServer and CLSID_RvxCommand in this process.
class FakeRvxWorld {
 public:
  FakeRvxWorld();
  FakeCallLog& Log() { return *log_; }
  FakeCallLogPtr SharedLog() { return log_; }

  FakeRvxDatabase& Database() { return *database_.Get(); }
  com::ComPtr<FakeRvxDatabase> DatabasePtr() { return database_; }
  FakeRvxProject& Project() { return *project_.Get(); }
  com::ComPtr<FakeRvxProject> ProjectPtr() { return project_; }
  FakeRvxAccessControl& AccessControl() { return *accessControl_.Get(); }

  // FindDatabase finds the database already open (default) or not.
  void SetDatabaseOpen(bool open) { databaseOpen_ = open; }
  bool DatabaseOpen() const { return databaseOpen_; }

  void ScriptCommand(CommandScript script) { scripts_.push_back(std::move(script)); }
  // Every command object created so far, in creation order.
  const std::deque<CommandRecord>& Commands() const { return records_; }

  void FailServerCreation(HRESULT hr) { serverClass_.FailCreation(hr); }
  void FailCommandCreation(HRESULT hr) { commandClass_.FailCreation(hr); }
  int CommandCreations() const { return commandClass_.CreationRequests(); }
  int ServerCreations() const { return serverClass_.CreationRequests(); }

 private:
  com::ComPtr<IUnknown> MakeCommand();

  FakeCallLogPtr log_;
  com::ComPtr<FakeRvxAccessControl> accessControl_;
  com::ComPtr<FakeRvxProject> project_;
  com::ComPtr<FakeRvxDatabase> database_;
  bool databaseOpen_ = true;
  std::deque<CommandScript> scripts_;
  std::deque<CommandRecord> records_;  // deque: records stay put while commands point at them
  FakeClassRegistration serverClass_;
  FakeClassRegistration commandClass_;
};

}  // namespace fakes
