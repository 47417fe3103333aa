// What the picture and its three overlays share: where the sections lie in
// the loaded file, and handing the picture to its control when drawn.
#pragma once

#include "app/state.h"
#include "picture/picture.h"
#include "platform/surface.h"
#include "platform/windowing.h"

namespace picture {

// A position kept in the state, as an offset into the loaded file.
inline std::int64_t FileOffset(app::Address address) {
    return address - app::state.TrackData;
}

inline void ShowTrackPicture() {
    platform::ShowPicture(kPictureControl, platform::PictureHandle(kTrackPicture));
}

}  // namespace picture
