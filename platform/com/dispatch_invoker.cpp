#include "platform/com/dispatch_invoker.h"

#include <mutex>
#include <vector>

namespace com {

namespace {

struct Registration {
  std::uint64_t token;
  IID iid;
  std::span<const MemberInvoker> invokers;
};

struct InvokerTable {
  std::mutex mutex;
  std::vector<Registration> registrations;
  std::uint64_t nextToken = 1;
};

InvokerTable& Table() {
  static InvokerTable table;
  return table;
}

}  // namespace

InvokerRegistration::InvokerRegistration(const IID& iid, std::span<const MemberInvoker> invokers) {
  InvokerTable& table = Table();
  std::lock_guard lock(table.mutex);
  token_ = table.nextToken++;
  table.registrations.push_back({token_, iid, invokers});
}

InvokerRegistration::~InvokerRegistration() {
  InvokerTable& table = Table();
  std::lock_guard lock(table.mutex);
  std::erase_if(table.registrations, [&](const Registration& r) { return r.token == token_; });
}

std::optional<MemberInvoker> FindInvoker(const IID& iid, MEMBERID id, INVOKEKIND kind) {
  InvokerTable& table = Table();
  std::lock_guard lock(table.mutex);
  for (auto it = table.registrations.rbegin(); it != table.registrations.rend(); ++it) {
    if (it->iid != iid) continue;
    for (const MemberInvoker& invoker : it->invokers) {
      if (invoker.id == id && invoker.kind == kind) return invoker;
    }
    return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace com
