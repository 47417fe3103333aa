// The track picture: the 512 x 560 picture of a track, its landmap with a
// caption band, and the water, objects and ghost overlays, which add to a
// picture in any order. Plain functions of their arguments: two tracks may
// be drawn at once on two threads, each on a picture of its own.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "raster/font.h"
#include "raster/picture.h"
#include "track/track.h"

namespace picture {

// The caption's three texts and the picture's name (Windows-1252).
struct Caption {
    std::string time;         // the lap time shown, "54.32"
    std::string trackName;    // the track file's name less its extension
    std::string driverLine;   // "driver / car", or "no Best Time"
    std::string pictureName;  // track name, time and driver joined by "_"
};

// The track's name in a caption: `fileName` (Windows-1252) less its last
// four characters (".trk"), empty when it has no more than four.
std::string TrackName(std::string_view fileName);

// Place 1 when it has a time, else the best entry when it has one, else the
// best entry's time with "no Best Time".
Caption CaptionFor(const track::Track& track, std::string_view trackName);

// Assembles the picture as an 8-bit BMP file image in `image`: the template,
// the background, the landmap's runs. Gives the image, or an empty span
// when `image` is shorter than kImageSize bytes.
std::span<const std::uint8_t> AssembleBitmap(const track::Track& track,
                                             std::span<std::uint8_t> image);

// Writes the caption into the band under the map, white on the band colour.
void DrawCaption(raster::Picture& picture, const raster::Font& font, const Caption& caption);

// The whole picture: assembled in `image` (kImageSize bytes, reused from
// call to call), made into `picture` (whose memory is reused too), with the
// caption in `font`. False, with `picture` empty, when `image` is too short.
bool BuildPicture(const track::Track& track, const Caption& caption, const raster::Font& font,
                  std::span<std::uint8_t> image, raster::Picture& picture);

inline constexpr const char* kCaptionFace = "Lucida Console";
inline constexpr int kCaptionPoints = 12;

// The caption font ("Lucida Console", 12 points, or the system's stand-in),
// made on first use, once per process, whichever thread asks first; it
// never changes afterwards.
const raster::Font& CaptionFont();

// Every height-map cell below the water level as a blue 8 x 8 square.
void DrawWater(raster::Picture& picture, const track::Track& track);
// Trees, posts, halls and cones, in the game's shapes and colours.
void DrawObjects(raster::Picture& picture, const track::Track& track);
// What the status log tells of a track without a ghost lap.
inline constexpr std::string_view kNoGhostStatus = "kein Ghost";
// Whether the track has a ghost lap: only a time for place 1 says so.
bool HasGhost(const track::Track& track);
// The ghost lap as blue 3 x 3 dots; false, drawing nothing, when the track
// has no ghost.
bool DrawGhost(raster::Picture& picture, const track::Track& track);

// Place 1's lap as a line through the frames, coloured by speed from slow
// to fast (SpeedColour), and in the caption band's right end a key that
// tells which colour is which, written in `font`. False, drawing nothing,
// when the track has no lap (lap::ReadLap). With `steps` (2 or more) the
// colours are that many even steps of the scale, for images of few colours.
bool DrawGhostSpeed(raster::Picture& picture, const track::Track& track, const raster::Font& font,
                    int steps = 0);
// The same line without the key, for those who tell the key themselves.
bool DrawGhostSpeedLine(raster::Picture& picture, const track::Track& track, int steps = 0);
// The speed scale's colour at `share` (0 slow .. 1 fast; clamped), between
// its stops by straight lines.
raster::Colour SpeedColour(double share);

// Ghost units per picture pixel at world size `worldSize`.
using track::GhostScale;

}  // namespace picture
