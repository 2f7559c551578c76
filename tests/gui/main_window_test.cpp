// The main window end to end, in-process under Wine: the catalogue of registrations this test
// imports, the three sort orders, the label, the build timer and both text boxes.
#include <gtest/gtest.h>
#include <objbase.h>
#include <windows.h>
#include <zlib.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/gui/main_form.h"
#include "app/gui/screenshot.h"
#include "base/text.h"
#include "base/win32/wide_text.h"
#include "../ui/ui_test_support.h"
#include "window_test_support.h"

namespace quenlor::gui {
namespace {

using testing::ImportRegistrations;
using testing::PumpFor;
using testing::PumpUntil;
using testing::ReadFileText;
using testing::RedirectClassesRoot;
using testing::RunProgram;
using testing::WindowText;
using testing::WinePath;

const std::wstring kGoodClasses = L"Software\\QuenlorGuiTest\\Classes";
const std::wstring kBadClasses = L"Software\\QuenlorGuiTestBad\\Classes";
const std::wstring kBarClasses = L"Software\\QuenlorGuiTestBar\\Classes";

const std::string kStdole = "{00020430-0000-0000-C000-000000000046}";
const std::string kQuoted = "{aaaaaaaa-1111-2222-3333-444444444444}";
const std::string kMissing = "{BBBBBBBB-1111-2222-3333-444444444444}";
const std::string kScripting = "{cccccccc-1111-2222-3333-444444444444}";
const std::string kLong = "{DDDDDDDD-1111-2222-3333-444444444444}";
const std::string kAccented = "{eeeeeeee-1111-2222-3333-444444444444}";
const std::string kExpanded = "{ffffffff-1111-2222-3333-444444444444}";

const std::string kStdolePath = "C:\\windows\\system32\\stdole2.tlb";
const std::string kExpandedPath = "%SystemRoot%\\system32\\stdole2.tlb";
const std::string kQuotedPath = "\"C:\\windows\\system32\\stdole2.tlb\"";
const std::string kMissingPath = "C:\\no\\such\\folder\\missing.tlb";
const std::string kLongPath = "%QUENLOR_GUI_LONG_DIR%\\stdole2.tlb";
const std::string kAccentedPath = "C:\\Biblioth\xC3\xA8ken\\stdole2.tlb";

std::string ScriptingPath() { return WinePath(QUENLOR_CORPUS_DIR "/vb6/scrrun.dll"); }

// A .reg string value: backslashes and quotes escaped.
std::string RegString(const std::string& value) {
  std::string out = "\"";
  for (char c : value) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + "\"";
}

std::string Registration(const std::string& id, const std::string& version, const char* name, const std::string& path,
                         const std::string& win64_path = "", const std::string& root = "QuenlorGuiTest") {
  const std::string key = "[HKEY_CURRENT_USER\\Software\\" + root + "\\Classes\\TypeLib\\" + id + "\\" + version;
  std::string text = key + "]\r\n";
  if (name) text += "@=" + RegString(name) + "\r\n";
  text += "\r\n" + key + "\\0\\win32]\r\n@=" + RegString(path) + "\r\n\r\n";
  if (!win64_path.empty()) text += key + "\\0\\win64]\r\n@=" + RegString(win64_path) + "\r\n\r\n";
  text += key + "\\FLAGS]\r\n@=\"0\"\r\n\r\n" + key + "\\HELPDIR]\r\n@=\"\"\r\n\r\n";
  return text;
}

std::string Item(const std::string& name, const std::string& id, const std::string& path) {
  return name + "|" + id + "|" + path;
}

class MainWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // The window's thread is a single-threaded apartment, as at the program's start.
    CoInitialize(nullptr);
    std::string reg = "Windows Registry Editor Version 5.00\r\n\r\n";
    // stdole2 with a plain path, under win64 too: while this registry stands for the
    // machine's, the platform resolves references into stdole2 through it, and that lookup
    // expands nothing.
    reg += Registration(kStdole, "2.0", "OLE Automation", kStdolePath, kStdolePath);
    reg += Registration(kExpanded, "1.0", "expanded library", kExpandedPath);
    reg += Registration(kQuoted, "1.0", "quoted library", kQuotedPath);
    reg += Registration(kMissing, "1.0", nullptr, kMissingPath);
    reg += Registration(kScripting, "1.0", "Microsoft Scripting Runtime", ScriptingPath());
    reg += Registration(kLong, "1.0", "long path library", kLongPath);
    reg += Registration(kAccented, "1.0", "Biblioth\xC3\xA8ken", kAccentedPath);
    // A name may hold the list's separator.
    reg += Registration(kStdole, "2.0", "OLE Automation", kStdolePath, kStdolePath, "QuenlorGuiTestBar");
    reg += Registration(kScripting, "1.0", "Scripting|Runtime", ScriptingPath(), "", "QuenlorGuiTestBar");
    reg += "[HKEY_CURRENT_USER\\Software\\QuenlorGuiTestBad\\Classes\\TypeLib\\" + kMissing +
           "\\1.0]\r\n@=dword:00000001\r\n\r\n";
    ImportRegistrations(reg);

