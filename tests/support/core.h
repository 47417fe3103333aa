// Common ground for tests of the core: tracks parsed from bytes of our own,
// and their pictures as the tool builds them.
#pragma once

#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "picture/picture.h"
#include "picture/template.h"
#include "raster/picture.h"
#include "track/track.h"
#include "trackgen/track_writer.h"

// A track and the bytes it views, which it keeps alive (a move keeps them
// in place; a copy would not, so there is none).
class ParsedTrack {
  public:
    explicit ParsedTrack(std::vector<std::uint8_t> bytes)
        : bytes_(std::move(bytes)), track_(track::Parse(bytes_)) {}
    explicit ParsedTrack(const trackgen::TrackContents& contents)
        : ParsedTrack(trackgen::WriteTrack(contents)) {}
    ParsedTrack(ParsedTrack&&) = default;
    ParsedTrack& operator=(ParsedTrack&&) = default;

    const track::Track& operator*() const { return track_; }
    const track::Track* operator->() const { return &track_; }
    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

  private:
    std::vector<std::uint8_t> bytes_;
    track::Track track_;
};

// The picture of `track` with its caption in the caption font.
inline raster::Picture PictureOf(const track::Track& track, std::string_view trackName = "track") {
    std::vector<std::uint8_t> image(picture::kImageSize);
    raster::Picture built;
    picture::BuildPicture(track, picture::CaptionFor(track, trackName), picture::CaptionFont(),
                          image, built);
    return built;
}
