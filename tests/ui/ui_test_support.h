// Shared by the user-interface tests: a shown form to put controls on, pixel reading from
// a window's own device context, and messages as the mouse would send them.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>

#include "ui/framework/controls.h"

namespace quenlor::ui::testing {

class Host : public TForm {
 public:
  explicit Host(TComponent* owner) : TForm(owner) {
    SetPosition(TPosition::poDesigned);
    SetBounds(20, 20, 640, 480);
  }
};

class UiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Application().SetTitle("Quenlor");
    Application().MessageBoxHook = [this](const std::string& text, const std::string&, UINT) {
      messages_ += text;
      return IDOK;
    };
    host_ = &Application().CreateForm<Host>();
  }
  void TearDown() override {
    while (!Application().Forms().empty()) Application().RemoveComponent(Application().Forms().back());
    Application().MessageBoxHook = nullptr;
  }
  // Shows the host and paints everything now.
  void ShowAndPaint() {
    host_->Show();
    SetForegroundWindow(host_->Handle());
    RedrawWindow(host_->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Application().ProcessMessages();
  }
  Host* host_ = nullptr;
  std::string messages_;
};

inline COLORREF PixelAt(HWND window, int x, int y, bool whole_window = false) {
  HDC dc = whole_window ? GetWindowDC(window) : GetDC(window);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return c;
}

inline std::string Hex(COLORREF c) {
  char b[16];
  std::snprintf(b, sizeof b, "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
  return b;
}

// Colours equal within a tolerance per channel (gradients step differently per renderer).
inline ::testing::AssertionResult Near(COLORREF actual, COLORREF expected, int tolerance = 0) {
  const int dr = std::abs(GetRValue(actual) - GetRValue(expected));
  const int dg = std::abs(GetGValue(actual) - GetGValue(expected));
  const int db = std::abs(GetBValue(actual) - GetBValue(expected));
  if (dr <= tolerance && dg <= tolerance && db <= tolerance) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << Hex(actual) << " is not " << Hex(expected) << " (tolerance " << tolerance << ")";
}

inline void Press(HWND w, int x, int y) { SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)); }
inline void Release(HWND w, int x, int y) { SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(x, y)); }
inline void MoveTo(HWND w, int x, int y) { SendMessageW(w, WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }
inline void Click(HWND w, int x, int y) {
  Press(w, x, y);
  Release(w, x, y);
}

}  // namespace quenlor::ui::testing
