#include "app/cli/command.h"
#if QUENLOR_HUGE_PAGE_HEAP
#include "app/cli/huge_page_heap.h"
#endif

int main(int argc, char** argv) {
#if QUENLOR_HUGE_PAGE_HEAP
  quenlor::cli::UseHugePageHeap();
#endif
  return quenlor::cli::Main(std::vector<std::string>(argv + 1, argv + argc));
}
