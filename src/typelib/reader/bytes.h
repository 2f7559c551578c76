// Bounds-checked reading of little-endian data from an image. Every parser of the built-in
// reader goes through these: nothing indexes the image directly.
//
// `Cursor` keeps a sticky failure flag: reads past the end return 0 and mark the cursor
// failed, so a parser reads a record's fields in a row and checks `ok()` once before it
// uses any of them.
#pragma once

#include <cstdint>
#include <cstring>
#include <span>
#include <string>

namespace quenlor::typelib::reader {

using Bytes = std::span<const std::uint8_t>;

// True when [offset, offset + size) lies inside a span of `total` bytes, without overflow.
inline bool InRange(std::uint64_t offset, std::uint64_t size, std::uint64_t total) {
  return offset <= total && size <= total - offset;
}

class Cursor {
 public:
  Cursor() = default;
  explicit Cursor(Bytes data, std::uint64_t position = 0) : data_(data), pos_(position) {
    if (position > data.size()) ok_ = false;
  }

  bool ok() const { return ok_; }
  std::uint64_t position() const { return pos_; }
  std::uint64_t remaining() const { return pos_ <= data_.size() ? data_.size() - pos_ : 0; }
  Bytes data() const { return data_; }
  void Fail() { ok_ = false; }

  void Seek(std::uint64_t position) {
    if (position > data_.size()) ok_ = false;
    else pos_ = position;
  }
  void Skip(std::uint64_t count) {
    if (!Take(count)) ok_ = false;
  }

  std::uint8_t U8() {
    const std::uint8_t* p = Take(1);
    return p ? p[0] : 0;
  }
  std::uint16_t U16() {
    const std::uint8_t* p = Take(2);
    return p ? LoadU16(p) : 0;
  }
  std::uint32_t U32() {
    const std::uint8_t* p = Take(4);
    return p ? LoadU32(p) : 0;
  }
  std::int16_t I16() { return static_cast<std::int16_t>(U16()); }
  std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
  std::uint64_t U64() {
    const std::uint64_t low = U32();
    return low | (static_cast<std::uint64_t>(U32()) << 32);
  }
  // `count` raw bytes as a view; empty (and failed) when they are not all there.
  Bytes Span(std::uint64_t count) {
    const std::uint8_t* p = Take(count);
    return p ? Bytes(p, static_cast<std::size_t>(count)) : Bytes();
  }
  std::string Text(std::uint64_t count) {
    const Bytes b = Span(count);
    return std::string(reinterpret_cast<const char*>(b.data()), b.size());
  }
  // The bytes up to the next NUL, which is consumed too; empty (and failed) without one.
  Bytes UntilNul() {
    if (!ok_ || pos_ >= data_.size()) {
      ok_ = false;
      return Bytes();
    }
    const std::uint8_t* begin = data_.data() + pos_;
    const auto length = static_cast<std::size_t>(data_.size() - pos_);
    const void* nul = std::memchr(begin, 0, length);
    if (nul == nullptr) {
      ok_ = false;
      return Bytes();
    }
    const auto count = static_cast<std::size_t>(static_cast<const std::uint8_t*>(nul) - begin);
    pos_ += count + 1;
    return Bytes(begin, count);
  }

 private:
  static std::uint16_t LoadU16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
  }
  static std::uint32_t LoadU32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
  }

  // While the cursor is ok its position lies within the data (the constructor and Seek
  // fail it otherwise), so the room left is a plain subtraction.
  const std::uint8_t* Take(std::uint64_t count) {
    if (!ok_ || count > data_.size() - pos_) {
      ok_ = false;
      return nullptr;
    }
    const std::uint8_t* p = data_.data() + pos_;
    pos_ += count;
    return p;
  }

  Bytes data_;
  std::uint64_t pos_ = 0;
  bool ok_ = true;
};

}  // namespace quenlor::typelib::reader
