// What each system's safe writer shares: the verdict on a target, and the
// writing into the temporary file, before the system's own flush to disk,
// close and rename.
#pragma once

#include <cstdio>
#include <string>

#include "platform/safe_file.h"

namespace platform {

// CheckTarget's verdict on a target that exists, as the system saw it:
// `name` is its file name, `kept` whether it is the file not to replace.
Result<> TargetVerdict(const std::string& name, bool folder, bool regular, bool kept);

// The system's own part of WriteFileSafely, once CheckTarget has let the
// target pass: the temporary file, its flush to disk, close and rename.
Result<> WriteThroughTemporary(const std::string& path, const StreamWriter& write, AtLink link);

// Runs `write` on `file` and flushes it; a failure's reason has the
// system's word added to a library's own message.
Result<> WriteAndFlush(std::FILE* file, const StreamWriter& write);

}  // namespace platform
