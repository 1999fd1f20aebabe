#pragma once
// The command channel of one device: an HidInterface on the device's vendor collection
// (usage page 0xFF1C, usage 0x92), three locks and one operation per command.
//
// Every exchange is one 64-byte output report (the command frame, see device_frame.h) answered by
// one 64-byte input report. Data larger than one frame travels as a run of frames of at most 56
// payload bytes, each tagged with the 16-bit offset at which it belongs in the command's memory
// area. Operations return plain integers (LinkResult); nothing throws.
//
// Threads: commands come from the user-interface thread, from notification handling and from the
// lighting threads. Each frame takes the lock of its command (command lock, or light lock for
// WriteCustomLight and SendLightFrame, none for WriteShoot), then the I/O lock. The I/O lock is held
// from a frame's write until its reply has been read, so no other frame can slip in between and
// take that reply. Before each write the reports already queued on the handle are dropped: the
// node's other collections (notifications) fill the same queue between exchanges. A link opened or closed by discovery
// is opened under IoLock(); closing needs no lock (HidInterface::Close ends a waiting read at once, from any thread).
//
// Debug output: each Transfer writes "命令" with the request and "返回" with the reply, each title
// followed by the frame as two lines of 32 bytes, as one debug message so that the three lines of one
// trace stay together. Light frames are not traced; a dropped light-frame chunk writes "放弃灯光数据".

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <span>

#include "device/hid_interface.h"

namespace zrv::device {

// Result of every command operation.
enum LinkResult : int {
  kLinkOk = 1,
  kLinkNothingDone = 0,       // not connected or suspended, a read failed or timed out, probe failed
  kLinkWriteFailed = -1,      // the output report was not written within the time-out
  kLinkStatusFailed = -102,   // the device answered with status 0xFF
  kLinkStatusRefused = -103,  // the device answered with status 0xFE
  kLinkBadTableIndex = -201,  // WriteKeys with a table index other than 0; nothing sent
};

// Command ids (byte 3 of a frame).
enum class LinkCommand : uint8_t {
  kBegin = 0x01,
  kEnd = 0x02,
  kReadInfo = 0x03,
  kReadSettings = 0x05,
  kWriteSettings = 0x06,
  kReadDefaultKeys = 0x07,
  kWriteKeys = 0x09,
  kReadCustomLight = 0x0A,
  kWriteCustomLight = 0x0B,
  kSendLightFrame = 0x12,
  kWriteMacros = 0x15,
  kWriteShoot = 0x17,
  kReadPower = 0x1A,
  kReadKeyLedMap = 0x1B,
  kStartLightSync = 0x1C,
  kProbe = 0xAA,
};

class DeviceLink {
 public:
  static constexpr size_t kInfoBlockSize = 34;            // ReadInfo
  static constexpr uint16_t kMaxDataSize = 512;           // largest key table
  static constexpr uint8_t kDefaultChunkSize = 56;        // payload bytes per frame
  static constexpr uint32_t kKeyTableStride = 512;        // WriteKeys: offset = index * stride
  static constexpr uint32_t kCustomLightGroupSize = 378;  // Read/WriteCustomLight: offset = group * size
  static constexpr int kTimeoutMs = 1000;
  static constexpr int kSlowTimeoutMs = 5000;  // slow (wireless) link
  static constexpr int kEndPauseMs = 10;       // End waits this long before it sends

  // Data size 512, chunk size 56, every flag clear, interface closed.
  DeviceLink();
  ~DeviceLink();
  DeviceLink(const DeviceLink&) = delete;
  DeviceLink& operator=(const DeviceLink&) = delete;

  HidInterface& Hid() { return hid_; }
  const HidInterface& Hid() const { return hid_; }

  // The three locks. They behave as re-entrant critical sections: a thread that holds one may take
  // it again. Order: command or light lock first, then the I/O lock; never command and light
  // together.
  std::recursive_mutex& IoLock() { return io_lock_; }
  std::recursive_mutex& CommandLock() { return command_lock_; }
  std::recursive_mutex& LightLock() { return light_lock_; }

  // Flags; every one is safe to read and write from any thread.
  // Busy: a Transfer is running on this link (light frames are dropped meanwhile).
  bool Busy() const { return busy_.load(std::memory_order_acquire) != 0; }
  // Connected: set by the owner once the interface is open, cleared before it is closed. While clear
  // nothing is sent and every operation returns 0 at once.
  bool Connected() const { return connected_.load(std::memory_order_acquire); }
  void SetConnected(bool on) { connected_.store(on, std::memory_order_release); }
  // Suspended: while set nothing is sent, as if not connected.
  bool Suspended() const { return suspended_.load(std::memory_order_acquire); }
  void SetSuspended(bool on) { suspended_.store(on, std::memory_order_release); }
  // Pause: kept for the owner (synchronised lighting drives the device); the link never reads it.
  bool Paused() const { return pause_.load(std::memory_order_acquire); }
  void SetPaused(bool on) { pause_.store(on, std::memory_order_release); }
  // Slow: a link behind a wireless receiver; transfers wait 5000 ms and light frames are not sent.
  bool Slow() const { return slow_.load(std::memory_order_acquire); }
  void SetSlow(bool on) { slow_.store(on, std::memory_order_release); }

