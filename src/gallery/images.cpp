#include "gallery/images.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "export/image_file.h"
#include "picture/template.h"
#include "raster/scaling.h"

namespace gallery {
namespace {

std::size_t RowStart(int y, int width) {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
}

// Eight pixels compared at once (a compare of a fixed size, which the
// compiler inlines): most of a row is as it was.
bool SameEight(const raster::Colour* drawn, const raster::Colour* under, int x) {
    return std::memcmp(drawn + x, under + x, 8 * sizeof *drawn) == 0;
}

// The first and the last column in [from, to) where `drawn` differs from `under`.
std::optional<int> FirstChange(const raster::Colour* drawn, const raster::Colour* under, int from,
                               int to) {
    int x = from;
    while (x + 8 <= to && SameEight(drawn, under, x)) x += 8;
    for (; x < to; ++x)
        if (drawn[x] != under[x]) return x;
    return std::nullopt;
}

std::optional<int> LastChange(const raster::Colour* drawn, const raster::Colour* under, int from,
                              int to) {
    int x = to;
    while (x - 8 >= from && SameEight(drawn, under, x - 8)) x -= 8;
    for (--x; x >= from; --x)
        if (drawn[x] != under[x]) return x;
    return std::nullopt;
}

}  // namespace

std::uint8_t ImageMaker::PaletteIndex(raster::Colour colour) {
    std::vector<raster::Colour>& palette = layer_.palette;
    // Entry 0 is transparent: colours are looked for from 1 on.
    const auto found = std::find(palette.begin() + 1, palette.end(), colour);
    if (found != palette.end()) return static_cast<std::uint8_t>(found - palette.begin());
    if (palette.size() < 256) {
        palette.push_back(colour);
        return static_cast<std::uint8_t>(palette.size() - 1);
    }
    // More colours than a palette holds (none of the overlays draws so
    // many): the nearest one stands in.
    const auto distance = [colour](raster::Colour other) {
        const int r = raster::RedOf(colour) - raster::RedOf(other);
        const int g = raster::GreenOf(colour) - raster::GreenOf(other);
        const int b = raster::BlueOf(colour) - raster::BlueOf(other);
        return r * r + g * g + b * b;
    };
    const auto nearest = std::min_element(
        palette.begin() + 1, palette.end(),
        [&](raster::Colour a, raster::Colour b) { return distance(a) < distance(b); });
    return static_cast<std::uint8_t>(nearest - palette.begin());
}

platform::Result<> ImageMaker::TakeLayer(Layer layer, TrackImages& images) {
    const int width = base_.width;
    const std::size_t rowBytes = sizeof(raster::Colour) * static_cast<std::size_t>(width);
    // The box the overlay drew in: its rows, and within them its columns,
    // each row looked at only outside the columns found so far.
    int first = -1;
    int last = -1;
    int left = width;
    int right = -1;
    for (int y = 0; y < base_.height; ++y) {
        const raster::Colour* drawn = &work_.pixels[RowStart(y, width)];
        const raster::Colour* under = &base_.pixels[RowStart(y, width)];
        if (std::memcmp(drawn, under, rowBytes) == 0) continue;
        if (first < 0) first = y;
        last = y;
        left = FirstChange(drawn, under, 0, left).value_or(left);
        right = LastChange(drawn, under, right + 1, width).value_or(right);
    }
    if (first < 0) return {};
    layer_.width = right - left + 1;
    layer_.height = last - first + 1;
    layer_.pixels.assign(RowStart(layer_.height, layer_.width), 0);
    layer_.palette.assign(1, 0);
    raster::Colour lastColour = -1;
    std::uint8_t lastIndex = 0;
    for (int y = first; y <= last; ++y) {
        const std::size_t start = RowStart(y, width) + static_cast<std::size_t>(left);
        raster::Colour* drawn = &work_.pixels[start];
        const raster::Colour* under = &base_.pixels[start];
        raster::Colour* all = &all_.pixels[start];
        std::uint8_t* out = &layer_.pixels[RowStart(y - first, layer_.width)];
        for (int x = 0; x < layer_.width; ++x) {
            while (x + 8 <= layer_.width && SameEight(drawn, under, x)) x += 8;
            if (x >= layer_.width) break;
            if (drawn[x] == under[x]) continue;
            // Overlays draw in runs of one colour.
            if (drawn[x] != lastColour) {
                lastColour = drawn[x];
                lastIndex = PaletteIndex(lastColour);
            }
            out[x] = lastIndex;
            all[x] = drawn[x];
            drawn[x] = under[x];
        }
    }
    platform::Result<std::string> png = platform::BytesWrittenBy(
        [this](std::FILE* file) { return platform::WriteIndexedPng(layer_, file); });
    if (!png) return png.failure();
    images.placed.push_back({layer, left, first, layer_.width, layer_.height});
    images.layers.push_back(std::move(*png));
    return {};
}

platform::Result<TrackImages> ImageMaker::Make(const track::Track& track,
                                               const picture::Caption& caption) {
    image_.resize(static_cast<std::size_t>(picture::kImageSize));
    if (!picture::BuildPicture(track, caption, picture::CaptionFont(), image_, base_))
        return platform::Fail("no picture was made");
    const int width = base_.width;
    const int height = base_.height;
    work_.width = width;
    work_.height = height;
    work_.pixels = base_.pixels;
    all_ = base_;
    TrackImages images;
    const auto take = [&](Layer layer) { return TakeLayer(layer, images); };
    picture::DrawWater(work_, track);
    if (auto taken = take(Layer::kWater); !taken) return taken.failure();
    picture::DrawObjects(work_, track);
    if (auto taken = take(Layer::kObjects); !taken) return taken.failure();
    picture::DrawGhost(work_, track);
    if (auto taken = take(Layer::kGhost); !taken) return taken.failure();

    // The thumbnail shows what the page shows at first.
    const std::optional<raster::Picture> thumbnail =
        raster::ShrunkToFit(all_, std::max(kThumbnailWidth, kThumbnailHeight));
    if (!thumbnail) return platform::Fail("the thumbnail could not be made");
    if (picture::DrawGhostSpeedLine(work_, track, kGhostSpeedSteps)) {
        if (auto taken = take(Layer::kGhostSpeed); !taken) return taken.failure();
    }

    // The band goes under the picture in its own memory, which the next
    // track's picture is made in again.
    base_.height = height + kThumbnailHeight;
    base_.pixels.resize(RowStart(base_.height, width));
    std::fill(base_.pixels.begin() + static_cast<std::ptrdiff_t>(RowStart(height, width)),
              base_.pixels.end(), 0);
    const int thumbnailWidth = std::min(thumbnail->width, width);
    for (int y = 0; y < std::min(thumbnail->height, kThumbnailHeight); ++y)
        std::copy_n(&thumbnail->pixels[RowStart(y, thumbnail->width)], thumbnailWidth,
                    &base_.pixels[RowStart(height + y, width)]);

    platform::Result<std::string> picture = exporter::ImageBytes(base_, exporter::Jpeg());
    if (!picture) return picture.failure();
    images.picture = std::move(*picture);
    return images;
}

}  // namespace gallery
