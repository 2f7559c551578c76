#include "ui/framework/controls.h"

#include "base/error.h"
#include "ui/framework/window_classes.h"

namespace quenlor::ui {

TTimer::TTimer(TComponent* owner) : TComponent(owner) {}

TTimer::~TTimer() {
  if (window_) {
    KillTimer(window_, 1);
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
}

void TTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Update();
}

void TTimer::SetInterval(unsigned ms) {
  if (ms == interval_) return;
  interval_ = ms;
  Update();
}

void TTimer::Update() {
  if (!window_) {
    Application();  // registers the window classes
    window_ = CreateWindowExW(0, kTimerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              Application().Instance(), nullptr);
    if (!window_) throw Error("cannot create timer window");
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  KillTimer(window_, 1);
  if (enabled_ && interval_ > 0) SetTimer(window_, 1, interval_, nullptr);
}

LRESULT CALLBACK TTimer::TimerProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_TIMER) {
    auto* timer = reinterpret_cast<TTimer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (timer && timer->enabled_ && timer->OnTimer) {
      try {
        timer->OnTimer(timer);
      } catch (const std::exception& error) {
        Application().HandleException(error);
      }
    }
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace quenlor::ui
