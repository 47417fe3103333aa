// A cache of rasterised fonts, and of where faces were found, between runs.
// Finding a face through fontconfig means parsing its whole configuration
// (dozens of XML files), and rasterising 256 glyphs costs as much again:
// together most of the time a one-picture run takes. The cache keeps the
// finished glyphs (and the face files' places) in the user's cache folder,
// keyed by the state of everything that decides which face fontconfig would
// pick: its configuration files, the font folders and the face file itself.
// Any change there is a miss, and the face is found anew.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/font.h"

namespace platform {

// One kept font as the cache file holds it.
struct FontCacheEntry {
    std::string key;        // the face, its size and the font setup it was made in
    std::string faceFile;   // the face file it was rasterised from
    std::string faceStamp;  // that file's time, size and identity then
    Font font;
};

// The entry in a cache file's bytes, for characters `pixels` high; nothing
// when the bytes are damaged (their checksum fails), are no entry, or hold
// glyph metrics beyond what that size allows.
std::optional<FontCacheEntry> ParseFontCache(std::string_view bytes, int pixels);
// The cache file of `entry`, checksum included.
std::string FontCacheBytes(const FontCacheEntry& entry);

// The font kept for `face` at `pixels`, or nullptr when there is none, it
// is stale, or it cannot be read.
std::unique_ptr<Font> CachedFont(const std::string& face, int pixels);

// Keeps `font`, made from the file `faceFile`, for `face` at `pixels`.
// Quietly does nothing when the cache folder cannot be written.
void KeepFont(const std::string& face, int pixels, const std::string& faceFile, const Font& font);

// Where a face was found, as the cache file holds it.
struct FaceCacheEntry {
    std::string key;        // as FontCacheEntry's
    FaceFile file;          // what FindFontFile found
    std::string faceStamp;  // the face file's time, size and identity then
};

// The entry in a face cache file's bytes; nothing when they are damaged or
// are no entry.
std::optional<FaceCacheEntry> ParseFaceCache(std::string_view bytes);
std::string FaceCacheBytes(const FaceCacheEntry& entry);

// The face file kept for `face` at `pixels` (the answer of FindFontFile,
// without fontconfig), or nothing when there is none, it is stale, or it
// cannot be read.
std::optional<FaceFile> CachedFaceFile(const std::string& face, int pixels);

// Keeps `file` as where `face` at `pixels` lies. Quietly does nothing when
// the cache folder cannot be written.
void KeepFaceFile(const std::string& face, int pixels, const FaceFile& file);

// What the key is made of, as text: the watched files and folders with
// their times and sizes. Changes whenever the installed fonts or the
// configuration change.
std::string FontSetupStamp();

}  // namespace platform
