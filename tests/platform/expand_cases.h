// Expansion cases that the portable expansion and the platform's ExpandEnvironmentStrings
// must agree on. Variables: QA=alpha, QB=beta; QU is never defined.
#pragma once

#include <string_view>

namespace quenlor::platform::testing {

struct ExpandCase {
  std::string_view input;
  std::string_view expected;
};

inline constexpr ExpandCase kExpandCases[] = {
    {"%QA%\\x.tlb", "alpha\\x.tlb"},
    {"%qa%", "alpha"},
    {"%QU%\\x", "%QU%\\x"},
    {"%QA%%QB%", "alphabeta"},
    {"%QU%QA%", "%QU%QA%"},
    {"50% off", "50% off"},
    {"%%", "%%"},
    {"%QA", "%QA"},
    {"a%QB%z%", "abetaz%"},
    {"", ""},
};

}  // namespace quenlor::platform::testing
