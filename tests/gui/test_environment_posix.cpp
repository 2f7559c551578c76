#include <cstdlib>

int quenlor_test_setenv(const char* name, const char* value) { return setenv(name, value, 1); }
