// The form framework, the grip form and the About box, driven through their windows.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include <uxtheme.h>
#include <vssym32.h>

#include "base/error.h"
#include "ui/components/grip_form.h"

namespace quenlor::ui {
namespace {

class FormsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Application().SetTitle("Quenlor");
    Application().MessageBoxHook = [this](const std::string& text, const std::string& caption, UINT flags) {
      shown_text_ = text;
      shown_caption_ = caption;
      shown_flags_ = flags;
      return IDOK;
    };
  }
  void TearDown() override {
    while (!Application().Forms().empty()) Application().RemoveComponent(Application().Forms().back());
    Application().MessageBoxHook = nullptr;
  }
  std::string shown_text_, shown_caption_;
  UINT shown_flags_ = 0;
};

// A form laid out like a window of the program: controls at places, some anchored right
// and bottom.
class SampleForm : public TGripForm {
 public:
  SampleForm(TComponent* owner, int right_edge, int bottom_edge) : TGripForm(owner) {
    SetBounds(0, 0, 870, 500);
    label = &Add<TLabel>(this);
    label->SetLeft(8);
    label->SetTop(8);
    label->SetCaption("Type Libraries:");
    button = &Add<TButton>(this);
    button->SetCaption("Close");
    button->SetBounds(right_edge - 75, bottom_edge - 25, 75, 25);
    button->SetAnchors(akRight | akBottom);
    list = &Add<TListBox>(this);
    list->SetBounds(8, 24, 100, bottom_edge - 24 - 40);
    list->SetAnchors(akLeft | akTop | akBottom);
  }
  TLabel* label;
  TButton* button;
  TListBox* list;
};

