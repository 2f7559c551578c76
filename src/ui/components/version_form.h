// The program's version resource, the file date of a file, and the form that puts an
// "About..." entry into the first window's system menu.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ui/framework/controls.h"

namespace quenlor::ui {

// Reads the version resource of a file.
class TVersionInformation {
 public:
  // Indexes of StringValue.
  enum : int {
    kCompanyName, kFileDescription, kFileVersion, kInternalName, kLegalCopyright,
    kOriginalFilename, kProductName, kProductVersion,
  };

  // Releases what was loaded before, then loads the version resource of the file.
  void Load(const std::string& file_name);

  const std::string& FileName() const { return file_name_; }
  std::uint32_t InfoSize() const { return info_size_; }
  std::uint16_t MajorVersion() const;
  std::uint16_t MinorVersion() const;
  std::uint16_t Release() const;      // from the product version
  std::uint16_t BuildNumber() const;  // from the product version
  // The value of a string key in the resource's first translation, or empty.
  std::string StringValue(int index) const;

 private:
  std::string file_name_;
  std::uint32_t info_size_ = 0;
  std::vector<std::uint8_t> info_;
  const VS_FIXEDFILEINFO* fixed_info_ = nullptr;
};

// The last-write date of a file formatted with a date format ("mm/dd/yyyy": "/" is the
// locale's date separator); empty when the file does not exist or is a folder.
std::string FileDateText(const std::string& file_name, const std::string& format);

// The text of the About box for a program file.
std::string AboutText(const std::string& file_name);

// The full path of the running program.
std::string ProgramFileName();

// A form that gives the application's first window an "About..." system-menu entry.
class TVersionForm : public TForm {
 public:
  static constexpr UINT kAboutCommand = 0xFFFF;

  explicit TVersionForm(TComponent* owner);
  // True for the first form of the application: the main window.
  virtual bool ShowsAbout();
  bool HasAboutEntry() const { return about_; }

  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;

  // What the About box shows: AboutText of the program file; a program adds its own lines.
  virtual std::string AboutBoxText();

 protected:
  void Loaded() override;
  void CreateWnd() override;

 private:
  bool about_ = false;
};

}  // namespace quenlor::ui
