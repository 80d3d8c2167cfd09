#pragma once
// How revmgr reaches the component: as a host does, through the registry. The project is put in
// force the way the design environment's start-up scripts do, through environment variables.
#include <filesystem>
#include <string>

#include "apps/revmgr/command_line.h"
#include "component/rev_manager_interface.h"
#include "platform/com/unknown.h"

namespace revmgr {

// --project, else _#INT#_PROJECT; a UsageError when neither names one.
std::string ProjectOf(const CommandLine& line);

// Sets _#INT#_PROJECT (and _#INT#_RVXPROJECT when unset) for the component.
void EnterProject(const std::string& project);

// The folder of the modules that came with this program.
std::filesystem::path ModulesFolder();

// A RevManager made through the registry; null with the reason in *why.
com::ComPtr<IRevManager> CreateRevManager(std::string* why);

// Message boxes go to standard error; Yes/No boxes are answered with yes or no.
void SendMessageBoxesToStandardError(bool answerYes);

}  // namespace revmgr