TEST_F(FormsTest, FitsClientAreaToControlsAndKeepsItAsMinimum) {
  auto& form = Application().CreateForm<SampleForm>(619, 393);
  EXPECT_EQ(form.ClientWidth(), 627);
  EXPECT_EQ(form.ClientHeight(), 401);
  form.Show();
  RECT client;
  GetClientRect(form.Handle(), &client);
  EXPECT_EQ(client.right, 627);
  EXPECT_EQ(client.bottom, 401);
  EXPECT_EQ(form.MinWidth(), form.Width());
  EXPECT_EQ(form.MinHeight(), form.Height());
  MINMAXINFO info{};
  SendMessageW(form.Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, form.Width());
  EXPECT_EQ(info.ptMinTrackSize.y, form.Height());

  // Anchors hold after the fit: the button follows the bottom-right corner, the list grows.
  SetWindowPos(form.Handle(), nullptr, 0, 0, form.Width() + 50, form.Height() + 30,
               SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(form.button->Left(), 544 + 50);
  EXPECT_EQ(form.button->Top(), 368 + 30);
  EXPECT_EQ(form.list->Height(), 393 - 24 - 40 + 30);
  EXPECT_EQ(form.list->Left(), 8);
  // The grip stays in the corner.
  EXPECT_EQ(form.GripBox()->Left(), 627 + 50 - 18);
  EXPECT_EQ(form.GripBox()->Top(), 401 + 30 - 18);
}

TEST_F(FormsTest, SmallFormsOpenAtOneHundredByOneHundred) {
  auto& form = Application().CreateForm<SampleForm>(90, 60);
  // (The label "Type Libraries:" itself reaches x = 8 + its width.)
  form.label->SetCaption("X");
  form.list->SetWidth(50);
  form.FitToControls();
  EXPECT_EQ(form.ClientWidth(), 100);
  EXPECT_EQ(form.ClientHeight(), 100);
  // Hidden controls and controls left out of the fit do not count.
  form.button->SetBounds(300, 300, 75, 25);
  form.button->SetExcludedFromFit(true);
  form.list->SetBounds(8, 24, 400, 40);
  form.list->Hide();
  form.FitToControls();
  EXPECT_EQ(form.ClientWidth(), 100);
  EXPECT_EQ(form.ClientHeight(), 100);
  form.list->Show();
  form.FitToControls();
  EXPECT_EQ(form.ClientWidth(), 416);
}

LPARAM ScreenPoint(HWND window, int x, int y) {
  POINT p{x, y};
  ClientToScreen(window, &p);
  return MAKELPARAM(p.x, p.y);
}

TEST_F(FormsTest, GripAnswersBottomRightOnlyForSizeableBorders) {
  auto& form = Application().CreateForm<SampleForm>(619, 393);
  form.Show();
  HWND w = form.Handle();
  const int cw = form.ClientWidth(), ch = form.ClientHeight();
  EXPECT_EQ(SendMessageW(w, WM_NCHITTEST, 0, ScreenPoint(w, cw - 17, ch - 17)), HTBOTTOMRIGHT);
  EXPECT_EQ(SendMessageW(w, WM_NCHITTEST, 0, ScreenPoint(w, cw - 1, ch - 1)), HTBOTTOMRIGHT);
  // The edge of the square itself is outside (strictly greater than client - 18).
  EXPECT_EQ(SendMessageW(w, WM_NCHITTEST, 0, ScreenPoint(w, cw - 18, ch - 5)), HTCLIENT);
  EXPECT_EQ(SendMessageW(w, WM_NCHITTEST, 0, ScreenPoint(w, 300, 5)), HTCLIENT);
  // The grip box lets the hit test through to the form.
  EXPECT_EQ(form.GripBox()->Width(), 18);
  POINT corner{cw - 5, ch - 5};
  ClientToScreen(w, &corner);
  EXPECT_EQ(SendMessageW(form.GripBox()->Handle(), WM_NCHITTEST, 0, MAKELPARAM(corner.x, corner.y)),
            HTTRANSPARENT);

  form.SetGripVisible(false);
  EXPECT_EQ(SendMessageW(w, WM_NCHITTEST, 0, ScreenPoint(w, cw - 5, ch - 5)), HTCLIENT);
  form.SetGripVisible(true);
  form.SetBorderStyle(TFormBorderStyle::bsSingle);
  w = form.Handle();
  EXPECT_NE(SendMessageW(w, WM_NCHITTEST, 0, ScreenPoint(w, form.ClientWidth() - 5, form.ClientHeight() - 5)),
            HTBOTTOMRIGHT);
  // The sizing frame is part of every grip form's window.
  EXPECT_TRUE(GetWindowLongPtrW(w, GWL_STYLE) & WS_THICKFRAME);
}

// The grip box against the same grip drawn into a bitmap: the style's gripper with visual
// styles, the classic size grip without them.
int GripDifferences(HWND box, bool themed) {
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 18, 18);
  HGDIOBJ old = SelectObject(memory, bitmap);
  RECT all{0, 0, 18, 18};
  HBRUSH face = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
  FillRect(memory, &all, face);
  DeleteObject(face);
  RECT r{18 - GetSystemMetrics(SM_CXVSCROLL), 0, 18, 18};
  if (themed) {
    HTHEME theme = OpenThemeData(box, L"STATUS");
    DrawThemeBackground(theme, memory, SP_GRIPPER, 1, &r, nullptr);
    CloseThemeData(theme);
  } else {
    r.top = 18 - GetSystemMetrics(SM_CYHSCROLL);
    DrawFrameControl(memory, &r, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
  }
  HDC dc = GetDC(box);
  int differences = 0;
  for (int y = 0; y < 18; ++y)
    for (int x = 0; x < 18; ++x)
      if (GetPixel(dc, x, y) != GetPixel(memory, x, y)) ++differences;
  ReleaseDC(box, dc);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return differences;
}

TEST_F(FormsTest, GripIsDrawnWithAndWithoutVisualStyles) {
  auto& form = Application().CreateForm<SampleForm>(300, 200);
  form.button->SetBounds(120, 8, 75, 25);  // clear of the grip's corner
  form.Show();
  HWND box = form.GripBox()->Handle();
  RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  if (VisualStylesActive()) {
    EXPECT_EQ(GripDifferences(box, true), 0);
    SetWindowTheme(box, L" ", L" ");  // no style for this window: the classic grip
    RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  }
  EXPECT_EQ(GripDifferences(box, false), 0);
  // A grip that is not shown is not drawn.
  form.SetGripVisible(false);
  RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  EXPECT_GT(GripDifferences(box, false), 0);
}

bool HasAboutEntry(HWND window) {
  HMENU menu = GetSystemMenu(window, FALSE);
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i)
    if (GetMenuItemID(menu, i) == TVersionForm::kAboutCommand) {
      wchar_t text[32] = {};
      GetMenuStringW(menu, static_cast<UINT>(i), text, 32, MF_BYPOSITION);
      return std::wstring(text) == L"About...";
    }
  return false;
}

TEST_F(FormsTest, AboutEntryOnlyInTheFirstFormAndItsText) {
  auto& first = Application().CreateForm<SampleForm>(200, 200);
  auto& second = Application().CreateForm<SampleForm>(200, 200);
  EXPECT_TRUE(HasAboutEntry(first.Handle()));
  EXPECT_FALSE(HasAboutEntry(second.Handle()));

  SendMessageW(first.Handle(), WM_SYSCOMMAND, TVersionForm::kAboutCommand, 0);
  EXPECT_EQ(shown_caption_, "Quenlor");
  EXPECT_EQ(shown_flags_, static_cast<UINT>(MB_OK));
  const std::string expected = std::string("Product: Quenlor\r\nVersion: ") +
                               QUENLOR_VERSION + ".0\r\n\r\nLast modified on " +
                               FileDateText(ProgramFileName(), "mm/dd/yyyy");
  EXPECT_EQ(shown_text_, expected);
  // Other commands leave the box alone.
  shown_text_.clear();
  SendMessageW(first.Handle(), WM_SYSCOMMAND, 0xFFFE, 0);
  EXPECT_EQ(shown_text_, "");
}

