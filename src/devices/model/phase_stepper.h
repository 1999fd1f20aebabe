#pragma once
// The phase stepper of the lighting effects: moves a phase by one toward a limit.
//
// Counting up, the phase wraps to 0 when it reaches the limit; counting down, it stops at 0 and
// then wraps to limit - 1. A phase left outside the range by another effect (a 192-step rainbow
// phase handed to a 128-step breathing effect) re-enters at the wrap point, so no table is read
// past its end.

#include <cstdint>

namespace zrv::devices {

// One step; true when the phase has arrived at 0, which happens once per full cycle in either
// direction (effects advance their colour index there).
inline bool StepPhase(uint8_t& phase, unsigned limit, bool up) {
  if (limit == 0) {
    phase = 0;
    return true;
  }
  if (up) {
    const unsigned next = unsigned{phase} + 1;
    phase = next >= limit ? 0 : static_cast<uint8_t>(next);
  } else if (phase == 0 || phase >= limit) {
    phase = static_cast<uint8_t>(limit - 1);
  } else {
    --phase;
  }
  return phase == 0;
}

}  // namespace zrv::devices
