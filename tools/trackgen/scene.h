// Plausible demo tracks of our own: a road loop through grass, sand and
// water, with trees, buildings, cones and tyres, results and a ghost lap
// that drives the road. The same seed always gives the same track.
#pragma once

#include <cstdint>
#include <string>

#include "trackgen/track_writer.h"

namespace trackgen {

// Odd seeds give a dry canyon with a river, even seeds green land with a
// lake. The author field says "`name` by trackgen". Other drivers give
// tracks of the same map with another lap and other results.
TrackContents GenerateScene(std::uint64_t seed, const std::string& name, std::uint64_t driver = 0);

}  // namespace trackgen
