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
    // Larger than any mapping threshold the library would have reached on its own.
    constexpr std::size_t kBlock = 24 * 1024 * 1024;
    const struct mallinfo2 before = mallinfo2();
    void* block = std::malloc(kBlock);
    ASSERT_NE(block, nullptr);
    std::memset(block, 1, kBlock);
    const struct mallinfo2 held = mallinfo2();
    std::free(block);
    const struct mallinfo2 after = mallinfo2();
    EXPECT_EQ(held.hblkhd, before.hblkhd) << "a mapping of its own would be unmapped when freed";
    EXPECT_EQ(after.arena, held.arena) << "the heap gave the block back";
#else
    GTEST_SKIP() << "only the GNU C library is tuned";
#endif
}

}  // namespace
