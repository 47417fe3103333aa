// Placeholder until the picture code lands.
#include "cli/commands.h"

namespace cli {
void AddRenderCommand(CLI::App&, int&) {}
}  // namespace cli
