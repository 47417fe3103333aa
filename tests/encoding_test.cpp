#include <gtest/gtest.h>

#include "platform/encoding.h"
#include "platform/paths.h"
#include "platform/windowing.h"

namespace {

TEST(Encoding, Windows1252BecomesUtf8AndBack) {
    EXPECT_EQ(platform::Cp1252ToUtf8("Trk-L\xE4nge"), "Trk-L\xC3\xA4nge");
    EXPECT_EQ(platform::Cp1252ToUtf8("\x80\x93\x9F"), "\xE2\x82\xAC\xE2\x80\x9C\xC5\xB8");
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(platform::Utf8ToCp1252(platform::Cp1252ToUtf8(all)), all);
}

TEST(Encoding, UnmappableAndMalformedUtf8BecomeTheReplacement) {
    EXPECT_EQ(platform::Utf8ToCp1252("\xE6\x97\xA5x"), "?x");           // a CJK character
    EXPECT_EQ(platform::Utf8ToCp1252("a\xC3"), "a?");                   // cut short
    EXPECT_EQ(platform::Utf8ToCp1252("\xFF\xC3\xA4"), "?\xE4");         // stray byte
    EXPECT_EQ(platform::Utf8ToCp1252("\xF0\x9F\x98\x80!", '_'), "_!");  // beyond the BMP
}

TEST(Encoding, TerminalTextShowsControlCharactersAsQuestionMarks) {
    using platform::TerminalText;
    EXPECT_EQ(TerminalText("\x1B]2;OWNED\x07\x1B[2J"), "?]2;OWNED??[2J");
    EXPECT_EQ(TerminalText("Eve\nBest: X\r"), "Eve?Best: X?");
    EXPECT_EQ(TerminalText("a\tb\x7F"), "a\tb?");  // tab stays, DEL goes
    EXPECT_EQ(TerminalText("\xC2\x9B"
                           "2J \xC2\xA0\xC3\xA4\xE2\x82\xAC"),
              "?2J \xC2\xA0\xC3\xA4\xE2\x82\xAC");  // C1 CSI goes; the rest stays
    EXPECT_EQ(TerminalText("\x9B\xFF"), "??");      // not UTF-8 at all
    // The five undefined Windows-1252 bytes decode to C1 controls.
    EXPECT_EQ(platform::TerminalTextFromCp1252("\x81\x8D\x8F\x90\x9D\x80\xE4"),
              "?????\xE2\x82\xAC\xC3\xA4");
}

TEST(DialogPaths, InitialNameIsEmptyWhenItCannotBeAFileName) {
    EXPECT_EQ(platform::DialogInitialName("/home/u/monza_5432_Joe.jpg"), "monza_5432_Joe.jpg");
    EXPECT_EQ(platform::DialogInitialDirectory("/home/u/monza.jpg"), "/home/u/");
    EXPECT_EQ(platform::DialogInitialName("plain.jpg"), "plain.jpg");
    EXPECT_EQ(platform::DialogInitialDirectory("plain.jpg"), "");
    EXPECT_EQ(platform::DialogInitialName("/tmp/a?b.jpg"), "");
    EXPECT_EQ(platform::DialogInitialName("/tmp/a:b.jpg"), "");
#ifdef _WIN32
    // Both slashes separate there.
    EXPECT_EQ(platform::DialogInitialName("/tmp/a\\b.jpg"), "b.jpg");
    EXPECT_EQ(platform::DialogInitialDirectory("C:\\u\\a.jpg"), "C:\\u\\");
#else
    EXPECT_EQ(platform::DialogInitialName("/tmp/a\\b.jpg"), "");
#endif
    EXPECT_EQ(platform::DialogInitialName("/tmp/a\tb.jpg"), "");
    EXPECT_EQ(platform::DialogInitialName("/tmp/"), "");
}

}  // namespace

// One rule for batches and the window's drop: a name of more than ".trk",
// ending in .trk in any case.
TEST(DialogPaths, TrackFileNamesEndInTrk) {
    for (const char* name : {"a.trk", "dir/Monza.TRK", "x.Trk", "..trk", "C:\\t\\b.trk"})
        EXPECT_TRUE(platform::IsTrackFileName(name)) << name;
    for (const char* name : {".trk", "dir/.trk", "trk", "a.trk.bak", "a.tr", "a.trk/", ""})
        EXPECT_FALSE(platform::IsTrackFileName(name)) << name;
}
