#include "device/device_link.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>

#include "device/device_frame.h"
#include "platform/debug_output.h"

namespace zrv::device {
namespace {

using Reply = std::array<uint8_t, kFrameSize>;

Frame StartFrame(LinkCommand command) {
  Frame frame{};
  frame[0] = kFrameReportId;
  frame[kFrameCommand] = static_cast<uint8_t>(command);
  return frame;
}

// The code of a reply that was read: its status byte decides.
int StatusResult(const Reply& reply) {
  if (reply[kFrameStatus] == kStatusFailed) return kLinkStatusFailed;
  if (reply[kFrameStatus] == kStatusRefused) return kLinkStatusRefused;
  return kLinkOk;
}

// A trace is the title and the 64 bytes as two lines, in one debug message so that the three lines
// stay together when several threads trace at once.
void TraceFrame(const char* title, std::span<const uint8_t> bytes) {
  if (!platform::DebugEnabled()) return;
  std::string text(title);
  text.push_back('\n');
  text += FormatFrameDump(bytes.first(std::min(bytes.size(), kFrameSize)));
  platform::DebugOut(text);
}

uint32_t Length32(size_t size) { return static_cast<uint32_t>(std::min<size_t>(size, UINT32_MAX)); }

}  // namespace

DeviceLink::DeviceLink() = default;

DeviceLink::~DeviceLink() {
  connected_.store(false);
  hid_.Close();
}

int DeviceLink::SetDataSize(uint32_t n) {
  if (n > kMaxDataSize) return 0;
  data_size_.store(static_cast<uint16_t>(n), std::memory_order_release);
  return 1;
}

int DeviceLink::SetChunkSize(uint8_t n) {
  if (n == 0 || n > kFramePayloadSize) return 0;
  chunk_size_.store(n, std::memory_order_release);
  return 1;
}

int DeviceLink::Transfer(std::span<const uint8_t> request, std::span<uint8_t> reply, uint32_t& bytes_read) {
  busy_.fetch_add(1, std::memory_order_acq_rel);
  bytes_read = 0;
  const int result = CanSend() ? Exchange(request, reply, bytes_read, true) : kLinkNothingDone;
  busy_.fetch_sub(1, std::memory_order_acq_rel);
  return result;
}

int DeviceLink::TransferLightFrame(std::span<const uint8_t> request, std::span<uint8_t> reply, uint32_t& bytes_read) {
  bytes_read = 0;
  return CanSend() ? Exchange(request, reply, bytes_read, false) : kLinkNothingDone;
}

int DeviceLink::Exchange(std::span<const uint8_t> request, std::span<uint8_t> reply, uint32_t& bytes_read,
                         bool command) {
  Frame frame{};
  std::copy_n(request.begin(), std::min(request.size(), kFrameSize), frame.begin());
  const int timeout = command ? TimeoutMs() : kTimeoutMs;
  if (command) TraceFrame("命令", frame);

  int result = kLinkNothingDone;
  {
    // Held from the write until the reply has been read: a frame of another thread written in
    // between would have its answer arrive first and be taken for ours (or ours for its).
    std::lock_guard io(io_lock_);
    // Every report of the node reaches this handle too, and it is read only while an answer is
    // awaited: notifications pile up between exchanges until the queue is full and drops the next
    // answer. Nothing queued before the write can be its answer (a late one of an earlier exchange,
    // maybe with the same command), so all of it goes.
    hid_.DiscardInput();
    uint32_t written = 0;
    if (hid_.WriteReport(Length32(frame.size()), &written, frame.data(), timeout) != 1) return kLinkWriteFailed;
    result = hid_.ReadReport(Length32(reply.size()), &bytes_read, reply.data(), timeout);
    // A late answer to an earlier exchange may still be queued ahead of ours: skip one such answer.
    // After the second read the reply is taken as it is.
    if (command && result == 1 && bytes_read > kFrameCommand && reply[kFrameCommand] != frame[kFrameCommand]) {
      result = hid_.ReadReport(Length32(reply.size()), &bytes_read, reply.data(), timeout);
    }
  }
  if (command) TraceFrame("返回", reply);
  return result == 1 ? kLinkOk : kLinkNothingDone;
}

int DeviceLink::SendFrame(LinkCommand command, uint8_t length, uint32_t offset, std::span<uint8_t, kFrameSize> reply) {
  Frame frame = StartFrame(command);
  frame[kFrameLength] = length;
  SetFrameOffset(frame, offset);
  SealFrame(frame);
  uint32_t got = 0;
  std::lock_guard lock(command_lock_);
  return Transfer(frame, reply, got);
}

int DeviceLink::SendSingle(LinkCommand command) {
  if (!CanSend()) return kLinkNothingDone;
  Reply reply{};
  const int result = SendFrame(command, 0, 0, reply);
  return result == kLinkOk ? StatusResult(reply) : result;
}

int DeviceLink::Chunked(LinkCommand command, uint32_t base, size_t length, const uint8_t* in, uint8_t* out,
                        uint8_t chunk, std::recursive_mutex* lock) {
  if (!CanSend()) return kLinkNothingDone;
  Frame frame = StartFrame(command);
  Reply reply{};
  for (size_t p = 0; p < length; p += chunk) {
    const size_t n = p + chunk < length ? chunk : length - p;
    frame[kFrameLength] = static_cast<uint8_t>(n);
    SetFrameOffset(frame, static_cast<uint32_t>(base + p));
    // The frame is reused: payload bytes past n keep what the previous chunk put there.
    if (in != nullptr) std::memcpy(frame.data() + kFramePayload, in + p, n);
    SealFrame(frame);
    uint32_t got = 0;
    int result;
    if (lock != nullptr) {
      std::lock_guard guard(*lock);
      result = Transfer(frame, reply, got);
    } else {
      result = Transfer(frame, reply, got);
    }
    if (result != kLinkOk) return result;
    if (const int status = StatusResult(reply); status != kLinkOk) return status;
    if (out != nullptr) std::memcpy(out + p, reply.data() + kFramePayload, n);
  }
  return kLinkOk;
}

int DeviceLink::Begin() { return SendSingle(LinkCommand::kBegin); }

int DeviceLink::End() {
  if (!CanSend()) return kLinkNothingDone;
  // Gives the firmware time to finish storing what the sequence wrote before it is closed.
  std::this_thread::sleep_for(std::chrono::milliseconds(kEndPauseMs));
  return SendSingle(LinkCommand::kEnd);
}

int DeviceLink::StartLightSync() { return SendSingle(LinkCommand::kStartLightSync); }

int DeviceLink::Probe() {
  if (!CanSend()) return kLinkNothingDone;
  Reply reply{};
  if (SendFrame(LinkCommand::kProbe, 0, 0, reply) != kLinkOk) return kLinkNothingDone;
  const bool reachable = reply[kFramePayload] == 0xFF && StatusResult(reply) == kLinkOk;
  return reachable ? kLinkOk : kLinkNothingDone;
}

int DeviceLink::ReadInfo(std::span<uint8_t, kInfoBlockSize> info) {
  return Chunked(LinkCommand::kReadInfo, 0, info.size(), nullptr, info.data(), ChunkSize(), &command_lock_);
}

int DeviceLink::ReadSettings(std::span<uint8_t> out, uint32_t offset) {
  return Chunked(LinkCommand::kReadSettings, offset, out.size(), nullptr, out.data(), ChunkSize(), &command_lock_);
}

int DeviceLink::WriteSettings(std::span<const uint8_t> data, uint32_t offset) {
  return Chunked(LinkCommand::kWriteSettings, offset, data.size(), data.data(), nullptr, ChunkSize(), &command_lock_);
}

int DeviceLink::ReadDefaultKeys(std::span<uint8_t> out) {
  const size_t size = DataSize();
  if (out.size() < size) return kLinkNothingDone;
  return Chunked(LinkCommand::kReadDefaultKeys, 0, size, nullptr, out.data(), ChunkSize(), &command_lock_);
}

int DeviceLink::WriteKeys(std::span<const uint8_t> table, int index) {
  if (index != 0) return kLinkBadTableIndex;
  const size_t size = DataSize();
  if (table.size() < size) return kLinkNothingDone;
  return Chunked(LinkCommand::kWriteKeys, static_cast<uint32_t>(index) * kKeyTableStride, size, table.data(), nullptr,
                 ChunkSize(), &command_lock_);
}

int DeviceLink::ReadKeyLedMap(std::span<uint8_t> out) {
  const size_t size = DataSize() / 3;
  if (out.size() < size) return kLinkNothingDone;
  return Chunked(LinkCommand::kReadKeyLedMap, 0, size, nullptr, out.data(), ChunkSize(), &command_lock_);
}

int DeviceLink::ReadCustomLight(std::span<uint8_t> out, uint32_t group) {
  return Chunked(LinkCommand::kReadCustomLight, group * kCustomLightGroupSize, out.size(), nullptr, out.data(),
                 ChunkSize(), &command_lock_);
}

int DeviceLink::WriteCustomLight(std::span<const uint8_t> data, uint32_t group) {
  return Chunked(LinkCommand::kWriteCustomLight, group * kCustomLightGroupSize, data.size(), data.data(), nullptr,
                 ChunkSize(), &light_lock_);
}

int DeviceLink::WriteMacros(std::span<const uint8_t> image) {
  return Chunked(LinkCommand::kWriteMacros, 0, image.size(), image.data(), nullptr, ChunkSize(), &command_lock_);
}

int DeviceLink::WriteShoot(std::span<const uint8_t> image) {
  // The firmware takes its shoot memory in frames of exactly 56 bytes, whatever the chunk size.
  return Chunked(LinkCommand::kWriteShoot, 0, image.size(), image.data(), nullptr,
                 static_cast<uint8_t>(kFramePayloadSize), nullptr);
}

int DeviceLink::ReadPower(std::span<uint8_t> out, uint32_t offset) {
  if (!CanSend() || out.size() > kFramePayloadSize) return kLinkNothingDone;
  Reply reply{};
  int result = SendFrame(LinkCommand::kReadPower, static_cast<uint8_t>(out.size()), offset, reply);
  if (result == kLinkOk) result = StatusResult(reply);
  if (result == kLinkOk) std::copy_n(reply.begin() + kFramePayload, out.size(), out.begin());
  return result;
}

int DeviceLink::SendLightFrame(std::span<const uint8_t> frame_data) {
  if (!CanSend()) return kLinkNothingDone;
  const uint8_t chunk = ChunkSize();
  Frame frame = StartFrame(LinkCommand::kSendLightFrame);
  Reply reply{};  // the status check of a dropped chunk sees the last reply received, zeros before any
  for (size_t p = 0; p < frame_data.size(); p += chunk) {
    const size_t n = p + chunk < frame_data.size() ? chunk : frame_data.size() - p;
    frame[kFrameLength] = static_cast<uint8_t>(n);
    SetFrameOffset(frame, static_cast<uint32_t>(p));
    std::memcpy(frame.data() + kFramePayload, frame_data.data() + p, n);
    SealFrame(frame);
    if (Busy()) {
      // A command is waiting for its answer: a colour frame now would only delay it.
      platform::DebugOut("放弃灯光数据");
    } else if (!Slow()) {
      uint32_t got = 0;
      std::lock_guard lock(light_lock_);
      const int result = TransferLightFrame(frame, reply, got);
      if (result != kLinkOk) return result;
    }
    if (const int status = StatusResult(reply); status != kLinkOk) return status;
  }
  return kLinkOk;
}

}  // namespace zrv::device
