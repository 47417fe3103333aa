// The window's image layer: "save image" writes a picture of the drawing
// surface with an encoder from its encoder table. The one encoder is JPEG,
// through the core's image files.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/result.h"
#include "raster/picture.h"

namespace app {

// "JPEG" read as a little-endian 32-bit number: "J" in the low byte.
inline constexpr std::uint32_t kJpegEncoderId =
    'J' | ('P' << 8) | ('E' << 16) | (std::uint32_t{'G'} << 24);

// The level save image passes; the encoder writes quality 10 x level.
inline constexpr int kSaveImageLevel = 7;

// Writes `picture` to `path`. A failure leaves the file as it was before.
using Encoder = platform::Result<> (*)(const std::string& path, const raster::Picture& picture,
                                       int level);

// Enters `encoder` under `id`; an id already in the table keeps its entry.
void EnterEncoder(std::uint32_t id, Encoder encoder);
// Enters the JPEG encoder (start-up; again does nothing).
void EnterJpegEncoder();

// Saves picture `pictureNumber` to `path` with the encoder `encoderId`:
// true when written, false when there is no such picture to save, which
// the save action passes over in silence. The failure is refused when the
// target may not be written (a folder, a FIFO, the track).
platform::Result<bool> SaveImage(int pictureNumber, const std::string& path,
                                 std::uint32_t encoderId);

// Picture `pictureNumber` as JPEG, at the state's JpegQuality or else the
// save level's, into an open stream (standard output, or memory).
platform::Result<> SaveImageToStream(int pictureNumber, std::FILE* stream);

// The JPEG encoder. Quality is the state's JpegQuality when set (1..100),
// else 10 x level, the level clamped to 0..10. Never replaces the track
// being read.
platform::Result<> EncodeJpeg(const std::string& path, const raster::Picture& picture, int level);

}  // namespace app
