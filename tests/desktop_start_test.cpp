// What the desktop tool does before and around its window: the command
// line, and the track folder it remembers across runs.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>

#include "app/folder_memory.h"
#include "app/state.h"
#include "platform/paths.h"
#include "shell/command_line.h"
#include "shell/keys.h"
#include "support/fixture.h"
#include "trackgen/track_writer.h"

namespace {

using shell::CommandLine;
using shell::ParseCommandLine;
using Action = CommandLine::Action;

TEST(DesktopCommandLine, TakesAtMostOneTrack) {
    EXPECT_EQ(ParseCommandLine({}).action, Action::kRun);
    EXPECT_EQ(ParseCommandLine({}).track, "");
    EXPECT_EQ(ParseCommandLine({"lakeside.trk"}).track, "lakeside.trk");
    EXPECT_EQ(ParseCommandLine({"a.trk", "b.trk"}).action, Action::kUsageError);
    EXPECT_EQ(ParseCommandLine({""}).action, Action::kUsageError);
    // "--" ends the options: a track may begin with "-"; "-" alone is a name.
    EXPECT_EQ(ParseCommandLine({"--", "-odd.trk"}).track, "-odd.trk");
    EXPECT_EQ(ParseCommandLine({"-"}).track, "-");
}

TEST(DesktopCommandLine, HelpAndVersionWinAndUnknownOptionsAreRefused) {
    EXPECT_EQ(ParseCommandLine({"--help"}).action, Action::kHelp);
    EXPECT_EQ(ParseCommandLine({"x.trk", "-h"}).action, Action::kHelp);
    EXPECT_EQ(ParseCommandLine({"--version"}).action, Action::kVersion);
    EXPECT_EQ(ParseCommandLine({"-V"}).action, Action::kVersion);
    const CommandLine unknown = ParseCommandLine({"--fullscreen", "x.trk"});
    EXPECT_EQ(unknown.action, Action::kUsageError);
    EXPECT_EQ(unknown.error, "unknown option '--fullscreen'");
    EXPECT_EQ(ParseCommandLine({"--", "--help"}).track, "--help");
}

TEST(DesktopCommandLine, HelpNamesEveryKeyOfTheWindow) {
    const std::string help = shell::HelpText();
    EXPECT_EQ(help.rfind(shell::kUsageLine, 0), 0u);
    for (const shell::KeyBinding& binding : shell::kKeyBindings) {
        EXPECT_NE(help.find(std::string(binding.keyName) +
                            std::string(8 - std::strlen(binding.keyName), ' ') + binding.what),
                  std::string::npos)
            << binding.keyName;
    }
    EXPECT_EQ(shell::VersionText().rfind("track-analyse ", 0), 0u);
}

TEST(DesktopCommandLine, EveryButtonHasItsOwnKey) {
    for (std::size_t i = 0; i < shell::kKeyBindings.size(); ++i) {
        for (std::size_t j = i + 1; j < shell::kKeyBindings.size(); ++j) {
            const auto& a = shell::kKeyBindings[i].key;
            const auto& b = shell::kKeyBindings[j].key;
            EXPECT_FALSE(a.ctrl == b.ctrl && a.alt == b.alt && a.key == b.key)
                << shell::kKeyBindings[i].keyName << " twice";
        }
    }
}

// The desktop tool keeps the folder in $XDG_STATE_HOME/track-analyse, on
// Windows in %LOCALAPPDATA%\track-analyse.
#ifdef _WIN32
constexpr const char* kStateHome = "LOCALAPPDATA";
void SetVariable(const char* name, const std::string& value) {
    _putenv_s(name, value.c_str());
}
void UnsetVariable(const char* name) {
    _putenv_s(name, "");
}
#else
constexpr const char* kStateHome = "XDG_STATE_HOME";
void SetVariable(const char* name, const std::string& value) {
    setenv(name, value.c_str(), 1);
}
void UnsetVariable(const char* name) {
    unsetenv(name);
}
#endif
constexpr char kSeparator = platform::kPathSeparator;

class FolderMemory : public ActionTest {
  protected:
    void SetUp() override {
        ActionTest::SetUp();
        const char* old = std::getenv(kStateHome);
        saved = old ? std::optional<std::string>(old) : std::nullopt;
        stateHome = scratch / "state";
        SetVariable(kStateHome, stateHome.string());
        tracks = scratch / "tracks";
        std::filesystem::create_directories(tracks);
        track = (tracks / "lake.trk").string();
        trackgen::SaveFile(track, trackgen::WriteTrack(trackgen::TrackContents{}));
    }
    void TearDown() override {
        if (saved) {
            SetVariable(kStateHome, *saved);
        } else {
            UnsetVariable(kStateHome);
        }
        ActionTest::TearDown();
    }
    std::string MemoryText() const {
        std::ifstream in(stateHome / "track-analyse" / "last-track-folder");
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::string LastOpenDefault() const {
        for (auto it = ui.dialogs.rbegin(); it != ui.dialogs.rend(); ++it) {
            if (it->kind == "open") return it->defaultText;
        }
        return "";
    }

    std::optional<std::string> saved;
    std::filesystem::path stateHome, tracks;
    std::string track;
};

TEST_F(FolderMemory, AfterACancelTheDialogStartsInTheLastTracksFolder) {
    app::RecallTrackFolder();
    Load(track);
    EXPECT_EQ(MemoryText(), tracks.string() + kSeparator + "\n");
    Load("");  // cancelled: no folder of its own
    EXPECT_EQ(app::state.TrackDirectory, "");
    Load("");
    EXPECT_EQ(LastOpenDefault(), tracks.string() + kSeparator);
}

TEST_F(FolderMemory, ANewRunStartsWhereTheLastOneOpenedATrack) {
    app::RecallTrackFolder();
    Load(track);
    app::InitialiseState();  // as a new run
    app::RecallTrackFolder();
    Load("");
    EXPECT_EQ(LastOpenDefault(), tracks.string() + kSeparator);
}

TEST_F(FolderMemory, WithoutAMemoryTheDialogStartsInTheCurrentFolder) {
    app::RecallTrackFolder();
    Load("");
    Load("");
    EXPECT_EQ(LastOpenDefault(), platform::CurrentDirectory());
}

TEST_F(FolderMemory, AFolderThatIsGoneOrAFileThatCouldNotBeReadIsNotRemembered) {
    std::filesystem::create_directories(stateHome / "track-analyse");
    std::ofstream(stateHome / "track-analyse" / "last-track-folder") << "/no/such/folder\n";
    app::RecallTrackFolder();
    EXPECT_EQ(app::state.TrackDirectory, platform::CurrentDirectory());

    Load((tracks / "missing.trk").string());
    EXPECT_EQ(MemoryText(), "/no/such/folder\n");
}

TEST_F(FolderMemory, TheCommandLineRemembersNothing) {
    Load(track);  // no RecallTrackFolder: not the desktop tool
    EXPECT_FALSE(std::filesystem::exists(stateHome));
}

}  // namespace
