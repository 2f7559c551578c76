// Aliases, records and unions: pointer aliases for records and unions used by reference,
// dependency order, and their declarations.
#include <algorithm>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "base/text.h"
#include "generator/description_reads.h"
#include "generator/import_unit.h"

namespace quenlor::generator {

using detail::Attr;
using detail::ChildItems;
using detail::RefAttr;

namespace {

bool IsPointerAlias(const xml::NodePtr& declaration) {
  return declaration->Name() == "alias" && RefAttr(declaration);
}

// The type names a declaration uses: an alias its target, a record or union its fields.
std::vector<std::string> DependencyNames(const xml::NodePtr& declaration) {
  std::vector<std::string> names;
  if (declaration->Name() == "alias") {
    names.push_back(Attr(declaration, "type"));
  } else {
    for (const xml::NodePtr& item : ChildItems(declaration, "items")) names.push_back(Attr(item, "type"));
  }
  return names;
}

// An attribute's value as written (untrimmed), as a path query compares it; nothing when
// the element has no such attribute.
std::optional<std::string> RawAttribute(const xml::NodePtr& node, std::string_view name) {
  const xml::AttributePtr attribute = node->FindAttribute(name);
  if (!attribute) return std::nullopt;
  return attribute->GetText();
}

// The first element that `path` selects for each value of its attribute `name`.
std::unordered_map<std::string, xml::NodePtr> FirstByAttribute(const xml::NodePtr& root, std::string_view path,
                                                                std::string_view name) {
  std::unordered_map<std::string, xml::NodePtr> first;
  const xml::NodesPtr found = root->FindNodes(path);
  for (int i = 0, count = found->Count(); i < count; ++i) {
    xml::NodePtr node = found->GetNode(i);
    if (std::optional<std::string> value = RawAttribute(node, name)) first.emplace(std::move(*value), std::move(node));
  }
  return first;
}

}  // namespace

int DependsOnLater(const std::vector<xml::NodePtr>& declarations, int index) {
  const xml::NodePtr& declaration = declarations[static_cast<std::size_t>(index)];
  if (IsPointerAlias(declaration)) return -1;
  std::unordered_set<std::string> uses;
  for (const std::string& name : DependencyNames(declaration)) uses.insert(AsciiLower(name));
  for (std::size_t m = static_cast<std::size_t>(index) + 1; m < declarations.size(); ++m) {
    if (uses.contains(AsciiLower(Attr(declarations[m], "name")))) return static_cast<int>(m);
  }
  return -1;
}

void ImportUnitGenerator::OrderTypeDeclarations(const xml::NodePtr& root, std::vector<xml::NodePtr>& declarations) {
  declarations.clear();

  // What a pointer target changes depends on its name alone, so a target met again (the
  // same record through another item, or another record of the same name) has no further
  // effect and is taken once.
  //
  // The lookups by name (the record or union of a given name, the items of a given type,
  // the existing pointer alias) are answered from indexes of attribute values taken once,
  // not by a path query per name over the whole description: those made the pass quadratic
  // (seconds for a thousand records). The indexes give the same nodes in the same order,
  // exact, case-sensitive matches on the attribute as written; and as nothing below renames
  // a record or creates an item, they stay true while the pass rewrites items.
  const std::unordered_map<std::string, xml::NodePtr> records = FirstByAttribute(root, "//record", "name");
  const std::unordered_map<std::string, xml::NodePtr> unions = FirstByAttribute(root, "//union", "name");
  std::vector<std::string> targets;
  std::unordered_set<std::string> known_targets;
  const xml::NodesPtr by_reference = root->FindNodes("//item[@ref=\"true\"]");
  for (int i = 0, count = by_reference->Count(); i < count; ++i) {
    const std::string type = Attr(by_reference->GetNode(i), "type");
    const xml::NodePtr* target = nullptr;
    if (const auto record = records.find(type); record != records.end()) {
      target = &record->second;
    } else if (const auto union_ = unions.find(type); union_ != unions.end()) {
      target = &union_->second;
    } else {
      continue;
    }
    std::string name = Attr(*target, "name");
    if (known_targets.insert(name).second) targets.push_back(std::move(name));
  }

  if (!targets.empty()) {
    // Items by type as they stand after the reads above (which may have created types).
    std::unordered_map<std::string, std::vector<xml::NodePtr>> items_by_type;
    const xml::NodesPtr items = root->FindNodes("//item");
    for (int i = 0, count = items->Count(); i < count; ++i) {
      xml::NodePtr item = items->GetNode(i);
      if (std::optional<std::string> type = RawAttribute(item, "type")) items_by_type[*type].push_back(std::move(item));
    }
    const xml::NodePtr aliases = root->ForceNode("aliases");
    // Aliases by folded name, and the other type names of the library, folded: a pointer
    // alias may not take a name that another type holds, which would then mean the other.
    std::unordered_map<std::string, xml::NodePtr> alias_names;
    const xml::NodesPtr existing = aliases->FindNodes("alias");
    for (int i = 0, count = existing->Count(); i < count; ++i) {
      xml::NodePtr alias = existing->GetNode(i);
      if (std::optional<std::string> name = RawAttribute(alias, "name")) alias_names.emplace(AsciiLower(*name), alias);
    }
    std::unordered_set<std::string> type_names;
    for (std::string_view path : {"//record", "//union", "//enum", "//interface", "//dispinterface"}) {
      const xml::NodesPtr found = root->FindNodes(path);
      for (int i = 0, count = found->Count(); i < count; ++i) {
        if (std::optional<std::string> name = RawAttribute(found->GetNode(i), "name")) type_names.insert(AsciiLower(*name));
      }
    }
    for (const std::string& name : targets) {
      // "P" + the name, or with "_" appended as often as another type holds that name; an
      // alias of the name that already points to the target is the pointer alias itself.
      std::string pointer_name = "P" + name;
      bool exists = false;
      for (;;) {
        const std::string folded = AsciiLower(pointer_name);
        const auto alias = alias_names.find(folded);
        if (alias != alias_names.end() && RefAttr(alias->second) && Attr(alias->second, "type") == name) {
          exists = true;
          break;
        }
        if (alias == alias_names.end() && !type_names.contains(folded)) break;
        pointer_name += "_";
      }
      if (const auto users = items_by_type.find(name); users != items_by_type.end()) {
        for (const xml::NodePtr& item : users->second) {
          if (!RefAttr(item)) continue;
          const xml::NamedValuesPtr values = item->Attributes()->Values();
          values->WriteString("type", pointer_name);
          values->WriteBool("ref", false);
        }
      }
      if (!exists) {
        const xml::NodePtr alias = aliases->Nodes()->Add("alias");
        alias_names.emplace(AsciiLower(pointer_name), alias);
        const xml::NamedValuesPtr values = alias->Attributes()->Values();
        values->WriteString("name", pointer_name);
        values->WriteString("type", name);
        values->WriteBool("ref", true);
      }
    }
  }

  for (std::string_view path : {"//alias", "//record", "//union"}) {
    const xml::NodesPtr found = root->FindNodes(path);
    for (int i = 0, count = found->Count(); i < count; ++i) declarations.push_back(found->GetNode(i));
  }

  // The steps of asking DependsOnLater at every position: names and uses folded, a pointer
  // alias using nothing.
  std::vector<OrderingItem> items;
  items.reserve(declarations.size());
  for (const xml::NodePtr& declaration : declarations) {
    OrderingItem item{declaration, AsciiLower(Attr(declaration, "name")), {}};
    if (!IsPointerAlias(declaration)) {
      for (const std::string& use : DependencyNames(declaration)) item.uses.push_back(AsciiLower(use));
    }
    items.push_back(std::move(item));
  }
  OrderUsersAfterUsed(std::move(items), declarations);
}

void ImportUnitGenerator::WriteTypeDeclarations(UnitText& text, const xml::NodePtr& root) {
  std::vector<xml::NodePtr> declarations;
  OrderTypeDeclarations(root, declarations);
  bool start_of_run = true;
  for (const xml::NodePtr& declaration : declarations) {
    const std::string kind = declaration->Name();
    if (!FirstDeclaration(Attr(declaration, "name"))) continue;
    if (kind == "alias") {
      if (start_of_run) BeginDeclaration(text, "type");
      start_of_run = false;
      const std::string help = declaration->Values()->ReadString("help", "", false);
      if (!help.empty()) text.push_back(CommentLine(help));
      const std::string pointer = RefAttr(declaration) ? "^" : "";
      const std::string name = SafeName(Attr(declaration, "name"));
      text.push_back("  " + name + " = " + pointer + DeclaredType(Attr(declaration, "type")) + ";");
      if (!help.empty()) text.emplace_back();
    } else if (kind == "record") {
      BeginDeclaration(text, "type");
      text.push_back("  " + SafeName(Attr(declaration, "name")) + " = packed record");
      // A record without fields has no `items`: it is declared empty.
      for (const xml::NodePtr& item : ChildItems(declaration, "items")) {
        const std::string pointer = RefAttr(item) ? "^" : "";
        const std::string name = SafeName(Attr(item, "name"));
        text.push_back("    " + name + ": " + pointer + DeclaredType(Attr(item, "type")) + ";");
      }
      text.emplace_back("  end;");
      start_of_run = true;
    } else if (kind == "union") {
      BeginDeclaration(text, "type");
      text.push_back("  " + SafeName(Attr(declaration, "name")) + " = packed record");
      // A union without fields has no `items`. It is declared as an empty record: a variant
      // part without variants ("case Integer of" directly before "end;") does not compile.
      const xml::NodePtr items = declaration->FindNode("items");
      if (items) text.emplace_back("    case Integer of");
      int k = 0;
      for (const xml::NodePtr& item : items ? detail::ElementChildren(items) : std::vector<xml::NodePtr>{}) {
        const bool by_reference = RefAttr(item);
        const std::string name = SafeName(Attr(item, "name"));
        const std::string type = Attr(item, "type");
        const std::string pointer = by_reference && !InterfaceNames.Contains(type) ? "^" : "";
        text.push_back("      " + std::to_string(k++) + ": (" + name + ": " + pointer + DeclaredType(type) + ");");
      }
      text.emplace_back("  end;");
      start_of_run = true;
    }
  }
}

}  // namespace quenlor::generator
