// A cache of rasterised fonts between runs. Finding a face through
// fontconfig means parsing its whole configuration (dozens of XML files), and
// rasterising 256 glyphs costs as much again: together most of the time a
// one-picture run takes. The cache keeps the finished glyphs in the user's
// cache folder, keyed by the state of everything that decides which face
// fontconfig would pick: its configuration files, the font folders and the
// face file itself. Any change there is a miss, and the face is found anew.
#pragma once

#include <memory>
#include <string>

#include "platform/font.h"

namespace platform {

// The font kept for `face` at `pixels`, or nullptr when there is none, it
// is stale, or it cannot be read.
std::unique_ptr<Font> CachedFont(const std::string& face, int pixels);

// Keeps `font`, made from the file `faceFile`, for `face` at `pixels`.
// Quietly does nothing when the cache folder cannot be written.
void KeepFont(const std::string& face, int pixels, const std::string& faceFile, const Font& font);

// What the key is made of, as text: the watched files and folders with
// their times and sizes. Changes whenever the installed fonts or the
// configuration change.
std::string FontSetupStamp();

}  // namespace platform
