// What each system's safe writer shares: the writing into the temporary
// file, before the system's own flush to disk, close and rename.
#pragma once

#include <cstdio>
#include <string>

#include "platform/safe_file.h"

namespace platform {

// Runs `write` on `file` and flushes it; a failure's reason has the
// system's word added to a library's own message.
Result<> WriteAndFlush(std::FILE* file, const StreamWriter& write);

}  // namespace platform
