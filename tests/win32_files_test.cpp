// The Windows side of the file layer and the caption font: paths in UTF-16
// whatever their characters, the safe writer's replace, what it refuses,
// and the GDI font with its stand-in.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "app/state.h"
#include "platform/files.h"
#include "platform/font.h"
#include "platform/paths.h"
#include "platform/safe_file.h"
#include "platform/surface.h"
#include "support/fixture.h"
#include "trackgen/scene.h"
#include "trackgen/track_writer.h"

namespace {

// Characters from outside every ANSI code page, so that any narrow API on
// the way would lose them.
const std::string kWideName =
    "\xC5\x81\xC3\xB3"
    "d\xC5\xBA-\xE6\x9D\xB1\xE4\xBA\xAC-\xC3\xBC";

std::vector<std::uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

std::string Contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> FolderEntries(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(platform::PathText(entry.path().filename()));
    return names;
}

class WindowsFiles : public ActionTest {};

TEST_F(WindowsFiles, NamesBeyondTheCodePageAreWrittenReadAndListed) {
    const std::string path = platform::PathText(scratch) + "\\" + kWideName + ".trk";
    const std::vector<std::uint8_t> track =
        trackgen::WriteTrack(trackgen::GenerateScene(7, "Lake"));
    ASSERT_TRUE(platform::WriteFileSafely(path, track));
    EXPECT_EQ(FolderEntries(scratch), std::vector<std::string>{kWideName + ".trk"});

    std::vector<std::uint8_t> buffer(track.size() + 10);
    const platform::Result<platform::FileRead> read = platform::ReadWholeFile(path, buffer);
    ASSERT_TRUE(read) << read.reason();
    EXPECT_EQ(read->bytesRead, static_cast<std::int64_t>(track.size()));

    // The listing names the file in the tool's code page, '?' where it has
    // no character.
    Load(path);
    ASSERT_FALSE(InfoLines().empty());
    EXPECT_EQ(InfoLines()[0],
              "?\xF3"
              "d?-?"
              "?-\xFC.trk   " +
                  std::to_string(track.size()) + " Bytes");
    EXPECT_TRUE(app::state.TrackAccepted);
}

TEST_F(WindowsFiles, ReplacingKeepsNoTemporaryFileAndAFailedWriteChangesNothing) {
    const std::filesystem::path target = scratch / platform::FsPath(kWideName + ".car");
    const std::string path = platform::PathText(target);
    ASSERT_TRUE(platform::WriteFileSafely(path, Bytes("first")));
    ASSERT_TRUE(platform::WriteFileSafely(path, Bytes("second, longer")));
    EXPECT_EQ(Contents(target), "second, longer");

    const platform::Result<> failed =
        platform::WriteFileSafely(path, [](std::FILE* file) -> platform::Result<> {
            std::fputs("half", file);
            return platform::Fail("the encoder gave up");
        });
    EXPECT_FALSE(failed);
    EXPECT_FALSE(failed.refused());
    EXPECT_EQ(Contents(target), "second, longer");
    EXPECT_EQ(FolderEntries(scratch), std::vector<std::string>{kWideName + ".car"});
}

TEST_F(WindowsFiles, FoldersDevicesAndTheTrackBeingReadAreRefused) {
    EXPECT_TRUE(platform::CheckTarget(platform::PathText(scratch), {}).refused());
    EXPECT_TRUE(platform::WriteFileSafely("NUL", Bytes("x")).refused());

    const std::string track = WriteTrack("Lake.trk", trackgen::GenerateScene(7, "Lake"));
    std::vector<std::uint8_t> buffer(1'000'000);
    const platform::Result<platform::FileRead> read = platform::ReadWholeFile(track, buffer);
    ASSERT_TRUE(read && read->identity.known);
    // The same file under another spelling: other case, forward slashes.
    std::string other = platform::PathText(scratch) + "/LAKE.TRK";
    for (char& c : other) {
        if (c == '\\') c = '/';
    }
    const platform::Result<> refused =
        platform::WriteFileSafely(other, Bytes("not a track"), read->identity);
    EXPECT_TRUE(refused.refused());
    EXPECT_NE(refused.reason().find("track being read"), std::string::npos) << refused.reason();
    EXPECT_EQ(Contents(platform::FsPath(track)).size(), static_cast<std::size_t>(read->bytesRead));
}

TEST_F(WindowsFiles, AMissingFileAndAFolderAreNotRead) {
    std::vector<std::uint8_t> buffer(16);
    const platform::Result<platform::FileRead> missing =
        platform::ReadWholeFile(platform::PathText(scratch) + "\\none.trk", buffer);
    EXPECT_TRUE(missing.refused());
    EXPECT_EQ(missing.reason(), "No such file or directory");
    const platform::Result<platform::FileRead> folder =
        platform::ReadWholeFile(platform::PathText(scratch), buffer);
    EXPECT_TRUE(folder.refused());
    EXPECT_FALSE(folder.reason().empty());
}

TEST(WindowsFont, TheCaptionFaceOrItsStandInIsMonospacedAndInked) {
    // Wine may lack Lucida Console; either way a fixed-width face draws.
    for (const char* face : {"Lucida Console", "No Such Face At All"}) {
        const std::unique_ptr<platform::Font> font = platform::MakeFont(face, 16);
        ASSERT_TRUE(font) << face;
        EXPECT_TRUE(font->fixedWidth) << font->family;
        EXPECT_GE(font->CellHeight(), 16) << font->family;
        EXPECT_LE(font->CellHeight(), 24) << font->family;
        const platform::Glyph& a = font->For('A');
        EXPECT_GT(a.width, 0);
        EXPECT_GT(a.rows, 0);
        EXPECT_EQ(font->For('i').advance, a.advance) << font->family;
        EXPECT_TRUE(font->For(' ').mask.empty());
    }
}

}  // namespace
