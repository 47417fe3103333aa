// A demo track of our own for the desktop tests, the end-to-end run and the
// screenshot: a circuit around a lake, hills, trees, buildings, cones and a
// ghost lap, so that every overlay has something to draw.
#pragma once

#include "trackgen/track_writer.h"

namespace gui_test {

trackgen::TrackContents DemoTrack();

}  // namespace gui_test
