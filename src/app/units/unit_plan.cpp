#include "app/units/unit_plan.h"

#include <algorithm>
#include <map>
#include <set>

#include "base/text.h"

namespace quenlor::units {

namespace {

std::string IdentifierOf(const std::string& name) {
  std::string result;
  for (const char c : name) {
    const bool word = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    result += word ? c : '_';
  }
  // An identifier starts with a letter or "_"; an empty name is no unit name either.
  if (result.empty() || (result[0] >= '0' && result[0] <= '9')) result.insert(0, "_");
  return result;
}

}  // namespace

std::vector<std::string> AssignUnitNames(const std::vector<PlannedLibrary>& libraries) {
  std::vector<std::string> names(libraries.size());
  std::map<std::string, std::vector<std::size_t>> groups;  // folded NAME_TLB -> libraries
  for (std::size_t i = 0; i < libraries.size(); ++i) {
    names[i] = IdentifierOf(libraries[i].name);
    groups[AsciiLower(names[i] + "_TLB")].push_back(i);
  }
  std::set<std::string> taken;  // folded
  for (const auto& [folded, members] : groups) taken.insert(folded);
  for (auto& [folded, members] : groups) {
    std::stable_sort(members.begin(), members.end(), [&](std::size_t a, std::size_t b) {
      const PlannedLibrary& x = libraries[a];
      const PlannedLibrary& y = libraries[b];
      if (x.major != y.major) return x.major > y.major;
      if (x.minor != y.minor) return x.minor > y.minor;
      if (x.id != y.id) return x.id < y.id;
      return x.lcid < y.lcid;
    });
    const std::size_t first = members.front();
    const std::string base = names[first];
    names[first] = base + "_TLB";
    for (std::size_t k = 1; k < members.size(); ++k) {
      const PlannedLibrary& library = libraries[members[k]];
      const std::string stem = base + "_" + std::to_string(library.major) + "_" + std::to_string(library.minor);
      std::string candidate = stem + "_TLB";
      for (int n = 2; taken.count(AsciiLower(candidate)) != 0; ++n) candidate = stem + "_" + std::to_string(n) + "_TLB";
      taken.insert(AsciiLower(candidate));
      names[members[k]] = candidate;
    }
  }
  return names;
}

namespace {

// Whether `to` is reached from `from` along the references listed so far.
bool Reaches(const std::vector<std::vector<PlannedUse>>& uses, std::size_t from, std::size_t to) {
  std::vector<bool> seen(uses.size(), false);
  std::vector<std::size_t> pending = {from};
  seen[from] = true;
  while (!pending.empty()) {
    const std::size_t at = pending.back();
    pending.pop_back();
    if (at == to) return true;
    for (const PlannedUse& use : uses[at]) {
      if (use.listed && !seen[use.library]) {
        seen[use.library] = true;
        pending.push_back(use.library);
      }
    }
  }
  return false;
}

}  // namespace

std::vector<std::vector<PlannedUse>> PlanUses(const std::vector<PlannedLibrary>& libraries,
                                              const std::vector<std::string>& unit_names) {
  const std::size_t count = libraries.size();
  std::vector<std::vector<PlannedUse>> uses(count);
  std::vector<std::vector<bool>> needed(count);  // beside uses
  for (std::size_t i = 0; i < count; ++i) {
    std::vector<PlannedReference> order;
    for (const PlannedReference& r : libraries[i].references) {
      if (r.library >= count || r.library == i) continue;
      const auto same = std::find_if(order.begin(), order.end(),
                                     [&](const PlannedReference& o) { return o.library == r.library; });
      if (same == order.end()) order.push_back(r);
      else same->needs_declarations = same->needs_declarations || r.needs_declarations;
    }
    std::stable_sort(order.begin(), order.end(), [&](const PlannedReference& a, const PlannedReference& b) {
      return AsciiLower(unit_names[a.library]) < AsciiLower(unit_names[b.library]);
    });
    for (const PlannedReference& r : order) {
      uses[i].push_back({r.library, false});
      needed[i].push_back(r.needs_declarations);
    }
  }
  // The references units cannot do without, walked depth first without recursion: a chain as
  // long as the catalogue must not exhaust the stack.
  enum class State { kNew, kOpen, kDone };
  std::vector<State> state(count, State::kNew);
  for (std::size_t start = 0; start < count; ++start) {
    if (state[start] != State::kNew) continue;
    std::vector<std::pair<std::size_t, std::size_t>> stack = {{start, 0}};  // library, next use
    state[start] = State::kOpen;
    while (!stack.empty()) {
      const std::size_t library = stack.back().first;
      const std::size_t next = stack.back().second++;
      if (next == uses[library].size()) {
        state[library] = State::kDone;
        stack.pop_back();
        continue;
      }
      if (!needed[library][next]) continue;
      PlannedUse& use = uses[library][next];
      if (state[use.library] == State::kOpen) continue;  // closes a cycle: left out
      use.listed = true;
      if (state[use.library] == State::kNew) {
        state[use.library] = State::kOpen;
        stack.push_back({use.library, 0});
      }
    }
  }
  for (std::size_t i = 0; i < count; ++i) {
    for (std::size_t k = 0; k < uses[i].size(); ++k) {
      if (!needed[i][k]) uses[i][k].listed = !Reaches(uses, uses[i][k].library, i);
    }
  }
  return uses;
}

}  // namespace quenlor::units
