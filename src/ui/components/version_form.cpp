#include "ui/components/version_form.h"

#include <cstdio>

#include "ui/framework/graphics.h"

namespace quenlor::ui {

void TVersionInformation::Load(const std::string& file_name) {
  info_.clear();
  info_size_ = 0;
  fixed_info_ = nullptr;
  file_name_ = file_name;
  const std::wstring wide = Wide(file_name);
  DWORD handle = 0;
  info_size_ = GetFileVersionInfoSizeW(wide.c_str(), &handle);
  if (info_size_ == 0) return;
  info_.resize(info_size_);
  if (!GetFileVersionInfoW(wide.c_str(), 0, info_size_, info_.data())) {
    info_.clear();
    info_size_ = 0;
    return;
  }
  void* fixed = nullptr;
  UINT length = 0;
  if (VerQueryValueW(info_.data(), L"\\", &fixed, &length) && fixed &&
      length >= sizeof(VS_FIXEDFILEINFO))
    fixed_info_ = static_cast<const VS_FIXEDFILEINFO*>(fixed);
}

std::uint16_t TVersionInformation::MajorVersion() const {
  return fixed_info_ ? HIWORD(fixed_info_->dwFileVersionMS) : 0;
}
std::uint16_t TVersionInformation::MinorVersion() const {
  return fixed_info_ ? LOWORD(fixed_info_->dwFileVersionMS) : 0;
}
std::uint16_t TVersionInformation::Release() const {
  return fixed_info_ ? HIWORD(fixed_info_->dwProductVersionLS) : 0;
}
std::uint16_t TVersionInformation::BuildNumber() const {
  return fixed_info_ ? LOWORD(fixed_info_->dwProductVersionLS) : 0;
}

std::string TVersionInformation::StringValue(int index) const {
  static const wchar_t* const kKeys[] = {
      L"CompanyName", L"FileDescription", L"FileVersion", L"InternalName",
      L"LegalCopyright", L"OriginalFilename", L"ProductName", L"ProductVersion"};
  if (info_.empty() || index < 0 || index >= 8) return {};
  void* data = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(info_.data(), L"\\VarFileInfo\\Translation", &data, &length) || !data ||
      length < 4)
    return {};
  const auto* words = static_cast<const WORD*>(data);
  wchar_t key[96];
  swprintf(key, 96, L"\\StringFileInfo\\%04x%04x\\%ls", words[0], words[1], kKeys[index]);
  void* value = nullptr;
  UINT chars = 0;
  if (!VerQueryValueW(info_.data(), key, &value, &chars) || !value) return {};
  std::wstring text(static_cast<const wchar_t*>(value), chars);
  while (!text.empty() && text.back() == L'\0') text.pop_back();
  return Narrow(text);
}

namespace {

std::string LocaleDateSeparator() {
  wchar_t separator[8] = L"/";
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDATE, separator, 8) <= 0) return "/";
  return Narrow(separator);
}

// The date-format letters the program uses: d, dd, m, mm, yy, yyyy, h, hh, n, nn, s, ss,
// "/" for the locale's date separator and ":" as itself; other characters are copied.
std::string FormatDate(const SYSTEMTIME& t, const std::string& format) {
  std::string out;
  const std::string separator = LocaleDateSeparator();
  auto two = [](int v) {
    char b[8];
    std::snprintf(b, sizeof b, "%02d", v % 100);
    return std::string(b);
  };
  bool after_hour = false;
  for (std::size_t i = 0; i < format.size();) {
    const char c = static_cast<char>(format[i] | 0x20);
    std::size_t run = 1;
    while (i + run < format.size() && static_cast<char>(format[i + run] | 0x20) == c) ++run;
    switch (c) {
      case 'd':
        out += run >= 2 ? two(t.wDay) : std::to_string(t.wDay);
        break;
      case 'm':
      case 'n': {
        const bool minutes = c == 'n' || after_hour;
        const int v = minutes ? t.wMinute : t.wMonth;
        out += run >= 2 ? two(v) : std::to_string(v);
        break;
      }
      case 'y':
        out += run >= 3 ? std::to_string(t.wYear) : two(t.wYear);
        break;
      case 'h':
        out += run >= 2 ? two(t.wHour) : std::to_string(t.wHour);
        break;
      case 's':
        out += run >= 2 ? two(t.wSecond) : std::to_string(t.wSecond);
        break;
      default:
        if (format[i] == '/') {
          for (std::size_t k = 0; k < run; ++k) out += separator;
        } else {
          out.append(format, i, run);
        }
        break;
    }
    if (c == 'h') after_hour = true;
    else if (c != ':' && c != ' ' && c != 'm' && c != 'n') after_hour = false;
    i += run;
  }
  return out;
}

}  // namespace

std::string FileDateText(const std::string& file_name, const std::string& format) {
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW(Wide(file_name).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return {};
  FindClose(search);
  if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return {};
  FILETIME local{};
  if (!FileTimeToLocalFileTime(&found.ftLastWriteTime, &local)) return {};
  // The packed file date keeps two-second steps; dates it cannot hold (before 1980) keep
  // the full time instead of failing.
  WORD dos_date = 0, dos_time = 0;
  FILETIME packed = local;
  if (FileTimeToDosDateTime(&local, &dos_date, &dos_time)) DosDateTimeToFileTime(dos_date, dos_time, &packed);
  SYSTEMTIME t{};
  if (!FileTimeToSystemTime(&packed, &t)) return {};
  return FormatDate(t, format);
}

std::string ProgramFileName() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD got = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (got == 0) return {};
    if (got < path.size()) {
      path.resize(got);
      return Narrow(path);
    }
    path.resize(path.size() * 2);
  }
}

std::string AboutText(const std::string& file_name) {
  TVersionInformation info;
  info.Load(file_name);
  const std::string version = std::to_string(info.MajorVersion()) + "." +
                              std::to_string(info.MinorVersion()) + "." +
                              std::to_string(info.Release()) + "." +
                              std::to_string(info.BuildNumber());
  return "Product: " + info.StringValue(TVersionInformation::kProductName) + "\r\n" +
         "Version: " + version + "\r\n\r\n" + "Last modified on " +
         FileDateText(info.FileName(), "mm/dd/yyyy");
}

TVersionForm::TVersionForm(TComponent* owner) : TForm(owner) {}

std::string TVersionForm::AboutBoxText() { return AboutText(ProgramFileName()); }

bool TVersionForm::ShowsAbout() { return Application().Forms().size() == 1; }

void TVersionForm::Loaded() {
  TForm::Loaded();
  about_ = ShowsAbout();
}

void TVersionForm::CreateWnd() {
  TForm::CreateWnd();
  if (!about_) return;
  HMENU menu = GetSystemMenu(HandleIfCreated(), FALSE);
  if (!menu) return;
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, kAboutCommand, L"About...");
}

LRESULT TVersionForm::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_SYSCOMMAND && wparam == kAboutCommand) {
    // Custom-kind message dialog: no icon, one OK button, the application's title.
    Application().ShowMessageBox(AboutBoxText(), Application().Title(), MB_OK);
  }
  return TForm::WndProc(message, wparam, lparam);
}

}  // namespace quenlor::ui
