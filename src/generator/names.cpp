// Identifier and type-name rules, and the section bookkeeping of the unit text.
#include <algorithm>
#include <array>
#include <charconv>
#include <functional>
#include <optional>

#include "base/text.h"
#include "generator/description_reads.h"
#include "generator/import_unit.h"

namespace quenlor::generator {

namespace {

// The words a Pascal compiler will not take as identifiers, in lower case.
constexpr std::array<std::string_view, 72> kReservedWords = {
    "and",          "array",          "as",          "asm",           "at",         "automated",
    "begin",        "case",           "class",       "const",         "constructor", "destructor",
    "dispinterface", "div",           "do",          "downto",        "else",       "end",
    "except",       "exports",        "file",        "finalization",  "finally",    "for",
    "function",     "goto",           "if",          "implementation", "in",        "inherited",
    "initialization", "inline",       "interface",   "is",            "label",      "library",
    "mod",          "nil",            "not",         "object",        "of",         "on",
    "or",           "out",            "packed",      "private",       "procedure",  "program",
    "property",     "protected",      "public",      "published",     "raise",      "record",
    "repeat",       "resourcestring", "set",         "shl",           "shr",        "string",
    "then",         "threadvar",      "to",          "try",           "type",       "unit",
    "until",        "uses",           "var",         "while",         "with",       "xor"};

// Types the unit's `uses` clause declares, written as they are.
constexpr std::array<std::string_view, 25> kKnownTypes = {
    "byte",      "cardinal",   "char",      "currency",  "decimal", "double",     "hresult",
    "idispatch", "int64",      "integer",   "iunknown",  "longint", "longword",   "olevariant",
    "pchar",     "pointer",    "psafearray", "pwidechar", "single", "smallint",   "toledate",
    "toleenum",  "widestring", "word",      "wordbool"};

// Known types that a dispinterface cannot carry ("Type is not automatable"): they are
// written in the comment form, like a type the unit does not know.
constexpr std::array<std::string_view, 6> kNotAutomatable = {"char", "decimal", "pchar", "pointer", "psafearray",
                                                             "pwidechar"};

template <std::size_t N>
FoldedNameSet MakeWordSet(const std::array<std::string_view, N>& table) {
  FoldedNameSet set;
  for (std::string_view word : table) set.Insert(word);
  return set;
}

const FoldedNameSet& ReservedWords() {
  static const FoldedNameSet words = MakeWordSet(kReservedWords);
  return words;
}

const FoldedNameSet& KnownTypes() {
  static const FoldedNameSet types = MakeWordSet(kKnownTypes);
  return types;
}

const FoldedNameSet& NotAutomatable() {
  static const FoldedNameSet types = MakeWordSet(kNotAutomatable);
  return types;
}

bool ParseInteger(std::string_view text, long long& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

std::string SafeName(std::string_view name, std::size_t hash) {
  std::string result(name);
  if (ReservedWords().Contains(name, hash)) result += '_';
  return result;
}

}  // namespace

bool IsReservedWord(std::string_view name) { return ReservedWords().Contains(name); }

std::string SafeName(std::string_view name) { return SafeName(name, FoldedNameSet::Hash(name)); }

std::size_t FoldedNameSet::Hash(std::string_view name) {
  std::size_t hash = 14695981039346656037ull;
  for (const char c : name) hash = (hash ^ static_cast<unsigned char>(AsciiLower(c))) * 1099511628211ull;
  return hash ^ (hash >> 29);  // the table indexes by the low bits
}

bool FoldedNameSet::Contains(std::string_view name, std::size_t hash) const {
  if (slots_.empty()) return false;
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
    const Slot& slot = slots_[i];
    if (!slot.used) return false;
    if (slot.hash == hash && slot.name.size() == name.size() &&
        std::equal(name.begin(), name.end(), slot.name.begin(),
                   [](char x, char y) { return AsciiLower(x) == AsciiLower(y); })) {
      return true;
    }
  }
}

bool FoldedNameSet::Insert(std::string_view name) {
  const std::size_t hash = Hash(name);
  if (Contains(name, hash)) return false;
  if (2 * (count_ + 1) > slots_.size()) Grow();
  const std::size_t mask = slots_.size() - 1;
  std::size_t i = hash & mask;
  while (slots_[i].used) i = (i + 1) & mask;
  slots_[i] = Slot{hash, std::string(name), true};
  ++count_;
  return true;
}

void FoldedNameSet::Grow() {
  std::vector<Slot> old = std::move(slots_);
  slots_.assign(old.empty() ? 16 : 2 * old.size(), Slot{});
  const std::size_t mask = slots_.size() - 1;
  for (Slot& slot : old) {
    if (!slot.used) continue;
    std::size_t i = slot.hash & mask;
    while (slots_[i].used) i = (i + 1) & mask;
    slots_[i] = std::move(slot);
  }
}

void FoldedNameSet::Clear() {
  slots_.clear();
  count_ = 0;
}

void NameList::Add(std::string_view name) {
  names_.emplace_back(name);
  folded_.Insert(name);
}

void NameList::Sort() {
  std::stable_sort(names_.begin(), names_.end(),
                   [](const std::string& a, const std::string& b) { return AsciiLower(a) < AsciiLower(b); });
}

void NameList::Clear() {
  names_.clear();
  folded_.Clear();
}

const std::string* ImportUnitGenerator::SubstituteFor(std::string_view name) const {
  if (Substitutes.empty()) return nullptr;
  const auto found = Substitutes.find(AsciiLower(name));
  return found == Substitutes.end() ? nullptr : &found->second;
}

std::string ImportUnitGenerator::TypeName(std::string_view name) const {
  if (const std::string* written = SubstituteFor(name)) return *written;
  const std::size_t hash = FoldedNameSet::Hash(name);
  if (InterfaceNames.Contains(name, hash) || EnumNames.Contains(name, hash)) return SafeName(name, hash);
  if (KnownTypes().Contains(name, hash) && !NotAutomatable().Contains(name, hash)) return std::string(name);
  return "{" + SafeName(name, hash) + "}OleVariant";
}

std::string ImportUnitGenerator::DeclaredType(std::string_view name) const {
  if (const std::string* written = SubstituteFor(name)) return *written;
  // The uses clause declares DECIMAL under the name TDecimal only.
  if (AsciiLower(name) == "decimal") return "TDecimal";
  if (std::optional<std::string> array = FixedArrayType(name, [this](std::string_view element) {
        return DeclaredType(element);
      })) {
    return *array;
  }
  return SafeName(name);
}

std::optional<std::string> FixedArrayType(std::string_view text,
                                          const std::function<std::string(std::string_view)>& element_type) {
  constexpr std::string_view kArray = "array";
  constexpr std::string_view kOf = " of ";
  if (!text.starts_with("array[")) return std::nullopt;
  const std::size_t of = text.find(kOf);
  if (of == std::string_view::npos) return std::nullopt;
  std::string ranges;
  std::string_view bounds = text.substr(kArray.size(), of - kArray.size());
  while (!bounds.empty()) {
    const std::size_t close = bounds.find(']');
    const std::size_t dots = bounds.find("..");
    if (bounds.front() != '[' || close == std::string_view::npos || dots == std::string_view::npos || dots > close)
      return std::nullopt;
    const std::string_view lower = bounds.substr(1, dots - 1);
    std::string_view upper = bounds.substr(dots + 2, close - dots - 2);
    long long low = 0;
    long long high = 0;
    if (!ParseInteger(lower, low) || !ParseInteger(upper, high)) return std::nullopt;
    // No range may be empty: an array without elements (a block of data of its own length
    // that follows the record) is declared with one, which the data starts at.
    if (high < low) upper = lower;
    if (!ranges.empty()) ranges += ", ";
    ranges += std::string(lower) + ".." + std::string(upper);
    bounds.remove_prefix(close + 1);
  }
  return "array[" + ranges + "] of " + element_type(text.substr(of + kOf.size()));
}

std::string CommentLine(std::string_view text) {
  // A brace comment ends at the first "}", so a text holding one goes into the other form
  // of comment; a text holding the ends of both forms has its braces turned round.
  if (text.find('}') == std::string_view::npos) return "{ " + std::string(text) + " }";
  if (text.find("*)") == std::string_view::npos) return "(* " + std::string(text) + " *)";
  std::string turned(text);
  std::replace(turned.begin(), turned.end(), '}', ')');
  return "{ " + turned + " }";
}

void DropEmptySections(UnitText& text) {
  const auto is_keyword = [](const std::string& line) {
    return line == "const" || line == "type" || line == "implementation";
  };
  UnitText kept;
  kept.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == "const" || text[i] == "type") {
      std::size_t next = i + 1;
      while (next < text.size() && text[next].empty()) ++next;
      if (next < text.size() && is_keyword(text[next])) {
        i = next - 1;  // the keyword and the blank lines after it
        continue;
      }
    }
    kept.push_back(std::move(text[i]));
  }
  text = std::move(kept);
}

