// The mouse pointer while the user-interface thread is busy.
#pragma once

#include <windows.h>

namespace quenlor::ui {

// Shows `cursor` (a system cursor, IDC_WAIT by default) until destroyed, then the pointer
// shown before. Meant for work that blocks the message loop: no WM_SETCURSOR is handled
// meanwhile to put the arrow back.
class TCursorScope {
 public:
  explicit TCursorScope(LPCWSTR cursor = IDC_WAIT) : previous_(::SetCursor(LoadCursorW(nullptr, cursor))) {}
  ~TCursorScope() { ::SetCursor(previous_); }
  TCursorScope(const TCursorScope&) = delete;
  TCursorScope& operator=(const TCursorScope&) = delete;

 private:
  HCURSOR previous_;
};

}  // namespace quenlor::ui
