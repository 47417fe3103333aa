#include "chart/chart.h"
#include "platform/paths.h"

namespace chart {

std::optional<Format> FormatOf(std::string_view path) {
    const std::string extension = platform::LowerExtension(std::string(path));
    if (extension == ".png") return Format::kPng;
    if (extension == ".svg") return Format::kSvg;
    if (extension == ".pdf") return Format::kPdf;
    return std::nullopt;
}

}  // namespace chart
