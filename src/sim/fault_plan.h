#pragma once
// The pending faults of one model and the decision, frame by frame, of which ones apply.
// Not thread-safe by itself: the model calls it under its own lock.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "sim/fault.h"

namespace zrv::sim {

// What happens to one command frame.
struct FrameFate {
  bool answer = true;
  int delay_ms = 0;
  int wrong_echoes = 0;
  bool real_after_strays = true;
  bool status_override = false;
  uint8_t status = 0;
  bool remove = false;
  bool remove_after_answer = true;
};

class FaultPlan {
 public:
  void Add(const Fault& fault);
  void Clear();
  bool Empty() const { return pending_.empty(); }
  size_t PendingCount() const { return pending_.size(); }

  // Counts the frame against every pending fault and returns what the frame gets. Faults that have
  // hit all their frames are dropped.
  FrameFate Next(uint8_t command);

 private:
  struct Pending {
    Fault fault;
    unsigned seen = 0;  // matching frames counted so far
    unsigned hits = 0;  // frames the fault applied to
  };
  std::vector<Pending> pending_;
};

}  // namespace zrv::sim
