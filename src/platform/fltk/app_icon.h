// The program's icon, drawn in code: a loop of track with a start line and
// a pond, on a green rounded square. data/icons/ holds the same drawing as
// PNG files for the desktop.
#pragma once

#include <cstdint>
#include <vector>

namespace platform::fltk {

// `size` x `size` pixels, RGBA, rows from the top.
std::vector<std::uint8_t> RenderAppIcon(int size);

}  // namespace platform::fltk