std::string TempFile(const char* name) {
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  return Narrow(dir) + name;
}

void SetLocalWriteTime(const std::string& path, WORD year, WORD month, WORD day) {
  SYSTEMTIME local{};
  local.wYear = year;
  local.wMonth = month;
  local.wDay = day;
  local.wHour = 12;
  FILETIME lft, ft;
  SystemTimeToFileTime(&local, &lft);
  LocalFileTimeToFileTime(&lft, &ft);
  HANDLE h = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  SetFileTime(h, nullptr, nullptr, &ft);
  CloseHandle(h);
}

TEST_F(FormsTest, AboutTextOfAFileWithoutVersionResource) {
  const std::string path = TempFile("quenlor-about-test.txt");
  HANDLE h = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  CloseHandle(h);
  SetLocalWriteTime(path, 2024, 3, 7);
  wchar_t sep[8] = L"/";
  GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDATE, sep, 8);
  const std::string s = Narrow(sep);
  EXPECT_EQ(FileDateText(path, "mm/dd/yyyy"), "03" + s + "07" + s + "2024");
  EXPECT_EQ(AboutText(path), "Product: \r\nVersion: 0.0.0.0\r\n\r\nLast modified on 03" + s + "07" + s + "2024");

  TVersionInformation info;
  info.Load(path);
  EXPECT_EQ(info.InfoSize(), 0u);
  EXPECT_EQ(info.StringValue(TVersionInformation::kProductName), "");
  DeleteFileW(Wide(path).c_str());

  // A missing file and a folder have no date.
  EXPECT_EQ(FileDateText(path, "mm/dd/yyyy"), "");
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  std::wstring folder = dir;
  folder.pop_back();
  EXPECT_EQ(FileDateText(Narrow(folder), "mm/dd/yyyy"), "");
}

TEST_F(FormsTest, VersionOfTheProgramFile) {
  TVersionInformation info;
  info.Load(ProgramFileName());
  EXPECT_GT(info.InfoSize(), 0u);
  EXPECT_EQ(info.StringValue(TVersionInformation::kProductName), "Quenlor");
  EXPECT_EQ(info.StringValue(TVersionInformation::kCompanyName), "Quenlor");
  EXPECT_EQ(info.StringValue(99), "");
  const std::string version = std::to_string(info.MajorVersion()) + "." + std::to_string(info.MinorVersion()) +
                              "." + std::to_string(info.Release());
  EXPECT_EQ(version, QUENLOR_VERSION);
}

TEST_F(FormsTest, ErrorsInOnCreateReachTheApplicationHandler) {
  class FailingForm : public TForm {
   public:
    explicit FailingForm(TComponent* owner) : TForm(owner) {
      OnCreate = [](TComponent*) { throw Error("catalogue unreadable"); };
    }
  };
  auto& form = Application().CreateForm<FailingForm>();
  EXPECT_EQ(shown_text_, "catalogue unreadable");
  EXPECT_EQ(shown_caption_, "Quenlor");
  form.Show();
  EXPECT_TRUE(IsWindowVisible(form.Handle()));
}

TEST_F(FormsTest, EventsOfStandardControlsAndErrorsInThem) {
  auto& form = Application().CreateForm<SampleForm>(300, 300);
  form.Show();
  int clicks = 0;
  form.button->OnClick = [&](TComponent*) {
    ++clicks;
    throw Error("button failed");
  };
  SendMessageW(form.button->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(shown_text_, "button failed");

  form.list->SetItems({"a", "b", "c"});
  int selections = 0;
  form.list->OnClick = [&](TComponent*) { ++selections; };
  form.list->SetItemIndex(1);
  EXPECT_EQ(form.list->ItemIndex(), 1);
  form.list->SetItems({"x"});
  EXPECT_EQ(form.list->ItemIndex(), -1);
  // A style change remakes the window and keeps items and selection.
  form.list->SetItemIndex(0);
  form.list->SetStyle(TListBoxStyle::lbOwnerDrawFixed);
  EXPECT_EQ(form.list->ItemIndex(), 0);
  EXPECT_EQ(SendMessageW(form.list->Handle(), LB_GETCOUNT, 0, 0), 1);
  EXPECT_EQ(selections, 0);

  int ticks = 0;
  auto& timer = form.Add<TTimer>();
  timer.SetInterval(10);
  timer.OnTimer = [&](TComponent*) {
    ++ticks;
    timer.SetEnabled(false);
  };
  timer.SetEnabled(false);
  timer.SetEnabled(true);
  for (int i = 0; i < 100 && ticks == 0; ++i) {
    Sleep(5);
    Application().ProcessMessages();
  }
  EXPECT_EQ(ticks, 1);
  EXPECT_EQ(form.label->Caption(), "Type Libraries:");
  wchar_t text[64];
  GetWindowTextW(form.label->Handle(), text, 64);
  EXPECT_EQ(Narrow(text), "Type Libraries:");
}

}  // namespace
}  // namespace quenlor::ui
