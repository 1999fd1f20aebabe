#pragma once
// Diagnostic output of the whole program: one call writes one line.
//
// With ZRV31_DEBUG=1 in the environment the lines go to standard error; otherwise they are dropped.
// Tests install a capture to see the lines regardless of the environment.

#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace zrv::platform {

// Writes one line (a trailing newline is added; embedded newlines are kept as they are, so a
// multi-line message such as a frame dump still arrives in one piece).
void DebugOut(std::string_view line);

// printf-style convenience for DebugOut.
void DebugPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

// True when lines reach someone (environment switch or an installed capture); callers with
// expensive formatting may skip it otherwise.
bool DebugEnabled();

// Collects every debug line written while it lives, from any thread. Captures nest: the newest
// one receives the lines.
class DebugCapture {
 public:
  DebugCapture();
  ~DebugCapture();
  DebugCapture(const DebugCapture&) = delete;
  DebugCapture& operator=(const DebugCapture&) = delete;

  std::vector<std::string> Lines() const;
  bool Contains(std::string_view text) const;  // some line contains text
  void Clear();

 private:
  friend void DebugOut(std::string_view line);
  void Add(std::string_view line);

  mutable std::mutex mutex_;
  std::vector<std::string> lines_;
  DebugCapture* previous_ = nullptr;
};

}  // namespace zrv::platform
