#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "base/error.h"

namespace quenlor::xml::test {

// The message of the quenlor::Error that action raises, or "(none)".
inline std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const quenlor::Error& e) {
    return e.what();
  }
  return "(none)";
}

}  // namespace quenlor::xml::test
