// revmgr: the object revision manager from the command line.
#include <cstring>
#include <exception>
#include <iostream>
#include <span>

#include "apps/revmgr/command_line.h"
#include "apps/revmgr/commands.h"

namespace {

using revmgr::Command;

constexpr char kProjectNote[] =
    "The project is --project NAME, else the environment variable _#INT#_PROJECT; the product\n"
    "home (registry and project list) is REVMGR_HOME, else $XDG_DATA_HOME/revmgr, else\n"
    "~/.local/share/revmgr.\n";

const Command kCommands[] = {
    {"register", "install the component and the servers it uses", "revmgr register",
     &revmgr::Register},
    {"unregister", "remove their registry entries", "revmgr unregister", &revmgr::Unregister},
    {"init", "create a project",
     "revmgr init PROJECT [--mode basic|extended] [--store PATH]\n"
     "  --mode   data-management mode of the project (default extended)\n"
     "  --store  SQLite file of the project (default: one in the product home)",
     &revmgr::Init},
    {"generate", "fill a project with generated revisions",
     "revmgr generate PROJECT --revisions N [--seed S]", &revmgr::Generate},
    {"grant", "grant a user a function of a project",
     "revmgr grant PROJECT USER FUNCTION   (revision management is mor.revisionmgmnt)",
     &revmgr::GrantFunction},
    {"list", "list revisions through the List revisions page",
     "revmgr list [--project P] [--type T] [--name PATTERN] [--after D] [--before D] [--json]\n"
     "  --type    All models (default), Equipments, Structure models, Cableway models,\n"
     "            Vent models, Pipe spools, Pipe models, Curved panels, Drawings, Plane panels\n"
     "  --name    object-name pattern with * and ?\n"
     "  --after, --before  creation dates, YYYY-MM-DD [HH:MM:SS]\n"
     "  --json    one JSON object per line instead of a table",
     &revmgr::List},
    {"count", "count the revisions of a revision's object", "revmgr count HANDLE [--project P]",
     &revmgr::Count},
    {"oldest", "show the oldest revision of a revision's object",
     "revmgr oldest HANDLE [--project P]", &revmgr::Oldest},
    {"rename", "give a revision (not the latest) a name and a remark",
     "revmgr rename HANDLE NAME [REMARK] [--project P]", &revmgr::Rename},
    {"delete", "delete a revision (not the latest)", "revmgr delete HANDLE [--project P]",
     &revmgr::Delete},
    {"purge", "delete old revisions of every listed object, keeping the newest N",
     "revmgr purge --keep N [--project P] [--type T] [--name PATTERN] [--after D] [--before D] "
     "--yes",
     &revmgr::Purge},
};

void PrintOverview(std::ostream& out) {
  out << "usage: revmgr COMMAND [ARGS] (revmgr COMMAND --help for more)\n\ncommands:\n";
  for (const Command& c : kCommands) {
    out << "  " << c.name << std::string(12 - std::strlen(c.name), ' ') << c.summary << "\n";
  }
  out << "\n" << kProjectNote;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> all(argv + 1, argv + argc);
  if (all.empty() || all[0] == "--help" || all[0] == "-h" || all[0] == "help") {
    PrintOverview(all.empty() ? std::cerr : std::cout);
    return all.empty() ? revmgr::kExitUsage : revmgr::kExitOk;
  }
  for (const Command& command : kCommands) {
    if (all[0] != command.name) continue;
    const revmgr::Args args(all.begin() + 1, all.end());
    for (const auto& arg : args) {
      if (arg == "--help" || arg == "-h") {
        std::cout << "usage: " << command.usage << "\n\n"
                  << command.summary << ".\n"
                  << kProjectNote;
        return revmgr::kExitOk;
      }
    }
    try {
      return command.run(args);
    } catch (const revmgr::UsageError& e) {
      std::cerr << "revmgr " << command.name << ": " << e.what() << "\nusage: " << command.usage
                << "\n";
      return revmgr::kExitUsage;
    } catch (const std::exception& e) {
      std::cerr << "revmgr " << command.name << ": " << e.what() << "\n";
      return revmgr::kExitFailed;
    }
  }
  std::cerr << "revmgr: unknown command '" << all[0] << "'\n";
  PrintOverview(std::cerr);
  return revmgr::kExitUsage;
}
