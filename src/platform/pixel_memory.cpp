#include <array>
#include <cstdint>
#include <cstdlib>
#include <new>

#include "platform/memory.h"

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace platform {
namespace {

#if defined(__linux__)
// The large page of x86-64 and arm64 Linux.
constexpr std::size_t kLargePage = std::size_t{2} << 20;

// Half a large page or more goes into large pages: one fault of a large page
// costs a third of the 256 small ones it replaces (measured on a 512 x 560
// picture). Null when the system gives no aligned memory.
void* LargePageMemory(std::size_t bytes) {
    if (bytes < kLargePage / 2) return nullptr;
    const std::size_t rounded = (bytes + kLargePage - 1) / kLargePage * kLargePage;
    void* memory = std::aligned_alloc(kLargePage, rounded);
    // Only advice: without large pages the memory is used as it is.
    if (memory != nullptr) (void)::madvise(memory, rounded, MADV_HUGEPAGE);
    return memory;
}
#else
// Elsewhere plain memory: large pages on Windows need a privilege users do
// not have.
void* LargePageMemory(std::size_t /*bytes*/) {
    return nullptr;
}
#endif

}  // namespace

void* AllocatePixels(std::size_t bytes) {
    if (void* memory = LargePageMemory(bytes)) return memory;
    void* memory = std::malloc(bytes == 0 ? 1 : bytes);
    if (memory == nullptr) throw std::bad_alloc();
    return memory;
}

void FreePixels(void* memory) noexcept {
    std::free(memory);
}

#if defined(__linux__)
void WillWrite(std::span<std::uint8_t> bytes) noexcept {
    // Linux 5.14; older systems refuse the advice, and the pages come as
    // they are touched.
    constexpr int kPopulateWrite = 23;  // MADV_POPULATE_WRITE
    if (bytes.empty()) return;
    // The whole pages holding the bytes: mapped, as the bytes are.
    static const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto start = reinterpret_cast<std::uintptr_t>(bytes.data()) / page * page;
    const auto end = reinterpret_cast<std::uintptr_t>(bytes.data() + bytes.size());
    // A batch asks for the same few places track after track; pages given
    // once stay, and asking again would only walk them. (Memory given back
    // and taken again at the same place is then touched page by page.)
    struct Range {
        std::uintptr_t start = 0, end = 0;
    };
    thread_local std::array<Range, 4> given{};
    thread_local std::size_t next = 0;
    for (const Range& range : given)
        if (range.start <= start && end <= range.end) return;
    given[next] = {start, end};
    next = (next + 1) % given.size();
    (void)::madvise(reinterpret_cast<void*>(start), end - start, kPopulateWrite);
}
#else
void WillWrite(std::span<std::uint8_t> /*bytes*/) noexcept {}
#endif

}  // namespace platform
