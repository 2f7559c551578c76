// Themes that change how a list box and a drop-down combo box draw their items: each item
// is text fields separated by "|", drawn as rows (list) or columns (combo).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/text.h"
#include "ui/framework/controls.h"

namespace quenlor::ui {

// A component owned by the control it decorates, destroyed with it.
class TThemeComponent : public TComponent {
 public:
  explicit TThemeComponent(TComponent* owner) : TComponent(owner) {}
};

// The field as the item themes draw it: a field that converts completely to a 32-bit
// integer other than -1 becomes that integer's plain decimal text ("007" -> "7").
std::string DisplayField(std::string_view text, int index, char separator = '|');

// Draws each item of a list box as rows: field 0 in bold, the next fields below it.
class TListRowsTheme : public TThemeComponent {
 public:
  static constexpr int kRowHeight = 18;
  TListRowsTheme(TComponent* owner, int rows);
  int Rows() const { return rows_; }

 private:
  void DrawItem(TListBox& list, int index, const RECT& rect, TOwnerDrawState state, TCanvas& canvas);
  int rows_;
};

// Draws each item of a combo box as its whole text or, with column widths, as columns.
class TComboBoxTheme : public TThemeComponent {
 public:
  explicit TComboBoxTheme(TComponent* owner, std::vector<int> column_widths = {});
  const std::vector<int>& ColumnWidths() const { return widths_; }
  void SetColumnWidths(std::vector<int> widths);

  // The height of a single-line edit box in the desktop font (measured once).
  static int EditHeight();

 private:
  void DrawItem(TComboBox& combo, int index, const RECT& rect, TOwnerDrawState state, TCanvas& canvas);
  std::vector<int> widths_;
};

}  // namespace quenlor::ui
