#include "xml_test_platform.h"

namespace quenlor::xml::test {

bool UnderWine() { return false; }
bool UsesMsxml() { return false; }

}  // namespace quenlor::xml::test
