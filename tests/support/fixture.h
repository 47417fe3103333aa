// Common ground for tests that run the tool's actions: a fresh state, the
// scripted windowing backend, and track files written to a scratch folder.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/scripted_windowing.h"
#include "trackgen/track_writer.h"

class ActionTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Writes `bytes` as `name` in the scratch folder and returns its path.
    std::string WriteFile(const std::string& name, const std::vector<std::uint8_t>& bytes);
    std::string WriteTrack(const std::string& name, const trackgen::TrackContents& track) {
        return WriteFile(name, trackgen::WriteTrack(track));
    }
    // Runs "load" with the open dialog answered by `path` ("" cancels).
    void Load(const std::string& path);
    std::vector<std::string> InfoLines() const;
    std::string InfoText() const;
    std::string StatusText() const;
    std::string NewestStatusLine() const;

    platform::ScriptedWindowing ui;
    std::filesystem::path scratch;
};
