// Aliases, records and unions: pointer aliases for records and unions used by reference,
// dependency order, and their declarations.
#include <algorithm>
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

// The record or union that a by-reference item's type names, or none.
xml::NodePtr FindPointerTarget(const xml::NodePtr& root, std::string_view type) {
  const std::string literal = xml::XPathLiteral(type);
  if (xml::NodePtr record = root->FindNode("//record[@name=" + literal + "]")) return record;
  return root->FindNode("//union[@name=" + literal + "]");
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
  std::vector<std::string> targets;
  std::unordered_set<std::string> known_targets;
  const xml::NodesPtr by_reference = root->FindNodes("//item[@ref=\"true\"]");
  for (int i = 0, count = by_reference->Count(); i < count; ++i) {
    const std::string type = Attr(by_reference->GetNode(i), "type");
    const xml::NodePtr target = FindPointerTarget(root, type);
    if (!target) continue;
    std::string name = Attr(target, "name");
    if (known_targets.insert(name).second) targets.push_back(std::move(name));
  }

  xml::NodePtr aliases;
  for (const std::string& name : targets) {
    const std::string pointer_name = "P" + name;
    const xml::NodesPtr users = root->FindNodes("//item[@type=" + xml::XPathLiteral(name) + "]");
    for (int i = 0, count = users->Count(); i < count; ++i) {
      const xml::NodePtr item = users->GetNode(i);
      if (!RefAttr(item)) continue;
      const xml::NamedValuesPtr values = item->Attributes()->Values();
      values->WriteString("type", pointer_name);
      values->WriteBool("ref", false);
    }
    if (!aliases) aliases = root->ForceNode("aliases");
    if (!aliases->FindNode("alias[@name=" + xml::XPathLiteral(pointer_name) + "]")) {
      const xml::NodePtr alias = aliases->Nodes()->Add("alias");
      const xml::NamedValuesPtr values = alias->Attributes()->Values();
      values->WriteString("name", pointer_name);
      values->WriteString("type", name);
      values->WriteBool("ref", true);
    }
  }

  for (std::string_view path : {"//alias", "//record", "//union"}) {
    const xml::NodesPtr found = root->FindNodes(path);
    for (int i = 0, count = found->Count(); i < count; ++i) declarations.push_back(found->GetNode(i));
  }

  // The same steps as asking DependsOnLater at every position, without reading the rest
  // of the list again at each step: positions are stamps that only grow (a moved
  // declaration gets a new largest one), so "a used name stands later" is "the largest
  // stamp among the declarations of that name is larger than mine". Names and uses do not
  // change while ordering.
  struct Entry {
    xml::NodePtr node;
    std::string name;               // folded
    std::vector<std::string> uses;  // folded; empty for a pointer alias
    std::size_t stamp;
  };
  std::vector<Entry> entries;
  entries.reserve(declarations.size());
  std::unordered_map<std::string, std::size_t> latest;
  for (std::size_t i = 0; i < declarations.size(); ++i) {
    Entry entry{declarations[i], AsciiLower(Attr(declarations[i], "name")), {}, i};
    if (!IsPointerAlias(declarations[i])) {
      for (const std::string& use : DependencyNames(declarations[i])) entry.uses.push_back(AsciiLower(use));
    }
    latest[entry.name] = i;
    entries.push_back(std::move(entry));
  }
  auto depends_on_later = [&](const Entry& entry) {
    return std::any_of(entry.uses.begin(), entry.uses.end(), [&](const std::string& use) {
      const auto found = latest.find(use);
      return found != latest.end() && found->second > entry.stamp;
    });
  };
  std::size_t next_stamp = entries.size();
  std::size_t position = 0;
  for (int steps = 0; position < entries.size();) {
    if (depends_on_later(entries[position])) {
      Entry moved = std::move(entries[position]);
      entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(position));
      moved.stamp = next_stamp++;
      latest[moved.name] = moved.stamp;
      entries.push_back(std::move(moved));
    } else {
      ++position;
    }
    if (++steps >= kOrderingStepLimit) break;
  }
  for (std::size_t i = 0; i < entries.size(); ++i) declarations[i] = std::move(entries[i].node);
}

void ImportUnitGenerator::WriteTypeDeclarations(UnitText& text, const xml::NodePtr& root) {
  std::vector<xml::NodePtr> declarations;
  OrderTypeDeclarations(root, declarations);
  bool start_of_run = true;
  for (const xml::NodePtr& declaration : declarations) {
    const std::string kind = declaration->Name();
    if (kind == "alias") {
      if (start_of_run) BeginDeclaration(text, "type");
      start_of_run = false;
      const std::string help = declaration->Values()->ReadString("help", "", false);
      if (!help.empty()) text.push_back("{ " + help + " }");
      const std::string pointer = RefAttr(declaration) ? "^" : "";
      const std::string name = SafeName(Attr(declaration, "name"));
      text.push_back("  " + name + " = " + pointer + SafeName(Attr(declaration, "type")) + ";");
      if (!help.empty()) text.emplace_back();
    } else if (kind == "record") {
      BeginDeclaration(text, "type");
      text.push_back("  " + SafeName(Attr(declaration, "name")) + " = packed record");
      // A record without fields has no `items`: it is declared empty.
      for (const xml::NodePtr& item : ChildItems(declaration, "items")) {
        const std::string pointer = RefAttr(item) ? "^" : "";
        const std::string name = SafeName(Attr(item, "name"));
        text.push_back("    " + name + ": " + pointer + SafeName(Attr(item, "type")) + ";");
      }
      text.emplace_back("  end;");
      start_of_run = true;
    } else if (kind == "union") {
      BeginDeclaration(text, "type");
      text.push_back("  " + SafeName(Attr(declaration, "name")) + " = packed record");
      text.emplace_back("    case Integer of");
      int k = 0;
      for (const xml::NodePtr& item : ChildItems(declaration, "items")) {
        const bool by_reference = RefAttr(item);
        const std::string name = SafeName(Attr(item, "name"));
        const std::string type = Attr(item, "type");
        const std::string pointer = by_reference && !InterfaceNames.Contains(type) ? "^" : "";
        text.push_back("      " + std::to_string(k++) + ": (" + name + ": " + pointer + SafeName(type) + ");");
      }
      text.emplace_back("  end;");
      start_of_run = true;
    }
  }
}

}  // namespace quenlor::generator
