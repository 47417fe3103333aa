// Memory from the system, and advice about it. The raster code takes its
// pixel memory here, so that the system calls stay in platform.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace platform {

// Memory for pixels: half a large page or more comes in large pages where
// the system has them. Throws std::bad_alloc when there is none.
void* AllocatePixels(std::size_t bytes);
void FreePixels(void* memory) noexcept;

// Says that all of `bytes` are about to be written. Where the system can, it
// provides their memory in one step, at half the cost of the page-by-page
// first touches it saves (measured in a virtual machine). Only advice.
void WillWrite(std::span<std::uint8_t> bytes) noexcept;

}  // namespace platform