  // Bytes moved by ReadDefaultKeys and WriteKeys (ReadKeyLedMap moves a third of it).
  uint16_t DataSize() const { return data_size_.load(std::memory_order_acquire); }
  // Refuses n above 512 (returns 0, size unchanged); else stores n and returns 1.
  int SetDataSize(uint32_t n);

  // Payload bytes per frame of the chunked commands (WriteShoot always uses 56).
  uint8_t ChunkSize() const { return chunk_size_.load(std::memory_order_acquire); }
  // Accepts 1..56 (returns 1); anything else is refused (0) and the size stays.
  int SetChunkSize(uint8_t n);

  // One command exchange: the request (zero-filled or cut to 64 bytes) goes out as one output
  // report; one input report of reply.size() bytes comes back into reply. A reply whose command
  // byte differs from the request's is followed by one more read, whose reply is taken whatever it
  // holds. Traced on the debug output. Returns 1, 0 (not sent, or the read failed) or -1 (the
  // write failed); bytes_read receives the length of the reply taken.
  int Transfer(std::span<const uint8_t> request, std::span<uint8_t> reply, uint32_t& bytes_read);
  // The exchange of light frames: no busy flag, no traces, no second read, always 1000 ms.
  int TransferLightFrame(std::span<const uint8_t> request, std::span<uint8_t> reply, uint32_t& bytes_read);

  // Commands. Reads fill their output span; the sizes below are the bytes exchanged.
  int Begin();                                                        // 0x01
  int End();                                                          // 0x02, after a 10 ms pause
  int ReadInfo(std::span<uint8_t, kInfoBlockSize> info);              // 0x03, 34 bytes from offset 0
  int ReadSettings(std::span<uint8_t> out, uint32_t offset);          // 0x05, out.size() bytes
  int WriteSettings(std::span<const uint8_t> data, uint32_t offset);  // 0x06
  // 0x07: DataSize() bytes from offset 0; out must hold them (else 0, nothing sent).
  int ReadDefaultKeys(std::span<uint8_t> out);
  // 0x09: DataSize() bytes of table at offset index * 512. index other than 0: -201, nothing sent.
  // table must hold DataSize() bytes (else 0, nothing sent).
  int WriteKeys(std::span<const uint8_t> table, int index);
  int ReadCustomLight(std::span<uint8_t> out, uint32_t group);          // 0x0A, offset group * 378
  int WriteCustomLight(std::span<const uint8_t> data, uint32_t group);  // 0x0B, light lock
  // 0x12, light lock, offset 0. A chunk is dropped (and counts as sent) while a Transfer runs on
  // this link or when the link is slow.
  int SendLightFrame(std::span<const uint8_t> frame);
  int WriteMacros(std::span<const uint8_t> image);  // 0x15, offset 0
  int WriteShoot(std::span<const uint8_t> image);   // 0x17, chunks of 56, no lock
  // 0x1A: one frame asking for out.size() bytes (at most 56; more is refused with 0) at offset.
  int ReadPower(std::span<uint8_t> out, uint32_t offset = 0);
  // 0x1B: DataSize() / 3 bytes from offset 0; out must hold them (else 0, nothing sent).
  int ReadKeyLedMap(std::span<uint8_t> out);
  int StartLightSync();  // 0x1C
  // 0xAA: 1 only when the exchange succeeds, reply byte 8 is 0xFF and the status is not 0xFF/0xFE.
  int Probe();

 private:
  // One frame of length and offset with an empty payload, under the command lock.
  int SendFrame(LinkCommand command, uint8_t length, uint32_t offset, std::span<uint8_t, 64> reply);
  // A command of one empty frame; 1 or the failure code of the exchange or the reply status.
  int SendSingle(LinkCommand command);
  // Moves length bytes from base in chunks: writes from in, or reads into out. lock may be null.
  int Chunked(LinkCommand command, uint32_t base, size_t length, const uint8_t* in, uint8_t* out, uint8_t chunk,
              std::recursive_mutex* lock);
  // The write and the read(s) of Transfer (command) or TransferLightFrame.
  int Exchange(std::span<const uint8_t> request, std::span<uint8_t> reply, uint32_t& bytes_read, bool command);
  bool CanSend() const { return Connected() && !Suspended(); }
  int TimeoutMs() const { return Slow() ? kSlowTimeoutMs : kTimeoutMs; }

  std::atomic<uint16_t> data_size_{kMaxDataSize};
  std::atomic<int> busy_{0};  // Transfers running (several threads may run one each)
  std::atomic<bool> suspended_{false};
  std::atomic<bool> connected_{false};
  std::atomic<bool> pause_{false};
  HidInterface hid_;
  std::recursive_mutex io_lock_;
  std::recursive_mutex command_lock_;
  std::recursive_mutex light_lock_;
  std::atomic<bool> slow_{false};
  std::atomic<uint8_t> chunk_size_{kDefaultChunkSize};
};

}  // namespace zrv::device
