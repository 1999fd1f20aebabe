#pragma once
// The mouse behind its wireless receiver (kind 6). The host sees the receiver, which carries the
// mouse's ids and interface, and reaches the mouse only while it is in range and awake.
//
// Probe (0xAA) is answered by the receiver itself: byte 8 = 0xFF, status ok while the mouse is
// reachable; byte 8 = 0x00, status ok while it is not. Every other command while unreachable is
// answered by the receiver with status 0xFF (nothing forwarded, nothing changed), so the host fails
// at once rather than after its long time-out; SetUnreachableAnswer(kNoAnswer) makes the receiver
// stay silent instead.

#include <atomic>
#include <memory>

#include "sim/mouse_model.h"

namespace zrv::sim {

class WirelessMouseModel : public MouseModel {
 public:
  enum class UnreachableAnswer { kFailureStatus, kNoAnswer };

  static std::shared_ptr<WirelessMouseModel> Create();

  void SetReachable(bool reachable) { reachable_.store(reachable); }
  bool Reachable() const { return reachable_.load(); }
  void SetUnreachableAnswer(UnreachableAnswer answer) { unreachable_answer_.store(answer); }

  WirelessMouseModel();

 protected:
  Gate GateCommand(uint8_t command) const override;
  uint8_t ProbeAnswer() const override;

 private:
  std::atomic<bool> reachable_{true};
  std::atomic<UnreachableAnswer> unreachable_answer_{UnreachableAnswer::kFailureStatus};
};

}  // namespace zrv::sim
