#include "base/error.h"

namespace quenlor {

void Fail(const std::string& message) { throw Error(message); }

}  // namespace quenlor
