// The program's one window, "Type Library Importer": the catalogue as a sortable list, the
// chosen library under it, and the library's import unit and description in two tabs.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "app/library_build/library_build.h"
#include "typelib/reader_choice.h"
#include "ui/components/draw_tabs.h"
#include "ui/components/framed_window.h"
#include "ui/components/grip_form.h"
#include "ui/components/text_view.h"
#include "ui/framework/controls.h"

namespace quenlor::gui {

class TTypeLibraryForm : public ui::TGripForm, private app::IBuildView {
 public:
  explicit TTypeLibraryForm(ui::TComponent* owner);

  ui::TLabel& Label1;
  ui::TComboBox& ComboBox;
  ui::TListBox& TypeLibtBox;
  ui::TLabel& Label2;
  ui::TFramedWindow& Frame;
  ui::TDrawTabs& Tabs;
  ui::TPaintBox& PaintBox1;
  ui::TTextView& SourceMemo;
  ui::TTextView& TreeMemo;
  ui::TLabel& LibraryLabel;
  ui::TButton& Button1;
  ui::TTimer& BuildTimer;

  void FormCreate(ui::TComponent* sender);
  void ComboBoxChange(ui::TComponent* sender);
  void TypeLibtBoxClick(ui::TComponent* sender);
  void BuildTimerTimer(ui::TComponent* sender);
  void TabsSelectItem(ui::TComponent* sender);
  void Button1Click(ui::TComponent* sender);

  // A catalogue entry; the list shows it as name|id|path.
  struct Entry {
    std::string name, id, path;
  };
  // Adds an entry at the end of the list (the catalogue's are added at creation).
  void AddEntry(Entry entry);

  // Loads the library in `path` and fills both text boxes.
  void Build(const std::string& path);

  // The type library reader the builds use (the platform's advice until set), and the
  // About box's line naming it.
  void SetReader(const typelib::ReaderChoice& reader) { reader_ = reader; }
  const typelib::ReaderChoice& Reader() const { return reader_; }
  std::string AboutBoxText() override;

  // The index of the sort order in force: 0 name, 1 library identifier, 2 file path.
  int SortMode() const { return sort_mode_; }
  // How many times the timer has built a library, and how long the last build took from
  // the timer firing to both text boxes filled; for the timing mode and the tests.
  int BuildCount() const { return build_count_; }
  double LastBuildMilliseconds() const { return last_build_ms_; }
  // Where the last build's time went: describing and formatting, filling the "XML" box,
  // generating the unit, filling the "Source" box (milliseconds; 0 for steps not run).
  struct BuildPhases {
    double describe = 0, show_description = 0, generate = 0, show_unit = 0;
  };
  const BuildPhases& LastBuildPhases() const { return phases_; }

 private:
  void ShowDescription(const std::string& text) override;
  void ShowUnit(const std::string& text) override;

  using Clock = std::chrono::steady_clock;
  double Since(Clock::time_point& mark);

  void ShowEntries();

  // The entries in the list's order. A name may hold "|", so an entry's fields are never
  // taken back from the list's text.
  std::vector<Entry> entries_;
  typelib::ReaderChoice reader_ = typelib::PlatformReaderAdvice();
  int sort_mode_ = 0;
  Clock::time_point mark_;
  BuildPhases phases_;
  int build_count_ = 0;
  double last_build_ms_ = 0;
};

}  // namespace quenlor::gui
