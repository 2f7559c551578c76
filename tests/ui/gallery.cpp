// A window showing each control of the user interface in its states, saved as a bitmap
// so that a person can look at it: ui_gallery OUTPUT.bmp [classic]
// ("classic" turns visual styles off for the program, to see the drawing without them).
#include <windows.h>
#include <uxtheme.h>

#include <cstdio>
#include <string>

#include "ui/components/text_view.h"
#include "ui/components/draw_tabs.h"
#include "ui/components/framed_window.h"
#include "ui/components/grip_form.h"
#include "ui/components/theme_ctrls.h"

using namespace quenlor::ui;

namespace {

class GalleryForm : public TGripForm {
 public:
  explicit GalleryForm(TComponent* owner) : TGripForm(owner) {
    SetCaption("Quenlor controls");
    SetBounds(0, 0, 700, 500);

    // Strips: the first tab current; the second current with a close button and a
    // hot neighbour; none current (the band along the bottom); a disabled tab.
    auto strip = [&](int top, const char* label) -> TDrawTabs& {
      auto& caption = Add<TLabel>(this);
      caption.SetBounds(8, top, 100, 14);
      caption.SetCaption(label);
      auto& tabs = Add<TDrawTabs>(this);
      tabs.SetBounds(8, top + 14, 330, 32);
      return tabs;
    };
    auto& a = strip(8, "First tab current:");
    a.Tabs().Add("Source");
    a.Tabs().Add("XML");
    a.Tabs().Add("");
    a.SetTabIndex(0);
    auto& b = strip(58, "Second current, closable; third hot:");
    b.Tabs().Add("Source");
    b.Tabs().Add("XML").SetCanClose(true);
    b.Tabs().Add("Hot tab");
    b.SetTabIndex(1);
    hot_strip = &b;
    auto& c = strip(108, "No current tab; second disabled:");
    c.Tabs().Add("Source");
    c.Tabs().Add("Disabled").SetEnabled(false);
    c.Tabs().Add("A long caption that does not fit");

    // The framed container as the main window uses it.
    auto& frame_label = Add<TLabel>(this);
    frame_label.SetBounds(350, 8, 100, 14);
    frame_label.SetCaption("Framed window:");
    auto& frame = Add<TFramedWindow>(this);
    frame.SetBounds(350, 24, 300, 200);
    auto& tabs = Add<TDrawTabs>(&frame);
    tabs.SetAlign(TAlign::alTop);
    tabs.Tabs().Add("Source");
    tabs.Tabs().Add("XML");
    tabs.SetTabIndex(0);
    auto& gap = Add<TPaintBox>(&frame);
    gap.SetHeight(4);
    gap.SetAlign(TAlign::alTop);
    auto& memo = Add<TTextView>(&frame);
    memo.SetAlign(TAlign::alClient);
    memo.SetBorder(false);
    memo.SetFont(TFont::FixedPitch("Courier New", 8));
    memo.SetText("unit stdole_TLB;\r\n\r\ninterface\r\n\r\nuses Windows, ActiveX;\r\n");
    auto& bare = Add<TFramedWindow>(this);
    bare.SetBounds(350, 232, 140, 30);
    bare.SetBorderStyle(TBorderStyle::bsNone);
    bare.SetColor(clWindow);

    // Three-row list items, the first row bold; one selected.
    auto& list_label = Add<TLabel>(this);
    list_label.SetBounds(8, 160, 100, 14);
    list_label.SetCaption("Type Libraries:");
    combo = &Add<TComboBox>(this);
    combo->SetBounds(8, 176, 265, 21);
    combo->SetItems({"Sort by name", "Sort by library identifier", "Sort by object path"});
    combo->SetItemIndex(0);
    combo->Add<TComboBoxTheme>();
    list = &Add<TListBox>(this);
    list->SetBounds(8, 208, 330, 200);
    list->SetItems({"OLE Automation|{00020430-0000-0000-C000-000000000046}|C:\\windows\\system32\\stdole2.tlb",
                    "Microsoft HTML Object Library|{3050F1C5-98B5-11CF-BB82-00AA00BDCE0B}|C:\\windows\\system32\\mshtml.tlb",
                    "007|-1|only two fields"});
    list->Add<TListRowsTheme>(3);
    list->SetItemIndex(1);

    auto& button = Add<TButton>(this);
    button.SetBounds(560, 400, 75, 25);
    button.SetCaption("Close");
    button.SetAnchors(akRight | akBottom);
    button.OnClick = [this](TComponent*) { Close(); };
  }
  TDrawTabs* hot_strip = nullptr;
  TListBox* list = nullptr;
  TComboBox* combo = nullptr;
};

bool SaveWindow(HWND window, const char* path) {
  RECT r;
  GetWindowRect(window, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  const int stride = (w * 3 + 3) & ~3;
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info.bmiHeader;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(stride * h);
  bool ok = false;
  if (FILE* f = std::fopen(path, "wb")) {
    ok = std::fwrite(&file, sizeof file, 1, f) == 1 && std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, f) == 1 &&
         std::fwrite(bits, static_cast<std::size_t>(stride * h), 1, f) == 1;
    std::fclose(f);
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  Application().SetTitle("Quenlor");
  auto& form = Application().CreateForm<GalleryForm>();
  form.SetPosition(TPosition::poDesigned);
  form.SetBounds(10, 10, form.Width(), form.Height());
  form.Show();
  // The mouse over the third tab of the second strip makes it hot.
  const RECT hot = form.hot_strip->Tabs()[2].TabRect();
  SendMessageW(form.hot_strip->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(hot.right - 10, hot.bottom - 4));
  if (argc > 2 && std::string(argv[2]) == "classic") {
    // No style for any window of the form: everything takes its classic drawing.
    EnumChildWindows(form.Handle(), [](HWND w, LPARAM) -> BOOL {
      SetWindowTheme(w, L" ", L" ");
      return TRUE;
    }, 0);
    RedrawWindow(form.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  }
  form.list->SetFocus();
  for (int i = 0; i < 30; ++i) {
    Application().ProcessMessages();
    Sleep(20);
  }
  if (argc > 1) return SaveWindow(form.Handle(), argv[1]) ? 0 : 1;
  return Application().Run();
}
