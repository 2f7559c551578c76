#include "app/units/unit_set.h"

#include <exception>
#include <filesystem>
#include <map>

#include "app/units/unit_plan.h"
#include "base/error.h"
#include "base/file.h"
#include "generator/import_unit.h"
#include "description/type_lib_scan.h"
#include "description/type_naming.h"

namespace quenlor::units {

namespace {

bool IsStdole(const LibraryKey& key) { return typelib::GuidText(key.libid) == generator::kStdoleLibraryId; }

void MakeFolder(const std::string& directory) {
  std::error_code ec;
  std::filesystem::create_directories(PathFromUtf8(directory), ec);
  if (ec) Fail("cannot create the folder " + directory + ": " + ec.message());
}

}  // namespace

std::size_t UnitSet::Find(const LibraryKey& key) const {
  for (std::size_t i = 0; i < nodes_.size(); ++i) {
    if (nodes_[i].key == key) return i;
  }
  return nodes_.size();
}

std::size_t UnitSet::Insert(std::shared_ptr<typelib::ITypeLibAccess> library, const LibraryKey& key, bool asked_for) {
  Node node;
  node.name = description::LibraryName(*library);
  node.library = std::move(library);
  node.key = key;
  node.asked_for = asked_for;
  node.stdole = IsStdole(key);
  nodes_.push_back(std::move(node));
  return nodes_.size() - 1;
}

bool UnitSet::Add(std::shared_ptr<typelib::ITypeLibAccess> library) {
  if (!library) return false;
  // A library that cannot say who it is is still written; it cannot be referred to anyway.
  const LibraryKey key = KeyOf(*library).value_or(LibraryKey{});
  if (const std::size_t found = Find(key); found < nodes_.size() && KeyOf(*library)) {
    nodes_[found].asked_for = true;
    return false;
  }
  Insert(std::move(library), key, true);
  return true;
}

void UnitSet::AddDependencies() {
  if (!with_dependencies_) return;
  // The list grows while it is walked: each library added is walked in its turn.
  for (std::size_t i = 0; i < nodes_.size(); ++i) {
    if (nodes_[i].stdole && !nodes_[i].asked_for) continue;  // ActiveX stands for it and what it uses
    std::vector<std::size_t> references;
    std::vector<bool> needs;
    for (Reference& reference : ReferencedLibraries(*nodes_[i].library)) {
      const std::optional<LibraryKey> key = KeyOf(*reference.library);
      if (!key) continue;
      std::size_t index = Find(*key);
      if (index == nodes_.size()) index = Insert(std::move(reference.library), *key, false);
      references.push_back(index);
      needs.push_back(reference.needs_declarations);
    }
    nodes_[i].references = std::move(references);
    nodes_[i].needs_declarations = std::move(needs);
  }
}

std::size_t UnitSet::UnitCount() const {
  std::size_t count = 0;
  for (const Node& node : nodes_) count += Writes(node) ? 1 : 0;
  return count;
}

void UnitSet::WriteAll(const std::string& directory, const Progress& progress) {
  std::vector<std::size_t> units;                   // plan index -> node
  std::vector<std::size_t> plan_of(nodes_.size(), nodes_.size());  // node -> plan index
  for (std::size_t i = 0; i < nodes_.size(); ++i) {
    if (!Writes(nodes_[i])) continue;
    plan_of[i] = units.size();
    units.push_back(i);
  }
  std::vector<PlannedLibrary> plan;
  for (const std::size_t i : units) {
    const Node& node = nodes_[i];
    PlannedLibrary planned{node.name, node.key.major, node.key.minor, typelib::GuidText(node.key.libid),
                           node.key.lcid, {}};
    for (std::size_t k = 0; k < node.references.size(); ++k) {
      const std::size_t r = node.references[k];
      if (plan_of[r] < units.size() && !nodes_[r].stdole) {
        planned.references.push_back({plan_of[r], node.needs_declarations[k]});
      }
    }
    plan.push_back(std::move(planned));
  }
  const std::vector<std::string> unit_names = AssignUnitNames(plan);
  const std::vector<std::vector<PlannedUse>> uses = PlanUses(plan, unit_names);

  std::map<std::size_t, DeclaredNames> names;  // by plan index, read when first needed
  auto names_of = [&](std::size_t p) -> const DeclaredNames& {
    auto found = names.find(p);
    if (found == names.end()) found = names.emplace(p, NamesOf(*nodes_[units[p]].library)).first;
    return found->second;
  };

  MakeFolder(directory);
  for (std::size_t p = 0; p < units.size(); ++p) {
    Node& node = nodes_[units[p]];
    if (progress) progress(p + 1, units.size(), unit_names[p]);
    generator::UnitContext context;
    context.unit_name = unit_names[p];
    for (const std::size_t r : node.references) {
      if (nodes_[r].stdole) {
        context.used.push_back(generator::StdoleLibrary());
        break;
      }
    }
    for (const PlannedUse& use : uses[p]) {
      const DeclaredNames& used = names_of(use.library);
      if (use.listed) {
        std::vector<std::string> interfaces = used.interfaces;
        interfaces.insert(interfaces.end(), used.dispinterfaces.begin(), used.dispinterfaces.end());
        context.used.push_back(generator::ListedLibrary(unit_names[use.library], std::move(interfaces), used.enums));
      } else {
        context.used.push_back(generator::UnlistedLibrary(used.interfaces, used.dispinterfaces, used.enums));
      }
    }
    const std::string path = directory + "/" + unit_names[p] + ".pas";
    try {
      const xml::DocumentPtr description = xml::CreateDocument();
      description::ScanTypeLib(*node.library, description->ForceRoot("typelib"));
      WriteFileAtomically(path, generator::BuildImportUnit(description, context));
      written_.push_back({unit_names[p], path, node.asked_for});
    } catch (const std::exception& e) {
      failures_.push_back({unit_names[p], e.what()});
    }
  }
}

}  // namespace quenlor::units
