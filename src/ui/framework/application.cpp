#include "ui/framework/controls.h"

#include <commctrl.h>

#include "ui/framework/window_classes.h"

namespace quenlor::ui {

TApplication::TApplication() : TComponent(nullptr) {
  const HINSTANCE instance = Instance();
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpfnWndProc = &TControl::StaticWndProc;
  wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
  wc.lpszClassName = kControlClass;
  RegisterClassExW(&wc);
  wc.style = CS_DBLCLKS;
  wc.lpszClassName = kFormClass;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  RegisterClassExW(&wc);
  wc.style = 0;
  wc.hbrBackground = nullptr;
  wc.lpszClassName = kTimerClass;
  wc.lpfnWndProc = &TTimer::TimerProc;
  RegisterClassExW(&wc);
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
}

TApplication::~TApplication() { DestroyComponents(); }

HINSTANCE TApplication::Instance() const { return GetModuleHandleW(nullptr); }

HICON TApplication::Icon() const {
  HICON icon = LoadIconW(Instance(), L"MAINICON");
  return icon ? icon : LoadIconW(nullptr, IDI_APPLICATION);
}

int TApplication::Run() {
  if (main_form_) main_form_->Show();
  MSG msg{};
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    HWND top = GetAncestor(msg.hwnd, GA_ROOT);
    if (top && TControl::FromHandle(top) && IsDialogMessageW(top, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

void TApplication::Terminate() {
  if (terminated_) return;
  terminated_ = true;
  PostQuitMessage(0);
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      terminated_ = true;
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

int TApplication::ShowMessageBox(const std::string& text, const std::string& caption, UINT flags) {
  if (MessageBoxHook) return MessageBoxHook(text, caption, flags);
  HWND owner = GetActiveWindow();
  if (!owner && main_form_) owner = main_form_->HandleIfCreated();
  return MessageBoxW(owner, Wide(text).c_str(), Wide(caption).c_str(), flags);
}

void TApplication::HandleException(const std::exception& error) {
  ShowMessageBox(error.what(), title_, MB_OK | MB_ICONSTOP);
}

TApplication& Application() {
  static TApplication app;
  return app;
}

}  // namespace quenlor::ui
