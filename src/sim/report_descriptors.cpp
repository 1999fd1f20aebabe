#include "sim/report_descriptors.h"

#include <initializer_list>

#include "sim/sim_ids.h"

namespace zrv::sim {
namespace {

void Append(std::vector<uint8_t>& out, std::initializer_list<uint8_t> bytes) { out.insert(out.end(), bytes); }

// Collection 1 of a keyboard: report 1, modifier bits, a reserved byte and six key slots.
void KeyboardCollection(std::vector<uint8_t>& d) {
  Append(d, {0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x85, 0x01,              // Generic Desktop / Keyboard, report 1
             0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15, 0x00, 0x25, 0x01,  // modifiers
             0x75, 0x01, 0x95, 0x08, 0x81, 0x02,                          //   8 bits
             0x75, 0x08, 0x95, 0x01, 0x81, 0x01,                          // reserved byte
             0x19, 0x00, 0x2A, 0xFF, 0x00, 0x15, 0x00, 0x26, 0xFF, 0x00,  // key array
             0x75, 0x08, 0x95, 0x06, 0x81, 0x00,                          //   6 bytes
             0xC0});
}

// Collection 1 of a mouse: report 1, five buttons, 16-bit X and Y, wheel.
void MouseCollection(std::vector<uint8_t>& d) {
  Append(d, {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x85, 0x01,  // Generic Desktop / Mouse, report 1
             0x09, 0x01, 0xA1, 0x00,                          // pointer
             0x05, 0x09, 0x19, 0x01, 0x29, 0x05, 0x15, 0x00, 0x25, 0x01, 0x75, 0x01,
             0x95, 0x05, 0x81, 0x02, 0x75, 0x03, 0x95, 0x01, 0x81, 0x01,              // padding
             0x05, 0x01, 0x09, 0x30, 0x09, 0x31, 0x16, 0x01, 0x80, 0x26, 0xFF, 0x7F,  // X, Y
             0x75, 0x10, 0x95, 0x02, 0x81, 0x06,                                      //   relative
             0x09, 0x38, 0x15, 0x81, 0x25, 0x7F, 0x75, 0x08, 0x95, 0x01, 0x81, 0x06,  // wheel
             0xC0, 0xC0});
}

// Collection 2: system control (power, sleep, wake), report 2.
void SystemControlCollection(std::vector<uint8_t>& d) {
  Append(d, {0x05, 0x01, 0x09, 0x80, 0xA1, 0x01, 0x85, 0x02, 0x19, 0x81, 0x29, 0x83, 0x15, 0x00, 0x25,
             0x01, 0x75, 0x01, 0x95, 0x03, 0x81, 0x02, 0x75, 0x05, 0x95, 0x01, 0x81, 0x01, 0xC0});
}

// Report 3: two 16-bit array fields over the consumer usages 0..0x0FFF. Notifications put their code
// in the first field, so the first decoded usage is the code.
void NotificationReportItems(std::vector<uint8_t>& d) {
  Append(d, {0x85, kNotificationReportId, 0x15, 0x00, 0x26, 0xFF, 0x0F, 0x19, 0x00, 0x2A, 0xFF, 0x0F, 0x75, 0x10, 0x95,
             0x02, 0x81, 0x00});
}

// Report 4: 63 vendor bytes in and out (64 with the report ID).
void CommandReportItems(std::vector<uint8_t>& d) {
  Append(d, {0x85, kCommandReportId, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, 0x3F, 0x09, 0x01, 0x81, 0x02, 0x09,
             0x01, 0x91, 0x02});
}

void ConsumerCollection(std::vector<uint8_t>& d) {
  Append(d, {0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01});
  NotificationReportItems(d);
  Append(d, {0xC0});
}

void CommandCollection(std::vector<uint8_t>& d, uint16_t usage_page = kCommandUsagePage) {
  Append(d, {0x06, static_cast<uint8_t>(usage_page), static_cast<uint8_t>(usage_page >> 8), 0x09, 0x92, 0xA1, 0x01});
  CommandReportItems(d);
  Append(d, {0xC0});
}

}  // namespace

std::vector<uint8_t> KeyboardInterfaceDescriptor(uint16_t command_usage_page) {
  std::vector<uint8_t> d;
  KeyboardCollection(d);
  SystemControlCollection(d);
  ConsumerCollection(d);
  CommandCollection(d, command_usage_page);
  return d;
}

std::vector<uint8_t> MouseInterfaceDescriptor() {
  std::vector<uint8_t> d;
  MouseCollection(d);
  SystemControlCollection(d);
  ConsumerCollection(d);
  CommandCollection(d);
  return d;
}

std::vector<uint8_t> HeadsetInterfaceDescriptor() {
  std::vector<uint8_t> d;
  Append(d, {0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01});
  NotificationReportItems(d);
  Append(d, {0x06, 0x1C, 0xFF});  // the command and light reports are vendor data
  CommandReportItems(d);
  Append(d, {0x85, kHeadsetLightReportId, 0x95, static_cast<uint8_t>(kHeadsetLightReportSize - 1), 0x09, 0x02, 0x91,
             0x02, 0xC0});
  return d;
}

std::vector<uint8_t> NotificationReport(uint16_t code) {
  return {kNotificationReportId, static_cast<uint8_t>(code), static_cast<uint8_t>(code >> 8), 0x00, 0x00};
}

}  // namespace zrv::sim
