#include "platform/registry_text.h"

#include <cstdint>
#include <optional>
#include <span>

#include "base/error.h"
#include "base/text.h"

namespace quenlor::platform {

namespace {

constexpr std::string_view kHiveHeader = "WINE REGISTRY Version 2";
constexpr std::string_view kRegedit4 = "REGEDIT4";
constexpr std::string_view kRegedit5 = "Windows Registry Editor Version 5.00";

// The characters 0x80..0x9F of Windows-1252, the 8-bit text of REGEDIT4 files on Western
// systems; the rest of the upper half is Latin-1.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t Cp1252ToUnit(unsigned char b) {
  return b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : static_cast<char16_t>(b);
}

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

std::string_view TrimLeft(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  return s;
}

std::string_view TrimRight(std::string_view s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

bool IsValidUtf8(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    size_t len = b < 0x80 ? 1 : (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : (b & 0xF8) == 0xF0 ? 4 : 0;
    if (len == 0 || s.size() - i < len || (len == 2 && b < 0xC2)) return false;
    for (size_t k = 1; k < len; ++k) {
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    }
    i += len;
  }
  return true;
}

void AppendUtf16Le(std::string& out, std::u16string_view units) {
  const size_t at = out.size();
  out.resize(at + units.size() * 2);
  char* p = out.data() + at;
  for (char16_t u : units) {
    *p++ = static_cast<char>(u & 0xFF);
    *p++ = static_cast<char>(u >> 8);
  }
}

// Walks the lines of a text with their numbers; a line excludes its "\n" and trailing "\r".
class Lines {
 public:
  explicit Lines(std::string_view text) : text_(text) {}
  bool Next(std::string_view& line) {
    if (pos_ >= text_.size()) return false;
    const size_t end = text_.find('\n', pos_);
    const size_t stop = end == std::string_view::npos ? text_.size() : end;
    line = text_.substr(pos_, stop - pos_);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    pos_ = stop + 1;
    ++number_;
    return true;
  }
  size_t Number() const { return number_; }

 private:
  std::string_view text_;
  size_t pos_ = 0;
  size_t number_ = 0;
};

enum class Syntax { kHive, kVersion4, kVersion5 };

class Parser {
 public:
  using Key = RegistryTreeBuilder::Key;

  Parser(std::string_view text, const std::string& file_name, Syntax syntax)
      : lines_(text), file_name_(file_name), syntax_(syntax) {}

  [[noreturn]] void Fail(const std::string& what) const {
    throw Error(file_name_ + ":" + std::to_string(line_number_) + ": " + what);
  }

  // The next line, or false at the end. Headers are checked by the caller.
  bool NextLine(std::string_view& line) {
    if (!lines_.Next(line)) return false;
    line_number_ = lines_.Number();
    return true;
  }

  // Appends the UTF-16 form of the UTF-8 character at text[i] and advances i.
  static void AppendChar(std::u16string& out, std::string_view text, size_t& i) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b < 0x80) {
      out.push_back(b);
      ++i;
      return;
    }
    size_t len = (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : (b & 0xF8) == 0xF0 ? 4 : 1;
    if (len > text.size() - i) len = 1;
    out += Utf8ToUtf16(text.substr(i, len));
    i += len;
  }

  // Reads a quoted or bracketed text starting after its opening character, up to the
  // unescaped end character; returns the position after it, or npos when there is none.
  size_t ReadEscaped(std::string_view text, size_t i, char end, std::u16string& out) const {
    while (i < text.size()) {
      // Runs of plain ASCII, nearly all of a registry's text, are taken whole.
      size_t run = i;
      while (run < text.size()) {
        const auto b = static_cast<unsigned char>(text[run]);
        if (b >= 0x80 || b == '\\' || b == static_cast<unsigned char>(end)) break;
        ++run;
      }
      if (run > i) {
        const size_t at = out.size();
        out.resize(at + (run - i));
        for (size_t k = i; k < run; ++k) out[at + (k - i)] = static_cast<unsigned char>(text[k]);
        i = run;
        continue;
      }
      const char c = text[i];
      if (c == end) return i + 1;
      if (c != '\\') {
        AppendChar(out, text, i);
        continue;
      }
      if (++i == text.size()) return std::string_view::npos;
      const char e = text[i++];
      if (syntax_ == Syntax::kHive) {
        switch (e) {
          case 'a': out.push_back(7); break;
          case 'b': out.push_back(8); break;
          case 'e': out.push_back(0x1B); break;
          case 'f': out.push_back(0x0C); break;
          case 'n': out.push_back('\n'); break;
          case 'r': out.push_back('\r'); break;
          case 't': out.push_back('\t'); break;
          case 'v': out.push_back(0x0B); break;
          case 'x': {
            unsigned unit = 0;
            int digits = 0;
            while (digits < 4 && i < text.size() && HexDigitValue(text[i]) >= 0) {
              unit = unit * 16 + static_cast<unsigned>(HexDigitValue(text[i++]));
              ++digits;
            }
            if (digits == 0) out.push_back('x');
            else out.push_back(static_cast<char16_t>(unit));
            break;
          }
          default:
            if (e >= '0' && e <= '7') {
              unsigned unit = static_cast<unsigned>(e - '0');
              for (int k = 0; k < 2 && i < text.size() && text[i] >= '0' && text[i] <= '7'; ++k) {
                unit = unit * 8 + static_cast<unsigned>(text[i++] - '0');
              }
              out.push_back(static_cast<char16_t>(unit));
            } else {
              --i;
              AppendChar(out, text, i);
            }
        }
      } else {
        // regedit writes only \\ and \"; the common control escapes are read as Wine's
        // regedit writes them, anything else stays as it is.
        switch (e) {
          case '\\': out.push_back('\\'); break;
          case '"': out.push_back('"'); break;
          case 'n': out.push_back('\n'); break;
          case 'r': out.push_back('\r'); break;
          case 't': out.push_back('\t'); break;
          case '0': out.push_back(0); break;
          default:
            out.push_back('\\');
            --i;
            AppendChar(out, text, i);
        }
      }
    }
    return std::string_view::npos;
  }

  std::vector<std::string> KeyPath(std::u16string_view name) const {
    std::vector<std::string> path;
    size_t start = 0;
    while (start <= name.size()) {
      size_t end = name.find(u'\\', start);
      if (end == std::u16string_view::npos) end = name.size();
      const auto part = name.substr(start, end - start);
      if (part.empty()) {
        // regedit tolerates stray separators; the hive format never writes them.
        if (syntax_ == Syntax::kHive) Fail("empty key name in path");
      } else {
        if (part.size() > kMaxKeyNameLength) Fail("key name longer than 255 characters");
        path.push_back(Utf16ToUtf8(part));
        if (path.size() > kMaxKeyDepth) Fail("key path deeper than 512 levels");
      }
      start = end + 1;
    }
    return path;
  }

  // The rest of a hex value: the line, then continuation lines while it ends in "\".
  void ReadHexBytes(std::string_view data, std::string& bytes) {
    while (true) {
      data = TrimRight(data);
      const bool more = !data.empty() && data.back() == '\\';
      if (more) data.remove_suffix(1);
      size_t i = 0;
      while (i < data.size()) {
        const char c = data[i];
        if (c == ' ' || c == '\t' || c == ',') {
          ++i;
          continue;
        }
        const int hi = HexDigitValue(c);
        if (hi < 0) Fail("bad hex data");
        int value = hi;
        ++i;
        if (i < data.size() && HexDigitValue(data[i]) >= 0) value = value * 16 + HexDigitValue(data[i++]);
        if (i < data.size() && data[i] != ',' && data[i] != ' ' && data[i] != '\t') Fail("bad hex data");
        bytes.push_back(static_cast<char>(value));
      }
      if (!more) break;
      std::string_view next;
      if (!lines_.Next(next)) break;  // a trailing "\" on the last line ends the value
      data = TrimLeft(next);
    }
  }

  std::uint32_t ReadTypeNumber(std::string_view& data) {
    // "(N)" in hexadecimal, as both forms write it.
    if (data.empty() || data.front() != '(') return 0;
    const size_t close = data.find(')');
    if (close == std::string_view::npos || close == 1 || close > 9) Fail("bad value type");
    std::uint32_t type = 0;
    for (size_t k = 1; k < close; ++k) {
      const int d = HexDigitValue(data[k]);
      if (d < 0) Fail("bad value type");
      type = type * 16 + static_cast<std::uint32_t>(d);
    }
    data.remove_prefix(close + 1);
    return type;
  }

  // A quoted string at data[0]; in .reg files a string left open continues on the next
  // lines, as regedit exports text that holds line breaks.
  const std::u16string& ReadQuoted(std::string_view data) {
    std::u16string& text = quoted_;
    text.clear();
    size_t end = ReadEscaped(data, 1, '"', text);
    while (end == std::string_view::npos && syntax_ != Syntax::kHive) {
      if (!lines_.Next(data)) break;
      text.push_back(u'\n');
      end = ReadEscaped(data, 0, '"', text);
    }
    if (end == std::string_view::npos) Fail("unterminated string");
    if (!TrimRight(data.substr(end)).empty()) Fail("text after the string");
    return text;
  }

  // Parses "=DATA" of a value line into its type and data_ (the bytes as the platform stores
  // them). nullopt stands for a deletion ("-").
  std::optional<std::uint32_t> ReadData(std::string_view data) {
    data_.clear();
    if (data.empty()) Fail("missing value data");
    if (data.front() == '"') return StringValue(kRegSz, ReadQuoted(data));
    if (syntax_ != Syntax::kHive && TrimRight(data) == "-") return std::nullopt;
    if (StartsWith(data, "str")) {
      data.remove_prefix(3);
      std::uint32_t type = kRegSz;
      if (!data.empty() && data.front() == '(') type = ReadTypeNumber(data);
      if (data.empty() || data.front() != ':') Fail("bad string value");
      data.remove_prefix(1);
      if (data.empty() || data.front() != '"') Fail("bad string value");
      return StringValue(type, ReadQuoted(data));
    }
    if (StartsWith(data, "hex")) {
      data.remove_prefix(3);
      std::uint32_t type = kRegBinary;
      if (!data.empty() && data.front() == '(') type = ReadTypeNumber(data);
      if (data.empty() || data.front() != ':') Fail("bad hex value");
      data.remove_prefix(1);
      ReadHexBytes(data, data_);
      if (syntax_ == Syntax::kVersion4 && (type == kRegSz || type == kRegExpandSz || type == kRegMultiSz)) {
        // REGEDIT4 writes text values in hex as 8-bit characters.
        std::u16string units;
        for (char c : data_) units.push_back(Cp1252ToUnit(static_cast<unsigned char>(c)));
        data_.clear();
        AppendUtf16Le(data_, units);
      }
      return type;
    }
    if (StartsWith(data, "dword:")) {
      data = TrimRight(data.substr(6));
      if (data.empty() || data.size() > 8) Fail("bad dword value");
      std::uint32_t number = 0;
      for (char c : data) {
        const int d = HexDigitValue(c);
        if (d < 0) Fail("bad dword value");
        number = number * 16 + static_cast<std::uint32_t>(d);
      }
      for (int k = 0; k < 4; ++k) data_.push_back(static_cast<char>((number >> (8 * k)) & 0xFF));
      return kRegDword;
    }
    Fail("unrecognised value data");
  }

  // Text values are stored with their terminating NUL, as the platform does.
  std::uint32_t StringValue(std::uint32_t type, std::u16string_view text) {
    AppendUtf16Le(data_, text);
    data_.append(2, '\0');
    return type;
  }

  // A value line "@=DATA" or "\"NAME\"=DATA"; key may be null (values of a key left out).
  void ReadValueLine(std::string_view line, RegistryTreeBuilder* tree, Key* key, bool have_key) {
    std::u16string name;
    size_t pos = 0;
    if (line.front() == '@') {
      pos = 1;
    } else {
      pos = ReadEscaped(line, 1, '"', name);
      if (pos == std::string_view::npos) Fail("unterminated value name");
      if (name.size() > kMaxValueNameLength) Fail("value name too long");
    }
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
    if (pos >= line.size() || line[pos] != '=') Fail("missing '=' after the value name");
    ++pos;
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
    if (!have_key) Fail("value outside a key");
    const auto type = ReadData(line.substr(pos));
    if (!key) return;
    const std::string value_name = Utf16ToUtf8(name);
    if (type) tree->SetValue(*key, value_name, *type, data_);
    else tree->DeleteValue(*key, value_name);
  }

  void ParseHive(RegistryTreeBuilder& tree, std::span<const std::string> only_under) {
    std::string_view line;
    if (!NextLine(line) || line != kHiveHeader) Fail("not a Wine registry file (\"WINE REGISTRY Version 2\" expected)");
    Key* key = nullptr;
    bool skipping = false;
    while (NextLine(line)) {
      line = TrimLeft(line);
      if (line.empty()) continue;
      if (skipping && line.front() != '[') continue;  // values (and their continuations) of a key left out
      if (line.front() == ';' || line.front() == '#') continue;
      if (line.front() == '[') {
        skipping = !only_under.empty() && !Under(line, only_under);
        key = skipping ? nullptr : &HeaderKey(line, tree);
        continue;
      }
      if (line.front() == '@' || line.front() == '"') {
        ReadValueLine(line, &tree, key, key != nullptr);
        continue;
      }
      Fail("unrecognised line");
    }
  }

  // The key path of a hive header "[A\\\\B] stamp", one part at a time. A plain header
  // (printable ASCII, parts joined by an escaped backslash), nearly every one, is cut from
  // the line itself; at the first escape or other byte the whole name is decoded once, and
  // the parts come from that.
  class HeaderParts {
   public:
    HeaderParts(Parser& parser, std::string_view line) : parser_(parser), line_(line) {}

    // The next part, or false after the last; a malformed header fails as the file does.
    bool Next(std::string_view& part) {
      if (!decoded_) {
        if (done_) return false;
        if (NextPlain(part)) return true;
        std::u16string name;
        if (parser_.ReadEscaped(line_, 1, ']', name) == std::string_view::npos) parser_.Fail("unterminated key name");
        decoded_parts_ = parser_.KeyPath(name);
        decoded_ = true;
      }
      if (depth_ >= decoded_parts_.size()) return false;
      part = decoded_parts_[depth_++];
      return true;
    }

   private:
    bool NextPlain(std::string_view& part) {
      size_t i = at_;
      while (i < line_.size() && line_[i] != '\\' && line_[i] != ']') {
        const auto c = static_cast<unsigned char>(line_[i]);
        if (c < 0x20 || c >= 0x7F || c == '[') return false;
        ++i;
      }
      if (i >= line_.size() || i == at_ || i - at_ > kMaxKeyNameLength || depth_ >= kMaxKeyDepth) return false;
      const bool last = line_[i] == ']';
      if (!last && (i + 1 >= line_.size() || line_[i + 1] != '\\')) return false;
      part = line_.substr(at_, i - at_);
      at_ = i + (last ? 1 : 2);
      done_ = last;
      ++depth_;
      return true;
    }

    Parser& parser_;
    std::string_view line_;
    size_t at_ = 1;
    size_t depth_ = 0;
    bool done_ = false;
    bool decoded_ = false;
    std::vector<std::string> decoded_parts_;
  };

  // Whether the key a hive header names lies at or below the path parts, compared as the
  // registry compares names. Only the parts that decide it are read.
  bool Under(std::string_view line, std::span<const std::string> parts) {
    HeaderParts header(*this, line);
    std::string_view part;
    for (const std::string& want : parts) {
      if (!header.Next(part) || !SameKeyName(part, want)) return false;
    }
    return true;
  }

  void ParseExport(RegistryHivesBuilder& hives) {
    std::string_view line;
    while (NextLine(line) && TrimRight(TrimLeft(line)).empty()) {
    }
    const auto header = TrimRight(line);
    if (header != (syntax_ == Syntax::kVersion4 ? kRegedit4 : kRegedit5)) Fail("not a .reg file");
    RegistryTreeBuilder* tree = nullptr;
    Key* key = nullptr;
    bool have_key = false;
    while (NextLine(line)) {
      line = TrimLeft(line);
      if (line.empty() || line.front() == ';') continue;
      if (line.front() == '[') {
        const auto trimmed = TrimRight(line);
        const size_t close = trimmed.rfind(']');
        if (close == std::string_view::npos || close == 0) Fail("unterminated key name");
        auto inner = trimmed.substr(1, close - 1);
        const bool remove = !inner.empty() && inner.front() == '-';
        if (remove) inner.remove_prefix(1);
        std::u16string units;
        for (size_t i = 0; i < inner.size();) AppendChar(units, inner, i);
        auto path = KeyPath(units);
        if (path.empty()) Fail("missing root key");
        const std::string root_name = path.front();
        const std::string root = AsciiUpper(root_name);
        path.erase(path.begin());
        tree = nullptr;
        if (root == "HKEY_LOCAL_MACHINE" || root == "HKLM") {
          tree = &hives.machine;
        } else if (root == "HKEY_CURRENT_USER" || root == "HKCU") {
          tree = &hives.user;
        } else if (root == "HKEY_CLASSES_ROOT" || root == "HKCR") {
          tree = &hives.machine;
          path.insert(path.begin(), {"Software", "Classes"});
          if (path.size() > kMaxKeyDepth) Fail("key path deeper than 512 levels");
        } else if (root != "HKEY_USERS" && root != "HKEY_CURRENT_CONFIG" && root != "HKEY_DYN_DATA" &&
                   root != "HKU" && root != "HKCC") {
          Fail("unknown root key '" + root_name + "'");
        }
        have_key = true;
        key = nullptr;
        if (tree && remove) tree->Delete(path);
        else if (tree) key = &tree->Force(path);
        continue;
      }
      if (line.front() == '@' || line.front() == '"') {
        ReadValueLine(line, tree, key, have_key);
        continue;
      }
      Fail("unrecognised line");
    }
  }

 private:
  // The key a hive header names, made when missing. Headers repeat most of the previous
  // header's path: the keys found for it are kept.
  Key& HeaderKey(std::string_view line, RegistryTreeBuilder& tree) {
    HeaderParts header(*this, line);
    Key* node = &tree.Root();
    size_t depth = 0;
    bool same = true;
    for (std::string_view part; header.Next(part); ++depth) {
      if (same && depth < last_parts_.size() && last_parts_[depth] == part) {
        node = last_keys_[depth];
        continue;
      }
      if (same) {
        last_parts_.resize(depth);
        last_keys_.resize(depth);
        same = false;
      }
      node = &tree.Child(*node, part);
      last_parts_.emplace_back(part);
      last_keys_.push_back(node);
    }
    if (same) {
      last_parts_.resize(depth);
      last_keys_.resize(depth);
    }
    return *node;
  }

  Lines lines_;
  std::u16string quoted_;
  std::string data_;
  std::vector<std::string> last_parts_;
  std::vector<Key*> last_keys_;
  const std::string& file_name_;
  Syntax syntax_;
  size_t line_number_ = 0;
};

std::string DecodeExport(std::string_view bytes, const std::string& file_name) {
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE) {
    if (bytes.size() % 2 != 0) throw Error(file_name + ": truncated UTF-16 text");
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
      units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                            (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    }
    return Utf16ToUtf8(units);
  }
  if (StartsWith(bytes, "\xEF\xBB\xBF")) bytes.remove_prefix(3);
  if (IsValidUtf8(bytes)) return std::string(bytes);
  std::u16string units;
  units.reserve(bytes.size());
  for (char c : bytes) units.push_back(Cp1252ToUnit(static_cast<unsigned char>(c)));
  return Utf16ToUtf8(units);
}

}  // namespace

