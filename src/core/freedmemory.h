#pragma once

namespace quillon {

// Keeps the memory the program frees for its own reuse instead of giving it back to the system at once.
//
// Showing a folder builds its rows, their sort keys and the views' layouts, a few megabytes for a hundred
// thousand files, and frees the last folder's. The C library hands such blocks back to the system as soon as
// they are freed, so every folder shown faulted all of its pages in afresh, which cost more than building and
// sorting its rows. Kept, the pages are reused warm. The process keeps what its largest folder or search
// needed, which is small beside the loaded catalogs. Call once at start, before the first large allocation.
void keepFreedMemoryForReuse();

}  // namespace quillon
