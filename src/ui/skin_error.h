#pragma once
// A problem found in a skin file: which file, which line, what. Builders return it instead of
// crashing or throwing; windows show it in the debug output and fail to create.

#include <QString>

namespace zrv::ui {

struct SkinError {
  QString file;  // as the caller named it, or the resolved path
  int line = 0;  // 1-based; 0 when the file could not be read at all
  QString message;

  bool IsError() const { return !message.isEmpty(); }
  // "file:line: message" (or "file: message" without a line).
  QString ToString() const;
};

}  // namespace zrv::ui
