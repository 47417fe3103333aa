// A track's images on the site: its picture without overlays (JPEG), with
// the index's thumbnail in a band beneath it, a file of its own; and its
// overlays as transparent layers (PNG), each cut to the box it draws in,
// which its page holds and stacks over the picture so that switching one
// costs nothing.
// Every file a site writes costs as much as a third of a track's drawing,
// so there are no more.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "picture/picture.h"
#include "platform/image_codec.h"
#include "platform/result.h"
#include "raster/picture.h"
#include "track/track.h"

namespace gallery {

// The ghost speed layer is the lap coloured by its speed, with its key; it
// starts switched off and stays out of the thumbnail, since it covers the
// ghost's dots.
enum class Layer { kWater, kObjects, kGhost, kGhostSpeed };
inline constexpr int kLayerCount = 4;

// The ghost speed line is drawn in this many steps of its scale: with its
// white casing and the transparent entry, sixteen palette entries, four
// bits a pixel. A layer's image costs in proportion to its bytes.
inline constexpr int kGhostSpeedSteps = 14;

// The box of the picture a layer draws in: its image covers just that.
struct PlacedLayer {
    Layer layer = Layer::kWater;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const PlacedLayer&, const PlacedLayer&) = default;
};

// The picture with the water, objects and ghost, scaled to fit 128 x 128, at the left of
// the band under the picture.
inline constexpr int kThumbnailWidth = 117;
inline constexpr int kThumbnailHeight = 128;

struct TrackImages {
    std::string picture;              // JPEG, 512 x (560 + kThumbnailHeight)
    std::vector<PlacedLayer> placed;  // the layers that draw something, in Layer order
    std::vector<std::string> layers;  // their images (PNG), in the same order
};

// Makes the images of one track after another, keeping its memory from
// one to the next (a picture is a megabyte). One per thread.
class ImageMaker {
  public:
    platform::Result<TrackImages> Make(const track::Track& track, const picture::Caption& caption);

  private:
    // Takes what `work_` has over `base_` as layer `layer` (into `all_` as
    // well), and puts back the base's pixels.
    platform::Result<> TakeLayer(Layer layer, TrackImages& images);
    std::uint8_t PaletteIndex(raster::Colour colour);

    std::vector<std::uint8_t> image_;
    raster::Picture base_;
    raster::Picture work_;
    raster::Picture all_;             // the picture with every layer, for the thumbnail
    platform::IndexedPicture layer_;  // a layer's box
};

}  // namespace gallery
