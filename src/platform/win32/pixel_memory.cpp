#include <cstdlib>
#include <new>

#include "platform/surface.h"

namespace platform {

// Large pages on Windows need a privilege users do not have; plain memory.
void* AllocatePixels(std::size_t bytes) {
    void* memory = std::malloc(bytes == 0 ? 1 : bytes);
    if (memory == nullptr) throw std::bad_alloc();
    return memory;
}

void FreePixels(void* memory) noexcept {
    std::free(memory);
}

}  // namespace platform
