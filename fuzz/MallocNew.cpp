// ASan's own operator new ends the process when memory runs out, even with
// allocator_may_return_null=1. These forward to malloc and free, which ASan still checks, and
// throw std::bad_alloc as the standard ones do, so the program's own handling of memory running
// out is what runs. refuseAllocation(), which each executable defines, can refuse one on purpose.

#include <cstdlib>
#include <new>

bool refuseAllocation();

void* operator new(std::size_t size) {
    if (void* memory = refuseAllocation() ? nullptr : std::malloc(size == 0 ? 1 : size)) {
        return memory;
    }
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return ::operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return refuseAllocation() ? nullptr : std::malloc(size == 0 ? 1 : size);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
    return ::operator new(size, tag);
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete[](void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete(void* memory, const std::nothrow_t&) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, const std::nothrow_t&) noexcept {
    std::free(memory);
}