bool IsWineHive(std::string_view bytes) { return StartsWith(bytes, kHiveHeader); }

bool IsRegExport(std::string_view bytes) {
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE) {
    return true;
  }
  if (StartsWith(bytes, "\xEF\xBB\xBF")) bytes.remove_prefix(3);
  bytes = TrimLeft(bytes);
  while (!bytes.empty() && (bytes.front() == '\r' || bytes.front() == '\n')) bytes.remove_prefix(1);
  return StartsWith(bytes, kRegedit4) || StartsWith(bytes, kRegedit5);
}

void ParseWineHive(std::string_view bytes, const std::string& file_name, RegistryTreeBuilder& tree,
                   std::span<const std::string> only_under) {
  if (only_under.empty()) tree.ExpectText(bytes.size());
  Parser(bytes, file_name, Syntax::kHive).ParseHive(tree, only_under);
}

void ParseRegExport(std::string_view bytes, const std::string& file_name, RegistryHivesBuilder& hives) {
  const std::string text = DecodeExport(bytes, file_name);
  std::string_view probe = text;
  while (!probe.empty() && (probe.front() == ' ' || probe.front() == '\t' || probe.front() == '\r' || probe.front() == '\n')) {
    probe.remove_prefix(1);
  }
  const Syntax syntax = StartsWith(probe, kRegedit4) ? Syntax::kVersion4 : Syntax::kVersion5;
  hives.machine.ExpectText(text.size());  // where nearly all of an export's keys go
  Parser(text, file_name, syntax).ParseExport(hives);
}

}  // namespace quenlor::platform
