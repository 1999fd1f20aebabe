#pragma once
// Report descriptors of the simulated interfaces.
//
// Keyboard, mouse and mouse pad expose interface 1 with four top-level collections:
//   1  keyboard (0x01/0x06, report 1) or mouse (0x01/0x02, report 1)
//   2  system control (0x01/0x80, report 2)
//   3  consumer control (0x000C/0x01, report 3): the notification collection
//   4  vendor (0xFF1C/0x92, report 4: 63 data bytes in and out): the command collection
// The headset exposes interface 3 with one consumer-control collection that holds the notification
// report 3, the command report 4 and the 17-byte light output report 0xFF.
//
// The consumer report carries two 16-bit array fields (logical range 0..0x0FFF over the usages
// 0..0x0FFF), so a decoded notification yields its code as the first usage of the first item.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zrv::sim {

// command_usage_page other than 0xFF1C gives an interface the host must not take for a command link.
std::vector<uint8_t> KeyboardInterfaceDescriptor(uint16_t command_usage_page = 0xFF1C);
std::vector<uint8_t> MouseInterfaceDescriptor();
std::vector<uint8_t> HeadsetInterfaceDescriptor();

// The notification report: {0x03, code low, code high, 0, 0}.
std::vector<uint8_t> NotificationReport(uint16_t code);

}  // namespace zrv::sim
