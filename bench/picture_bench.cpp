// The track picture for a demo track: parse, landmap and caption, and the
// three overlays, each alone and all in a row.
#include <benchmark/benchmark.h>

#include <algorithm>

#include "app/state.h"
#include "picture/picture.h"
#include "platform/surface.h"
#include "track/track.h"
#include "trackgen/scene.h"

namespace {

// The demo track "lakeside" placed in the TrackBuffer as a load would.
void PrepareLakeside() {
    static const std::vector<std::uint8_t> bytes =
        trackgen::WriteTrack(trackgen::GenerateScene(4, "Lakeside"));
    app::InitialiseState();
    std::copy(bytes.begin(), bytes.end(), app::state.TrackBuffer.begin());
    app::state.TrackFileSize = static_cast<std::int32_t>(bytes.size());
    app::state.TrackPath = "/tracks/lakeside.trk";
    if (platform::FontHandle(picture::kCaptionFont) == nullptr) {
        platform::LoadFontNumbered(picture::kCaptionFont, "Lucida Console", 12);
    }
    track::ParseTrack();
    picture::BuildTrackPicture();
}

void BM_ParseTrack(benchmark::State& state) {
    PrepareLakeside();
    for (auto _ : state) track::ParseTrack();
}
BENCHMARK(BM_ParseTrack);

void BM_BuildTrackPicture(benchmark::State& state) {
    PrepareLakeside();
    for (auto _ : state) picture::BuildTrackPicture();
}
BENCHMARK(BM_BuildTrackPicture)->Unit(benchmark::kMicrosecond);

void BM_WaterOverlay(benchmark::State& state) {
    PrepareLakeside();
    for (auto _ : state) picture::DrawWaterOverlay();
}
BENCHMARK(BM_WaterOverlay)->Unit(benchmark::kMicrosecond);

void BM_ObjectsOverlay(benchmark::State& state) {
    PrepareLakeside();
    for (auto _ : state) picture::DrawObjectsOverlay();
}
BENCHMARK(BM_ObjectsOverlay)->Unit(benchmark::kMicrosecond);

void BM_GhostOverlay(benchmark::State& state) {
    PrepareLakeside();
    for (auto _ : state) picture::DrawGhostOverlay();
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
    track::ParseTrack();
    for (auto _ : state) {
        picture::BuildTrackPicture();
        picture::DrawObjectsOverlay();
    }
}
BENCHMARK(BM_ObjectsOverlayManyHalls)->Unit(benchmark::kMillisecond);

void BM_ParseBuildAndAllOverlays(benchmark::State& state) {
    PrepareLakeside();
    for (auto _ : state) {
        track::ParseTrack();
        picture::BuildTrackPicture();
        picture::DrawWaterOverlay();
        picture::DrawObjectsOverlay();
        picture::DrawGhostOverlay();
    }
}
BENCHMARK(BM_ParseBuildAndAllOverlays)->Unit(benchmark::kMicrosecond);

}  // namespace
