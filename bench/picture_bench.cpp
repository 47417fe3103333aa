// The track picture for a demo track: parse, landmap and caption, and the
// three overlays, each alone and all in a row; through the window's actions
// (the state record, the numbered picture) and through the core directly.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "app/actions.h"
#include "app/state.h"
#include "app/window_layout.h"
#include "picture/picture.h"
#include "picture/template.h"
#include "platform/surface.h"
#include "track/track.h"
#include "trackgen/scene.h"

namespace {

const std::vector<std::uint8_t>& Lakeside() {
    static const std::vector<std::uint8_t> bytes =
        trackgen::WriteTrack(trackgen::GenerateScene(4, "Lakeside"));
    return bytes;
}

// The demo track "lakeside" placed in the TrackBuffer as a load would.
void PrepareLakeside() {
    const std::vector<std::uint8_t>& bytes = Lakeside();
    app::InitialiseState();
    std::copy(bytes.begin(), bytes.end(), app::state.TrackBuffer.begin());
    app::state.TrackFileSize = static_cast<std::int32_t>(bytes.size());
    app::state.TrackPath = "/tracks/lakeside.trk";
    if (platform::FontHandle(app::kCaptionFont) == nullptr) app::LoadCaptionFont();
    app::ParseTrack();
    app::BuildTrackPicture();
}

void BM_ParseTrack(benchmark::State& state) {
    PrepareLakeside();
    for (auto _ : state) app::ParseTrack();
}
BENCHMARK(BM_ParseTrack);

void BM_BuildTrackPicture(benchmark::State& state) {
    PrepareLakeside();
    for (auto _ : state) app::BuildTrackPicture();
}
BENCHMARK(BM_BuildTrackPicture)->Unit(benchmark::kMicrosecond);

void BM_WaterOverlay(benchmark::State& state) {
    PrepareLakeside();
    for (auto _ : state) app::DrawWaterOverlay();
}
BENCHMARK(BM_WaterOverlay)->Unit(benchmark::kMicrosecond);

void BM_ObjectsOverlay(benchmark::State& state) {
    PrepareLakeside();
    for (auto _ : state) app::DrawObjectsOverlay();
}
BENCHMARK(BM_ObjectsOverlay)->Unit(benchmark::kMicrosecond);

void BM_GhostOverlay(benchmark::State& state) {
    PrepareLakeside();
    for (auto _ : state) app::DrawGhostOverlay();
}
BENCHMARK(BM_GhostOverlay)->Unit(benchmark::kMicrosecond);

// The heaviest objects a file can hold: 32,767 halls as large as the margin
// test lets through, each outline crossing the others.
void BM_ObjectsOverlayManyHalls(benchmark::State& state) {
    trackgen::TrackContents t;
    t.worldSize = 24;
    for (int i = 0; i < 32767; ++i) {
        t.objects.push_back({17, static_cast<std::int16_t>(400 + i % 200),
                             static_cast<std::int16_t>(500 + i % 100),
                             static_cast<std::uint8_t>(i % 244)});
    }
    const std::vector<std::uint8_t> bytes = trackgen::WriteTrack(t);
    app::InitialiseState();
    std::copy(bytes.begin(), bytes.end(), app::state.TrackBuffer.begin());
    app::state.TrackFileSize = static_cast<std::int32_t>(bytes.size());
    app::ParseTrack();
    for (auto _ : state) {
        app::BuildTrackPicture();
        app::DrawObjectsOverlay();
    }
}
BENCHMARK(BM_ObjectsOverlayManyHalls)->Unit(benchmark::kMillisecond);

void BM_ParseBuildAndAllOverlays(benchmark::State& state) {
    PrepareLakeside();
    for (auto _ : state) {
        app::ParseTrack();
        app::BuildTrackPicture();
        app::DrawWaterOverlay();
        app::DrawObjectsOverlay();
        app::DrawGhostOverlay();
    }
}
BENCHMARK(BM_ParseBuildAndAllOverlays)->Unit(benchmark::kMicrosecond);

// The same work through the core: a Track value, a reused image buffer and
// picture, no record and no store.
void BM_CoreParseBuildAndAllOverlays(benchmark::State& state) {
    std::vector<std::uint8_t> image(picture::kImageSize);
    raster::Picture built;
    const raster::Font& font = picture::CaptionFont();
    for (auto _ : state) {
        const track::Track t = track::Parse(Lakeside());
        picture::BuildPicture(t, picture::CaptionFor(t, "lakeside"), font, image, built);
        picture::DrawWater(built, t);
        picture::DrawObjects(built, t);
        picture::DrawGhost(built, t);
    }
}
BENCHMARK(BM_CoreParseBuildAndAllOverlays)->Unit(benchmark::kMicrosecond);

}  // namespace
