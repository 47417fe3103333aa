// The picture's actions: the landmap picture and the three overlays drawn
// by the core on picture kTrackPicture of the drawing surface, each ended by
// showing the picture again.
#include <span>
#include <string>

#include "app/actions.h"
#include "app/state.h"
#include "app/status_log.h"
#include "app/window_layout.h"
#include "picture/picture.h"
#include "picture/read_out.h"
#include "picture/template.h"
#include "platform/encoding.h"
#include "platform/paths.h"
#include "platform/surface.h"
#include "platform/windowing.h"
#include "track/track.h"

namespace app {
namespace {

void ShowTrackPicture() {
    platform::ShowPicture(kPictureControl, platform::PictureHandle(kTrackPicture));
}

// The picture half of the TrackBuffer, or an empty span when it cannot hold
// the image (no TrackBuffer yet).
std::span<std::uint8_t> PictureArea() {
    AnalyserState& s = state;
    if (s.PictureData < 0 || !bytes::Reader(s.TrackBuffer).Has(s.PictureData, picture::kImageSize))
        return {};
    return std::span(s.TrackBuffer)
        .subspan(static_cast<std::size_t>(s.PictureData), picture::kImageSize);
}

// Draws an overlay on the track picture, when there is one, and shows it;
// whether there was one.
template <typename Draw>
bool DrawOverlay(Draw draw) {
    raster::Picture* target = platform::BeginDrawing(kTrackPicture);
    if (target) draw(*target);
    platform::EndDrawing();
    ShowTrackPicture();
    return target != nullptr;
}

}  // namespace

void LoadCaptionFont() {
    platform::LoadFontNumbered(kCaptionFont, picture::kCaptionFace, picture::kCaptionPoints);
}

void BuildTrackPicture() {
    AnalyserState& s = state;
    const std::span<std::uint8_t> area = PictureArea();
    if (area.empty()) return;
    NoteBufferWrite(s.PictureData, static_cast<std::int64_t>(area.size()));
    const track::Track t = RecordedTrack();
    s.LandmapSize = t.landmapCount;
    // Made once, with the landmap in it: the header is the template's, so a
    // picture that is made before the landmap is decoded is made after it too.
    if (!platform::PictureFromBitmap(kTrackPicture, picture::AssembleBitmap(t, area))) return;
    s.GhostDrawn = false;
    ShowTrackPicture();

    raster::Picture* target = platform::BeginDrawing(kTrackPicture);
    platform::SetDrawingFont(platform::FontHandle(kCaptionFont));
    const picture::Caption caption = picture::CaptionFor(
        t, picture::TrackName(platform::TextFromPath(platform::FilePart(s.TrackPath))));
    if (target) picture::DrawCaption(*target, platform::DrawingFont(), caption);
    s.PictureName = caption.pictureName;
    s.StatusMessage = s.PictureName;
    PostStatus();
    platform::EndDrawing();
    ShowTrackPicture();
}

void DrawWaterOverlay() {
    if (!state.TrackAccepted) return;
    const track::Track t = RecordedTrack();
    DrawOverlay([&](raster::Picture& p) { picture::DrawWater(p, t); });
}

void DrawObjectsOverlay() {
    if (!state.TrackAccepted) return;
    const track::Track t = RecordedTrack();
    DrawOverlay([&](raster::Picture& p) { picture::DrawObjects(p, t); });
}

void DrawGhostOverlay() {
    AnalyserState& s = state;
    if (!s.TrackAccepted) return;
    const track::Track t = RecordedTrack();
    if (!picture::HasGhost(t)) {
        s.StatusMessage = picture::kNoGhostStatus;
        PostStatus();
        return;
    }
    s.GhostScale = picture::GhostScale(s.WorldSize);
    if (DrawOverlay([&](raster::Picture& p) { picture::DrawGhost(p, t); })) s.GhostDrawn = true;
}

std::string ReadOutAt(int x, int y) {
    if (!state.TrackAccepted) return "";
    const track::Track t = RecordedTrack();
    std::string text = picture::ReadOutText(picture::InfoAt(t, x, y));
    if (state.GhostDrawn && !text.empty()) {
        const std::string frame = picture::GhostReadOutText(t, x, y);
        if (!frame.empty()) text += "\r\n" + frame;
    }
    return text;
}

}  // namespace app
