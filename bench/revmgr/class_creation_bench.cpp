// Creating an object by class id, as every member call of the revision manager does for its RVX
// command object:
// - the test server's class and the RVX command class installed in the registry (a product home
//   holding the product's real registration), created through CoCreateInstance;
// - against the same class objects registered in the process, created the same way.
// At the end the ratios are printed.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>

#include "platform/com/class_object.h"
#include "platform/com/module_loader.h"
#include "platform/com/registry.h"
#include "services/rvx.h"
#include "tests/com/registry_test_home.h"
#include "tests/com/registry_test_server/ping.h"

namespace {

// A product home with the product's modules and the test server registered, for the whole run.
class InstalledHome {
 public:
  InstalledHome() {
    std::istringstream modules(REVMGR_PRODUCT_MODULES);
    std::string module;
    while (std::getline(modules, module, ':')) Register(module);
    Register(COM_TEST_SERVER);
  }

 private:
  static void Register(const std::string& module) {
    std::string error;
    if (FAILED(com::CallModuleExport(module, "DllRegisterServer", &error))) {
      std::fprintf(stderr, "cannot register %s: %s\n", module.c_str(), error.c_str());
      std::exit(1);
    }
  }

  com_test::TemporaryHome home_;
};

InstalledHome& Home() {
  static InstalledHome home;
  return home;
}

void CreateLoop(benchmark::State& state, REFCLSID clsid) {
  Home();
  for (auto _ : state) {
    com::ComPtr<IUnknown> object;
    const HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IUnknown::IID_,
                                        object.ReleaseAndGetVoidAddress());
    if (FAILED(hr)) {
      state.SkipWithError("creation failed");
      break;
    }
    benchmark::DoNotOptimize(object.Get());
  }
}

// The class object taken from the installed module, registered in the process for the scope.
class InProcessRegistration {
 public:
  explicit InProcessRegistration(REFCLSID clsid) {
    Home();
    com::ComPtr<IUnknown> factory;
    if (SUCCEEDED(CoGetClassObject(clsid, CLSCTX_ALL, nullptr, IUnknown::IID_,
                                   factory.ReleaseAndGetVoidAddress()))) {
      CoRegisterClassObject(clsid, factory.Get(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                            &cookie_);
    }
  }
  ~InProcessRegistration() {
    if (cookie_) CoRevokeClassObject(cookie_);
  }
  InProcessRegistration(const InProcessRegistration&) = delete;
  InProcessRegistration& operator=(const InProcessRegistration&) = delete;

 private:
  std::uint32_t cookie_ = 0;
};

void BM_InstalledTestClass(benchmark::State& state) {
  CreateLoop(state, com_test::kPingClsid);
}
void BM_BaselineInProcessTestClass(benchmark::State& state) {
  InProcessRegistration registration(com_test::kPingClsid);
  CreateLoop(state, com_test::kPingClsid);
}
void BM_InstalledRvxCommand(benchmark::State& state) {
  CreateLoop(state, CLSID_RvxCommand);
}
void BM_BaselineInProcessRvxCommand(benchmark::State& state) {
  InProcessRegistration registration(CLSID_RvxCommand);
  CreateLoop(state, CLSID_RvxCommand);
}

BENCHMARK(BM_InstalledTestClass);
BENCHMARK(BM_BaselineInProcessTestClass);
BENCHMARK(BM_InstalledRvxCommand);
BENCHMARK(BM_BaselineInProcessRvxCommand);

// Collects the real times to print the ratios after the run.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) times_[run.benchmark_name()] = run.GetAdjustedRealTime();
  }
  void PrintRatios() const {
    auto ratio = [&](const char* label, const char* ours, const char* base) {
      auto a = times_.find(ours);
      auto b = times_.find(base);
      if (a == times_.end() || b == times_.end() || b->second <= 0) return;
      std::printf("%-40s %10.0f ns vs %8.0f ns  ratio %8.2f\n", label, a->second, b->second,
                  a->second / b->second);
    };
    std::printf("\nRatios (installed / registered in the process):\n");
    ratio("test server class", "BM_InstalledTestClass", "BM_BaselineInProcessTestClass");
    ratio("RVX command class", "BM_InstalledRvxCommand", "BM_BaselineInProcessRvxCommand");
  }

 private:
  std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}
