#pragma once
// Identifiers of the simulated devices: USB ids, interface numbers and report IDs (the device kinds
// are device::DeviceKind).
//
// Keyboard and mouse carry the ids of the real devices. The mouse pad and the headset have no ids in
// the device tables; the simulator gives them ids of its own, which the installation data names too.

#include <cstddef>
#include <cstdint>

namespace zrv::sim {

inline constexpr uint16_t kVendorId = 0x320F;
inline constexpr uint16_t kKeyboardProductId = 0x505B;
inline constexpr uint16_t kMouseProductId = 0x1000;  // also the mouse behind the wireless receiver
inline constexpr uint16_t kMousePadProductId = 0x5100;
inline constexpr uint16_t kHeadsetProductId = 0x5200;
inline constexpr uint16_t kFirmwareVersion = 0x0107;

// USB interface that carries the command link.
inline constexpr int kCommandInterface = 1;         // keyboard, mouse, mouse pad
inline constexpr int kHeadsetCommandInterface = 3;  // the headset's consumer collection

// Top-level collections of interface 1 (1-based, as the &col token of a path).
inline constexpr int kNotificationCollection = 3;
inline constexpr int kCommandCollection = 4;

// Report IDs.
inline constexpr uint8_t kCommandReportId = 0x04;       // 64-byte command frames, both directions
inline constexpr uint8_t kNotificationReportId = 0x03;  // consumer-control notifications
inline constexpr uint8_t kHeadsetLightReportId = 0xFF;  // 17-byte headset light reports
inline constexpr size_t kHeadsetLightReportSize = 17;

// Usage pages and usages of the two collections the host looks for.
inline constexpr uint16_t kCommandUsagePage = 0xFF1C;
inline constexpr uint16_t kCommandUsage = 0x92;
inline constexpr uint16_t kConsumerUsagePage = 0x000C;
inline constexpr uint16_t kConsumerUsage = 0x01;

// Notification codes sent on the consumer collection.
inline constexpr uint16_t kNotifySyncRequest = 0x0401;
inline constexpr uint16_t kNotifyProfileChanged = 0x0402;
inline constexpr uint16_t kNotifyAck = 0x0404;
inline constexpr uint16_t kNotifyKeyDown = 0x0500;  // + key slot
inline constexpr uint16_t kNotifyKeyUp = 0x0600;    // + key slot

}  // namespace zrv::sim
