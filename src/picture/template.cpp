#include "picture/template.h"

namespace picture {
namespace {

struct Rgb {
    int r, g, b;
};

// Entries s..e run from A to B: entry s + k = A + floor(k * (B - A) / (e - s)).
struct Stretch {
    int first, last;
    Rgb from, to;
};

constexpr Stretch kStretches[] = {
    {0, 29, {0, 0, 0}, {200, 200, 200}},          {30, 44, {60, 100, 40}, {160, 220, 100}},
    {45, 59, {70, 60, 50}, {160, 135, 110}},      {60, 74, {100, 70, 40}, {220, 180, 160}},
    {75, 89, {160, 110, 90}, {250, 220, 210}},    {90, 104, {160, 180, 200}, {245, 250, 255}},
    {105, 109, {200, 200, 200}, {255, 250, 245}}, {110, 114, {200, 200, 0}, {255, 250, 60}},
    {115, 119, {200, 0, 0}, {255, 60, 60}},       {248, 255, {64, 160, 255}, {255, 255, 255}},
};

// Of the entries between the stretches only these ever become pixels.
constexpr struct {
    int entry;
    Rgb colour;
} kSingles[] = {
    {154, {190, 210, 130}}, {240, {0, 100, 150}}, {242, {255, 255, 255}},
    {244, {255, 0, 0}},     {245, {255, 255, 0}},
};

constexpr int FloorDiv(int a, int b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

constexpr void Put16(Template& t, int at, int v) {
    t[at] = static_cast<std::uint8_t>(v & 0xFF);
    t[at + 1] = static_cast<std::uint8_t>((v >> 8) & 0xFF);
}

constexpr void Put32(Template& t, int at, std::int64_t v) {
    Put16(t, at, static_cast<int>(v & 0xFFFF));
    Put16(t, at + 2, static_cast<int>((v >> 16) & 0xFFFF));
}

constexpr void PutEntry(Template& t, int entry, Rgb c) {
    const int at = 54 + 4 * entry;
    t[at] = static_cast<std::uint8_t>(c.b);
    t[at + 1] = static_cast<std::uint8_t>(c.g);
    t[at + 2] = static_cast<std::uint8_t>(c.r);
    t[at + 3] = 0;
}

constexpr Template MakeTemplate() {
    Template t{};
    t[0] = 'B';
    t[1] = 'M';
    Put32(t, 2, kTemplateSize);
    Put32(t, 10, kPixelOffset);
    Put32(t, 14, 40);
    Put32(t, 18, kPictureWidth);
    Put32(t, 22, kPictureHeight);
    Put16(t, 26, 1);
    Put16(t, 28, 8);
    Put32(t, 34, 256);
    Put32(t, 46, 256);
    Put32(t, 50, 256);

    for (const Stretch& s : kStretches) {
        const int span = s.last - s.first;
        for (int k = 0; k <= span; ++k) {
            PutEntry(t, s.first + k,
                     {s.from.r + FloorDiv(k * (s.to.r - s.from.r), span),
                      s.from.g + FloorDiv(k * (s.to.g - s.from.g), span),
                      s.from.b + FloorDiv(k * (s.to.b - s.from.b), span)});
        }
    }
    for (const auto& single : kSingles) PutEntry(t, single.entry, single.colour);

    for (std::int64_t i = kPixelOffset; i < kTemplateSize; ++i) t[i] = kBackgroundIndex;
    return t;
}

constexpr Template kTemplate = MakeTemplate();

}  // namespace

const Template& PictureTemplate() {
    return kTemplate;
}

}  // namespace picture
