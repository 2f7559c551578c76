// Assembly of the import unit: header, GUID and module constants, enumerations, forward
// declarations, then the type and interface declarations in dependency order.
#include "generator/import_unit.h"

#include <unordered_map>

#include "base/error.h"
#include "base/text.h"
#include "generator/description_reads.h"

namespace quenlor::generator {

using detail::Attr;
using detail::ChildItems;
using detail::ChildText;

namespace {

// Clears the generation state however BuildImportUnit leaves, so that nothing of one
// description leaks into the next.
class StateReset {
 public:
  explicit StateReset(ImportUnitGenerator& generator) : generator_(generator) {}
  ~StateReset() {
    generator_.CurrentSection.clear();
    generator_.InterfaceNames.Clear();
    generator_.EnumNames.Clear();
    generator_.DeclaredTypes.Clear();
    generator_.DeclaredConsts.Clear();
    generator_.Substitutes.clear();
    generator_.DispatchBases.clear();
  }
  StateReset(const StateReset&) = delete;
  StateReset& operator=(const StateReset&) = delete;

 private:
  ImportUnitGenerator& generator_;
};

std::vector<xml::NodePtr> CollectionItems(const xml::NodePtr& root, std::string_view collection) {
  return ChildItems(root, collection);
}

}  // namespace

std::string JoinUnitText(const UnitText& text) {
  std::size_t size = 0;
  for (const std::string& line : text) size += line.size() + 2;
  std::string result;
  result.reserve(size);
  for (const std::string& line : text) {
    result += line;
    result += "\r\n";
  }
  return result;
}

void ImportUnitGenerator::ResetState() {
  CurrentSection.clear();
  InterfaceNames.Clear();
  EnumNames.Clear();
  DeclaredTypes.Clear();
  DeclaredConsts.Clear();
  Substitutes.clear();
  DispatchBases.clear();
}

void ImportUnitGenerator::TakeUsedLibraries(const xml::NodePtr& root, const std::vector<UsedLibrary>& used) {
  if (used.empty()) return;
  // The unit's own declarations hide those of the units it uses: a name the library
  // declares itself keeps its own meaning.
  FoldedNameSet own;
  for (const xml::NodePtr& collection : detail::ElementChildren(root)) {
    for (const xml::NodePtr& item : detail::ElementChildren(collection)) own.Insert(Attr(item, "name"));
  }
  for (const UsedLibrary& library : used) {
    for (const std::string& name : library.interfaces) {
      if (!own.Contains(name)) InterfaceNames.Add(name);
    }
    for (const std::string& name : library.enums) {
      if (!own.Contains(name)) EnumNames.Add(name);
    }
    for (const auto& [name, written] : library.substitutes) {
      if (own.Contains(name)) continue;
      Substitutes.emplace(AsciiLower(name), written);
      // Parameters of these types are passed as interfaces are.
      if (written != "TOleEnum") InterfaceNames.Add(name);
    }
  }
}

std::string ImportUnitGenerator::BuildImportUnit(const xml::DocumentPtr& description, const UnitContext& context) {
  ResetState();
  StateReset reset(*this);
  const xml::NodePtr root = description ? description->GetRoot() : nullptr;
  if (!root) Fail("invalid typelib");

  UnitText text;
  const std::string library_name = Attr(root, "name");
  text.push_back("unit " + (context.unit_name.empty() ? library_name + "_TLB" : context.unit_name) + ";");
  text.emplace_back();
  text.emplace_back("{$TYPEDADDRESS OFF}");
  text.emplace_back("{$WARN SYMBOL_PLATFORM OFF}");
  text.emplace_back("{$WRITEABLECONST ON}");
  text.emplace_back("{$VARPROPSETTER ON}");
  text.emplace_back();
  text.emplace_back("interface");
  text.emplace_back();
  text.emplace_back("uses");
  for (std::string& line : UsesClauseLines(context.used)) text.push_back(std::move(line));
  TakeUsedLibraries(root, context.used);

  for (const xml::NodePtr& item : CollectionItems(root, "coclasses")) {
    OpenSection(text, "const");
    const std::string name = Attr(item, "name");
    text.push_back("  CLSID_" + name + ": TGUID = '" + ChildText(item, "guid") + "';");
  }
  // Dispinterfaces first, then interfaces: both are interface names for TypeName.
  for (std::string_view collection : {"dispinterfaces", "interfaces"}) {
    for (const xml::NodePtr& item : CollectionItems(root, collection)) {
      OpenSection(text, "const");
      const std::string name = Attr(item, "name");
      text.push_back("  IID_" + name + ": TGUID = '" + ChildText(item, "guid") + "';");
      InterfaceNames.Add(name);
    }
  }
  InterfaceNames.Sort();
  for (const xml::NodePtr& item : CollectionItems(root, "dispinterfaces")) {
    DispatchBases.emplace(AsciiLower(Attr(item, "name")), item);
  }
  for (const xml::NodePtr& item : CollectionItems(root, "interfaces")) DispatchBases.erase(AsciiLower(Attr(item, "name")));

  for (const xml::NodePtr& module : CollectionItems(root, "modules")) {
    BeginDeclaration(text, "const");
    if (const xml::NodePtr consts = module->FindNode("consts")) {
      text.push_back("{ " + SafeName(Attr(module, "name")) + " }");
      for (const xml::NodePtr& constant : detail::ElementChildren(consts)) {
        const std::string name = SafeName(Attr(constant, "name"));
        if (!DeclaredConsts.Insert(name)) continue;
        text.push_back("  " + name + " = " + Attr(constant, "value") + ";");
      }
    }
  }

  for (const xml::NodePtr& enumeration : CollectionItems(root, "enums")) {
    const std::string name = Attr(enumeration, "name");
    const xml::NodePtr items = enumeration->FindNode("items");
    if (items && !FirstDeclaration(name)) continue;
    BeginDeclaration(text, "type");
    if (!items) continue;
    text.push_back("  " + SafeName(name) + " = TOleEnum;");
    text.emplace_back();
    EnumNames.Add(name);
    for (const xml::NodePtr& member : detail::ElementChildren(items)) {
      if (CurrentSection != "const") {
        text.emplace_back("const");
        CurrentSection = "const";
      }
      const std::string member_name = SafeName(Attr(member, "name"));
      if (!DeclaredConsts.Insert(member_name)) continue;
      text.push_back("  " + member_name + " = " + Attr(member, "value") + ";");
    }
  }

  for (const xml::NodePtr& item : CollectionItems(root, "interfaces")) {
    OpenSection(text, "type");
    text.push_back("  " + SafeName(Attr(item, "name")) + " = interface;");
  }
  for (const xml::NodePtr& item : CollectionItems(root, "dispinterfaces")) {
    OpenSection(text, "type");
    text.push_back("  " + SafeName(Attr(item, "name")) + " = dispinterface;");
  }

  WriteTypeDeclarations(text, root);
  WriteInterfacesInOrder(text, root);
  for (const xml::NodePtr& item : CollectionItems(root, "dispinterfaces")) WriteDispInterfaceDecl(text, item);

  BeginDeclaration(text, CurrentSection);
  text.emplace_back("implementation");
  text.emplace_back();
  text.emplace_back("end.");
  DropEmptySections(text);
  return JoinUnitText(text);
}

void ImportUnitGenerator::WriteInterfacesInOrder(UnitText& text, const xml::NodePtr& root) {
  std::vector<xml::NodePtr> list = CollectionItems(root, "interfaces");
  OrderByInheritance(list);
  for (const xml::NodePtr& intf : list) WriteInterfaceDecl(text, intf);
}

int LaterBaseIndex(const std::vector<xml::NodePtr>& list, int index) {
  const std::string base = Attr(list[static_cast<std::size_t>(index)], "inherits");
  for (std::size_t q = static_cast<std::size_t>(index) + 1; q < list.size(); ++q) {
    if (Attr(list[q], "name") == base) return static_cast<int>(q);
  }
  return -1;
}

void OrderUsersAfterUsed(std::vector<OrderingItem> items, std::vector<xml::NodePtr>& nodes) {
  struct Entry {
    OrderingItem item;
    std::size_t stamp;
  };
  std::vector<Entry> entries;
  entries.reserve(items.size());
  std::unordered_map<std::string, std::size_t> latest;  // name -> largest stamp
  for (std::size_t i = 0; i < items.size(); ++i) {
    latest[items[i].name] = i;
    entries.push_back({std::move(items[i]), i});
  }
  auto uses_later = [&](const Entry& entry) {
    return std::any_of(entry.item.uses.begin(), entry.item.uses.end(), [&](const std::string& use) {
      const auto found = latest.find(use);
      return found != latest.end() && found->second > entry.stamp;
    });
  };
  std::size_t next_stamp = entries.size();
  std::size_t position = 0;
  for (int steps = 0; position < entries.size();) {
    if (uses_later(entries[position])) {
      Entry moved = std::move(entries[position]);
      entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(position));
      moved.stamp = next_stamp++;
      latest[moved.item.name] = moved.stamp;
      entries.push_back(std::move(moved));
    } else {
      ++position;
    }
    if (++steps >= kOrderingStepLimit) break;
  }
  nodes.resize(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) nodes[i] = std::move(entries[i].item.node);
}

void OrderByInheritance(std::vector<xml::NodePtr>& list) {
  // An interface uses its base, matched by its name as written.
  std::vector<OrderingItem> items;
  items.reserve(list.size());
  for (const xml::NodePtr& node : list) items.push_back({node, Attr(node, "name"), {Attr(node, "inherits")}});
  OrderUsersAfterUsed(std::move(items), list);
}

std::string BuildImportUnit(const xml::DocumentPtr& description, const UnitContext& context) {
  ImportUnitGenerator generator;
  return generator.BuildImportUnit(description, context);
}

}  // namespace quenlor::generator
