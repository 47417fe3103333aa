// The one state record of the tool. Every action is a function without
// arguments that reads and writes `app::state`; nothing else carries state
// from one action to the next.
//
// Texts are Windows-1252 bytes (the track files' code page), except paths:
// `TrackPath`, `TrackDirectory` and the answers of file dialogs are in the
// file system's own encoding, since they must open the very file chosen.
#pragma once

#include <array>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "platform/safe_file.h"

namespace app {

using Text = std::string;
// A position in `TrackBuffer`, counted from its start. 64 bits, so that no
// count read from a hostile file can wrap a computed position.
using Address = std::int64_t;

// Memory for the TrackBuffer comes zeroed from calloc, which takes a block
// this large straight from the system, already zero and not yet touched; so
// a process that draws one track does not first write 2 MB of zeros it mostly
// never reads. Elements made without a value are left as the memory has them,
// which is zero only in fresh memory: the buffer is made at its size, never
// grown inside memory it already had.
template <typename T>
struct ZeroedAllocator {
    using value_type = T;
    ZeroedAllocator() = default;
    // Implicit on purpose: the standard library converts allocators implicitly.
    template <typename U>
    // cppcheck-suppress noExplicitConstructor
    ZeroedAllocator(const ZeroedAllocator<U>& /*other*/) noexcept {}
    T* allocate(std::size_t n) {
        void* memory = std::calloc(n, sizeof(T));
        if (memory == nullptr) throw std::bad_alloc();
        return static_cast<T*>(memory);
    }
    void deallocate(T* memory, std::size_t /*n*/) noexcept { std::free(memory); }
    template <typename U>
    void construct(U* /*at*/) noexcept {}
    template <typename U, typename... Args>
    void construct(U* at, Args&&... args) {
        ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
    }
    friend bool operator==(const ZeroedAllocator&, const ZeroedAllocator&) = default;
};
using TrackBytes = std::vector<std::uint8_t, ZeroedAllocator<std::uint8_t>>;

inline constexpr std::int32_t kTrackBufferSize = 2'000'000;
inline constexpr std::int32_t kTrackHalfSize = 1'000'000;
inline constexpr int kStatusLineCount = 6;

// What the last "save" or "Car" did with its file.
enum class WriteOutcome : std::uint8_t {
    kNothing,   // nothing tried: cancelled, no picture, no such car
    kSaved,     // written to WritePath
    kNotSaved,  // tried and failed; WriteError says why
    kRefused,   // not tried: no track to take a car from, or a target that may not be written
};

struct AnalyserState {
    Text TrackAuthor;
    std::int32_t TrackLength = 0;
    Text BestName;
    std::array<Text, 7> PlaceNames;  // entries 1..6; entry 0 unused
    Text RecordDate;
    Text TrackPath;  // file system encoding
    Text PictureName;
    Text TrackDirectory;  // file system encoding, ends in a separator
    std::int32_t TrackFileSize = 0;
    Address TrackData = 0;
    Address PictureData = 0;
    std::int64_t LandmapSize = 0;  // 2N after a parse, N after a build; 64 bits hold both
    Address ObjectsData = 0;
    Address TrailerData = 0;
    Address RecordDateData = 0;
    Address GhostData = 0;
    Address HeightMapData = 0;
    float GhostScale = 0.0f;
    Text LineSeparator;
    Text StatusMessage;
    std::int32_t LastEvent = 0;
    std::int16_t Rotation = 0;
    std::int16_t ObjectCount = 0;
    std::int16_t BestTime = 0;
    std::array<std::int16_t, 7> PlaceTimes{};  // entries 1..6; entry 0 unused
    std::int16_t GhostFrameCount = 0;
    std::uint8_t WorldSize = 0;
    std::uint8_t WaterLevel = 0;
    std::uint8_t Angle = 0;
    std::uint8_t Zoom = 0;
    std::uint8_t StartFinishLine = 0;
    std::int8_t TrackRejected = 0;
    std::int8_t StatusLineCount = 0;
    std::array<std::int32_t, 17> ObjectColourTable{};
    std::array<std::int32_t, 17> TerrainIndexTable{};
    std::array<Text, 11> CarNames;    // 0 = best entry's car, 1..6 = places
    std::array<Text, 7> StatusLines;  // entries 1..6; entry 0 unused

    // Whether a parse has accepted a track since start-up. The addresses
    // above are offsets, where 0 is a real position; this says whether they
    // hold anything yet.
    bool TrackAccepted = false;
    // Whether the last accepted track has sections beyond its end (it is
    // listed and drawn as far as it goes).
    bool TrackDamaged = false;
    // Why the last load could not read the chosen file (empty when it read
    // the file, or when the dialog was cancelled). Such a load changes
    // nothing but the log: the previous track stays, listed and drawn.
    Text LoadError;
    // The file whose bytes the last load read. No output may replace it.
    platform::FileIdentity TrackIdentity;

    // The JPEG quality the command line asked for (1..100); 0 writes the
    // save level's own quality.
    std::int32_t JpegQuality = 0;

    WriteOutcome LastWrite = WriteOutcome::kNothing;
    Text WritePath;   // file system encoding: the file written or tried
    Text WriteError;  // UTF-8: why it was not written

    // The desktop tool's memory of where the user's tracks are: the folder
    // of the last track read (ends in a separator), and the file that keeps
    // it across runs (empty: not kept, as for the command line).
    Text LastTrackFolder;
    Text FolderMemoryFile;
    // Whether the ghost is drawn on the current picture, so that the
    // read-out names the frame under the pointer; the next build clears it.
    bool GhostDrawn = false;
    // Where the mouse pointer stands on the picture; -1 when off it.
    std::int32_t PointerX = -1;
    std::int32_t PointerY = -1;

    TrackBytes TrackBuffer;
    // The parts of TrackBuffer written since it was last zeroed, as [start,
    // end) positions, one per place written (the loaded file, the picture's
    // image). Re-initialising zeroes just these: a batch would otherwise
    // clear 2 MB for every track, and bring all of it into memory.
    std::vector<std::pair<Address, Address>> TrackBufferWrites;
};

extern AnalyserState state;

// Gives every field its start value and takes the zero-filled TrackBuffer.
void InitialiseState();

// Records that `length` bytes at `at` of TrackBuffer were written. Whoever
// writes into the buffer says so, or InitialiseState leaves the bytes there.
void NoteBufferWrite(Address at, std::int64_t length);

}  // namespace app
