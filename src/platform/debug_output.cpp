#include "platform/debug_output.h"

#include <unistd.h>

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace zrv::platform {
namespace {

bool EnvironmentEnabled() {
  static const bool enabled = [] {
    const char* value = std::getenv("ZRV31_DEBUG");
    return value != nullptr && std::strcmp(value, "1") == 0;
  }();
  return enabled;
}

std::mutex g_capture_mutex;
DebugCapture* g_capture = nullptr;  // guarded by g_capture_mutex
std::atomic<bool> g_capturing{false};

}  // namespace

bool DebugEnabled() { return EnvironmentEnabled() || g_capturing.load(std::memory_order_relaxed); }

void DebugOut(std::string_view line) {
  if (g_capturing.load(std::memory_order_acquire)) {
    std::lock_guard lock(g_capture_mutex);
    if (g_capture != nullptr) g_capture->Add(line);
  }
  if (!EnvironmentEnabled()) return;
  // One write() per line so that lines of several threads never interleave.
  std::string text(line);
  text.push_back('\n');
  const char* data = text.data();
  size_t left = text.size();
  while (left > 0) {
    ssize_t n = ::write(STDERR_FILENO, data, left);
    if (n <= 0) break;
    data += n;
    left -= static_cast<size_t>(n);
  }
}

void DebugPrintf(const char* format, ...) {
  if (!DebugEnabled()) return;
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  int size = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (size >= 0) {
    std::string text(static_cast<size_t>(size) + 1, '\0');
    std::vsnprintf(text.data(), text.size(), format, args);
    text.resize(static_cast<size_t>(size));
    DebugOut(text);
  }
  va_end(args);
}

DebugCapture::DebugCapture() {
  std::lock_guard lock(g_capture_mutex);
  previous_ = g_capture;
  g_capture = this;
  g_capturing.store(true, std::memory_order_release);
}

DebugCapture::~DebugCapture() {
  std::lock_guard lock(g_capture_mutex);
  // Captures are scoped, so the newest one is always the one that ends.
  g_capture = previous_;
  g_capturing.store(g_capture != nullptr, std::memory_order_release);
}

void DebugCapture::Add(std::string_view line) {
  std::lock_guard lock(mutex_);
  lines_.emplace_back(line);
}

std::vector<std::string> DebugCapture::Lines() const {
  std::lock_guard lock(mutex_);
  return lines_;
}

bool DebugCapture::Contains(std::string_view text) const {
  std::lock_guard lock(mutex_);
  for (const auto& line : lines_) {
    if (line.find(text) != std::string::npos) return true;
  }
  return false;
}

void DebugCapture::Clear() {
  std::lock_guard lock(mutex_);
  lines_.clear();
}

}  // namespace zrv::platform
