// The command line's heap in transparent huge pages (Linux build with mimalloc only).
#pragma once

namespace quenlor::cli {

// Makes a huge-page arena the main thread's mimalloc heap; false where the system refuses
// it or the user set MIMALLOC_LARGE_OS_PAGES, and the default heap stays.
bool UseHugePageHeap();

}  // namespace quenlor::cli
