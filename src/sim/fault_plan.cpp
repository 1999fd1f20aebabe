#include "sim/fault_plan.h"

#include <algorithm>

namespace zrv::sim {

void FaultPlan::Add(const Fault& fault) {
  Pending pending{fault};
  if (pending.fault.at.nth == 0) pending.fault.at.nth = 1;
  pending_.push_back(pending);
}

void FaultPlan::Clear() { pending_.clear(); }

FrameFate FaultPlan::Next(uint8_t command) {
  FrameFate fate;
  for (auto& pending : pending_) {
    const Fault& fault = pending.fault;
    if (fault.at.command && *fault.at.command != command) continue;
    ++pending.seen;
    if (pending.seen < fault.at.nth) continue;
    ++pending.hits;
    switch (fault.kind) {
      case FaultKind::kNoAnswer: fate.answer = false; break;
      case FaultKind::kLateAnswer: fate.delay_ms = std::max(fate.delay_ms, fault.delay_ms); break;
      case FaultKind::kWrongEcho:
        fate.wrong_echoes = std::clamp(fault.wrong_echoes, 1, 2);
        fate.real_after_strays = fault.real_after;
        break;
      case FaultKind::kStatus:
        fate.status_override = true;
        fate.status = fault.status;
        break;
      case FaultKind::kRemove:
        fate.remove = true;
        fate.remove_after_answer = fault.answer_first;
        break;
    }
  }
  std::erase_if(pending_, [](const Pending& p) { return p.fault.times != 0 && p.hits >= p.fault.times; });
  return fate;
}

}  // namespace zrv::sim
