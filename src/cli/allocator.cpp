// The program allocates through mimalloc: linked ahead of the C library, its malloc and free
// serve the whole process. Reading a drawing makes and frees a great many small vectors, which it
// does several times faster than the C library's allocator. Asking its version keeps the link
// where the linker drops libraries nothing calls.
//
// Its operator new aborts without a word when memory runs out (it cannot see the handler that
// std::set_new_handler sets), so the program's own takes its place: mimalloc's malloc, and
// std::bad_alloc when that fails, which the commands turn into "内存不足". Its deletes free
// what these allocate.
#include <mimalloc.h>

#include <cstdlib>
#include <new>

namespace {

[[maybe_unused]] const int kAllocatorVersion = mi_version();

// Qt's PDF writer takes two buffers of 10 MB for every page it compresses. Taken from the system
// each is mapped, faulted in and unmapped again, a fifth of the time of a long PDF; an arena
// reserved up front keeps them for the next page (its pages are the system's until touched).
constexpr std::size_t kArenaBytes = std::size_t{256} << 20;
[[maybe_unused]] const int kArenaReserved = mi_reserve_os_memory(kArenaBytes, true, false);

void* Allocate(std::size_t size) {
    while (true) {
        if (void* memory = mi_malloc(size == 0 ? 1 : size))
            return memory;
        const std::new_handler handler = std::get_new_handler();
        if (handler == nullptr)
            throw std::bad_alloc();
        handler();
    }
}

void* AllocateAligned(std::size_t size, std::align_val_t alignment) {
    while (true) {
        if (void* memory = mi_malloc_aligned(size == 0 ? 1 : size, static_cast<size_t>(alignment)))
            return memory;
        const std::new_handler handler = std::get_new_handler();
        if (handler == nullptr)
            throw std::bad_alloc();
        handler();
    }
}

}  // namespace

void* operator new(std::size_t size) {
    return Allocate(size);
}
void* operator new[](std::size_t size) {
    return Allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return mi_malloc(size == 0 ? 1 : size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return mi_malloc(size == 0 ? 1 : size);
}
void* operator new(std::size_t size, std::align_val_t alignment) {
    return AllocateAligned(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return AllocateAligned(size, alignment);
}
