// Colours, fonts and the canvas through which controls draw. Text is UTF-8 here and
// becomes UTF-16 only in the calls to the platform.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "base/win32/wide_text.h"
#include "ui/framework/handles.h"

namespace quenlor::ui {

// An RGB colour (the platform's COLORREF layout) or, with the top bit set, a system
// colour index, resolved when it is drawn so that it follows the user's colour scheme.
using TColor = std::uint32_t;
constexpr TColor kSystemColor = 0x80000000u;
constexpr TColor clBtnFace = kSystemColor | COLOR_BTNFACE;
constexpr TColor clBtnShadow = kSystemColor | COLOR_BTNSHADOW;
constexpr TColor clBtnHighlight = kSystemColor | COLOR_BTNHIGHLIGHT;
constexpr TColor clBtnText = kSystemColor | COLOR_BTNTEXT;
constexpr TColor cl3DDkShadow = kSystemColor | COLOR_3DDKSHADOW;
constexpr TColor cl3DLight = kSystemColor | COLOR_3DLIGHT;
constexpr TColor clWindow = kSystemColor | COLOR_WINDOW;
constexpr TColor clWindowText = kSystemColor | COLOR_WINDOWTEXT;
constexpr TColor clHighlight = kSystemColor | COLOR_HIGHLIGHT;
constexpr TColor clHighlightText = kSystemColor | COLOR_HIGHLIGHTTEXT;
constexpr TColor clGrayText = kSystemColor | COLOR_GRAYTEXT;

// The COLORREF to draw with.
COLORREF ColorToRGB(TColor color);

// The colour whose channels are each ((100 - p) * b) / 100 + (p * a) / 100, each product
// divided separately with the remainder dropped, so p = 100 gives a and p = 0 gives b.
COLORREF Blend(TColor a, TColor b, int percent);

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

// A font description; its platform font is made on first use and shared by copies.
class TFont {
 public:
  TFont();
  TFont(std::string name, int points, unsigned style = 0);

  const std::string& Name() const { return name_; }
  // Height in pixels; negative for a character height, as the platform's LOGFONT takes it.
  int Height() const { return height_; }
  int Size() const;  // points
  unsigned Style() const { return style_; }
  TColor Color() const { return color_; }

  void SetName(std::string name);
  void SetHeight(int height);
  void SetSize(int points);
  void SetStyle(unsigned style);
  void SetColor(TColor color) { color_ = color; }

  HFONT Handle() const;
  bool operator==(const TFont& other) const;

  // Whether the platform's font for this description has characters of one width.
  bool IsFixedPitch() const;
  // A fixed-pitch font of `points`: the face `preferred` when the platform gives it as
  // fixed-pitch, else the first such of a few common faces, else the font mapper's choice
  // for a fixed-pitch modern font.
  static TFont FixedPitch(const std::string& preferred, int points);

  // The desktop's font: the icon-title font of the system.
  static TFont DesktopFont();
  static TFont FromLogFont(const LOGFONTW& log);

 private:
  std::string name_;
  int height_;
  unsigned style_ = 0;
  TColor color_ = clWindowText;
  bool fixed_pitch_ = false;
  mutable std::shared_ptr<Font> handle_;
};

// Drawing on one device context with a current font and text colour.
class TCanvas {
 public:
  explicit TCanvas(HDC dc);
  ~TCanvas();
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  HDC Handle() const { return dc_; }

  const TFont& Font() const { return font_; }
  void SetFont(const TFont& font);

  void FillRect(const RECT& rect, TColor color);
  void FrameRect(const RECT& rect, TColor color);
  void Line(int x1, int y1, int x2, int y2, TColor color);
  // DrawTextW with the canvas' font and colour; the text is UTF-8.
  int DrawString(std::string_view text, RECT& rect, UINT format);
  SIZE TextExtent(std::string_view text);

 private:
  HDC dc_;
  TFont font_;
  HGDIOBJ original_font_ = nullptr;
  int saved_ = 0;
};

}  // namespace quenlor::ui
