#include "ui/framework/graphics.h"

#include "base/text.h"

namespace quenlor::ui {

COLORREF ColorToRGB(TColor color) {
  if (color & kSystemColor) return GetSysColor(static_cast<int>(color & 0xFF));
  return color & 0xFFFFFF;
}

COLORREF Blend(TColor a, TColor b, int percent) {
  const COLORREF ca = ColorToRGB(a);
  const COLORREF cb = ColorToRGB(b);
  auto mix = [&](int shift) {
    const int va = static_cast<int>((ca >> shift) & 0xFF);
    const int vb = static_cast<int>((cb >> shift) & 0xFF);
    return static_cast<COLORREF>(((100 - percent) * vb) / 100 + (percent * va) / 100) & 0xFF;
  };
  return mix(0) | (mix(8) << 8) | (mix(16) << 16);
}

namespace {
int ScreenDpi() {
  static const int dpi = [] {
    HDC dc = GetDC(nullptr);
    const int value = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    if (dc) ReleaseDC(nullptr, dc);
    return value > 0 ? value : 96;
  }();
  return dpi;
}
}  // namespace

TFont::TFont() : TFont("Tahoma", 8) {}

TFont::TFont(std::string name, int points, unsigned style)
    : name_(std::move(name)), height_(-MulDiv(points, ScreenDpi(), 72)), style_(style) {}

int TFont::Size() const { return -MulDiv(height_, 72, ScreenDpi()); }

void TFont::SetName(std::string name) {
  name_ = std::move(name);
  handle_.reset();
}
void TFont::SetHeight(int height) {
  height_ = height;
  handle_.reset();
}
void TFont::SetSize(int points) { SetHeight(-MulDiv(points, ScreenDpi(), 72)); }
void TFont::SetStyle(unsigned style) {
  style_ = style;
  handle_.reset();
}

HFONT TFont::Handle() const {
  if (!handle_) {
    LOGFONTW log{};
    log.lfHeight = height_;
    log.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
    log.lfItalic = (style_ & fsItalic) ? 1 : 0;
    log.lfUnderline = (style_ & fsUnderline) ? 1 : 0;
    log.lfStrikeOut = (style_ & fsStrikeOut) ? 1 : 0;
    log.lfCharSet = DEFAULT_CHARSET;
    log.lfQuality = DEFAULT_QUALITY;
    if (fixed_pitch_) log.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    const std::wstring face = Wide(name_);
    lstrcpynW(log.lfFaceName, face.c_str(), LF_FACESIZE);
    handle_ = std::make_shared<Font>(CreateFontIndirectW(&log));
  }
  return handle_->get();
}

bool TFont::operator==(const TFont& other) const {
  return name_ == other.name_ && height_ == other.height_ && style_ == other.style_ &&
         color_ == other.color_ && fixed_pitch_ == other.fixed_pitch_;
}

TFont TFont::FromLogFont(const LOGFONTW& log) {
  TFont font;
  font.name_ = Narrow(log.lfFaceName);
  font.height_ = log.lfHeight;
  unsigned style = 0;
  if (log.lfWeight >= FW_BOLD) style |= fsBold;
  if (log.lfItalic) style |= fsItalic;
  if (log.lfUnderline) style |= fsUnderline;
  if (log.lfStrikeOut) style |= fsStrikeOut;
  font.style_ = style;
  return font;
}

bool TFont::IsFixedPitch() const {
  WindowDc screen(nullptr);
  SelectGuard select(screen.get(), Handle());
  TEXTMETRICW metrics{};
  if (!GetTextMetricsW(screen.get(), &metrics)) return false;
  // The flag's name says the opposite of what it means: set for variable pitch.
  return !(metrics.tmPitchAndFamily & TMPF_FIXED_PITCH);
}

TFont TFont::FixedPitch(const std::string& preferred, int points) {
  // A machine without the preferred face gets whatever the font mapper likes, often a
  // proportional face; the faces after it are those that Linux and Wine usually have.
  TFont font;
  for (const char* face : {preferred.c_str(), "Liberation Mono", "DejaVu Sans Mono", "Courier", ""}) {
    font = TFont(face, points);
    font.fixed_pitch_ = true;
    if (font.IsFixedPitch()) return font;
  }
  return font;
}

TFont TFont::DesktopFont() {
  LOGFONTW log{};
  if (SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof log, &log, 0)) return FromLogFont(log);
  return TFont();
}

TCanvas::TCanvas(HDC dc) : dc_(dc) {
  saved_ = SaveDC(dc_);
  SetBkMode(dc_, TRANSPARENT);
  original_font_ = SelectObject(dc_, font_.Handle());
  SetTextColor(dc_, ColorToRGB(font_.Color()));
}

TCanvas::~TCanvas() {
  if (original_font_) SelectObject(dc_, original_font_);
  RestoreDC(dc_, saved_);
}

void TCanvas::SetFont(const TFont& font) {
  font_ = font;
  SelectObject(dc_, font_.Handle());
  SetTextColor(dc_, ColorToRGB(font_.Color()));
}

void TCanvas::FillRect(const RECT& rect, TColor color) {
  Brush brush(CreateSolidBrush(ColorToRGB(color)));
  ::FillRect(dc_, &rect, brush.get());
}

void TCanvas::FrameRect(const RECT& rect, TColor color) {
  Brush brush(CreateSolidBrush(ColorToRGB(color)));
  ::FrameRect(dc_, &rect, brush.get());
}

void TCanvas::Line(int x1, int y1, int x2, int y2, TColor color) {
  Pen pen(CreatePen(PS_SOLID, 0, ColorToRGB(color)));
  SelectGuard guard(dc_, pen.get());
  MoveToEx(dc_, x1, y1, nullptr);
  LineTo(dc_, x2, y2);
}

int TCanvas::DrawString(std::string_view text, RECT& rect, UINT format) {
  std::wstring w = Wide(text);
  return ::DrawTextW(dc_, w.data(), static_cast<int>(w.size()), &rect, format);
}

SIZE TCanvas::TextExtent(std::string_view text) {
  const std::wstring w = Wide(text);
  SIZE size{};
  GetTextExtentPoint32W(dc_, w.c_str(), static_cast<int>(w.size()), &size);
  return size;
}

}  // namespace quenlor::ui
