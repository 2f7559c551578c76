// A set of import units written side by side into one folder: the libraries asked for and,
// with dependencies, every library they refer to that resolves, transitively. Each library
// is written once, under the name the plan gives it (unit_plan.h); a unit's uses clause names
// the units of the libraries it refers to. stdole gets no unit of its own there: ActiveX
// declares its types (generator/used_libraries.h).
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/units/library_references.h"
#include "typelib/access.h"

namespace quenlor::units {

struct WrittenUnit {
  std::string unit_name;
  std::string path;
  bool asked_for = false;  // false: written as a dependency
};

struct UnitFailure {
  std::string unit_name;
  std::string reason;
};

class UnitSet {
 public:
  explicit UnitSet(bool with_dependencies) : with_dependencies_(with_dependencies) {}

  // Adds a library to be written; false when a library of its id, version and locale is
  // already in the set (then nothing changes).
  bool Add(std::shared_ptr<typelib::ITypeLibAccess> library);

  // With dependencies: adds every library that a library of the set refers to, transitively,
  // and records the references. Without: does nothing, and each unit is written alone.
  void AddDependencies();

  // The number of units WriteAll writes.
  std::size_t UnitCount() const;

  // Writes each unit to `directory`/UNIT.pas, whole or not at all (the folder is created when
  // missing); `progress` is told the position, the count and the unit name before each.
  // A unit that cannot be generated or written is a failure; the others are still written.
  using Progress = std::function<void(std::size_t position, std::size_t count, const std::string& unit)>;
  void WriteAll(const std::string& directory, const Progress& progress);

  const std::vector<WrittenUnit>& Written() const { return written_; }
  const std::vector<UnitFailure>& Failures() const { return failures_; }

 private:
  struct Node {
    std::shared_ptr<typelib::ITypeLibAccess> library;
    LibraryKey key;
    std::string name;
    bool asked_for = false;
    bool stdole = false;
    std::vector<std::size_t> references;
    std::vector<bool> needs_declarations;  // beside references
  };
  std::size_t Find(const LibraryKey& key) const;  // nodes_.size() when absent
  std::size_t Insert(std::shared_ptr<typelib::ITypeLibAccess> library, const LibraryKey& key, bool asked_for);
  // Whether a library has a unit of its own: stdole only when asked for.
  bool Writes(const Node& node) const { return node.asked_for || !node.stdole; }

  bool with_dependencies_;
  std::vector<Node> nodes_;
  std::vector<WrittenUnit> written_;
  std::vector<UnitFailure> failures_;
};

}  // namespace quenlor::units
