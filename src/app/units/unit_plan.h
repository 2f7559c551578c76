// The plan of a set of units written side by side: a distinct unit (and file) name for each
// library, and which of its references each unit's uses clause may name without closing a
// cycle of uses clauses, which the compiler refuses. Pure: tests drive it with made-up sets.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quenlor::units {

struct PlannedReference {
  std::size_t library;
  // The unit cannot do without the other's unit (library_references.h).
  bool needs_declarations = false;
};

struct PlannedLibrary {
  std::string name;  // the library's own name
  std::uint16_t major = 0;
  std::uint16_t minor = 0;
  std::string id;                       // library id text, orders libraries of one name
  std::uint32_t lcid = 0;
  std::vector<PlannedReference> references;  // the libraries it uses
};

// One unit name per library, all distinct with ASCII letters folded (file systems and the
// compiler's unit search fold them): NAME_TLB from the library's name, characters that
// cannot stand in an identifier or a file name replaced by "_". Of libraries whose names
// meet, the one of the highest version (then the lowest id, then locale) keeps NAME_TLB;
// each other one becomes NAME_<major>_<minor>_TLB, followed by _2, _3... before _TLB when
// that is taken too.
std::vector<std::string> AssignUnitNames(const std::vector<PlannedLibrary>& libraries);

// For each library, its references in uses-clause order (by unit name, letters folded), each
// once, with whether the uses clause names it. The references a unit cannot do without come
// first: a depth-first walk of them from the libraries in index order leaves out each one
// that closes a cycle of them (such a cycle cannot compile whatever is done). Then each other
// reference, in library and clause order, is named unless the libraries named so far already
// lead from its target back to its source; then its unit does without the other's, whose
// interfaces, dispinterfaces and enumerations have stand-ins.
struct PlannedUse {
  std::size_t library;
  bool listed;
};
std::vector<std::vector<PlannedUse>> PlanUses(const std::vector<PlannedLibrary>& libraries,
                                              const std::vector<std::string>& unit_names);

}  // namespace quenlor::units
