#pragma once
// A small firmware for the DeviceLink tests: answers every command frame from per-command memory
// areas and can be told to misbehave (no answer, late answer, stray replies, a bad status).

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "device/device_frame.h"
#include "device/test_devices.h"
#include "device/virtual_hid.h"

namespace zrv::device::testing {

class FakeFirmware : public VirtualHidDevice {
 public:
  static constexpr size_t kAreaSize = 0x10000;

  FakeFirmware() : worker_([this] { Deliver(); }) {}
  ~FakeFirmware() override {
    {
      std::lock_guard lock(mutex_);
      stop_ = true;
    }
    wake_.notify_all();
    worker_.join();
  }

  HidAttributes Attributes() const override { return {0x320F, 0x505B, 0x0100}; }
  int InterfaceNumber() const override { return 1; }
  std::vector<uint8_t> ReportDescriptor() const override { return TwoCollectionDescriptor(); }

  // Reads of command c answer from Area(c); writes of command c store into Area(c).
  void SetArea(uint8_t command, std::span<const uint8_t> bytes, size_t at = 0) {
    std::lock_guard lock(mutex_);
    auto& area = AreaLocked(command);
    std::memcpy(area.data() + at, bytes.data(), bytes.size());
  }
  std::vector<uint8_t> Area(uint8_t command, size_t at, size_t length) {
    std::lock_guard lock(mutex_);
    auto& area = AreaLocked(command);
    return {area.begin() + static_cast<long>(at), area.begin() + static_cast<long>(at + length)};
  }

  // Faults. Frame numbers count every command frame received, from 0.
  void AnswerNothing(bool on) { Set(silent_, on); }
  void AnswerAfter(std::chrono::milliseconds delay) { Set(delay_, delay); }
  // Before the answer to each of the next `frames` frames, `strays` replies echoing another command.
  void SendStrays(int strays, int frames = 1) {
    std::lock_guard lock(mutex_);
    strays_ = strays;
    stray_frames_ = frames;
  }
  void StatusOnFrame(size_t frame, uint8_t status) { Set(status_frames_[frame], status); }
  void SetReachable(bool on) { Set(reachable_, on); }

  std::vector<Frame> Received() {
    std::lock_guard lock(mutex_);
    return received_;
  }
  size_t ReceivedCount() {
    std::lock_guard lock(mutex_);
    return received_.size();
  }
  void ClearReceived() {
    std::lock_guard lock(mutex_);
    received_.clear();
  }

  void OnOutputReport(std::span<const uint8_t> report) override {
    if (report.size() != kFrameSize || report[0] != kFrameReportId) return;
    Frame frame;
    std::memcpy(frame.data(), report.data(), kFrameSize);
    std::vector<Frame> replies;
    std::chrono::milliseconds delay{0};
    {
      std::lock_guard lock(mutex_);
      const size_t number = frame_count_++;
      received_.push_back(frame);
      if (silent_) return;
      delay = delay_;
      if (stray_frames_ > 0) {
        --stray_frames_;
        for (int i = 0; i < strays_; ++i) {
          Frame stray{};
          stray[0] = kFrameReportId;
          stray[kFrameCommand] = static_cast<uint8_t>(frame[kFrameCommand] ^ 0x80);
          stray[kFramePayload] = static_cast<uint8_t>(0xE0 + i);  // tells the strays apart
          replies.push_back(stray);
        }
      }
      replies.push_back(AnswerLocked(frame, number));
    }
    if (delay.count() == 0) {
      for (const auto& reply : replies) SendInputReport(reply);
      return;
    }
    {
      std::lock_guard lock(mutex_);
      for (const auto& reply : replies) pending_.push_back({std::chrono::steady_clock::now() + delay, reply});
    }
    wake_.notify_all();
  }

 private:
  template <typename T, typename V>
  void Set(T& field, V value) {
    std::lock_guard lock(mutex_);
    field = value;
  }

  std::vector<uint8_t>& AreaLocked(uint8_t command) {
    auto& area = areas_[command];
    if (area.empty()) area.assign(kAreaSize, 0);
    return area;
  }

  Frame AnswerLocked(const Frame& request, size_t number) {
    Frame reply{};
    reply[0] = kFrameReportId;
    const uint8_t command = request[kFrameCommand];
    const size_t length = std::min<size_t>(request[kFrameLength], kFramePayloadSize);
    const size_t offset = FrameOffset(request);
    reply[kFrameCommand] = command;
    reply[kFrameLength] = request[kFrameLength];
    reply[kFrameOffsetLow] = request[kFrameOffsetLow];
    reply[kFrameOffsetHigh] = request[kFrameOffsetHigh];
    auto& area = AreaLocked(command);
    if (command == 0xAA) {
      reply[kFramePayload] = reachable_ ? 0xFF : 0x00;
    } else if (IsWrite(command)) {
      std::memcpy(area.data() + offset, request.data() + kFramePayload, length);
    } else {
      std::memcpy(reply.data() + kFramePayload, area.data() + offset, length);
    }
    if (auto it = status_frames_.find(number); it != status_frames_.end()) reply[kFrameStatus] = it->second;
    return reply;
  }

  static bool IsWrite(uint8_t command) {
    switch (command) {
      case 0x06:
      case 0x09:
      case 0x0B:
      case 0x12:
      case 0x15:
      case 0x17: return true;
      default: return false;
    }
  }

  // Sends the late answers when they are due.
  void Deliver() {
    std::unique_lock lock(mutex_);
    for (;;) {
      if (stop_) return;
      if (pending_.empty()) {
        wake_.wait(lock);
        continue;
      }
      const auto due = pending_.front().first;
      if (std::chrono::steady_clock::now() < due) {
        wake_.wait_until(lock, due);
        continue;
      }
      Frame reply = pending_.front().second;
      pending_.pop_front();
      lock.unlock();
      SendInputReport(reply);
      lock.lock();
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_;
  bool stop_ = false;
  std::map<uint8_t, std::vector<uint8_t>> areas_;
  std::vector<Frame> received_;
  size_t frame_count_ = 0;  // not reset by ClearReceived
  bool silent_ = false;
  bool reachable_ = true;
  std::chrono::milliseconds delay_{0};
  int strays_ = 0;
  int stray_frames_ = 0;
  std::map<size_t, uint8_t> status_frames_;
  std::deque<std::pair<std::chrono::steady_clock::time_point, Frame>> pending_;
  std::thread worker_;  // last: starts after every other member is ready
};

}  // namespace zrv::device::testing
