// The track picture: the landmap with its caption, and the three overlays.
// Each is an action without arguments working on `app::state`.
#pragma once

namespace picture {

inline constexpr int kTrackPicture = 1;    // picture number in the surface's store
inline constexpr int kPictureControl = 1;  // the control that shows it
inline constexpr int kCaptionFont = 1;     // font number in the surface's store

// Loads the caption font ("Lucida Console", 12 points) as font kCaptionFont.
void LoadCaptionFont();

void BuildTrackPicture();
void DrawWaterOverlay();
void DrawObjectsOverlay();
void DrawGhostOverlay();

}  // namespace picture
