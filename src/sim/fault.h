#pragma once
// Faults a simulated device can be asked to inject, and which frames they hit.
//
// A fault waits for the nth command frame (counted from the moment it is injected) that matches its
// command filter, then applies to that frame and, when times > 1, to the next matching ones. Several
// faults may be pending; a frame hit by more than one gets all of them (e.g. a late answer carrying
// a failure status).

#include <cstddef>
#include <cstdint>
#include <optional>

namespace zrv::sim {

enum class FaultKind : uint8_t {
  kNoAnswer,    // the frame is taken (and acted upon) but never answered
  kLateAnswer,  // the answer comes delay_ms late, from the model's timer thread
  kWrongEcho,   // wrong_echoes stray answers with a foreign command byte come first
  kStatus,      // the answer carries status (0xFF or 0xFE); the frame is not acted upon
  kRemove,      // the device unplugs itself after this frame (answered first unless told otherwise)
};

struct FrameMatch {
  std::optional<uint8_t> command;  // frames of this command only; any command frame when empty
  unsigned nth = 1;                // 1: the next matching frame
};

struct Fault {
  FaultKind kind = FaultKind::kNoAnswer;
  FrameMatch at;
  unsigned times = 1;        // matching frames hit from the nth on; 0: every one until cleared
  int delay_ms = 0;          // kLateAnswer
  int wrong_echoes = 1;      // kWrongEcho: 1 or 2 stray answers
  bool real_after = true;    // kWrongEcho: the real answer follows the strays
  uint8_t status = 0xFF;     // kStatus
  bool answer_first = true;  // kRemove: answer the frame, then unplug
};

// Stray answers of a wrong-echo fault: the real answer with byte 3 replaced by this command (the
// answer of a light frame, as another thread's exchange would leave it; kStrayCommandAlt when the
// request itself is a light frame) and the payload filled with kStrayMarker + the stray's number
// (1 or 2), so that a test can tell which answer the host took.
inline constexpr uint8_t kStrayCommand = 0x12;
inline constexpr uint8_t kStrayCommandAlt = 0x0B;
inline constexpr uint8_t kStrayMarker = 0xE0;

}  // namespace zrv::sim
