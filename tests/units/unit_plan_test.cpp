// Unit names of a set of libraries, and the uses clauses that leave cycles out.
#include <gtest/gtest.h>

#include <set>

#include "app/units/unit_plan.h"
#include "base/text.h"

namespace quenlor::units {
namespace {

// `references` have stand-ins for their types; `needed` are references the unit cannot do without.
PlannedLibrary Library(std::string name, std::uint16_t major = 1, std::uint16_t minor = 0, std::string id = "{A}",
                       std::vector<std::size_t> references = {}, std::vector<std::size_t> needed = {}) {
  PlannedLibrary library{std::move(name), major, minor, std::move(id), 0, {}};
  for (const std::size_t r : references) library.references.push_back({r, false});
  for (const std::size_t r : needed) library.references.push_back({r, true});
  return library;
}

TEST(AssignUnitNames, ClashingNamesGetTheirVersionsTheHighestKeepsThePlainName) {
  const std::vector<std::string> names = AssignUnitNames({Library("MSXML2", 3, 0), Library("Other"),
                                                          Library("MSXML2", 6, 0), Library("msxml2", 2, 6)});
  EXPECT_EQ(names, (std::vector<std::string>{"MSXML2_3_0_TLB", "Other_TLB", "MSXML2_TLB", "MSXML2_2_6_TLB"}));
}

TEST(AssignUnitNames, NamesStayDistinctWhenVersionsAndSuffixesMeetToo) {
  // Same name and version, other ids: the lower id keeps the name, the other counts on.
  // A library really named like a suffixed name keeps that name; the suffix moves on.
  const std::vector<std::string> names =
      AssignUnitNames({Library("Lib", 1, 0, "{B}"), Library("Lib", 1, 0, "{A}"), Library("Lib", 1, 0, "{C}"),
                       Library("Lib_1_0"), Library("lib_1_0_2", 5, 0)});
  EXPECT_EQ(names[1], "Lib_TLB");
  EXPECT_EQ(names[3], "Lib_1_0_TLB");
  EXPECT_EQ(names[4], "lib_1_0_2_TLB");
  std::set<std::string> folded;
  for (const std::string& name : names) EXPECT_TRUE(folded.insert(AsciiLower(name)).second) << name;
  EXPECT_EQ(folded.size(), names.size());
}

TEST(AssignUnitNames, NamesFromTheFileBecomeIdentifiersAndStayInTheFolder) {
  const std::vector<std::string> names =
      AssignUnitNames({Library("../../etc/passwd"), Library(""), Library("9Lives"), Library("A\\B:C"), Library("\xC3\xA9t\xC3\xA9")});
  EXPECT_EQ(names[0], "______etc_passwd_TLB");
  EXPECT_EQ(names[1], "__TLB");
  EXPECT_EQ(names[2], "_9Lives_TLB");
  EXPECT_EQ(names[3], "A_B_C_TLB");
  EXPECT_EQ(names[4], "__t___TLB");
}

std::vector<std::pair<std::size_t, bool>> Uses(const std::vector<PlannedUse>& uses) {
  std::vector<std::pair<std::size_t, bool>> result;
  for (const PlannedUse& use : uses) result.emplace_back(use.library, use.listed);
  return result;
}

using Pairs = std::vector<std::pair<std::size_t, bool>>;

TEST(PlanUses, ReferencesInUnitNameOrderEachOnceWithoutSelfReferences) {
  const std::vector<PlannedLibrary> libraries = {Library("A", 1, 0, "{A}", {2, 1, 0, 2, 7}), Library("c"),
                                                 Library("B", 1, 0, "{B}", {1})};
  const auto uses = PlanUses(libraries, AssignUnitNames(libraries));
  EXPECT_EQ(Uses(uses[0]), (Pairs{{2, true}, {1, true}}));  // B_TLB before c_TLB
  EXPECT_EQ(Uses(uses[2]), (Pairs{{1, true}}));
  EXPECT_TRUE(uses[1].empty());
}

TEST(PlanUses, EachCycleLosesTheReferenceThatClosesIt) {
  // A -> B -> A: B does without A.
  std::vector<PlannedLibrary> two = {Library("A", 1, 0, "{A}", {1}), Library("B", 1, 0, "{B}", {0})};
  auto uses = PlanUses(two, AssignUnitNames(two));
  EXPECT_EQ(Uses(uses[0]), (Pairs{{1, true}}));
  EXPECT_EQ(Uses(uses[1]), (Pairs{{0, false}}));
  // Walked from B first, A does without B.
  std::swap(two[0], two[1]);
  two[0].references = {{1, false}};
  two[1].references = {{0, false}};
  uses = PlanUses(two, AssignUnitNames(two));
  EXPECT_EQ(Uses(uses[0]), (Pairs{{1, true}}));
  EXPECT_EQ(Uses(uses[1]), (Pairs{{0, false}}));
  // A -> B -> C -> A, and A -> C: only C's reference to A goes; a diamond keeps all.
  const std::vector<PlannedLibrary> three = {Library("A", 1, 0, "{A}", {1, 2}), Library("B", 1, 0, "{B}", {2}),
                                             Library("C", 1, 0, "{C}", {0})};
  uses = PlanUses(three, AssignUnitNames(three));
  EXPECT_EQ(Uses(uses[0]), (Pairs{{1, true}, {2, true}}));
  EXPECT_EQ(Uses(uses[1]), (Pairs{{2, true}}));
  EXPECT_EQ(Uses(uses[2]), (Pairs{{0, false}}));
  const std::vector<PlannedLibrary> diamond = {Library("A", 1, 0, "{A}", {1, 2}), Library("B", 1, 0, "{B}", {3}),
                                               Library("C", 1, 0, "{C}", {3}), Library("D")};
  for (const auto& use : PlanUses(diamond, AssignUnitNames(diamond))) {
    for (const PlannedUse& one : use) EXPECT_TRUE(one.listed);
  }
}

TEST(PlanUses, ACycleLosesAReferenceWithStandInsRatherThanOneTheUnitNeeds) {
  // B derives from A's interface; A only passes B's interfaces: A does without B, though
  // the walk starts at A.
  const std::vector<PlannedLibrary> two = {Library("A", 1, 0, "{A}", {1}), Library("B", 1, 0, "{B}", {}, {0})};
  auto uses = PlanUses(two, AssignUnitNames(two));
  EXPECT_EQ(Uses(uses[0]), (Pairs{{1, false}}));
  EXPECT_EQ(Uses(uses[1]), (Pairs{{0, true}}));
  // A needs B, B needs C, C passes A's interfaces and needs D: only C -> A goes.
  const std::vector<PlannedLibrary> four = {Library("A", 1, 0, "{A}", {}, {1}), Library("B", 1, 0, "{B}", {}, {2}),
                                            Library("C", 1, 0, "{C}", {0}, {3}), Library("D")};
  uses = PlanUses(four, AssignUnitNames(four));
  EXPECT_EQ(Uses(uses[0]), (Pairs{{1, true}}));
  EXPECT_EQ(Uses(uses[1]), (Pairs{{2, true}}));
  EXPECT_EQ(Uses(uses[2]), (Pairs{{0, false}, {3, true}}));
  // Two needed references in a cycle: the walk leaves out the one that closes it. A
  // library referred to both ways by one unit counts as needed.
  const std::vector<PlannedLibrary> hard = {Library("A", 1, 0, "{A}", {1}, {1}), Library("B", 1, 0, "{B}", {}, {0})};
  uses = PlanUses(hard, AssignUnitNames(hard));
  EXPECT_EQ(Uses(uses[0]), (Pairs{{1, true}}));
  EXPECT_EQ(Uses(uses[1]), (Pairs{{0, false}}));
}

TEST(PlanUses, WhatIsListedHasNoCycleEvenInALongChainClosedAtItsEnd) {
  constexpr std::size_t kCount = 20000;
  std::vector<PlannedLibrary> chain;
  for (std::size_t i = 0; i < kCount; ++i) {
    chain.push_back(Library("L" + std::to_string(i), 1, 0, "{" + std::to_string(i) + "}", {(i + 1) % kCount}));
  }
  const auto uses = PlanUses(chain, AssignUnitNames(chain));
  std::size_t unlisted = 0;
  for (std::size_t i = 0; i < kCount; ++i) {
    ASSERT_EQ(uses[i].size(), 1u);
    if (!uses[i][0].listed) {
      ++unlisted;
      EXPECT_EQ(i, kCount - 1);
    }
  }
  EXPECT_EQ(unlisted, 1u);
}

}  // namespace
}  // namespace quenlor::units
