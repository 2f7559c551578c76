// The plan of a set of units written side by side: a distinct unit (and file) name for each
// library, and which of its references each unit's uses clause may name without closing a
// cycle of uses clauses, which the compiler refuses. Pure: tests drive it with made-up sets.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quenlor::units {

struct PlannedLibrary {
  std::string name;  // the library's own name
  std::uint16_t major = 0;
  std::uint16_t minor = 0;
  std::string id;                       // library id text, orders libraries of one name
  std::uint32_t lcid = 0;
  std::vector<std::size_t> references;  // indices of the libraries it uses, each once
};

// One unit name per library, all distinct with ASCII letters folded (file systems and the
// compiler's unit search fold them): NAME_TLB from the library's name, characters that
// cannot stand in an identifier or a file name replaced by "_". Of libraries whose names
// meet, the one of the highest version (then the lowest id, then locale) keeps NAME_TLB;
// each other one becomes NAME_<major>_<minor>_TLB, followed by _2, _3... before _TLB when
// that is taken too.
std::vector<std::string> AssignUnitNames(const std::vector<PlannedLibrary>& libraries);

// For each library, its references in uses-clause order (by unit name, letters folded) with
// whether the uses clause names it. A depth-first walk from the libraries in index order
// meets each cycle at a reference to a library whose walk has not finished yet: that
// reference is left out of the clause, so the unit reached later in the walk does without the
// earlier one's unit.
struct PlannedUse {
  std::size_t library;
  bool listed;
};
std::vector<std::vector<PlannedUse>> PlanUses(const std::vector<PlannedLibrary>& libraries,
                                              const std::vector<std::string>& unit_names);

}  // namespace quenlor::units
