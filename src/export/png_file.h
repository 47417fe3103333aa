// The picture as a PNG file: 8-bit RGB, exactly the picture's pixels.
#pragma once

#include <cstdio>
#include <string>

#include "platform/result.h"
#include "platform/surface.h"

namespace exporter {

// Writes `picture` to `path`. A failure leaves the file as it was before.
// Never replaces the track being read.
platform::Result<> WritePng(const platform::Picture& picture, const std::string& path);

// The same PNG into an open stream (standard output, or memory).
platform::Result<> WritePngToStream(const platform::Picture& picture, std::FILE* stream);

}  // namespace exporter
