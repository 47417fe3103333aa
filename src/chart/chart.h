// Charts of laps as PNG, SVG or PDF files' bytes, drawn by cairo from one
// drawing code for all three. A build without cairo (Windows) has the same
// functions, which say that charts are not available.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "lap/lap.h"
#include "platform/result.h"
#include "track/track.h"

namespace chart {

enum class Format { kPng, kSvg, kPdf };

// The format a file name asks for by its extension: .png, .svg or .pdf, in
// any case.
std::optional<Format> FormatOf(std::string_view path);

// Whether this build draws charts.
bool Available();

// A lap and the words that name it on a chart (UTF-8), "monza.trk: Ann".
struct Named {
    const lap::Lap& lap;
    std::string label;
};

// The lap's speed against its distance, its sectors marked: 720 x 300.
// Neither heading nor axis titles: where it is shown, words beside it say
// what it shows (and the SVG's text costs most of its making).
platform::Result<std::string> SpeedChart(const lap::Lap& lap, Format format);

// Two laps of one map, B measured along A's path (lap::Align): their
// speeds and the time gap B - A against A's distance, and the map of
// `track` (A's) with both paths, the three stretches where B loses most
// marked on the plots and the map: 1200 x 720.
platform::Result<std::string> CompareChart(const track::Track& track, const Named& a,
                                           const Named& b, Format format);

}  // namespace chart