void ImportUnitGenerator::OpenSection(UnitText& text, std::string_view keyword) {
  if (keyword != CurrentSection) {
    if (!text.empty() && !text.back().empty()) text.emplace_back();
    text.emplace_back(keyword);
  }
  CurrentSection = std::string(keyword);
}

void ImportUnitGenerator::BeginDeclaration(UnitText& text, std::string_view keyword) {
  if (keyword != CurrentSection) {
    OpenSection(text, keyword);
  } else if (!text.empty() && !text.back().empty()) {
    text.emplace_back();
  }
}

namespace detail {

std::vector<xml::NodePtr> ElementChildren(const xml::NodePtr& node) {
  std::vector<xml::NodePtr> result;
  const xml::NodesPtr nodes = node->Nodes();
  // A list answers null past its end: asking for the count first would walk the children
  // one more time.
  for (int i = 0;; ++i) {
    xml::NodePtr child = nodes->GetNode(i);
    if (!child) break;
    if (child->Attributes()) result.push_back(std::move(child));
  }
  return result;
}

std::vector<xml::NodePtr> ChildItems(const xml::NodePtr& node, std::string_view name) {
  const xml::NodePtr child = node->FindNode(name);
  if (!child) return {};
  return ElementChildren(child);
}

std::size_t CharCount(std::string_view text) {
  // Continuation bytes of UTF-8 sequences do not start a character.
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

}  // namespace detail

}  // namespace quenlor::generator
