#include "app/gui/screenshot.h"

#include <zlib.h>


#include "base/error.h"
#include "base/file.h"

namespace quenlor::gui {

namespace {

void PutBigEndian32(std::string& out, std::uint32_t value) {
  out.push_back(static_cast<char>(value >> 24));
  out.push_back(static_cast<char>(value >> 16));
  out.push_back(static_cast<char>(value >> 8));
  out.push_back(static_cast<char>(value));
}

void PutChunk(std::string& out, const char (&type)[5], const std::string& data) {
  PutBigEndian32(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t start = out.size();
  out.append(type, 4);
  out += data;
  const auto* bytes = reinterpret_cast<const Bytef*>(out.data() + start);
  PutBigEndian32(out, static_cast<std::uint32_t>(crc32(0, bytes, static_cast<uInt>(out.size() - start))));
}

}  // namespace

RgbImage CaptureWindow(HWND window) {
  SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  RECT bounds{};
  GetWindowRect(window, &bounds);
  RgbImage image;
  image.width = bounds.right - bounds.left;
  image.height = bounds.bottom - bounds.top;
  if (image.width <= 0 || image.height <= 0) throw Error("the window has no area to capture");

  // From the screen rather than with PrintWindow: Wine's PrintWindow leaves child controls
  // and the frame out, and on Windows the composed screen is what the user sees.
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = image.width;
  info.bmiHeader.biHeight = -image.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool copied = false;
  if (bitmap && memory) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    copied = BitBlt(memory, 0, 0, image.width, image.height, screen, bounds.left, bounds.top, SRCCOPY) != 0;
    GdiFlush();
    SelectObject(memory, old);
  }
  if (copied) {
    const auto* source = static_cast<const std::uint8_t*>(bits);
    image.pixels.resize(static_cast<std::size_t>(image.width) * image.height * 3);
    for (std::size_t i = 0, n = static_cast<std::size_t>(image.width) * image.height; i < n; ++i) {
      image.pixels[i * 3] = source[i * 4 + 2];  // the DIB holds blue, green, red, unused
      image.pixels[i * 3 + 1] = source[i * 4 + 1];
      image.pixels[i * 3 + 2] = source[i * 4];
    }
  }
  if (bitmap) DeleteObject(bitmap);
  if (memory) DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  if (!copied) throw Error("the window could not be captured from the screen");
  return image;
}

std::string EncodePng(const RgbImage& image) {
  // Each row is preceded by its filter type, 0 (none).
  const std::size_t row_bytes = static_cast<std::size_t>(image.width) * 3;
  std::string raw;
  raw.reserve((row_bytes + 1) * image.height);
  for (int y = 0; y < image.height; ++y) {
    raw.push_back('\0');
    raw.append(reinterpret_cast<const char*>(image.pixels.data()) + y * row_bytes, row_bytes);
  }
  uLongf packed_size = compressBound(static_cast<uLong>(raw.size()));
  std::string packed(packed_size, '\0');
  if (compress2(reinterpret_cast<Bytef*>(packed.data()), &packed_size, reinterpret_cast<const Bytef*>(raw.data()),
                static_cast<uLong>(raw.size()), Z_BEST_SPEED) != Z_OK) {
    throw Error("the screenshot could not be compressed");
  }
  packed.resize(packed_size);

  std::string header;
  PutBigEndian32(header, static_cast<std::uint32_t>(image.width));
  PutBigEndian32(header, static_cast<std::uint32_t>(image.height));
  header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, filters, no interlace

  std::string png("\x89PNG\r\n\x1a\n", 8);
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", packed);
  PutChunk(png, "IEND", std::string());
  return png;
}

void SaveWindowScreenshot(HWND window, const std::string& file) {
  WriteFileAtomically(file, EncodePng(CaptureWindow(window)));
}

}  // namespace quenlor::gui
