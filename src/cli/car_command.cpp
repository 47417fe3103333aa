// Placeholder until the export code lands.
#include "cli/commands.h"

namespace cli {
void AddCarCommand(CLI::App&, int&) {}
}  // namespace cli
