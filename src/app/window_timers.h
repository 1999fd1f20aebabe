#pragma once
// The main window's own timers: their ids and delays. Device timers (1000-1005) belong to the
// device models (devices/model/device_timers.h) and run on the selector items and pages.

namespace zrv::app {

inline constexpr int kFitTimer = 1011;            // fits the window after windowinit
inline constexpr int kTrayMenuTimer = 1032;       // opens the tray menu after a right click
inline constexpr int kProfileSwitchTimer = 1055;  // switches to the profile chosen in the bar

inline constexpr int kFitDelayMs = 100;
inline constexpr int kTrayMenuDelayMs = 10;
// A quick series of choices switches once, to the last.
inline constexpr int kProfileSwitchDelayMs = 400;

}  // namespace zrv::app
