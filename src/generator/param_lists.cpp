// Parameter lists of methods and index lists of properties.
#include "generator/description_reads.h"
#include "generator/import_unit.h"

namespace quenlor::generator {

using detail::ChildText;

namespace {

constexpr std::size_t kLineWidth = 80;
constexpr std::string_view kContinuation = "\r\n      ";  // six blanks of indentation
constexpr std::size_t kContinuationIndent = 6;

struct ParamFlags {
  bool by_pointer = false;
  bool in = false;
  bool out = false;
  bool optional = false;
};

// The flags text is a comma-separated word list; a substring test finds each word.
ParamFlags FlagsOf(std::string_view ref) {
  auto has = [&](std::string_view word) { return ref.find(word) != std::string_view::npos; };
  return {has("ptr"), has("in"), has("out") || has("retval"), has("opt")};
}

// Appends the pieces inside `open` and `close`, breaking onto a continuation line when a
// piece would pass column 80. The "; " separators are not counted, and the count starts
// from the line as handed in.
template <typename MakePiece>
void AppendList(const xml::NodePtr& method, std::string& line, char open, char close, MakePiece make_piece) {
  const xml::NodePtr params = method->FindNode("params");
  if (!params) return;
  line += open;
  std::size_t width = detail::CharCount(line);
  bool first = true;
  for (const xml::NodePtr& param : detail::ElementChildren(params)) {
    if (!first) line += "; ";
    first = false;
    const std::string piece = make_piece(param);
    const std::size_t length = detail::CharCount(piece);
    if (length + width > kLineWidth) {
      line += kContinuation;
      line += piece;
      width = length + kContinuationIndent;
    } else {
      line += piece;
      width += length;
    }
  }
  line += close;
}

}  // namespace

std::string ImportUnitGenerator::ConstPrefix(const xml::NodePtr& param, std::string_view type_text) const {
  if (type_text == "WideString" || type_text == "IUnknown" || type_text == "IDispatch") return "const ";
  if (InterfaceNames.Contains(ChildText(param, "type"))) return "const ";
  return "";
}

std::string ImportUnitGenerator::ParamModifier(const xml::NodePtr& param) const {
  return ModifierOf(ChildText(param, "ref"), ChildText(param, "type"));
}

// The type is read once per parameter: every rule that looks at it again would read the
// same text.
std::string ImportUnitGenerator::ModifierOf(std::string_view flags_text, std::string_view type) const {
  const ParamFlags flags = FlagsOf(flags_text);
  std::string modifier;
  if (flags.in && flags.out) {
    modifier = "var ";
  } else if (flags.out) {
    modifier = "out ";
  } else if (flags.by_pointer) {
    const bool interface = type == "IUnknown" || type == "IDispatch" || InterfaceNames.Contains(type);
    modifier = interface ? "const " : "var ";
  } else {
    const bool by_const = type == "WideString" || type == "IUnknown" || type == "IDispatch" ||
                          InterfaceNames.Contains(type);
    modifier = by_const ? "const " : "";
  }
  if (flags.optional) modifier = "{opt} " + modifier;
  return modifier;
}

void ImportUnitGenerator::AppendParamList(const xml::NodePtr& method, std::string& line, bool use_type_name) const {
  AppendList(method, line, '(', ')', [&](const xml::NodePtr& param) {
    const std::string flags = ChildText(param, "ref");
    const std::string name = ChildText(param, "name");
    const std::string type = ChildText(param, "type");
    // A fixed-size array parameter is passed as the address of its first element, as C
    // passes it; no parameter may be declared with an array type of its own.
    if (!use_type_name) {
      std::string element;
      if (FixedArrayType(type, [&element](std::string_view text) {
            element = std::string(text);
            return element;
          })) {
        return std::string(FlagsOf(flags).optional ? "{opt} " : "") + "var " + SafeName(name) + ": " +
               DeclaredType(element);
      }
    }
    std::string piece = ModifierOf(flags, type);
    piece += SafeName(name);
    piece += ": ";
    piece += use_type_name ? TypeName(type) : DeclaredType(type);
    return piece;
  });
}

void ImportUnitGenerator::AppendIndexParamList(const xml::NodePtr& method, std::string& line,
                                               bool use_type_name) const {
  AppendList(method, line, '[', ']', [&](const xml::NodePtr& param) {
    std::string piece = SafeName(ChildText(param, "name"));
    piece += ": ";
    const std::string type = ChildText(param, "type");
    piece += use_type_name ? TypeName(type) : DeclaredType(type);
    return piece;
  });
}

}  // namespace quenlor::generator
