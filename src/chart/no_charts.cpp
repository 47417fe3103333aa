// Charts in a build without cairo: each says that there are none.
#include "chart/chart.h"

namespace chart {
namespace {

platform::Failure NotAvailable() {
    return platform::Fail("charts are not available in this build");
}

}  // namespace

bool Available() {
    return false;
}

platform::Result<std::string> SpeedChart(const lap::Lap& /*lap*/, Format /*format*/) {
    return NotAvailable();
}

platform::Result<std::string> CompareChart(const track::Track& /*track*/, const Named& /*a*/,
                                           const Named& /*b*/, Format /*format*/) {
    return NotAvailable();
}

}  // namespace chart
