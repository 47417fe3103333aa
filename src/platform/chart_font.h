// Faces for cairo's charts, found as MakeFont finds the tool's faces: the
// FreeType and fontconfig side of the charts, which only platform may see.
#pragma once

#include <cairo.h>

#include <string>

namespace platform {

// The installed face named `face` (UTF-8), or the monospaced face that
// stands in for it, as a cairo font face; made on first use and kept for
// the rest of the process. nullptr when no face is found: cairo's own
// default face then serves.
cairo_font_face_t* ChartFontFace(const std::string& face);

}  // namespace platform
