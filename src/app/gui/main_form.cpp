#include "app/gui/main_form.h"

#include <algorithm>
#include <chrono>
#include <vector>

#include "app/catalogue/catalogue.h"
#include "app/catalogue/catalogue_sort.h"
#include "base/text.h"
#include "ui/components/theme_ctrls.h"
#include "ui/framework/cursor.h"

namespace quenlor::gui {

namespace {

void SetUpMemo(ui::TTextView& memo) {
  memo.SetAlign(ui::TAlign::alClient);
  memo.SetFont(ui::TFont::FixedPitch("Courier New", 8));
  memo.SetBorder(false);
}

std::string ItemText(const TTypeLibraryForm::Entry& entry) { return entry.name + "|" + entry.id + "|" + entry.path; }

}  // namespace

TTypeLibraryForm::TTypeLibraryForm(ui::TComponent* owner)
    : ui::TGripForm(owner),
      Label1(Add<ui::TLabel>(this)),
      ComboBox(Add<ui::TComboBox>(this)),
      TypeLibtBox(Add<ui::TListBox>(this)),
      Label2(Add<ui::TLabel>(this)),
      Frame(Add<ui::TFramedWindow>(this)),
      Tabs(Add<ui::TDrawTabs>(&Frame)),
      PaintBox1(Add<ui::TPaintBox>(&Frame)),
      SourceMemo(Add<ui::TTextView>(&Frame)),
      TreeMemo(Add<ui::TTextView>(&Frame)),
      LibraryLabel(Add<ui::TLabel>(this)),
      Button1(Add<ui::TButton>(this)),
      BuildTimer(Add<ui::TTimer>()) {
  SetCaption("Type Library Importer");
  SetFont(ui::TFont("Tahoma", 8));
  SetPosition(ui::TPosition::poScreenCenter);
  SetBounds(Left(), Top(), 870, 500);

  Label1.SetBounds(8, 8, Label1.Width(), Label1.Height());
  Label1.SetCaption("Type Libraries:");

  ComboBox.SetBounds(8, 24, 265, 21);
  ComboBox.SetItems({"Sort by name", "Sort by library identifier", "Sort by object path"});
  ComboBox.SetItemIndex(0);
  ComboBox.OnChange = [this](ui::TComponent* sender) { ComboBoxChange(sender); };

  TypeLibtBox.SetBounds(8, 56, 265, 305);
  TypeLibtBox.SetAnchors(ui::akLeft | ui::akTop | ui::akBottom);
  TypeLibtBox.OnClick = [this](ui::TComponent* sender) { TypeLibtBoxClick(sender); };

  Label2.SetBounds(280, 8, Label2.Width(), Label2.Height());
  Label2.SetCaption("Contents:");

  Frame.SetBounds(280, 24, 337, 337);
  Frame.SetAnchors(ui::kAnchorsAll);

  // Aligned children take their places in creation order: tabs, gap, then the text boxes.
  Tabs.SetAlign(ui::TAlign::alTop);
  Tabs.SetHeight(32);
  for (const char* caption : {"Source", "XML"}) {
    Tabs.Tabs().Add(caption);
  }
  Tabs.SetTabIndex(0);
  Tabs.OnSelectItem = [this](ui::TComponent* sender) { TabsSelectItem(sender); };

  PaintBox1.SetAlign(ui::TAlign::alTop);
  PaintBox1.SetHeight(4);

  SetUpMemo(SourceMemo);
  SetUpMemo(TreeMemo);
  TreeMemo.SetVisible(false);

  LibraryLabel.SetAutoSize(false);
  LibraryLabel.SetBounds(8, 368, 529, 25);
  LibraryLabel.SetAnchors(ui::akLeft | ui::akRight | ui::akBottom);
  LibraryLabel.SetLayout(ui::TTextLayout::tlCenter);
  LibraryLabel.SetCaption("");

  Button1.SetBounds(544, 368, 75, 25);
  Button1.SetAnchors(ui::akRight | ui::akBottom);
  Button1.SetCaption("Close");
  Button1.OnClick = [this](ui::TComponent* sender) { Button1Click(sender); };

  BuildTimer.SetEnabled(false);
  BuildTimer.SetInterval(100);
  BuildTimer.OnTimer = [this](ui::TComponent* sender) { BuildTimerTimer(sender); };

  OnCreate = [this](ui::TComponent* sender) { FormCreate(sender); };
}

void TTypeLibraryForm::FormCreate(ui::TComponent* sender) {
  const xml::DocumentPtr catalogue = catalogue::BuildCatalogue();
  std::vector<Entry> entries;
  const xml::NodesPtr nodes = catalogue->GetRoot()->Nodes();
  for (int i = 0, count = nodes->Count(); i < count; ++i) {
    const xml::NamedValuesPtr values = nodes->GetNode(i)->Values();
    Entry entry;
    entry.name = values->ReadString("name", "", true);
    entry.id = values->ReadString("id", "", true);
    entry.path = values->ReadString("filepath", "", true);
    entries.push_back(std::move(entry));
  }
  entries_ = std::move(entries);
  ShowEntries();
  ComboBox.Add<ui::TComboBoxTheme>();
  TypeLibtBox.Add<ui::TListRowsTheme>(3);
  TabsSelectItem(sender);
  ComboBoxChange(sender);
}

void TTypeLibraryForm::ComboBoxChange(ui::TComponent* /*sender*/) {
  sort_mode_ = ComboBox.ItemIndex();
  if (sort_mode_ < 0) return;
  // The entries move with their list texts, compared as the list's items are.
  std::vector<std::string> texts;
  for (const Entry& entry : entries_) texts.push_back(ItemText(entry));
  const std::vector<std::size_t> order = catalogue::SortOrder(texts, sort_mode_);
  std::vector<Entry> sorted;
  sorted.reserve(order.size());
  for (std::size_t i : order) sorted.push_back(std::move(entries_[i]));
  entries_ = std::move(sorted);
  ShowEntries();
}

void TTypeLibraryForm::ShowEntries() {
  std::vector<std::string> items;
  items.reserve(entries_.size());
  for (const Entry& entry : entries_) items.push_back(ItemText(entry));
  TypeLibtBox.SetItems(std::move(items));
}

void TTypeLibraryForm::AddEntry(Entry entry) {
  TypeLibtBox.AddItem(ItemText(entry));
  entries_.push_back(std::move(entry));
}

void TTypeLibraryForm::TypeLibtBoxClick(ui::TComponent* /*sender*/) {
  BuildTimer.SetEnabled(false);
  BuildTimer.SetEnabled(true);
  const int index = TypeLibtBox.ItemIndex();
  if (index < 0 || static_cast<std::size_t>(index) >= entries_.size()) return;
  const Entry& entry = entries_[static_cast<std::size_t>(index)];
  const std::string name(TrimBlanks(entry.name));
  const std::string path(TrimBlanks(entry.path));
  LibraryLabel.SetCaption(name.empty() ? "\"" + path + "\"" : name + ": in \"" + path + "\"");
}

void TTypeLibraryForm::BuildTimerTimer(ui::TComponent* /*sender*/) {
  BuildTimer.SetEnabled(false);
  const int index = TypeLibtBox.ItemIndex();
  if (index < 0 || static_cast<std::size_t>(index) >= entries_.size()) return;
  const ui::TCursorScope busy;
  // Counted also when the build fails, so that whoever waits for it is not left waiting.
  struct Finish {
    TTypeLibraryForm& form;
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    ~Finish() {
      form.last_build_ms_ = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
      ++form.build_count_;
    }
  } finish{*this};
  Build(entries_[static_cast<std::size_t>(index)].path);
}

void TTypeLibraryForm::Build(const std::string& path) {
  phases_ = {};
  mark_ = Clock::now();
  app::Build(path, *this, reader_.kind);
}

std::string TTypeLibraryForm::AboutBoxText() { return ui::TGripForm::AboutBoxText() + "\r\n" + DescribeReader(reader_); }

double TTypeLibraryForm::Since(Clock::time_point& mark) {
  const Clock::time_point now = Clock::now();
  const double ms = std::chrono::duration<double, std::milli>(now - mark).count();
  mark = now;
  return ms;
}

void TTypeLibraryForm::ShowDescription(const std::string& text) {
  phases_.describe = Since(mark_);
  TreeMemo.SetText(text);
  TreeMemo.Repaint();
  phases_.show_description = Since(mark_);
}

void TTypeLibraryForm::ShowUnit(const std::string& text) {
  phases_.generate = Since(mark_);
  SourceMemo.SetText(text);
  SourceMemo.Repaint();
  phases_.show_unit = Since(mark_);
}

void TTypeLibraryForm::TabsSelectItem(ui::TComponent* /*sender*/) {
  const bool source = Tabs.TabIndex() == 0;
  TreeMemo.SetVisible(!source);
  SourceMemo.SetVisible(source);
}

void TTypeLibraryForm::Button1Click(ui::TComponent* /*sender*/) { Close(); }

}  // namespace quenlor::gui