    // The path expands past 260 characters but names an ordinary file.
    std::wstring long_dir = L"C:\\windows\\system32";
    while (long_dir.size() < 280) long_dir += L"\\.";
    SetEnvironmentVariableW(L"QUENLOR_GUI_LONG_DIR", long_dir.c_str());
    CreateDirectoryW(L"C:\\Biblioth\u00e8ken", nullptr);
    CopyFileW(L"C:\\windows\\system32\\stdole2.tlb", L"C:\\Biblioth\u00e8ken\\stdole2.tlb", FALSE);
  }

  void SetUp() override {
    ui::Application().MessageBoxHook = [this](const std::string& text, const std::string&, UINT) {
      messages_.push_back(text);
      return IDOK;
    };
  }

  void TearDown() override {
    if (form_) ui::Application().RemoveComponent(form_);
    ui::Application().MessageBoxHook = nullptr;
  }

  TTypeLibraryForm& Open(const std::wstring& classes = kGoodClasses) {
    RedirectClassesRoot(classes);
    form_ = &ui::Application().Add<TTypeLibraryForm>();
    form_->Show();
    PumpFor(50);
    return *form_;
  }

  int IndexOf(const std::string& id) {
    const auto& items = form_->TypeLibtBox.Items();
    for (std::size_t i = 0; i < items.size(); ++i) {
      if (items[i].find("|" + id + "|") != std::string::npos) return static_cast<int>(i);
    }
    ADD_FAILURE() << "no item for " << id;
    return -1;
  }

