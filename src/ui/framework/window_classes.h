// The window classes the framework registers (once, with the application object).
#pragma once

namespace quenlor::ui {

inline constexpr wchar_t kControlClass[] = L"QuenlorControl";
inline constexpr wchar_t kFormClass[] = L"QuenlorForm";
inline constexpr wchar_t kTimerClass[] = L"QuenlorTimer";

}  // namespace quenlor::ui
