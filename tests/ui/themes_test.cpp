// Control providers, the framed window and the list and combo item themes.
#include <string>
#include <typeindex>

#include <windows.h>
#include <uxtheme.h>
#include <vssym32.h>

#include "ui/components/framed_window.h"
#include "ui/components/grip_form.h"
#include "ui/components/text_view.h"
#include "ui/components/theme_ctrls.h"
#include "ui_test_support.h"

namespace quenlor::ui {
namespace {

using testing::Near;
using testing::PixelAt;

// ---------------------------------------------------------------------------------------
// Providers

int g_inits = 0;

class FlatProvider : public TProvider<FlatProvider> {
 public:
  static std::string ClassDisplayName() { return "Flat"; }
  void Init(TControl&) override { ++g_inits; }
};
class RoundProvider : public TProvider<RoundProvider> {
 public:
  static std::string ClassDisplayName() { return "Round Corners"; }
};
class PlainProvider : public TProvider<PlainProvider> {};  // "(default provider)"

class PanelA : public TProviderCustomControl {
 public:
  using TProviderCustomControl::TProviderCustomControl;
};
class PanelB : public TProviderCustomControl {
 public:
  using TProviderCustomControl::TProviderCustomControl;
};
class PanelC : public TProviderCustomControl {
 public:
  using TProviderCustomControl::TProviderCustomControl;
};
class DerivedA : public PanelA {
 public:
  using PanelA::PanelA;
};

class ThemesTest : public testing::UiTest {};

TEST_F(ThemesTest, FindProviderMatchesNamesExactClassesAndDefaults) {
  RegisterProviders(ProviderClassOf<FlatProvider>(), {typeid(PanelA), typeid(PanelB)});
  RegisterProviders(ProviderClassOf<FlatProvider>(), {typeid(PanelA)});  // once per pair
  RegisterProviders(ProviderClassOf<RoundProvider>(), {typeid(PanelA)});
  RegisterDefaultProvider(ProviderClassOf<RoundProvider>(), typeid(PanelA));
  RegisterDefaultProvider(ProviderClassOf<PlainProvider>(), typeid(PanelB));
  int pairs = 0;
  for (const auto& r : ProviderManager().Registrations())
    if (r.provider_class == &ProviderClassOf<FlatProvider>() && r.control_class == std::type_index(typeid(PanelA)))
      ++pairs;
  EXPECT_EQ(pairs, 1);

  auto flat = FindProvider(typeid(PanelA), "  fLAT ");
  ASSERT_TRUE(flat);
  EXPECT_EQ(flat->DisplayName(), "Flat");
  // One object per provider class, shared.
  EXPECT_EQ(FindProvider(typeid(PanelA), "Flat"), flat);
  EXPECT_EQ(FindProvider(typeid(PanelB), "flat"), flat);
  // No name, or an unknown one: the class' default.
  EXPECT_EQ(FindProvider(typeid(PanelA), "")->DisplayName(), "Round Corners");
  EXPECT_EQ(FindProvider(typeid(PanelA), "Glass")->DisplayName(), "Round Corners");
  EXPECT_EQ(FindProvider(typeid(PanelB), "")->DisplayName(), "(default provider)");
  // No registration for the exact class: nothing, even with one for its ancestor.
  EXPECT_FALSE(FindProvider(typeid(DerivedA), "Flat"));
  EXPECT_FALSE(FindProvider(typeid(PanelC), ""));

  // Controls take their class' default at construction; a name selects another.
  g_inits = 0;
  auto& a1 = host_->Add<PanelA>(host_);
  auto& a2 = host_->Add<PanelA>(host_);
  EXPECT_EQ(a1.ProviderName(), "Round Corners");
  EXPECT_EQ(a1.Provider(), a2.Provider());
  a1.SetProviderName("flat");
  EXPECT_EQ(a1.ProviderName(), "Flat");
  EXPECT_EQ(g_inits, 1);
  a1.SetProviderName("flat");  // the same provider: no second Init
  EXPECT_EQ(g_inits, 1);
  a1.SetProviderName("nothing like it");
  EXPECT_EQ(a1.ProviderName(), "Round Corners");
  auto& c = host_->Add<PanelC>(host_);
  EXPECT_EQ(c.ProviderName(), "");

  // Hover notifications: the control on enter, nothing on leave.
  std::vector<TControl*> hovers;
  c.OnHover = [&](TComponent*, TControl* control) { hovers.push_back(control); };
  ShowAndPaint();
  SendMessageW(c.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
  SendMessageW(c.Handle(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(hovers, (std::vector<TControl*>{&c, nullptr}));
}

// ---------------------------------------------------------------------------------------
// Framed window

TEST_F(ThemesTest, FramedWindowHasTheSunkenEdgeOnlyWithSingleBorder) {
  auto& frame = host_->Add<TFramedWindow>(host_);
  frame.SetBounds(20, 20, 120, 80);
  EXPECT_EQ(frame.BorderStyle(), TBorderStyle::bsSingle);
  EXPECT_FALSE(frame.ProviderName().size());  // no provider registered for it
  ShowAndPaint();
  HWND w = frame.Handle();
  EXPECT_TRUE(GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_FALSE(GetWindowLongPtrW(w, GWL_STYLE) & WS_BORDER);
  EXPECT_EQ(frame.ClientWidth(), 116);
  if (VisualStylesActive()) {
    // With visual styles: the edit box's border, as the style draws it for this size.
    HTHEME theme = OpenThemeData(w, L"EDIT");
    ASSERT_TRUE(theme);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 120, 80);
    HGDIOBJ old = SelectObject(memory, bitmap);
    RECT r{0, 0, 120, 80};
    DrawThemeBackground(theme, memory, EP_EDITBORDER_NOSCROLL, EPSN_NORMAL, &r, nullptr);
    for (POINT p : {POINT{0, 10}, POINT{10, 0}, POINT{1, 10}, POINT{119, 40}, POINT{60, 79}, POINT{118, 40}})
      EXPECT_TRUE(Near(PixelAt(w, p.x, p.y, true), GetPixel(memory, p.x, p.y))) << p.x << "," << p.y;
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    CloseThemeData(theme);
    // Without a style for this window, the classic edge is drawn instead.
    SetWindowTheme(w, L" ", L" ");
    RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  }
  {
    // The classic two-pixel sunken edge, read through the window's own device context.
    EXPECT_TRUE(Near(PixelAt(w, 0, 10, true), ColorToRGB(clBtnShadow)));
    EXPECT_TRUE(Near(PixelAt(w, 10, 0, true), ColorToRGB(clBtnShadow)));
    EXPECT_TRUE(Near(PixelAt(w, 1, 10, true), ColorToRGB(cl3DDkShadow)));
    EXPECT_TRUE(Near(PixelAt(w, 119, 10, true), ColorToRGB(clBtnHighlight)));
    EXPECT_TRUE(Near(PixelAt(w, 10, 79, true), ColorToRGB(clBtnHighlight)));
    EXPECT_TRUE(Near(PixelAt(w, 118, 10, true), ColorToRGB(cl3DLight)));
    EXPECT_TRUE(Near(PixelAt(w, 10, 78, true), ColorToRGB(cl3DLight)));
  }
  // Children keep their places when the border changes and the window is remade.
  auto& inner = host_->Add<TPaintBox>(&frame);
  inner.SetAlign(TAlign::alClient);
  EXPECT_EQ(inner.Width(), 116);
  frame.SetBorderStyle(TBorderStyle::bsNone);
  w = frame.Handle();
  EXPECT_FALSE(GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_EQ(inner.Width(), 120);
  EXPECT_EQ(GetParent(inner.Handle()), w);
  RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
  EXPECT_TRUE(Near(PixelAt(w, 0, 10, true), ColorToRGB(frame.Color())));

  // Controls further down keep what their windows held (text typed into a memo).
  auto& nested = host_->Add<TFramedWindow>(&frame);
  auto& memo = host_->Add<TTextView>(&nested);
  SetWindowTextW(memo.Handle(), L"typed");
  frame.SetBorderStyle(TBorderStyle::bsSingle);
  EXPECT_EQ(memo.Text(), "typed");
  EXPECT_EQ(GetParent(GetParent(memo.Handle())), frame.Handle());
}

TEST_F(ThemesTest, FramedImagesWindowKeepsIndexAndForgetsFreedLists) {
  auto& window = host_->Add<TFramedImagesWindow>(host_);
  EXPECT_EQ(window.ImageIndex(), -1);
  window.SetImageIndex(3);
  EXPECT_EQ(window.ImageIndex(), 3);
  window.SetImageIndex(-5);
  EXPECT_EQ(window.ImageIndex(), -1);
  auto& list = host_->Add<TImageList>(16, 16);
  window.SetImages(&list);
  EXPECT_EQ(window.Images(), &list);
  host_->RemoveComponent(&list);
  EXPECT_EQ(window.Images(), nullptr);
}

// ---------------------------------------------------------------------------------------
// Item themes

TEST(ItemFields, IntegerFields) {
  EXPECT_EQ(DisplayField("x|$1F|y", 1), "31");
  EXPECT_EQ(DisplayField("x|0xff|y", 1), "255");
  EXPECT_EQ(DisplayField("x|1f|y", 1), "1f");  // hex digits only after "$" or "0x"
  EXPECT_EQ(DisplayField("x|007|y", 1), "7");
  EXPECT_EQ(DisplayField("x|-1|y", 1), "-1");
  EXPECT_EQ(DisplayField("x|-01|y", 1), "-01");  // converts to -1: kept as it is
  EXPECT_EQ(DisplayField("x|+12|y", 1), "12");
  EXPECT_EQ(DisplayField("x|2147483648|y", 1), "2147483648");  // beyond 32 bits
  EXPECT_EQ(DisplayField("x|-2147483648|y", 1), "-2147483648");
  EXPECT_EQ(DisplayField("x|12a|y", 1), "12a");
  EXPECT_EQ(DisplayField("{00020430-0000-0000-C000-000000000046}", 0), "{00020430-0000-0000-C000-000000000046}");
}

TEST_F(ThemesTest, ListRowsItemHeights) {
  auto height_for = [&](int rows) {
    auto& list = host_->Add<TListBox>(host_);
    list.SetBounds(10, 10, 200, 100);
    auto& theme = list.Add<TListRowsTheme>(rows);
    EXPECT_EQ(list.Style(), TListBoxStyle::lbOwnerDrawFixed);
    return std::make_pair(theme.Rows(), list.ItemHeight());
  };
  EXPECT_EQ(height_for(3), std::make_pair(3, 54));
  EXPECT_EQ(height_for(0), std::make_pair(0, 0));
  EXPECT_EQ(height_for(-4), std::make_pair(1, 18));
  // On another kind of control the theme does nothing.
  auto& button = host_->Add<TButton>(host_);
  auto& theme = button.Add<TListRowsTheme>(3);
  EXPECT_EQ(theme.Rows(), 3);
  EXPECT_EQ(button.ComponentCount(), 1u);
}

// The first column holding a dark (text) pixel within rows [top, bottom) of a window.
int FirstTextColumn(HWND w, int left, int right, int top, int bottom) {
  HDC dc = GetDC(w);
  int found = -1;
  for (int x = left; x < right && found < 0; ++x)
    for (int y = top; y < bottom; ++y) {
      const COLORREF c = GetPixel(dc, x, y);
      if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 110) {
        found = x;
        break;
      }
    }
  ReleaseDC(w, dc);
  return found;
}

TEST_F(ThemesTest, ListRowsDrawBoldFirstRowIndentedRowsAndSelection) {
  auto& list = host_->Add<TListBox>(host_);
  list.SetBounds(10, 10, 300, 200);
  list.SetItems({"OLE Automation|{00020430-0000-0000-C000-000000000046}|C:\\stdole2.tlb", "007|-1", "x"});
  list.Add<TListRowsTheme>(3);
  auto& other = host_->Add<TButton>(host_);
  other.SetBounds(400, 10, 75, 25);
  ShowAndPaint();
  HWND w = list.Handle();
  EXPECT_EQ(SendMessageW(w, LB_GETITEMHEIGHT, 0, 0), 54);

  // Rows at +0, +18 and +34; row 0 from x = 3, rows 1 and 2 ten pixels further right.
  const int row0 = FirstTextColumn(w, 0, 60, 0, 18);
  const int row1 = FirstTextColumn(w, 0, 60, 20, 34);
  const int row2 = FirstTextColumn(w, 0, 60, 36, 52);
  EXPECT_GE(row0, 3);
  EXPECT_LT(row0, 8);
  EXPECT_GE(row1, 13);
  EXPECT_GE(row2, 13);
  EXPECT_LT(row2, 18);
  // Missing fields leave their rows empty: item 2 ("x") has only its first row.
  EXPECT_EQ(FirstTextColumn(w, 0, 200, 108 + 20, 108 + 52), -1);
  // The bold first row is heavier than the same text in the normal font would be: compare
  // its dark-pixel count with row 1 of an item whose fields are the same text.
  list.SetItems({"Quenlor Quenlor|Quenlor Quenlor"});
  RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  auto dark = [&](int top, int bottom) {
    HDC dc = GetDC(w);
    int n = 0;
    for (int x = 0; x < 200; ++x)
      for (int y = top; y < bottom; ++y) {
        const COLORREF c = GetPixel(dc, x, y);
        if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 110) ++n;
      }
    ReleaseDC(w, dc);
    return n;
  };
  EXPECT_GT(dark(0, 18), dark(20, 34) * 11 / 10);

  // Selected with the focus: a highlight edge around blend(highlight, window, 33); the
  // list's own focus rectangle does not show.
  list.SetItems({"a|b|c", "d|e|f"});
  list.SetItemIndex(0);
  list.SetFocus();
  RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  EXPECT_TRUE(Near(PixelAt(w, 100, 0), ColorToRGB(clHighlight)));
  EXPECT_TRUE(Near(PixelAt(w, 0, 30), ColorToRGB(clHighlight)));
  EXPECT_TRUE(Near(PixelAt(w, 1, 53), ColorToRGB(clHighlight)));
  EXPECT_TRUE(Near(PixelAt(w, 150, 30), Blend(clHighlight, clWindow, 33)));
  // Selected without the focus: an outline in blend(highlight, window, 66), the inside
  // in the list's colour.
  other.SetFocus();
  RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  EXPECT_TRUE(Near(PixelAt(w, 100, 0), Blend(clHighlight, clWindow, 66)));
  EXPECT_TRUE(Near(PixelAt(w, 150, 30), ColorToRGB(clWindow)));
  // Not selected: the list's colour.
  EXPECT_TRUE(Near(PixelAt(w, 150, 54 + 30), ColorToRGB(clWindow)));
}

TEST_F(ThemesTest, ComboBoxThemeItemHeightAndWholeTextWithoutColumns) {
  auto& combo = host_->Add<TComboBox>(host_);
  combo.SetBounds(10, 10, 265, 21);
  combo.SetItems({"Sort by name", "a|b"});
  combo.SetItemIndex(1);
  auto& theme = combo.Add<TComboBoxTheme>();
  EXPECT_TRUE(theme.ColumnWidths().empty());
  EXPECT_EQ(combo.Style(), TComboBoxStyle::csOwnerDrawFixed);
  EXPECT_EQ(combo.ItemHeight(), TComboBoxTheme::EditHeight() - 6);
  ShowAndPaint();
  EXPECT_EQ(SendMessageW(combo.Handle(), CB_GETITEMHEIGHT, 0, 0), TComboBoxTheme::EditHeight() - 6);
  // The whole text, "|" included, from 3 pixels in: "a|b" is wider than "a".
  const int height = static_cast<int>(SendMessageW(combo.Handle(), CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
  EXPECT_GT(height, 0);
  HWND w = combo.Handle();
  const int first = FirstTextColumn(w, 0, 100, 3, 3 + height);
  EXPECT_GE(first, 3);
  int last = -1;
  HDC dc = GetDC(w);
  for (int x = 0; x < 100; ++x)
    for (int y = 3; y < 3 + height; ++y) {
      const COLORREF c = GetPixel(dc, x, y);
      if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 110) last = x;
    }
  ReleaseDC(w, dc);
  EXPECT_GT(last - first, 10);
}

}  // namespace
}  // namespace quenlor::ui
