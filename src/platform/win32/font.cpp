// Fonts through GDI: each of the 256 Windows-1252 characters is drawn once
// into a bitmap and kept as a mask, so that drawing text needs GDI no more
// and draws exactly as on other systems.
#include "platform/font.h"

#include <algorithm>
#include <cwctype>

#include "platform/encoding.h"
#include "wide.h"

namespace platform {
namespace {

// A memory bitmap with a font selected, for drawing one character at a time.
class GlyphCanvas {
  public:
    GlyphCanvas(HFONT font, int side) : side_(side) {
        dc_ = ::CreateCompatibleDC(nullptr);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = side;
        info.bmiHeader.biHeight = -side;  // top row first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap_ = dc_ ? ::CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
        pixels_ = static_cast<const std::uint32_t*>(bits);
        if (bitmap_) {
            oldBitmap_ = ::SelectObject(dc_, bitmap_);
            oldFont_ = ::SelectObject(dc_, font);
            ::SetTextColor(dc_, RGB(255, 255, 255));
            ::SetBkColor(dc_, RGB(0, 0, 0));
            ::SetBkMode(dc_, OPAQUE);
            ::SetTextAlign(dc_, TA_TOP | TA_LEFT | TA_NOUPDATECP);
        }
    }
    ~GlyphCanvas() {
        if (bitmap_) {
            ::SelectObject(dc_, oldFont_);
            ::SelectObject(dc_, oldBitmap_);
            ::DeleteObject(bitmap_);
        }
        if (dc_) ::DeleteDC(dc_);
    }
    GlyphCanvas(const GlyphCanvas&) = delete;
    GlyphCanvas& operator=(const GlyphCanvas&) = delete;

    bool Ready() const { return bitmap_ != nullptr; }
    HDC Dc() const { return dc_; }

    // Draws `c` with its cell's top-left corner at (origin, origin) and
    // copies what was inked into `glyph`, relative to the baseline.
    void Draw(wchar_t c, int origin, int ascent, Glyph& glyph) {
        ::GdiFlush();
        RECT all{0, 0, side_, side_};
        ::FillRect(dc_, &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        ::TextOutW(dc_, origin, origin, &c, 1);
        ::GdiFlush();
        int left = side_, right = -1, top = side_, bottom = -1;
        for (int y = 0; y < side_; ++y) {
            for (int x = 0; x < side_; ++x) {
                if (!Inked(x, y)) continue;
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
        if (right < 0) return;
        glyph.left = left - origin;
        glyph.top = origin + ascent - top;
        glyph.width = right - left + 1;
        glyph.rows = bottom - top + 1;
        glyph.mask.assign(static_cast<std::size_t>(glyph.width) * glyph.rows, 0);
        for (int r = 0; r < glyph.rows; ++r) {
            for (int col = 0; col < glyph.width; ++col) {
                glyph.mask[static_cast<std::size_t>(r) * glyph.width + col] =
                    Inked(left + col, top + r) ? 1 : 0;
            }
        }
    }

  private:
    bool Inked(int x, int y) const {
        const std::uint32_t pixel = pixels_[static_cast<std::size_t>(y) * side_ + x];
        return ((pixel >> 8) & 0xFF) >= 128;  // the green of white text on black
    }

    int side_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
    HGDIOBJ oldFont_ = nullptr;
    const std::uint32_t* pixels_ = nullptr;
};

std::unique_ptr<Font> Rasterise(HFONT handle, int pixels) {
    // Room for a cell with generous overhangs on every side.
    const int origin = pixels + 4;
    GlyphCanvas canvas(handle, 4 * pixels + 16);
    if (!canvas.Ready()) return nullptr;
    TEXTMETRICW metrics{};
    if (!::GetTextMetricsW(canvas.Dc(), &metrics)) return nullptr;
    auto font = std::make_unique<Font>();
    wchar_t face[LF_FACESIZE] = {};
    ::GetTextFaceW(canvas.Dc(), LF_FACESIZE, face);
    font->family = Utf8(face);
    // The flag's name says the opposite of what it means.
    font->fixedWidth = (metrics.tmPitchAndFamily & TMPF_FIXED_PITCH) == 0;
    font->ascent = metrics.tmAscent;
    font->descent = metrics.tmDescent;
    for (int byte = 0; byte < 256; ++byte) {
        Glyph& glyph = font->glyphs[byte];
        const auto c = static_cast<wchar_t>(Cp1252ToUnicode(static_cast<unsigned char>(byte)));
        SIZE size{};
        glyph.advance = ::GetTextExtentPoint32W(canvas.Dc(), &c, 1, &size) ? size.cx : 0;
        canvas.Draw(c, origin, font->ascent, glyph);
    }
    return font;
}

// Monochrome glyphs: every pixel of text is exactly the text colour or the
// background colour, as on the rest of the picture.
HFONT CreateFace(const std::wstring& face, int pixels, DWORD pitch) {
    return ::CreateFontW(-pixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, pitch,
                         face.c_str());
}

bool SameFace(const std::wstring& asked, const std::string& got) {
    const std::wstring have = Wide(got);
    if (asked.size() != have.size()) return false;
    for (std::size_t i = 0; i < asked.size(); ++i) {
        if (std::towlower(asked[i]) != std::towlower(have[i])) return false;
    }
    return true;
}

}  // namespace

std::unique_ptr<Font> MakeFont(const std::string& face, int pixels) {
    if (pixels < 1 || pixels > kMaxFontPixels) return nullptr;
    const std::wstring asked = Wide(face);
    // GDI answers every name with some face; one that is not the asked face
    // gives way to the system's fixed-pitch face.
    if (HFONT handle = CreateFace(asked, pixels, DEFAULT_PITCH)) {
        std::unique_ptr<Font> font = Rasterise(handle, pixels);
        ::DeleteObject(handle);
        if (font && SameFace(asked, font->family)) return font;
    }
    for (const wchar_t* standIn : {L"Courier New", L""}) {
        if (HFONT handle = CreateFace(standIn, pixels, FIXED_PITCH | FF_MODERN)) {
            std::unique_ptr<Font> font = Rasterise(handle, pixels);
            ::DeleteObject(handle);
            if (font) return font;
        }
    }
    return nullptr;
}

std::unique_ptr<Font> MakeDefaultFont() {
    constexpr int kDefaultPixels = 13;
    if (auto system = static_cast<HFONT>(::GetStockObject(SYSTEM_FONT))) {
        if (std::unique_ptr<Font> font = Rasterise(system, kDefaultPixels)) return font;
    }
    return raster::MakeBoxFont();
}

}  // namespace platform
