#include "component/rev_manager_sheet.h"

#include <atomic>

namespace component {

namespace {
std::atomic<RevManagerSheetRunner> g_runner{nullptr};
}

RevManagerSheetRunner SetRevManagerSheetRunner(RevManagerSheetRunner runner) {
  return g_runner.exchange(runner);
}

RevManagerSheetRunner CurrentRevManagerSheetRunner() {
  return g_runner.load();
}

}  // namespace component
