#include "platform/chart_font.h"

#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>

#include <map>
#include <mutex>
#include <optional>

#include "platform/font.h"

namespace platform {

cairo_font_face_t* ChartFontFace(const std::string& face) {
    static std::mutex mutex;
    // Kept, not destroyed: every chart of the run draws with them.
    static std::map<std::string, cairo_font_face_t*> made;
    const std::lock_guard<std::mutex> lock(mutex);
    if (const auto kept = made.find(face); kept != made.end()) return kept->second;
    cairo_font_face_t* cairoFace = nullptr;
    // The size only steers the choice among bitmap strikes; charts scale it.
    if (const std::optional<FaceFile> file = FindFontFile(face, 16)) {
        FcPattern* pattern = FcPatternCreate();
        if (pattern != nullptr) {
            FcPatternAddString(pattern, FC_FILE,
                               reinterpret_cast<const FcChar8*>(file->path.c_str()));
            FcPatternAddInteger(pattern, FC_INDEX, file->index);
            cairoFace = cairo_ft_font_face_create_for_pattern(pattern);
            FcPatternDestroy(pattern);
        }
        if (cairoFace != nullptr && cairo_font_face_status(cairoFace) != CAIRO_STATUS_SUCCESS) {
            cairo_font_face_destroy(cairoFace);
            cairoFace = nullptr;
        }
    }
    made[face] = cairoFace;
    return cairoFace;
}

}  // namespace platform
