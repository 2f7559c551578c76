// The import-unit generator: reads a type library description through the XML layer and
// writes the Pascal import unit that declares the library's constants, enumerations,
// aliases, records, unions, interfaces and dispinterfaces.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "generator/used_libraries.h"
#include "xml/xml_objects.h"

namespace quenlor::generator {

// The import unit under construction, one entry per line. An entry may itself hold a CR LF
// where a long parameter list was broken; joining adds CR LF after every entry.
using UnitText = std::vector<std::string>;

// Names compared with ASCII letters folded, in an open-addressed table whose lookups can
// share one hash: a type name is looked up in up to four of these in a row.
class FoldedNameSet {
 public:
  static std::size_t Hash(std::string_view name);
  // A name equal to one already held (letters folded) is not added again; the result
  // tells whether it was added.
  bool Insert(std::string_view name);
  bool Contains(std::string_view name) const { return Contains(name, Hash(name)); }
  // `hash` is Hash(name).
  bool Contains(std::string_view name, std::size_t hash) const;
  void Clear();

 private:
  struct Slot {
    std::size_t hash = 0;
    std::string name;
    bool used = false;
  };
  void Grow();

  std::vector<Slot> slots_;  // a power of two in size, at most half full
  std::size_t count_ = 0;
};

// A list of names looked up without regard to the case of ASCII letters.
class NameList {
 public:
  void Add(std::string_view name);
  bool Contains(std::string_view name) const { return folded_.Contains(name); }
  // `hash` is FoldedNameSet::Hash(name).
  bool Contains(std::string_view name, std::size_t hash) const { return folded_.Contains(name, hash); }
  void Sort();
  void Clear();
  const std::vector<std::string>& Names() const { return names_; }

 private:
  std::vector<std::string> names_;
  FoldedNameSet folded_;
};

// Name, or Name followed by "_" when it is one of the output language's reserved words
// (whole name, ASCII letters compared without regard to case).
std::string SafeName(std::string_view name);
bool IsReservedWord(std::string_view name);

// The position of the first interface after `index` whose `name` equals the `inherits` of
// the interface at `index` (exact comparison), or -1.
int LaterBaseIndex(const std::vector<xml::NodePtr>& list, int index);

// Moves each interface behind its base when the base stands later; at most 2000 steps,
// which bounds inheritance cycles.
void OrderByInheritance(std::vector<xml::NodePtr>& list);

// The index of the first declaration after `index` whose name the declaration at `index`
// uses (case-insensitive), or -1. Pointer aliases depend on nothing.
int DependsOnLater(const std::vector<xml::NodePtr>& declarations, int index);

// The number of steps after which both orderings stop and keep the order reached.
inline constexpr int kOrderingStepLimit = 2000;

// One item of such an ordering: the node written for it, its name and the names it uses, in
// the form the ordering compares them.
struct OrderingItem {
  xml::NodePtr node;
  std::string name;
  std::vector<std::string> uses;
};

// Walks the list from its start; an item that uses a name standing later is moved to the
// end, and the walk goes on at the same position, until the end or the step limit. The same
// steps as asking at every position whether a used name stands later, without reading the
// rest of the list each time: positions are stamps that only grow (a moved item gets a new
// largest one), so "a used name stands later" is "the largest stamp among the items of that
// name is larger than mine". Writes the order reached into nodes.
void OrderUsersAfterUsed(std::vector<OrderingItem> items, std::vector<xml::NodePtr>& nodes);

// One generation of one import unit. The state below belongs to the generation in
// progress: BuildImportUnit resets it on entry and clears it on exit; the other operations
// are public so that each rule can be exercised on its own.
class ImportUnitGenerator {
 public:
  // The whole unit, every line followed by CR LF ("end." included). Reads the description
  // and also writes into it: forced reads create missing values empty, and pointer aliases
  // are added for records and unions used by reference. `context` names the unit and tells
  // what the units of the other libraries it uses declare.
  std::string BuildImportUnit(const xml::DocumentPtr& description, const UnitContext& context = {});

