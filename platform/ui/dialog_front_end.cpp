#include "platform/ui/dialog_front_end.h"

#include <atomic>
#include <cstdio>
#include <mutex>

#include "platform/ui/headless_driver.h"

namespace ui {

namespace {

std::mutex g_mutex;
std::atomic<bool> g_controlContainer{false};

std::shared_ptr<DialogFrontEnd> MakeDefault() {
  auto driver = std::make_shared<HeadlessDriver>();
  driver->SetFailureHandler([](const std::string& failure) {
    std::fprintf(stderr, "modal sheet without a front end to run it: %s\n", failure.c_str());
  });
  return driver;
}

std::shared_ptr<DialogFrontEnd>& Slot() {
  static std::shared_ptr<DialogFrontEnd> frontEnd = MakeDefault();
  return frontEnd;
}

}  // namespace

std::shared_ptr<DialogFrontEnd> CurrentDialogFrontEnd() {
  std::lock_guard lock(g_mutex);
  return Slot();
}

std::shared_ptr<DialogFrontEnd> SetDialogFrontEnd(std::shared_ptr<DialogFrontEnd> frontEnd) {
  if (!frontEnd) frontEnd = MakeDefault();
  std::lock_guard lock(g_mutex);
  std::swap(Slot(), frontEnd);
  return frontEnd;
}

void EnableControlContainer() {
  g_controlContainer = true;
}

bool IsControlContainerEnabled() {
  return g_controlContainer;
}

}  // namespace ui
