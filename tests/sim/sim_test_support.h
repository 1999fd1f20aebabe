#pragma once
// A bare host side for the simulator tests: HidInterface on a model's command collection, frames in
// and out, without the command layer on top.

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "device/hid_backend.h"
#include "device/hid_interface.h"
#include "device/virtual_hid.h"
#include "sim/command_frame.h"
#include "sim/firmware_model.h"

namespace zrv::sim::testing {

// Every test sees only the virtual devices it plugs itself, and leaves none behind.
class SimTest : public ::testing::Test {
 protected:
  SimTest() : backends_({device::VirtualHidRegistry::Instance().Backend()}) {}
  ~SimTest() override { device::VirtualHidRegistry::Instance().UnplugAll(); }

 private:
  device::ScopedHidBackends backends_;
};

class Host {
 public:
  explicit Host(const std::string& path) { opened_ = hid_.Open(path, true, true, true, false) == 1; }
  bool Opened() const { return opened_; }
  device::HidInterface& Hid() { return hid_; }

  bool Write(const Frame& frame, int timeout_ms = 1000) {
    return hid_.WriteReport(kFrameSize, nullptr, frame.data(), timeout_ms) == 1;
  }
  std::optional<Frame> Read(int timeout_ms = 1000) {
    Frame frame{};
    uint32_t got = 0;
    if (hid_.ReadReport(kFrameSize, &got, frame.data(), timeout_ms) != 1) return std::nullopt;
    return frame;
  }
  // One request, one answer.
  std::optional<Frame> Exchange(const Frame& request, int timeout_ms = 1000) {
    if (!Write(request, timeout_ms)) return std::nullopt;
    return Read(timeout_ms);
  }
  // A chunked read of n bytes from offset, as the host's command layer does it.
  std::vector<uint8_t> ReadArea(uint8_t command, size_t n, uint16_t offset = 0) {
    std::vector<uint8_t> out;
    for (size_t p = 0; p < n; p += kMaxPayload) {
      auto length = static_cast<uint8_t>(std::min(kMaxPayload, n - p));
      auto reply = Exchange(MakeRequest(command, length, static_cast<uint16_t>(offset + p)));
      if (!reply || (*reply)[kFrameStatus] == kStatusFailure) return {};
      out.insert(out.end(), reply->begin() + kPayloadOffset, reply->begin() + kPayloadOffset + length);
    }
    return out;
  }
  // A chunked write; false at the first frame not answered with success.
  bool WriteArea(uint8_t command, const std::vector<uint8_t>& data, uint16_t offset = 0) {
    for (size_t p = 0; p < data.size(); p += kMaxPayload) {
      size_t length = std::min(kMaxPayload, data.size() - p);
      auto reply = Exchange(MakeRequest(command, static_cast<uint8_t>(length), static_cast<uint16_t>(offset + p),
                                        std::span<const uint8_t>(data).subspan(p, length)));
      if (!reply || (*reply)[kFrameCommand] != command || (*reply)[kFrameStatus] == kStatusFailure ||
          (*reply)[kFrameStatus] == kStatusFailureAlt) {
        return false;
      }
    }
    return true;
  }

 private:
  device::HidInterface hid_;
  bool opened_ = false;
};

}  // namespace zrv::sim::testing
