#include "ui/png/png_reader.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>

namespace quenlor::png {

namespace {

struct Failure {
  const char* why;
};

std::uint32_t BigEndian32(const std::uint8_t* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

struct Header {
  std::uint32_t width = 0, height = 0;
  int bit_depth = 0, color_type = 0, interlace = 0;
  int Channels() const {
    switch (color_type) {
      case 0: return 1;
      case 2: return 3;
      case 3: return 1;
      case 4: return 2;
      case 6: return 4;
      default: return 0;
    }
  }
  // Bytes of one filtered row of w pixels, without the filter byte.
  std::uint64_t RowBytes(std::uint32_t w) const {
    return (std::uint64_t{w} * static_cast<std::uint64_t>(Channels()) * static_cast<std::uint64_t>(bit_depth) + 7) / 8;
  }
  int PixelBytes() const { return std::max(1, Channels() * bit_depth / 8); }
};

void CheckHeader(const Header& h) {
  if (h.width == 0 || h.height == 0 || h.width > 0x7FFFFFFF || h.height > 0x7FFFFFFF)
    throw Failure{"image size out of range"};
  if (std::uint64_t{h.width} * h.height > kMaxPixels) throw Failure{"image too large"};
  const int d = h.bit_depth;
  bool ok = false;
  switch (h.color_type) {
    case 0: ok = d == 1 || d == 2 || d == 4 || d == 8 || d == 16; break;
    case 3: ok = d == 1 || d == 2 || d == 4 || d == 8; break;
    case 2: case 4: case 6: ok = d == 8 || d == 16; break;
    default: break;
  }
  if (!ok) throw Failure{"unsupported colour type or bit depth"};
  if (h.interlace > 1) throw Failure{"unknown interlace method"};
}

std::uint8_t Paeth(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return static_cast<std::uint8_t>(a);
  if (pb <= pc) return static_cast<std::uint8_t>(b);
  return static_cast<std::uint8_t>(c);
}

// Undoes the filters of a pass in place: rows of (1 + row_bytes) bytes.
void Unfilter(std::uint8_t* data, std::uint64_t rows, std::uint64_t row_bytes, int bpp) {
  std::vector<std::uint8_t> zero(row_bytes, 0);
  const std::uint8_t* prior = zero.data();
  for (std::uint64_t y = 0; y < rows; ++y) {
    std::uint8_t* row = data + y * (row_bytes + 1);
    const int filter = row[0];
    std::uint8_t* cur = row + 1;
    switch (filter) {
      case 0: break;
      case 1:
        for (std::uint64_t i = static_cast<std::uint64_t>(bpp); i < row_bytes; ++i) cur[i] = static_cast<std::uint8_t>(cur[i] + cur[i - bpp]);
        break;
      case 2:
        for (std::uint64_t i = 0; i < row_bytes; ++i) cur[i] = static_cast<std::uint8_t>(cur[i] + prior[i]);
        break;
      case 3:
        for (std::uint64_t i = 0; i < row_bytes; ++i) {
          const int left = i >= static_cast<std::uint64_t>(bpp) ? cur[i - bpp] : 0;
          cur[i] = static_cast<std::uint8_t>(cur[i] + ((left + prior[i]) >> 1));
        }
        break;
      case 4:
        for (std::uint64_t i = 0; i < row_bytes; ++i) {
          const bool has_left = i >= static_cast<std::uint64_t>(bpp);
          const int left = has_left ? cur[i - bpp] : 0;
          const int up_left = has_left ? prior[i - bpp] : 0;
          cur[i] = static_cast<std::uint8_t>(cur[i] + Paeth(left, prior[i], up_left));
        }
        break;
      default:
        throw Failure{"unknown row filter"};
    }
    prior = cur;
  }
}

struct Palette {
  std::array<std::array<std::uint8_t, 4>, 256> entries{};
  int size = 0;
};

struct Transparency {
  bool present = false;
  std::uint16_t gray = 0, red = 0, green = 0, blue = 0;
};

// Sample n (0-based) of a row at the header's bit depth.
int Sample(const std::uint8_t* row, std::uint64_t n, int depth) {
  switch (depth) {
    case 16: return (row[2 * n] << 8) | row[2 * n + 1];
    case 8: return row[n];
    default: {
      const std::uint64_t bit = n * static_cast<std::uint64_t>(depth);
      const int shift = 8 - depth - static_cast<int>(bit % 8);
      return (row[bit / 8] >> shift) & ((1 << depth) - 1);
    }
  }
}

std::uint8_t To8(int value, int depth) {
  switch (depth) {
    case 16: return static_cast<std::uint8_t>((value + 128) / 257);  // rounded value / 257
    case 8: return static_cast<std::uint8_t>(value);
    case 4: return static_cast<std::uint8_t>(value * 17);
    case 2: return static_cast<std::uint8_t>(value * 85);
    default: return static_cast<std::uint8_t>(value * 255);
  }
}

// Writes the pixels of one unfiltered row to the image at (x0 + i * dx, y).
void EmitRow(const Header& h, const Palette& palette, const Transparency& trns, const std::uint8_t* row,
             std::uint32_t count, Image& image, std::uint32_t y, std::uint32_t x0, std::uint32_t dx) {
  const int d = h.bit_depth;
  for (std::uint32_t i = 0; i < count; ++i) {
    std::uint8_t* out = &image.rgba[(std::uint64_t{y} * image.width + x0 + std::uint64_t{i} * dx) * 4];
    switch (h.color_type) {
      case 0: {
        const int g = Sample(row, i, d);
        out[0] = out[1] = out[2] = To8(g, d);
        out[3] = (trns.present && g == trns.gray) ? 0 : 255;
        break;
      }
      case 2: {
        const int r = Sample(row, 3ull * i, d), g = Sample(row, 3ull * i + 1, d), b = Sample(row, 3ull * i + 2, d);
        out[0] = To8(r, d);
        out[1] = To8(g, d);
        out[2] = To8(b, d);
        out[3] = (trns.present && r == trns.red && g == trns.green && b == trns.blue) ? 0 : 255;
        break;
      }
      case 3: {
        const int index = Sample(row, i, d);
        if (index >= palette.size) throw Failure{"palette index out of range"};
        std::memcpy(out, palette.entries[static_cast<std::size_t>(index)].data(), 4);
        break;
      }
      case 4:
        out[0] = out[1] = out[2] = To8(Sample(row, 2ull * i, d), d);
        out[3] = To8(Sample(row, 2ull * i + 1, d), d);
        break;
      default:
        for (int c = 0; c < 4; ++c) out[c] = To8(Sample(row, 4ull * i + static_cast<std::uint64_t>(c), d), d);
        break;
    }
  }
}

std::vector<std::uint8_t> Inflate(const std::vector<std::uint8_t>& compressed, std::uint64_t expected) {
  std::vector<std::uint8_t> out(expected);
  z_stream stream{};
  if (inflateInit(&stream) != Z_OK) throw Failure{"cannot start decompression"};
  stream.next_in = const_cast<Bytef*>(compressed.data());
  stream.avail_in = static_cast<uInt>(compressed.size());
  stream.next_out = out.data();
  stream.avail_out = static_cast<uInt>(out.size());
  const int result = inflate(&stream, Z_FINISH);
  const std::uint64_t produced = stream.total_out;
  inflateEnd(&stream);
  if (result == Z_BUF_ERROR && stream.avail_out == 0) throw Failure{"image data longer than the image"};
  if (result != Z_STREAM_END) throw Failure{"damaged image data"};
  if (produced != expected) throw Failure{"image data shorter than the image"};
  return out;
}

Image DecodeOrThrow(const std::uint8_t* data, std::size_t size) {
  static const std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (!data || size < 8 || std::memcmp(data, kSignature, 8) != 0) throw Failure{"not a PNG image"};
  Header h;
  bool have_header = false, have_end = false;
  Palette palette;
  Transparency trns;
  std::vector<std::uint8_t> compressed;
  std::size_t pos = 8;
  while (pos < size && !have_end) {
    if (size - pos < 12) throw Failure{"truncated chunk"};
    const std::uint32_t length = BigEndian32(data + pos);
    if (length > 0x7FFFFFFF || length > size - pos - 12) throw Failure{"truncated chunk"};
    const std::uint8_t* type = data + pos + 4;
    const std::uint8_t* body = data + pos + 8;
    const std::uint32_t crc = BigEndian32(body + length);
    if (static_cast<std::uint32_t>(crc32(0, type, length + 4)) != crc) throw Failure{"chunk checksum mismatch"};
    const std::string kind(reinterpret_cast<const char*>(type), 4);
    if (!have_header && kind != "IHDR") throw Failure{"missing image header"};
    if (kind == "IHDR") {
      if (have_header || length != 13) throw Failure{"bad image header"};
      h.width = BigEndian32(body);
      h.height = BigEndian32(body + 4);
      h.bit_depth = body[8];
      h.color_type = body[9];
      if (body[10] != 0 || body[11] != 0) throw Failure{"unknown compression or filter method"};
      h.interlace = body[12];
      CheckHeader(h);
      have_header = true;
    } else if (kind == "PLTE") {
      if (length % 3 != 0 || length / 3 > 256 || length == 0) throw Failure{"bad palette"};
      palette.size = static_cast<int>(length / 3);
      for (int i = 0; i < palette.size; ++i)
        palette.entries[static_cast<std::size_t>(i)] = {body[3 * i], body[3 * i + 1], body[3 * i + 2], 255};
    } else if (kind == "tRNS") {
      if (h.color_type == 3) {
        if (length > 256) throw Failure{"bad transparency"};
        for (std::uint32_t i = 0; i < length; ++i) palette.entries[i][3] = body[i];
      } else if (h.color_type == 0 && length == 2) {
        trns = {true, static_cast<std::uint16_t>((body[0] << 8) | body[1]), 0, 0, 0};
      } else if (h.color_type == 2 && length == 6) {
        trns = {true, 0, static_cast<std::uint16_t>((body[0] << 8) | body[1]),
                static_cast<std::uint16_t>((body[2] << 8) | body[3]),
                static_cast<std::uint16_t>((body[4] << 8) | body[5])};
      }
    } else if (kind == "IDAT") {
      if (compressed.size() + length > 512ull * 1024 * 1024) throw Failure{"image data too large"};
      compressed.insert(compressed.end(), body, body + length);
    } else if (kind == "IEND") {
      have_end = true;
    } else if (!(type[0] & 0x20)) {
      throw Failure{"unknown critical chunk"};
    }
    pos += 12 + std::size_t{length};
  }
  if (!have_header) throw Failure{"missing image header"};
  if (compressed.empty()) throw Failure{"missing image data"};
  if (!have_end) throw Failure{"missing end of image"};
  if (h.color_type == 3 && palette.size == 0) throw Failure{"missing palette"};

  // Passes: the whole image, or Adam7's seven.
  struct Pass { std::uint32_t x0, y0, dx, dy; };
  static const Pass kWhole[] = {{0, 0, 1, 1}};
  static const Pass kAdam7[] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
  const Pass* passes = h.interlace ? kAdam7 : kWhole;
  const int pass_count = h.interlace ? 7 : 1;
  std::uint64_t total = 0;
  for (int p = 0; p < pass_count; ++p) {
    const Pass& pass = passes[p];
    if (h.width <= pass.x0 || h.height <= pass.y0) continue;
    const std::uint64_t w = (h.width - pass.x0 + pass.dx - 1) / pass.dx;
    const std::uint64_t rows = (h.height - pass.y0 + pass.dy - 1) / pass.dy;
    total += rows * (h.RowBytes(static_cast<std::uint32_t>(w)) + 1);
  }
  if (total > 0xFFFFFFFFull) throw Failure{"image too large"};
  // Deflate packs at most about 1032 bytes into one; data too short for the image is
  // refused before anything of the image's size is allocated.
  if (total > std::uint64_t{compressed.size()} * 1100 + 1024) throw Failure{"image data shorter than the image"};
  std::vector<std::uint8_t> raw = Inflate(compressed, total);

  Image image;
  image.width = h.width;
  image.height = h.height;
  image.rgba.assign(std::uint64_t{h.width} * h.height * 4, 0);
  std::uint64_t offset = 0;
  for (int p = 0; p < pass_count; ++p) {
    const Pass& pass = passes[p];
    if (h.width <= pass.x0 || h.height <= pass.y0) continue;
    const auto w = static_cast<std::uint32_t>((h.width - pass.x0 + pass.dx - 1) / pass.dx);
    const std::uint64_t rows = (h.height - pass.y0 + pass.dy - 1) / pass.dy;
    const std::uint64_t row_bytes = h.RowBytes(w);
    Unfilter(raw.data() + offset, rows, row_bytes, h.PixelBytes());
    for (std::uint64_t r = 0; r < rows; ++r) {
      const std::uint8_t* row = raw.data() + offset + r * (row_bytes + 1) + 1;
      EmitRow(h, palette, trns, row, w, image, static_cast<std::uint32_t>(pass.y0 + r * pass.dy), pass.x0, pass.dx);
    }
    offset += rows * (row_bytes + 1);
  }
  return image;
}

}  // namespace

std::optional<Image> Decode(const std::uint8_t* data, std::size_t size, std::string* error) {
  try {
    return DecodeOrThrow(data, size);
  } catch (const Failure& failure) {
    if (error) *error = failure.why;
  } catch (const std::bad_alloc&) {
    if (error) *error = "out of memory";
  }
  return std::nullopt;
}

}  // namespace quenlor::png
