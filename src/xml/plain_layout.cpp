// The display layout of FormatXml written straight from plain XML text, without a DOM.
//
// What the DOM route gives, and so what is written here: every "><" gets a line break between
// its two characters; the DOM drops each text that holds only blanks, tabs and line breaks;
// an element that held such text and no other text puts each child, and then its own end
// tag, on a new line after two blanks per level (the DOM's tabs, replaced); an element left
// without children is written <name/>; a text line break comes out as CR LF; markup
// characters come out as references; the declaration and the root each end with CR LF.
//
// Whether an element lays out its children is known only at its end tag, since text may
// follow a child. The first pass guesses that an element whose text so far was blank stays
// so, which holds for every document the layer builds. A wrong guess does not stop the pass:
// it records every element's answer, and a second pass writes with the answers known.
#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <cstring>
#include <vector>

#include "base/text.h"
#include "xml/xml_format.h"

namespace quenlor::xml {

namespace {

// Beyond these, DOMs apply limits of their own (libxml2 stops at some 256 levels, at names of
// 50,000 bytes and at texts of 10 MB); such texts are left to the DOM.
constexpr std::size_t kMaxDepth = 200;
constexpr std::size_t kMaxName = 1000;
constexpr std::ptrdiff_t kMaxRun = 1'000'000;

enum class Verdict { kWellFormed, kIllFormed, kOutside };

enum : std::uint8_t {
  kBlank = 1,       // blank, tab, CR, LF
  kNameStart = 2,   // ASCII letters and '_'; ':' would bring namespaces, other letters encodings
  kName = 4,        // kNameStart, digits, '-' and '.'
  kTextPlain = 8,   // written into text as it stands
  kValuePlain = 16, // written into an attribute value as it stands
};

constexpr std::array<std::uint8_t, 256> MakeClasses() {
  std::array<std::uint8_t, 256> classes{};
  for (int c = 0; c < 256; ++c) {
    std::uint8_t k = 0;
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') k |= kBlank;
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
    if (letter) k |= kNameStart | kName;
    if ((c >= '0' && c <= '9') || c == '-' || c == '.') k |= kName;
    if (c >= 0x20 && c < 0x80 && c != '&' && c != '<' && c != '>') {
      k |= kTextPlain;
      if (c != '"' && c != '\'') k |= kValuePlain;
    }
    classes[static_cast<std::size_t>(c)] = k;
  }
  return classes;
}

constexpr std::array<std::uint8_t, 256> kClasses = MakeClasses();

bool Is(char c, std::uint8_t k) { return (kClasses[static_cast<unsigned char>(c)] & k) != 0; }

bool IsXmlChar(std::uint32_t c) {
  return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
         (c >= 0x10000 && c <= 0x10FFFF);
}

bool IsBlankChar(std::uint32_t c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool StartsWith(const char* p, const char* end, std::string_view s) {
  return static_cast<std::size_t>(end - p) >= s.size() && std::memcmp(p, s.data(), s.size()) == 0;
}

// An element whose start tag has been read and whose end tag has not.
struct Open {
  const char* name;
  std::size_t name_size;
  std::size_t ordinal;  // in document order of start tags
  bool start_open;      // "<name attributes" written, its ">" not yet
  bool blank_text;      // held text of blanks only, which the DOM drops
  bool text;            // held other text
  bool content;         // has children once blank text is dropped
  bool broken;          // a child went on a new line
  bool unbroken;        // a child stayed on the line
};

class PlainLayout {
 public:
  // known: for each element in document order, whether it lays out its children.
  PlainLayout(std::string_view text, const std::vector<std::uint8_t>* known)
      : p_(text.data()), end_(text.data() + text.size()), known_(known) {
    // A description grows by about half: line breaks and indentation.
    out_.reserve(text.size() + text.size() / 2 + 64);
  }

  Verdict Run() {
    if (StartsWith(p_, end_, "<?xml") && !Declaration()) return Verdict::kOutside;
    SkipBlanks();
    if (p_ == end_) return Verdict::kIllFormed;
    if (*p_ != '<' || p_ + 1 == end_ || !Is(p_[1], kNameStart)) return Verdict::kOutside;
    if (const Verdict v = Root(); v != Verdict::kWellFormed) return v;
    out_ += "\r\n";
    SkipBlanks();
    return p_ == end_ ? Verdict::kWellFormed : Verdict::kOutside;
  }

  bool GuessedWrong() const { return guessed_wrong_; }
  std::vector<std::uint8_t> TakeAnswers() { return std::move(answers_); }
  std::string TakeOutput() { return std::move(out_); }

 private:
  void SkipBlanks() {
    while (p_ < end_ && Is(*p_, kBlank)) ++p_;
  }

  void Break(std::size_t level) {
    out_ += "\r\n";
    out_.append(2 * level, ' ');
  }

  // Only the declarations the layer itself writes, or that differ from them in the encoding
  // named: the text is UTF-8 here whatever the declaration says, as it is to the DOM.
  bool Declaration() {
    const char* q = p_ + 5;
    static constexpr std::string_view kVersion = " version=\"1.0\"";
    if (!StartsWith(q, end_, kVersion)) return false;
    q += kVersion.size();
    for (std::string_view encoding : {" encoding=\"UTF-8\"", " encoding=\"ISO-8859-1\""}) {
      if (StartsWith(q, end_, encoding)) {
        q += encoding.size();
        break;
      }
    }
    for (std::string_view standalone : {" standalone=\"yes\"", " standalone=\"no\""}) {
      if (StartsWith(q, end_, standalone)) {
        q += standalone.size();
        break;
      }
    }
    if (!StartsWith(q, end_, "?>")) return false;
    out_ += "<?xml ";
    out_.append(p_ + 6, static_cast<std::size_t>(q - (p_ + 6)));
    out_ += "?>\r\n";
    p_ = q + 2;
    return true;
  }

  // From the root's "<" to the end of its end tag, without recursion.
  Verdict Root() {
    if (const Verdict v = StartTag(); v != Verdict::kWellFormed) return v;
    while (!stack_.empty()) {
      const char* lt = static_cast<const char*>(std::memchr(p_, '<', static_cast<std::size_t>(end_ - p_)));
      if (!lt) return Verdict::kIllFormed;
      if (lt == p_) {
        // Tags side by side: the line break put between them is blank text.
        stack_.back().blank_text = true;
      } else if (const Verdict v = Text(lt); v != Verdict::kWellFormed) {
        return v;
      }
      p_ = lt;
      if (lt + 1 == end_) return Verdict::kIllFormed;
      Verdict v = Verdict::kOutside;
      if (lt[1] == '/') {
        v = EndTag();
      } else if (Is(lt[1], kNameStart)) {
        v = StartTag();
      }
      if (v != Verdict::kWellFormed) return v;
    }
    return Verdict::kWellFormed;
  }

  // Something other than blank text is written into the element on top.
  void Content(Open& parent) {
    if (parent.start_open) {
      out_ += '>';
      parent.start_open = false;
    }
    parent.content = true;
  }

  Verdict StartTag() {
    if (stack_.size() >= kMaxDepth) return Verdict::kOutside;
    if (!stack_.empty()) {
      Open& parent = stack_.back();
      Content(parent);
      const bool lays_out = known_ ? (*known_)[parent.ordinal] != 0 : parent.blank_text && !parent.text;
      if (lays_out) {
        Break(stack_.size());
        parent.broken = true;
      } else {
        parent.unbroken = true;
      }
    }
    const char* name = ++p_;
    while (p_ < end_ && Is(*p_, kName)) ++p_;
    const std::size_t name_size = static_cast<std::size_t>(p_ - name);
    if (name_size > kMaxName) return Verdict::kOutside;
    out_ += '<';
    out_.append(name, name_size);
    attributes_.clear();
    for (;;) {
      const char* before = p_;
      SkipBlanks();
      if (p_ == end_) return Verdict::kIllFormed;
      if (*p_ == '>' || *p_ == '/') {
        if (*p_ == '/') {
          if (p_ + 1 == end_) return Verdict::kIllFormed;
          if (p_[1] != '>') return Verdict::kOutside;
        }
        if (HasDuplicateAttribute()) return Verdict::kIllFormed;
        const std::size_t ordinal = answers_.size();
        answers_.push_back(0);
        if (*p_ == '/') {
          p_ += 2;
          out_ += "/>";
        } else {
          ++p_;
          stack_.push_back(Open{name, name_size, ordinal, true, false, false, false, false, false});
        }
        return Verdict::kWellFormed;
      }
      if (p_ == before || !Is(*p_, kNameStart)) return Verdict::kOutside;
      if (const Verdict v = Attribute(); v != Verdict::kWellFormed) return v;
    }
  }

  Verdict Attribute() {
    const char* name = p_;
    while (p_ < end_ && Is(*p_, kName)) ++p_;
    const std::size_t name_size = static_cast<std::size_t>(p_ - name);
    if (name_size > kMaxName) return Verdict::kOutside;
    // xmlns declares namespaces, and xml is a reserved prefix: both for the DOM to judge.
    if (name_size >= 3 && (name[0] | 0x20) == 'x' && (name[1] | 0x20) == 'm' && (name[2] | 0x20) == 'l') {
      return Verdict::kOutside;
    }
    SkipBlanks();
    if (p_ == end_) return Verdict::kIllFormed;
    if (*p_ != '=') return Verdict::kOutside;
    ++p_;
    SkipBlanks();
    if (p_ == end_) return Verdict::kIllFormed;
    const char quote = *p_;
    if (quote != '"' && quote != '\'') return Verdict::kOutside;
    ++p_;
    out_ += ' ';
    out_.append(name, name_size);
    out_ += "=\"";
    const char* start = p_;
    for (;;) {
      const char* q = p_;
      while (q < end_ && Is(*q, kValuePlain)) ++q;
      out_.append(p_, static_cast<std::size_t>(q - p_));
      p_ = q;
      if (p_ - start > kMaxRun) return Verdict::kOutside;
      if (p_ == end_) return Verdict::kIllFormed;
      const char c = *p_;
      if (c == quote) break;
      switch (c) {
        case '"': out_ += "&quot;"; ++p_; break;
        case '\'': out_ += '\''; ++p_; break;
        case '<': return Verdict::kIllFormed;
        case '>': out_ += "&gt;"; ++p_; break;
        // Line breaks are one character once read, and white space in a value is a blank.
        case '\r':
          ++p_;
          if (p_ < end_ && *p_ == '\n') ++p_;
          out_ += ' ';
          break;
        case '\n':
        case '\t': out_ += ' '; ++p_; break;
        case '&': {
          std::uint32_t ch = 0;
          if (const Verdict v = Reference(end_, ch); v != Verdict::kWellFormed) return v;
          AppendValueChar(ch);
          break;
        }
        default:
          if (const Verdict v = Utf8(end_); v != Verdict::kWellFormed) return v;
      }
    }
    ++p_;
    out_ += '"';
    attributes_.emplace_back(name, name_size);
    return Verdict::kWellFormed;
  }

  bool HasDuplicateAttribute() {
    const std::size_t n = attributes_.size();
    if (n < 2) return false;
    if (n <= 16) {
      for (std::size_t i = 1; i < n; ++i) {
        for (std::size_t j = 0; j < i; ++j) {
          if (attributes_[i] == attributes_[j]) return true;
        }
      }
      return false;
    }
    std::sort(attributes_.begin(), attributes_.end());
    return std::adjacent_find(attributes_.begin(), attributes_.end()) != attributes_.end();
  }

  Verdict EndTag() {
    Open& top = stack_.back();
    const char* name = p_ + 2;
    const char* q = name;
    while (q < end_ && Is(*q, kName)) ++q;
    const std::size_t name_size = static_cast<std::size_t>(q - name);
    p_ = q;
    SkipBlanks();
    if (p_ == end_) return Verdict::kIllFormed;
    if (*p_ != '>' || name_size == 0) return Verdict::kOutside;
    if (name_size != top.name_size || std::memcmp(name, top.name, name_size) != 0) return Verdict::kIllFormed;
    ++p_;
    const bool lays_out = top.blank_text && !top.text;
    answers_[top.ordinal] = lays_out ? 1 : 0;
    if ((lays_out && top.unbroken) || (!lays_out && top.broken)) guessed_wrong_ = true;
    if (!top.content) {
      out_ += "/>";
    } else {
      if (lays_out) Break(stack_.size() - 1);
      out_ += "</";
      out_.append(top.name, top.name_size);
      out_ += '>';
    }
    stack_.pop_back();
    return Verdict::kWellFormed;
  }

  // The text from p_ up to the "<" at lt, which is not empty.
  Verdict Text(const char* lt) {
    if (lt - p_ > kMaxRun) return Verdict::kOutside;
    Open& parent = stack_.back();
    const char* first = p_;
    while (first < lt && Is(*first, kBlank)) ++first;
    if (first == lt) {
      parent.blank_text = true;
      return Verdict::kWellFormed;
    }
    parent.text = true;
    Content(parent);
    // Whether references to blanks make the text blank is where DOMs part ways.
    bool kept = *first != '&';
    const char* start = p_;
    while (p_ < lt) {
      const char* q = p_;
      while (q < lt && Is(*q, kTextPlain)) ++q;
      if (!kept) kept = NotAllSpaces(p_, q);
      out_.append(p_, static_cast<std::size_t>(q - p_));
      p_ = q;
      if (p_ == lt) break;
      switch (*p_) {
        case '>':
          if (p_ - start >= 2 && p_[-1] == ']' && p_[-2] == ']') return Verdict::kOutside;
          out_ += "&gt;";
          kept = true;
          ++p_;
          break;
        case '\r':
          ++p_;
          if (p_ < lt && *p_ == '\n') ++p_;
          out_ += "\r\n";
          break;
        case '\n': out_ += "\r\n"; ++p_; break;
        case '\t': out_ += "  "; ++p_; break;
        case '&': {
          std::uint32_t ch = 0;
          if (const Verdict v = Reference(lt, ch); v != Verdict::kWellFormed) return v;
          kept = kept || !IsBlankChar(ch);
          AppendTextChar(ch);
          break;
        }
        default:
          if (const Verdict v = Utf8(lt); v != Verdict::kWellFormed) return v;
          kept = true;
      }
    }
    if (!kept) return Verdict::kOutside;
    // The text ends in ">" before a tag: the line break put there belongs to the text.
    if (lt[-1] == '>') out_ += "\r\n";
    return Verdict::kWellFormed;
  }

  static bool NotAllSpaces(const char* p, const char* end) {
    for (; p < end; ++p) {
      if (*p != ' ') return true;
    }
    return false;
  }

  // A character or predefined entity reference at p_, ending before limit.
  Verdict Reference(const char* limit, std::uint32_t& ch) {
    const char* q = p_ + 1;
    if (q < limit && *q == '#') {
      ++q;
      const bool hex = q < limit && *q == 'x';
      if (hex) ++q;
      const char* digits = q;
      std::uint32_t value = 0;
      for (; q < limit && *q != ';'; ++q) {
        const char c = *q;
        const int d = hex ? HexDigitValue(c) : (c >= '0' && c <= '9' ? c - '0' : -1);
        if (d < 0) return Verdict::kOutside;
        value = value * (hex ? 16 : 10) + static_cast<std::uint32_t>(d);
        if (value > 0x10FFFF) return Verdict::kOutside;
      }
      if (q == limit || q == digits || !IsXmlChar(value)) return Verdict::kOutside;
      ch = value;
      p_ = q + 1;
      return Verdict::kWellFormed;
    }
    static constexpr struct {
      std::string_view name;
      char value;
    } kEntities[] = {{"lt;", '<'}, {"gt;", '>'}, {"amp;", '&'}, {"apos;", '\''}, {"quot;", '"'}};
    for (const auto& entity : kEntities) {
      if (StartsWith(q, limit, entity.name)) {
        ch = static_cast<unsigned char>(entity.value);
        p_ = q + entity.name.size();
        return Verdict::kWellFormed;
      }
    }
    return Verdict::kOutside;
  }

  // One UTF-8 sequence of a character XML allows, copied; anything else (control
  // characters, ill-formed UTF-8) each DOM treats its own way.
  Verdict Utf8(const char* limit) {
    const auto* s = reinterpret_cast<const unsigned char*>(p_);
    const std::ptrdiff_t room = limit - p_;
    auto follow = [&](std::ptrdiff_t i, unsigned char lo = 0x80, unsigned char hi = 0xBF) {
      return i < room && s[i] >= lo && s[i] <= hi;
    };
    const unsigned char b = s[0];
    std::size_t length = 0;
    if (b >= 0xC2 && b <= 0xDF) {
      length = follow(1) ? 2 : 0;
    } else if (b >= 0xE0 && b <= 0xEF) {
      const unsigned char lo = b == 0xE0 ? 0xA0 : 0x80;
      const unsigned char hi = b == 0xED ? 0x9F : 0xBF;
      length = follow(1, lo, hi) && follow(2) ? 3 : 0;
      // U+FFFE and U+FFFF are not characters of XML.
      if (length && b == 0xEF && s[1] == 0xBF && s[2] >= 0xBE) length = 0;
    } else if (b >= 0xF0 && b <= 0xF4) {
      const unsigned char lo = b == 0xF0 ? 0x90 : 0x80;
      const unsigned char hi = b == 0xF4 ? 0x8F : 0xBF;
      length = follow(1, lo, hi) && follow(2) && follow(3) ? 4 : 0;
    }
    if (length == 0) return Verdict::kOutside;
    out_.append(p_, length);
    p_ += length;
    return Verdict::kWellFormed;
  }

  void AppendTextChar(std::uint32_t c) {
    switch (c) {
      case '&': out_ += "&amp;"; break;
      case '<': out_ += "&lt;"; break;
      case '>': out_ += "&gt;"; break;
      case '\r': out_ += "&#13;"; break;
      case '\n': out_ += "\r\n"; break;
      case '\t': out_ += "  "; break;
      default: quenlor::AppendUtf8(out_, c);
    }
  }

  // Tabs and line breaks as references, so that they outlive the normalisation of values.
  void AppendValueChar(std::uint32_t c) {
    switch (c) {
      case '&': out_ += "&amp;"; break;
      case '<': out_ += "&lt;"; break;
      case '>': out_ += "&gt;"; break;
      case '"': out_ += "&quot;"; break;
      case '\r': out_ += "&#13;"; break;
      case '\n': out_ += "&#10;"; break;
      case '\t': out_ += "&#9;"; break;
      default: quenlor::AppendUtf8(out_, c);
    }
  }

  const char* p_;
  const char* end_;
  const std::vector<std::uint8_t>* known_;
  std::string out_;
  std::vector<Open> stack_;
  std::vector<std::string_view> attributes_;
  std::vector<std::uint8_t> answers_;
  bool guessed_wrong_ = false;
};

}  // namespace

std::optional<std::string> FormatPlainXml(std::string_view text) {
  // The DOM refuses texts of 2 GB and more in its own way.
  if (text.size() >= static_cast<std::size_t>(INT_MAX)) return std::nullopt;
  PlainLayout first(text, nullptr);
  Verdict verdict = first.Run();
  if (verdict == Verdict::kIllFormed) return std::string();
  if (verdict == Verdict::kOutside) return std::nullopt;
  if (!first.GuessedWrong()) return first.TakeOutput();
  const std::vector<std::uint8_t> answers = first.TakeAnswers();
  PlainLayout second(text, &answers);
  verdict = second.Run();
  if (verdict != Verdict::kWellFormed) return std::nullopt;
  return second.TakeOutput();
}

}  // namespace quenlor::xml
