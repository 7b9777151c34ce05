// The program allocates through mimalloc: linked ahead of the C library, its malloc and free
// serve the whole process. Reading a drawing makes and frees a great many small vectors, which it
// does several times faster than the C library's allocator. Asking its version keeps the link
// where the linker drops libraries nothing calls.
#include <mimalloc.h>

namespace {
[[maybe_unused]] const int kAllocatorVersion = mi_version();
}  // namespace
