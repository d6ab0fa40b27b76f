#include "freedmemory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kOwnAllocator = true;  // the sanitizer's allocator keeps its own books
#else
constexpr bool kOwnAllocator = false;
#endif

// A freed block of the size a large folder's rows take stays in the process, ready for the next folder.
TEST(FreedMemory, LargeFreedBlocksStayForReuse)
{
#if defined(__GLIBC__)
    if (kOwnAllocator) GTEST_SKIP() << "not the C library's allocator";
    quillon::keepFreedMemoryForReuse();
    constexpr std::size_t kBlock = 8 * 1024 * 1024;
    const std::size_t freeBefore = mallinfo2().fordblks;
    void* block = std::malloc(kBlock);
    ASSERT_NE(block, nullptr);
    std::memset(block, 1, kBlock);
    std::free(block);
    EXPECT_GE(mallinfo2().fordblks, freeBefore + kBlock);
#else
    GTEST_SKIP() << "only the GNU C library is tuned";
#endif
}

}  // namespace
