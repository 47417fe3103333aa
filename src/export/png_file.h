// The picture as a PNG file: 8-bit RGB, exactly the picture's pixels.
#pragma once

#include <cstdio>
#include <string>

#include "platform/surface.h"

namespace exporter {

// Writes `picture` to `path`. On failure returns false with the reason in
// `error`; the file is then as it was before. Never replaces the track
// being read.
bool WritePng(const platform::Picture& picture, const std::string& path, std::string& error);

// The same PNG into an open stream (standard output, or memory).
bool WritePngToStream(const platform::Picture& picture, std::FILE* stream, std::string& error);

}  // namespace exporter