  // Selects an item as a mouse click does: the list box changes its selection and tells
  // its parent.
  void Click(int index) {
    HWND list = form_->TypeLibtBox.Handle();
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(form_->Handle(), WM_COMMAND, MAKEWPARAM(form_->TypeLibtBox.ControlId(), LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
  }

  // Selects the library and waits for the timer's build.
  void Pick(const std::string& id) {
    const int before = form_->BuildCount();
    Click(IndexOf(id));
    ASSERT_TRUE(PumpUntil([&] { return form_->BuildCount() > before; }));
  }

  void ChooseSortOrder(int index) {
    HWND combo = form_->ComboBox.Handle();
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(form_->Handle(), WM_COMMAND, MAKEWPARAM(form_->ComboBox.ControlId(), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
  }

  std::string Source() { return WindowText(form_->SourceMemo.Handle()); }
  std::string Tree() { return WindowText(form_->TreeMemo.Handle()); }

  TTypeLibraryForm* form_ = nullptr;
  std::vector<std::string> messages_;
};

TEST_F(MainWindowTest, OpensWithTheCatalogueSortedByNameAndNothingChosen) {
  TTypeLibraryForm& form = Open();
  EXPECT_TRUE(messages_.empty());
  // An empty name first, then names without regard to case.
  const std::vector<std::string> expected = {
      Item("", kMissing, kMissingPath),
      Item("Biblioth\xC3\xA8ken", kAccented, kAccentedPath),
      Item("expanded library", kExpanded, kExpandedPath),
      Item("long path library", kLong, kLongPath),
      Item("Microsoft Scripting Runtime", kScripting, ScriptingPath()),
      Item("OLE Automation", kStdole, kStdolePath),
      Item("quoted library", kQuoted, kQuotedPath),
  };
  EXPECT_EQ(form.TypeLibtBox.Items(), expected);
  EXPECT_EQ(form.TypeLibtBox.ItemIndex(), -1);
  EXPECT_EQ(form.ComboBox.ItemIndex(), 0);
  EXPECT_EQ(WindowText(form.LibraryLabel.Handle()), "");
  EXPECT_EQ(Source(), "");
  EXPECT_EQ(Tree(), "");
  EXPECT_TRUE(IsWindowVisible(form.SourceMemo.Handle()));
  EXPECT_FALSE(IsWindowVisible(form.TreeMemo.Handle()));
  EXPECT_FALSE(form.BuildTimer.Enabled());
  EXPECT_EQ(WindowText(form.Handle()), "Type Library Importer");

  // The themes are attached: three 18-pixel rows an item.
  EXPECT_NE(GetWindowLongW(form.TypeLibtBox.Handle(), GWL_STYLE) & LBS_OWNERDRAWFIXED, 0);
  EXPECT_EQ(SendMessageW(form.TypeLibtBox.Handle(), LB_GETITEMHEIGHT, 0, 0), 54);
  EXPECT_NE(GetWindowLongW(form.ComboBox.Handle(), GWL_STYLE) & CBS_OWNERDRAWFIXED, 0);

  RECT client{};
  GetClientRect(form.Handle(), &client);
  EXPECT_EQ(client.right, 627);
  EXPECT_EQ(client.bottom, 401);
}

TEST_F(MainWindowTest, EachSortOrderOrdersByItsFieldWithoutRegardToCase) {
  TTypeLibraryForm& form = Open();
  Click(IndexOf(kStdole));
  const std::string label = WindowText(form.LibraryLabel.Handle());

  ChooseSortOrder(1);
  EXPECT_EQ(form.SortMode(), 1);
  std::vector<std::string> ids;
  for (const auto& item : form.TypeLibtBox.Items()) ids.push_back(item.substr(item.find('|') + 1, 38));
  EXPECT_EQ(ids, (std::vector<std::string>{kStdole, kQuoted, kMissing, kScripting, kLong, kAccented, kExpanded}));
  // Re-sorting clears the selection; the label keeps the choice.
  EXPECT_EQ(form.TypeLibtBox.ItemIndex(), -1);
  EXPECT_EQ(WindowText(form.LibraryLabel.Handle()), label);

  ChooseSortOrder(2);
  std::vector<std::string> paths;
  for (const auto& item : form.TypeLibtBox.Items()) paths.push_back(item.substr(item.rfind('|') + 1));
  EXPECT_EQ(paths,
            (std::vector<std::string>{kQuotedPath, kLongPath, kExpandedPath, kAccentedPath, kMissingPath, kStdolePath,
                                      ScriptingPath()}));

  ChooseSortOrder(0);
  EXPECT_EQ(form.TypeLibtBox.Items().front(), Item("", kMissing, kMissingPath));
}

TEST_F(MainWindowTest, LabelNamesTheChoiceAndQuotesThePath) {
  TTypeLibraryForm& form = Open();
  Click(IndexOf(kScripting));
  EXPECT_EQ(WindowText(form.LibraryLabel.Handle()), "Microsoft Scripting Runtime: in \"" + ScriptingPath() + "\"");
  Click(IndexOf(kMissing));
  EXPECT_EQ(WindowText(form.LibraryLabel.Handle()), "\"" + kMissingPath + "\"");
  Click(IndexOf(kAccented));
  EXPECT_EQ(WindowText(form.LibraryLabel.Handle()), "Biblioth\xC3\xA8ken: in \"" + kAccentedPath + "\"");
}

TEST_F(MainWindowTest, ArrowKeysFasterThanTheTimerBuildOnlyWhereTheSelectionRests) {
  TTypeLibraryForm& form = Open();
  form.TypeLibtBox.SetFocus();
  Click(0);
  const int before = form.BuildCount();
  for (int step = 0; step < 4; ++step) {
    SendMessageW(form.TypeLibtBox.Handle(), WM_KEYDOWN, VK_DOWN, 0);
    SendMessageW(form.TypeLibtBox.Handle(), WM_KEYUP, VK_DOWN, 0);
    PumpFor(30);
  }
  EXPECT_EQ(form.TypeLibtBox.ItemIndex(), 4);
  EXPECT_EQ(form.BuildCount(), before);
  PumpFor(600);
  EXPECT_EQ(form.BuildCount(), before + 1);
  EXPECT_EQ(WindowText(form.LibraryLabel.Handle()), "Microsoft Scripting Runtime: in \"" + ScriptingPath() + "\"");
  EXPECT_EQ(Source().rfind("unit Scripting_TLB;", 0), 0u) << Source().substr(0, 80);
}

TEST_F(MainWindowTest, MissingFileShowsInvalidTypelibInBothBoxes) {
  Open();
  Pick(kStdole);
  ASSERT_NE(Source(), "invalid typelib");
  Pick(kMissing);
  EXPECT_EQ(Source(), "invalid typelib");
  EXPECT_EQ(Tree(), "invalid typelib");
  EXPECT_TRUE(messages_.empty());
}

TEST_F(MainWindowTest, QuotedExpandedLongAndAccentedPathsLoadLikeAPlainOne) {
  Open();
  Pick(kStdole);
  const std::string source = Source();
  const std::string tree = Tree();
  ASSERT_EQ(source.rfind("unit stdole_TLB;\r\n", 0), 0u) << source.substr(0, 80);
  ASSERT_NE(tree.find("<typelib"), std::string::npos);
  for (const std::string& id : {kQuoted, kExpanded, kLong, kAccented}) {
    Pick(kMissing);
    Pick(id);
    EXPECT_EQ(Source(), source) << id;
    EXPECT_EQ(Tree(), tree) << id;
  }
  EXPECT_TRUE(messages_.empty());
}

TEST_F(MainWindowTest, XmlTabStaysShownWhenAnotherLibraryIsPicked) {
  TTypeLibraryForm& form = Open();
  Pick(kStdole);
  const std::string stdole_tree = Tree();
  // Press and release over the second tab, as the mouse does.
  const RECT tab = form.Tabs.Tabs().Items(1).TabRect();
  const LPARAM at = MAKELPARAM((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
  SendMessageW(form.Tabs.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(form.Tabs.Handle(), WM_LBUTTONUP, 0, at);
  ASSERT_EQ(form.Tabs.TabIndex(), 1);
  EXPECT_TRUE(IsWindowVisible(form.TreeMemo.Handle()));
  EXPECT_FALSE(IsWindowVisible(form.SourceMemo.Handle()));

  Pick(kScripting);
  EXPECT_EQ(form.Tabs.TabIndex(), 1);
  EXPECT_TRUE(IsWindowVisible(form.TreeMemo.Handle()));
  EXPECT_FALSE(IsWindowVisible(form.SourceMemo.Handle()));
  EXPECT_NE(Tree(), stdole_tree);
  EXPECT_NE(Tree().find("Scripting"), std::string::npos);
}

TEST_F(MainWindowTest, BoxesHoldWhatTheCommandLinePrints) {
  Open();
  const std::string program = WinePath(QUENLOR_BINARY_DIR "/bin/quenlor.exe");
  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  const std::string temp = Narrow(folder);
  for (const auto& [id, file] : {std::pair{kStdole, kStdolePath}, std::pair{kScripting, ScriptingPath()}}) {
    Pick(id);
    const std::string xml_file = temp + "quenlor-gui-test.xml";
    const std::string unit_file = temp + "quenlor-gui-test.pas";
    const auto run = [&](const std::string& command, const std::string& out) {
      const std::string line = "\"" + program + "\" " + command + " \"" + file + "\" -o \"" + out + "\"";
      return RunProgram(Wide(line));
    };
    ASSERT_EQ(run("xml", xml_file), 0u) << id;
    ASSERT_EQ(run("unit", unit_file), 0u) << id;
    EXPECT_EQ(Tree(), ReadFileText(xml_file)) << id;
    EXPECT_EQ(Source(), ReadFileText(unit_file)) << id;
    EXPECT_NE(Source().find("\r\n"), std::string::npos);
  }
}

TEST_F(MainWindowTest, CatalogueFailureIsShownAndLeavesAPlainUsableWindow) {
  TTypeLibraryForm& form = Open(kBadClasses);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0], "Invalid data type for ''");
  EXPECT_TRUE(form.TypeLibtBox.Items().empty());
  EXPECT_EQ(GetWindowLongW(form.TypeLibtBox.Handle(), GWL_STYLE) & LBS_OWNERDRAWFIXED, 0);
  EXPECT_EQ(GetWindowLongW(form.ComboBox.Handle(), GWL_STYLE) & CBS_OWNERDRAWFIXED, 0);
  EXPECT_TRUE(IsWindowVisible(form.Handle()));
  EXPECT_TRUE(IsWindowEnabled(form.Handle()));
  // The sort order still answers.
  ChooseSortOrder(2);
  EXPECT_EQ(form.SortMode(), 2);
}

// Every entry of the list this machine's registry gives, and every corpus file added to it,
// clicked as a user clicks: each fills both boxes with a unit and a description or with
// "invalid typelib", none ends the process (ADODB's walk faults inside Wine's own reader),
// and the window answers afterwards.
TEST_F(MainWindowTest, EveryEntryOfTheMachinesListBuildsOrIsInvalidAndTheWindowStaysUsable) {
  ASSERT_EQ(RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr), ERROR_SUCCESS);
  form_ = &ui::Application().Add<TTypeLibraryForm>();
  TTypeLibraryForm& form = *form_;
  form.Show();
  PumpFor(50);
  const std::size_t registered = form.TypeLibtBox.Items().size();
  ASSERT_GE(registered, 40u);
  std::vector<std::string> corpus;
  std::error_code ec;
  for (std::filesystem::recursive_directory_iterator it(WinePath(QUENLOR_CORPUS_DIR), ec), end; !ec && it != end;
       it.increment(ec))
    if (it->is_regular_file(ec)) corpus.push_back(it->path().string());
  std::sort(corpus.begin(), corpus.end());
  ASSERT_GE(corpus.size(), 30u);
  for (const std::string& file : corpus) form.AddEntry({"corpus", "{00000000-0000-0000-0000-000000000000}", file});

  int built = 0, invalid = 0, scripting = -1;
  const std::vector<std::string> items = form.TypeLibtBox.Items();
  for (std::size_t i = 0; i < items.size(); ++i) {
    SCOPED_TRACE(items[i]);
    const int before = form.BuildCount();
    Click(static_cast<int>(i));
    ASSERT_TRUE(PumpUntil([&] { return form.BuildCount() > before; }, 60000));
    if (Source() == "invalid typelib") {
      EXPECT_EQ(Tree(), "invalid typelib");
      ++invalid;
      continue;
    }
    EXPECT_EQ(Source().rfind("unit ", 0), 0u) << Source().substr(0, 60);
    EXPECT_EQ(Tree().rfind("<typelib", 0), 0u) << Tree().substr(0, 60);
    if (i < registered) ++built;
    if (items[i].find("msado15.dll") != std::string::npos) {
      EXPECT_EQ(Source().rfind("unit ADODB_TLB;\r\n", 0), 0u) << Source().substr(0, 60);
    }
    if (items[i].find("scrrun.dll") != std::string::npos) scripting = static_cast<int>(i);
  }
  EXPECT_EQ(built, static_cast<int>(registered)) << invalid << " shown as invalid typelib";
  EXPECT_TRUE(messages_.empty()) << messages_.front();

  // Still a working window: it shows, takes input, sorts and builds again.
  EXPECT_TRUE(IsWindowVisible(form.Handle()));
  EXPECT_TRUE(IsWindowEnabled(form.Handle()));
  ASSERT_GE(scripting, 0);
  const int before = form.BuildCount();
  Click(scripting);
  ASSERT_TRUE(PumpUntil([&] { return form.BuildCount() > before; }));
  EXPECT_EQ(Source().rfind("unit Scripting_TLB;\r\n", 0), 0u) << Source().substr(0, 60);
  ChooseSortOrder(2);
  EXPECT_EQ(form.SortMode(), 2);
  EXPECT_EQ(form.TypeLibtBox.Items().size(), items.size());
}

TEST_F(MainWindowTest, ANameHoldingTheSeparatorBuildsItsOwnFile) {
  TTypeLibraryForm& form = Open(kBarClasses);
  ASSERT_EQ(form.TypeLibtBox.Items().size(), 2u);
  EXPECT_EQ(form.TypeLibtBox.Items()[1], Item("Scripting|Runtime", kScripting, ScriptingPath()));
  Pick(kScripting);
  EXPECT_EQ(WindowText(form.LibraryLabel.Handle()), "Scripting|Runtime: in \"" + ScriptingPath() + "\"");
  EXPECT_EQ(Source().rfind("unit Scripting_TLB;\r\n", 0), 0u) << Source().substr(0, 60);
  // Sorted by the field after the name's "|", the entries move with their own files.
  ChooseSortOrder(1);
  EXPECT_EQ(form.TypeLibtBox.Items()[0], Item("Scripting|Runtime", kScripting, ScriptingPath()));
  Click(0);
  EXPECT_EQ(WindowText(form.LibraryLabel.Handle()), "Scripting|Runtime: in \"" + ScriptingPath() + "\"");
}

TEST_F(MainWindowTest, TheWaitCursorShowsWhileABuildBlocksTheWindow) {
  TTypeLibraryForm& form = Open();
  const HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
  std::vector<HCURSOR> seen;
  form.TreeMemo.OnChange = [&](ui::TComponent*) { seen.push_back(GetCursor()); };
  form.SourceMemo.OnChange = [&](ui::TComponent*) { seen.push_back(GetCursor()); };
  Pick(kStdole);
  EXPECT_EQ(seen, (std::vector<HCURSOR>{wait, wait}));
  EXPECT_NE(GetCursor(), wait);
}

TEST_F(MainWindowTest, TypingChangesTheBoxButNotTheNextBuildAndCtrlACopiesTheWholeUnit) {
  TTypeLibraryForm& form = Open();
  Pick(kScripting);
  const std::string unit = Source();
  HWND box = form.SourceMemo.Handle();
  form.SourceMemo.SetFocus();
  SendMessageW(box, WM_CHAR, 'Z', 1);
  EXPECT_EQ(Source(), "Z" + unit);
  ui::testing::EmptyTheClipboard();
  ui::testing::Key(box, 'A', false, true, 1);
  ui::testing::Key(box, 'C', false, true, 3);
  EXPECT_EQ(Utf16ToUtf8(ui::testing::ClipboardText()), "Z" + unit);
  Pick(kMissing);
  Pick(kScripting);
  EXPECT_EQ(Source(), unit);
}

TEST_F(MainWindowTest, TheTextBoxesShowCodeInAMonospacedFace) {
  TTypeLibraryForm& form = Open();
  EXPECT_TRUE(form.SourceMemo.Font().IsFixedPitch()) << form.SourceMemo.Font().Name();
  EXPECT_TRUE(form.TreeMemo.Font().IsFixedPitch()) << form.TreeMemo.Font().Name();
  form.SourceMemo.SetText("{iiiiiiiiiiiiiiiiiiii}\r\n{MMMMMMMMMMMMMMMMMMMM}\r\n");
  form.SourceMemo.Repaint();
  const COLORREF back = ui::ColorToRGB(ui::clWindow);
  const int h = form.SourceMemo.LineHeight();
  const int narrow = ui::testing::RightmostInk(form.SourceMemo.Handle(), 0, h, back);
  const int wide = ui::testing::RightmostInk(form.SourceMemo.Handle(), h, h, back);
  EXPECT_GT(wide, 22 * 3);
  EXPECT_NEAR(narrow, wide, 2);
}

// The About box names the reader the builds use; under Wine that is the built-in one.
TEST_F(MainWindowTest, AboutBoxNamesTheReaderInUse) {
  TTypeLibraryForm& form = Open();
  EXPECT_EQ(form.Reader().kind, typelib::ReaderKind::Builtin);
  EXPECT_EQ(form.Reader().reason, typelib::ReaderReason::UnderWine);
  SendMessageW(form.Handle(), WM_SYSCOMMAND, ui::TVersionForm::kAboutCommand, 0);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].rfind("Product: ", 0), 0u) << messages_[0];
  EXPECT_NE(messages_[0].find("\r\nType library reader: built-in (default under Wine "), std::string::npos) << messages_[0];

  form.SetReader({typelib::ReaderKind::Platform, typelib::ReaderReason::CommandLine, "Wine"});
  SendMessageW(form.Handle(), WM_SYSCOMMAND, ui::TVersionForm::kAboutCommand, 0);
  ASSERT_EQ(messages_.size(), 2u);
  EXPECT_NE(messages_[1].find("Type library reader: the platform's LoadTypeLibEx (chosen by --reader)"), std::string::npos)
      << messages_[1];
}

TEST_F(MainWindowTest, ScreenshotIsAPngOfTheWholeWindow) {
  TTypeLibraryForm& form = Open();
  // Kept in the build tree for a look at the window as a user sees it.
  SaveWindowScreenshot(form.Handle(), WinePath(QUENLOR_BINARY_DIR "/gui-window-before.png"));
  form.TypeLibtBox.SetFocus();
  Pick(kScripting);
  PumpFor(100);
  SaveWindowScreenshot(form.Handle(), WinePath(QUENLOR_BINARY_DIR "/gui-window-after.png"));
  const RgbImage image = CaptureWindow(form.Handle());
  RECT bounds{};
  GetWindowRect(form.Handle(), &bounds);
  ASSERT_EQ(image.width, bounds.right - bounds.left);
  ASSERT_EQ(image.height, bounds.bottom - bounds.top);

  const std::string png = EncodePng(image);
  ASSERT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
  // IHDR, then IDAT whose inflated rows are the image's pixels behind filter bytes of 0.
  const auto be32 = [&](std::size_t at) {
    return (std::uint32_t(std::uint8_t(png[at])) << 24) | (std::uint32_t(std::uint8_t(png[at + 1])) << 16) |
           (std::uint32_t(std::uint8_t(png[at + 2])) << 8) | std::uint32_t(std::uint8_t(png[at + 3]));
  };
  EXPECT_EQ(png.substr(12, 4), "IHDR");
  EXPECT_EQ(be32(16), std::uint32_t(image.width));
  EXPECT_EQ(be32(20), std::uint32_t(image.height));
  const std::size_t idat = 8 + 12 + 13;
  ASSERT_EQ(png.substr(idat + 4, 4), "IDAT");
  const std::uint32_t packed = be32(idat);
  const std::uint32_t crc = crc32(0, reinterpret_cast<const Bytef*>(png.data() + idat + 4), packed + 4);
  EXPECT_EQ(be32(idat + 8 + packed), crc);
  std::string raw((image.width * 3 + 1) * image.height, '\0');
  uLongf raw_size = raw.size();
  ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(raw.data()), &raw_size,
                       reinterpret_cast<const Bytef*>(png.data() + idat + 8), packed),
            Z_OK);
  ASSERT_EQ(raw_size, raw.size());
  const std::size_t row = static_cast<std::size_t>(image.width) * 3 + 1;
  for (int y = 0; y < image.height; y += 37) {
    EXPECT_EQ(raw[y * row], '\0');
    EXPECT_EQ(raw.compare(y * row + 1, row - 1, reinterpret_cast<const char*>(image.pixels.data()) + y * (row - 1),
                          row - 1),
              0);
  }
  EXPECT_EQ(png.substr(png.size() - 8, 4), "IEND");
}

}  // namespace
}  // namespace quenlor::gui
