#include "host/function_names.h"
#include "host/module_wide_state.h"

#include <mutex>

namespace {

constexpr const char* kNames[] = {
    "assy.assemblyplanning",      // 1
    "assy.pditransfer",           // 2
    "assy.weldplanning",          // 3
    "basic.dboraclemigration",    // 4
    "basic.dbutilities",          // 5
    "basic.projectcopy",          // 6
    "basic.projectsetup",         // 7
    "basic.rvxadmin",             // 8
    "basic.rvxversionmgmnt",      // 9
    "cable.cabledelete",          // 10
    "cable.cablewaydelete",       // 11
    "cable.cmod",                 // 12
    "cable.defaults",             // 13
    "cable.makeready",            // 14
    "cable.pditransfer",          // 15
    "comp.compfromfile",          // 16
    "comp.create",                // 17
    "comp.delete",                // 18
    "comp.vncomp",                // 19
    "comp.update",                // 20
    "diag.diagram",               // 21
    "diag.diagramdelete",         // 22
    "dm.designmanager",           // 23
    "draft.ctrlpntsactivate",     // 24
    "draft.databankdelete",       // 25
    "draft.defaults",             // 26
    "draft.drafting",             // 27
    "draft.drwdelete",            // 28
    "draft.drwprint",             // 29
    "draft.formdelete",           // 30
    "draft.formsave",             // 31
    "draft.revisionmgmnt",        // 32
    "draft.subpictdelete",        // 33
    "draft.symboldelete",         // 34
    "draft.symbolsave",           // 35
    "equip.eqmaint",              // 36
    "equip.equipdelete",          // 37
    "equip.makeready",            // 38
    "equip.pditransfer",          // 39
    "hull.assemblynesting",       // 40
    "hull.basicdesign",           // 41
    "hull.chm",                   // 42
    "hull.chmdelete",             // 43
    "hull.inithull",              // 44
    "hull.pditransfer",           // 45
    "hull.phm",                   // 46
    "hull.phmdelete",             // 47
    "hull.platenesting",          // 48
    "hull.platenestingdelete",    // 49
    "hull.ppanparts",             // 50
    "hull.profilenesting",        // 51
    "hull.restplatedelete",       // 52
    "hull.rsodelete",             // 53
    "mor.revisionmgmnt",          // 54
    "outf.initoutfitting",        // 55
    "outf.modulecreate",          // 56
    "outf.moduledelete",          // 57
    "outf.systemcreate",          // 58
    "outf.systemdelete",          // 59
    "pipe.defaults",              // 60
    "pipe.disablespecsearch",     // 61
    "pipe.machinesetup",          // 62
    "pipe.makeready",             // 63
    "pipe.pditransfer",           // 64
    "pipe.pipedelete",            // 65
    "pipe.pipelinebrowser",       // 66
    "pipe.pmod",                  // 67
    "pipe.release",               // 68
    "pipe.spec",                  // 69
    "pipe.specdelete",            // 70
    "pipe.specsave",              // 71
    "pipe.split",                 // 72
    "pipe.tpcdelete",             // 73
    "pipesupp.defaults",          // 74
    "struct.pditransfer",         // 75
    "struct.smod",                // 76
    "struct.split",               // 77
    "struct.stdstructdelete",     // 78
    "struct.structdelete",        // 79
    "sistership.config",          // 80
    "hull.createdesignpanels",    // 81
    "hull.removedesignpanels",    // 82
    "basic.collisionmanagement",  // 83
    "outf.dr_fix",                // 84
};
static_assert(std::size(kNames) == 84);

// Filled once, never changed afterwards; the once-flag plays the table-needs-filling flag and
// makes two threads' first checks safe.
struct FilledTable {
  std::once_flag filled;
  FunctionNameTable table;
};

FilledTable& Table() {
  static FilledTable table;
  return table;
}

}  // namespace

void host_detail::TouchFunctionNameTable() {
  Table();
}

void BuildFunctionNameTable() {
  std::call_once(Table().filled, [] {
    for (std::int32_t code = 1; code <= 84; ++code)
      Table().table.emplace(code, BasString(kNames[code - 1]));
  });
}

const FunctionNameTable& FunctionNames() {
  return Table().table;
}

const char* FunctionNameOf(std::int32_t code) {
  auto it = Table().table.find(code);
  return it == Table().table.end() ? nullptr : it->second.Get();
}
