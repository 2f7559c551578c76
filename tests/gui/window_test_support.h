// Driving the window in-process under a registry the test controls: registrations imported
// with regedit into a private key and made to stand for HKEY_CLASSES_ROOT, messages pumped
// until the window has done what a user waits for.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace quenlor::gui::testing {

// Imports a .reg file's text (UTF-8) with `regedit /s`; fails the test when regedit fails.
void ImportRegistrations(const std::string& reg_text);

// Makes HKEY_CLASSES_ROOT of this process the key HKEY_CURRENT_USER\<subkey>.
void RedirectClassesRoot(const std::wstring& subkey);

// Runs the message loop until `done` holds; false when `timeout_ms` pass first.
bool PumpUntil(const std::function<bool()>& done, int timeout_ms = 20000);
void PumpFor(int ms);

// The text a window shows, as UTF-8.
std::string WindowText(HWND window);

// A Unix path of this machine as Wine's Z: drive shows it.
std::string WinePath(const std::string& unix_path);

// Runs a program and waits for it; returns its exit code.
DWORD RunProgram(const std::wstring& command_line);

// Reads a whole file as bytes.
std::string ReadFileText(const std::string& path);

}  // namespace quenlor::gui::testing
