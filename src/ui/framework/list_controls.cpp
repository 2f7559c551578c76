#include "ui/framework/controls.h"

#include <algorithm>

namespace quenlor::ui {

namespace {

// The look of an owner-drawn item that no theme draws: the highlight when selected, its text.
void DrawPlainItem(TCanvas& canvas, const DRAWITEMSTRUCT& item, TOwnerDrawState state,
                   const std::vector<std::string>& items, TColor color, TFont font) {
  const int index = static_cast<int>(item.itemID);
  if (index < 0) {
    canvas.FillRect(item.rcItem, color);
    return;
  }
  const bool selected = state & odSelected;
  canvas.FillRect(item.rcItem, selected ? clHighlight : color);
  font.SetColor(selected ? clHighlightText : clWindowText);
  canvas.SetFont(font);
  RECT r = item.rcItem;
  r.left += 2;
  canvas.DrawString(index < static_cast<int>(items.size()) ? items[static_cast<std::size_t>(index)] : "", r,
                    DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

constexpr TCustomListControl::Messages kListBoxMessages{LB_ADDSTRING, LB_RESETCONTENT, LB_GETCURSEL, LB_SETCURSEL,
                                                        LB_SETITEMHEIGHT};
constexpr TCustomListControl::Messages kComboBoxMessages{CB_ADDSTRING, CB_RESETCONTENT, CB_GETCURSEL, CB_SETCURSEL,
                                                         CB_SETITEMHEIGHT};

}  // namespace

// ---------------------------------------------------------------------------------------
// The shared base

TCustomListControl::TCustomListControl(TComponent* owner, TControl* parent, const Messages& messages,
                                       int item_height)
    : TControl(owner, parent), messages_(messages), item_height_(item_height) {
  SetColor(clWindow);
}

void TCustomListControl::AddStrings() const {
  HWND w = HandleIfCreated();
  SendMessageW(w, WM_SETREDRAW, FALSE, 0);
  for (const std::string& item : items_)
    SendMessageW(w, messages_.add, 0, reinterpret_cast<LPARAM>(Wide(item).c_str()));
  SendMessageW(w, WM_SETREDRAW, TRUE, 0);
}

void TCustomListControl::CreateWnd() {
  AddStrings();
  ApplyItemHeight();
  SendMessageW(HandleIfCreated(), messages_.set_selection, static_cast<WPARAM>(item_index_), 0);
}

void TCustomListControl::DestroyWnd() { item_index_ = ItemIndex(); }

void TCustomListControl::SetItems(std::vector<std::string> items) {
  items_ = std::move(items);
  item_index_ = -1;
  if (HWND w = HandleIfCreated()) {
    SendMessageW(w, messages_.reset, 0, 0);
    AddStrings();
    InvalidateRect(w, nullptr, TRUE);
  }
}

int TCustomListControl::ItemIndex() const {
  if (HWND w = HandleIfCreated()) return static_cast<int>(SendMessageW(w, messages_.get_selection, 0, 0));
  return item_index_;
}

void TCustomListControl::SetItemIndex(int index) {
  if (index < -1 || index >= static_cast<int>(items_.size())) index = -1;
  item_index_ = index;
  if (HWND w = HandleIfCreated()) SendMessageW(w, messages_.set_selection, static_cast<WPARAM>(index), 0);
}

void TCustomListControl::SetItemHeight(int height) {
  item_height_ = std::max(0, height);
  ApplyItemHeight();
  Invalidate();
}

void TCustomListControl::SetItemHeightMessage(WPARAM which) const {
  if (HWND w = HandleIfCreated()) SendMessageW(w, messages_.set_item_height, which, item_height_);
}

bool TCustomListControl::ReflectedDrawItem(DRAWITEMSTRUCT& item) {
  TCanvas canvas(item.hDC);
  canvas.SetFont(Font());
  const auto state = static_cast<TOwnerDrawState>(item.itemState & 0xFFFF);
  const int index = static_cast<int>(item.itemID);
  if (index >= 0 && OnDrawItem) {
    OnDrawItem(this, index, item.rcItem, state, canvas);
  } else {
    DrawPlainItem(canvas, item, state, items_, Color(), Font());
  }
  // The standard focus rectangle; a theme that clipped the item away hides it.
  if (state & odFocused) DrawFocusRect(item.hDC, &item.rcItem);
  return true;
}

HBRUSH TCustomListControl::ReflectedCtlColor(HDC dc) { return TControl::ReflectedCtlColor(dc); }

// ---------------------------------------------------------------------------------------
// TListBox

TListBox::TListBox(TComponent* owner, TControl* parent) : TCustomListControl(owner, parent, kListBoxMessages, 16) {
  SetBoundsInternal(0, 0, 121, 97);
}

void TListBox::CreateParams(TCreateParams& params) {
  params.class_name = L"LISTBOX";
  params.system_class = true;
  params.style = WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
  if (style_ == TListBoxStyle::lbOwnerDrawFixed) params.style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
  params.ex_style = WS_EX_CLIENTEDGE;
}

void TListBox::ApplyItemHeight() const {
  if (style_ == TListBoxStyle::lbOwnerDrawFixed) SetItemHeightMessage(0);
}

void TListBox::AddItem(const std::string& item) {
  items_.push_back(item);
  if (HWND w = HandleIfCreated())
    SendMessageW(w, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item).c_str()));
}

void TListBox::SetStyle(TListBoxStyle style) {
  if (style == style_) return;
  style_ = style;
  RecreateWnd();
}

bool TListBox::ReflectedCommand(WORD code) {
  if (code != LBN_SELCHANGE) return false;
  Click();
  return true;
}

bool TListBox::ReflectedMeasureItem(MEASUREITEMSTRUCT& item) {
  item.itemHeight = static_cast<UINT>(ItemHeight());
  return true;
}

// ---------------------------------------------------------------------------------------
// TComboBox

TComboBox::TComboBox(TComponent* owner, TControl* parent) : TCustomListControl(owner, parent, kComboBoxMessages, 0) {
  SetBoundsInternal(0, 0, 145, 21);
}

void TComboBox::CreateParams(TCreateParams& params) {
  params.class_name = L"COMBOBOX";
  params.system_class = true;
  params.style = WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST;
  if (style_ == TComboBoxStyle::csOwnerDrawFixed) params.style |= CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
}

void TComboBox::ApplyItemHeight() const {
  // 0 keeps the platform's height; the selection field (-1) and the items are set alike.
  if (ItemHeight() <= 0) return;
  SetItemHeightMessage(static_cast<WPARAM>(-1));
  SetItemHeightMessage(0);
}

void TComboBox::SetStyle(TComboBoxStyle style) {
  if (style == style_) return;
  style_ = style;
  RecreateWnd();
}

bool TComboBox::ReflectedCommand(WORD code) {
  if (code != CBN_SELCHANGE) return false;
  if (OnChange) OnChange(this);
  return true;
}

bool TComboBox::ReflectedMeasureItem(MEASUREITEMSTRUCT& item) {
  if (ItemHeight() <= 0) return false;
  item.itemHeight = static_cast<UINT>(ItemHeight());
  return true;
}

}  // namespace quenlor::ui