  // How a dispinterface parameter, result or property type is written: interface and
  // enumeration names through SafeName, known built-in types that a dispinterface can carry
  // as they are, anything else as "{" + SafeName(name) + "}OleVariant".
  std::string TypeName(std::string_view name) const;
  // How a type is written where any type may stand (fields, aliases, vtable parameters):
  // through SafeName, with the names the uses clause declares otherwise mapped.
  std::string DeclaredType(std::string_view name) const;
  // Writes the section keyword (after a blank line when needed) unless it is current.
  void OpenSection(UnitText& text, std::string_view keyword);
  // Prepares for one more declaration: opens the section, or separates with a blank line.
  void BeginDeclaration(UnitText& text, std::string_view keyword);

  void WriteTypeDeclarations(UnitText& text, const xml::NodePtr& root);
  // Rewrites by-reference items that name a record or union to its pointer alias "P" + name,
  // adds those aliases, and fills `declarations` with all aliases, records and unions in
  // dependency order.
  void OrderTypeDeclarations(const xml::NodePtr& root, std::vector<xml::NodePtr>& declarations);

  std::string ConstPrefix(const xml::NodePtr& param, std::string_view type_text) const;
  std::string ParamModifier(const xml::NodePtr& param) const;
  void AppendParamList(const xml::NodePtr& method, std::string& line, bool use_type_name) const;
  void AppendIndexParamList(const xml::NodePtr& method, std::string& line, bool use_type_name) const;

  void WriteInterfacesInOrder(UnitText& text, const xml::NodePtr& root);
  void WriteInterfaceDecl(UnitText& text, const xml::NodePtr& intf);
  void WriteDispInterfaceDecl(UnitText& text, const xml::NodePtr& disp);
  // The vtable slots of a dual dispinterface's members, one function per accessor.
  void WriteDualSlots(UnitText& text, const xml::NodePtr& disp) const;

  // True the first time a type name (letters folded) is declared; a second declaration of
  // one name does not compile and is left out.
  bool FirstDeclaration(std::string_view name) { return DeclaredTypes.Insert(name); }

  std::string CurrentSection;
  NameList InterfaceNames;  // every interface and dispinterface, sorted before use
  NameList EnumNames;       // every enumeration that has members
  FoldedNameSet DeclaredTypes;   // enumerations, aliases, records and unions written
  FoldedNameSet DeclaredConsts;  // constants written
  // Other libraries' type names (ASCII letters in lower case) written as another type.
  std::unordered_map<std::string, std::string> Substitutes;
  // Dispinterfaces that no interface of the description shares a name with, by folded
  // name: bases an interface cannot derive from.
  std::unordered_map<std::string, xml::NodePtr> DispatchBases;

 private:
  void ResetState();
  void TakeUsedLibraries(const xml::NodePtr& root, const std::vector<UsedLibrary>& used);
  // The text written for another library's type in place of its name, or null.
  const std::string* SubstituteFor(std::string_view name) const;
  std::string ModifierOf(std::string_view flags_text, std::string_view type) const;
};

// A fixed-size array's type text ("array[0..1][0..2] of Byte") as a declaration writes it:
// one bracket with a range per dimension ("array[0..1, 0..2] of Byte"), no range empty, the
// element type through `element_type`. Nothing for a text that is no such array.
std::optional<std::string> FixedArrayType(std::string_view text,
                                          const std::function<std::string(std::string_view)>& element_type);

// A line holding `text` as a comment: "{ " + text + " }", or another form when the text
// holds a "}" that would end the comment early.
std::string CommentLine(std::string_view text);

// A fresh generator for one description.
std::string BuildImportUnit(const xml::DocumentPtr& description, const UnitContext& context = {});

// Removes every section keyword that no declaration follows, with the blank lines after it:
// a section without declarations does not compile.
void DropEmptySections(UnitText& text);

// The unit text joined into one string, each line followed by CR LF.
std::string JoinUnitText(const UnitText& text);

// The null GUID's text, written where an interface or dispinterface has no GUID.
inline constexpr std::string_view kNullGuidText = "{00000000-0000-0000-0000-000000000000}";

}  // namespace quenlor::generator
