// Saving a picture of a window as a PNG file, for users without a screen (the window then
// runs on a virtual display) and for looking at the window in tests.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace quenlor::gui {

// Top-down rows of 8-bit RGB pixels.
struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;  // width * height * 3 bytes
};

// The window as it shows on the screen, frame and caption included. The window is brought
// to the top and repainted first, so that nothing covers it.
RgbImage CaptureWindow(HWND window);

// The PNG file form of an image (8-bit RGB, no interlace).
std::string EncodePng(const RgbImage& image);

// Captures the window and writes it to `file` (UTF-8 path), whole or not at all.
void SaveWindowScreenshot(HWND window, const std::string& file);

}  // namespace quenlor::gui
