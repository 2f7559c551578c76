// Identifier and type-name rules, and the section bookkeeping of the unit text.
#include <algorithm>
#include <array>
#include <unordered_set>

#include "base/text.h"
#include "generator/description_reads.h"
#include "generator/import_unit.h"

namespace quenlor::generator {

namespace {

// The words a Pascal compiler will not take as identifiers, in lower case.
constexpr std::array<std::string_view, 71> kReservedWords = {
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
    "until",        "uses",           "var",         "while",         "with"};

// Types the unit's `uses` clause declares, written as they are.
constexpr std::array<std::string_view, 25> kKnownTypes = {
    "byte",      "cardinal",   "char",      "currency",  "decimal", "double",     "hresult",
    "idispatch", "int64",      "integer",   "iunknown",  "longint", "longword",   "olevariant",
    "pchar",     "pointer",    "psafearray", "pwidechar", "single", "smallint",   "toledate",
    "toleenum",  "widestring", "word",      "wordbool"};

// Each table as a set that compares folded letters in place: every name of a unit is
// looked up in one or both.
using WordSet = std::unordered_set<std::string_view, NameList::FoldedHash, NameList::FoldedEqual>;

template <std::size_t N>
WordSet MakeWordSet(const std::array<std::string_view, N>& table) {
  return WordSet(table.begin(), table.end(), 2 * N);
}

bool InTable(const WordSet& table, std::string_view name) { return table.contains(name); }

const WordSet& ReservedWords() {
  static const WordSet words = MakeWordSet(kReservedWords);
  return words;
}

const WordSet& KnownTypes() {
  static const WordSet types = MakeWordSet(kKnownTypes);
  return types;
}

}  // namespace

bool IsReservedWord(std::string_view name) { return InTable(ReservedWords(), name); }

std::string SafeName(std::string_view name) {
  std::string result(name);
  if (IsReservedWord(name)) result += '_';
  return result;
}

std::size_t NameList::FoldedHash::operator()(std::string_view text) const {
  std::size_t hash = 14695981039346656037ull;
  for (const char c : text) hash = (hash ^ static_cast<unsigned char>(AsciiLower(c))) * 1099511628211ull;
  return hash;
}

bool NameList::FoldedEqual::operator()(std::string_view a, std::string_view b) const {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return AsciiLower(x) == AsciiLower(y);
         });
}

void NameList::Add(std::string_view name) {
  names_.emplace_back(name);
  folded_.emplace(name);
}

bool NameList::Contains(std::string_view name) const { return folded_.contains(name); }

void NameList::Sort() {
  std::stable_sort(names_.begin(), names_.end(),
                   [](const std::string& a, const std::string& b) { return AsciiLower(a) < AsciiLower(b); });
}

void NameList::Clear() {
  names_.clear();
  folded_.clear();
}

std::string ImportUnitGenerator::TypeName(std::string_view name) const {
  if (InterfaceNames.Contains(name) || EnumNames.Contains(name)) return SafeName(name);
  if (InTable(KnownTypes(), name)) return std::string(name);
  return "{" + SafeName(name) + "}OleVariant";
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
  const int count = nodes->Count();
  result.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    xml::NodePtr child = nodes->GetNode(i);
    if (child && child->Attributes()) result.push_back(std::move(child));
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
