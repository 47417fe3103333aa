// The caption font, and where faces lie, kept between runs: the same glyphs
// and face as a fresh lookup, a miss whenever the font setup changes, and a
// quiet fall-back when the cache is damaged or cannot be written.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "platform/font.h"
#include "platform/font_cache.h"

namespace {

namespace fs = std::filesystem;
using platform::Font;

void ExpectSameFont(const Font& a, const Font& b) {
    EXPECT_EQ(a.family, b.family);
    EXPECT_EQ(a.fixedWidth, b.fixedWidth);
    EXPECT_EQ(a.ascent, b.ascent);
    EXPECT_EQ(a.descent, b.descent);
    for (int i = 0; i < 256; ++i) {
        const platform::Glyph& x = a.glyphs[i];
        const platform::Glyph& y = b.glyphs[i];
        ASSERT_EQ(x.advance, y.advance) << i;
        ASSERT_EQ(x.left, y.left) << i;
        ASSERT_EQ(x.top, y.top) << i;
        ASSERT_EQ(x.width, y.width) << i;
        ASSERT_EQ(x.rows, y.rows) << i;
        ASSERT_EQ(x.mask, y.mask) << i;
    }
}

class FontCache : public ::testing::Test {
  protected:
    void SetUp() override {
        home = fs::temp_directory_path() /
               ("ta-font-cache-" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(home);
        fs::create_directories(home);
        Keep("HOME", home.string());
        Keep("XDG_CACHE_HOME", (home / "cache").string());
    }
    void TearDown() override {
        for (const auto& [name, value] : saved) {
            if (value) {
                ::setenv(name.c_str(), value->c_str(), 1);
            } else {
                ::unsetenv(name.c_str());
            }
        }
        fs::remove_all(home);
    }
    void Keep(const std::string& name, const std::string& value) {
        const char* old = std::getenv(name.c_str());
        saved.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        ::setenv(name.c_str(), value.c_str(), 1);
    }
    // The one entry of its kind ("font" or "face").
    fs::path CacheFile(const std::string& kind = "font") const {
        for (const auto& entry : fs::directory_iterator(home / "cache" / "track-analyse"))
            if (entry.path().filename().string().starts_with(kind)) return entry.path();
        return {};
    }

    fs::path home;
    std::vector<std::pair<std::string, std::optional<std::string>>> saved;
};

TEST_F(FontCache, KeptFontIsTheFontALookupMakes) {
    ASSERT_EQ(platform::CachedFont("monospace", 16), nullptr);
    const auto first = platform::MakeFont("monospace", 16);
    ASSERT_NE(first, nullptr);
    const auto kept = platform::CachedFont("monospace", 16);
    ASSERT_NE(kept, nullptr);
    ExpectSameFont(*first, *kept);
    // Another size or face is another entry.
    EXPECT_EQ(platform::CachedFont("monospace", 17), nullptr);
    EXPECT_EQ(platform::CachedFont("serif", 16), nullptr);
}

TEST_F(FontCache, ANewFontFolderOrConfigurationIsAMiss) {
    ASSERT_NE(platform::MakeFont("monospace", 16), nullptr);
    ASSERT_NE(platform::CachedFont("monospace", 16), nullptr);
    const std::string before = platform::FontSetupStamp();
    fs::create_directories(home / ".local/share/fonts/new");
    EXPECT_NE(platform::FontSetupStamp(), before);
    EXPECT_EQ(platform::CachedFont("monospace", 16), nullptr);

    ASSERT_NE(platform::MakeFont("monospace", 16), nullptr);
    ASSERT_NE(platform::CachedFont("monospace", 16), nullptr);
    fs::create_directories(home / ".config/fontconfig");
    std::ofstream(home / ".config/fontconfig/fonts.conf") << "<fontconfig/>";
    EXPECT_EQ(platform::CachedFont("monospace", 16), nullptr);
}

TEST_F(FontCache, DamagedOrUnwritableCacheFallsBackToTheLookup) {
    const auto fresh = platform::MakeFont("monospace", 16);
    ASSERT_NE(fresh, nullptr);
    const fs::path file = CacheFile();
    ASSERT_FALSE(file.empty());
    const auto size = fs::file_size(file);
    // Cut short, as a run stopped mid-write would leave it, and flipped.
    fs::resize_file(file, size / 2);
    EXPECT_EQ(platform::CachedFont("monospace", 16), nullptr);
    auto again = platform::MakeFont("monospace", 16);
    ASSERT_NE(again, nullptr);
    ExpectSameFont(*fresh, *again);
    {
        std::fstream bytes(file, std::ios::in | std::ios::out | std::ios::binary);
        bytes.seekp(static_cast<std::streamoff>(size - 100));
        bytes.put('\x55');
    }
    EXPECT_EQ(platform::CachedFont("monospace", 16), nullptr);

    // A cache folder that cannot be made: a file stands in its way.
    fs::remove_all(home / "cache");
    std::ofstream(home / "cache") << "in the way";
    again = platform::MakeFont("monospace", 16);
    ASSERT_NE(again, nullptr);
    ExpectSameFont(*fresh, *again);
}

// The face file or a configuration file changed in place, their folders'
// times unchanged, still answered with the old font.
TEST_F(FontCache, TheFaceOrAConfigurationEditedInPlaceIsAMiss) {
    const auto font = platform::MakeFont("monospace", 16);
    ASSERT_NE(font, nullptr);
    const fs::path face = home / "face.ttf";
    std::ofstream(face) << "one face";
    platform::KeepFont("monospace", 16, face.string(), *font);
    ASSERT_NE(platform::CachedFont("monospace", 16), nullptr);
    std::ofstream(face) << "another, longer face";
    EXPECT_EQ(platform::CachedFont("monospace", 16), nullptr);

    const fs::path config = home / ".config/fontconfig";
    fs::create_directories(config);
    std::ofstream(config / "fonts.conf") << "<fontconfig/>";
    ASSERT_NE(platform::MakeFont("monospace", 16), nullptr);
    ASSERT_NE(platform::CachedFont("monospace", 16), nullptr);
    const auto folderTime = fs::last_write_time(config);
    std::ofstream(config / "fonts.conf", std::ios::app) << "<!-- edited -->";
    fs::last_write_time(config, folderTime);
    EXPECT_EQ(platform::CachedFont("monospace", 16), nullptr);
}

// Row 2: a link put where the entry goes was written through, replacing the
// file it named. Row 13: an entry forged with a right checksum, its glyphs
// far beyond the size, drew a wrong caption. Both are remade.
TEST_F(FontCache, ForgedOrLinkedEntriesAreRemadeAndNeverWrittenThrough) {
    const auto fresh = platform::MakeFont("monospace", 16);
    ASSERT_NE(fresh, nullptr);
    const fs::path file = CacheFile();
    std::ifstream in(file, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    const auto entry = platform::ParseFontCache(bytes, 16);
    ASSERT_TRUE(entry);

    const std::function<void(platform::FontCacheEntry&)> forgeries[] = {
        [](auto& e) { e.font.ascent = 1024; },
        [](auto& e) { e.font.glyphs['A'].left = -1024; },
        [](auto& e) { e.font.glyphs['A'].advance = 65; },
        [](auto& e) {
            platform::Glyph& a = e.font.glyphs['A'];
            a.width = a.rows = 1024;
            a.mask.assign(std::size_t{1024} * 1024, 1);
        },
    };
    for (const auto& forge : forgeries) {
        platform::FontCacheEntry forged{entry->key, entry->faceFile, entry->faceStamp, entry->font};
        forge(forged);
        std::ofstream(file, std::ios::binary) << platform::FontCacheBytes(forged);
        EXPECT_EQ(platform::CachedFont("monospace", 16), nullptr);
        const auto again = platform::MakeFont("monospace", 16);
        ASSERT_NE(again, nullptr);
        ExpectSameFont(*fresh, *again);
    }

    const fs::path victim = home / "victim.txt";
    std::ofstream(victim) << "mine";
    fs::remove(file);
    fs::create_symlink(victim, file);
    EXPECT_EQ(platform::CachedFont("monospace", 16), nullptr);
    ASSERT_NE(platform::MakeFont("monospace", 16), nullptr);
    std::ifstream kept(victim);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "mine");
    EXPECT_FALSE(fs::is_symlink(file));
    EXPECT_NE(platform::CachedFont("monospace", 16), nullptr);
}

// Where a face lies, kept so that charts need no fontconfig: the lookup's
// answer while nothing changes; after any change or damage a miss, and the
// lookup's answer again. A link at the entry is replaced, never written
// through.
TEST_F(FontCache, AKeptFaceFileIsTheLookupsAnswerUntilAnythingChanges) {
    const auto found = platform::FindFontFile("monospace", 16);
    ASSERT_TRUE(found);
    const fs::path entry = CacheFile("face");
    ASSERT_FALSE(entry.empty());
    const fs::path victim = home / "victim.txt";
    const fs::path face = home / "face.ttf";
    const std::function<void()> changes[] = {
        [&] { fs::resize_file(entry, fs::file_size(entry) / 2); },
        [&] {
            std::fstream bytes(entry, std::ios::in | std::ios::out | std::ios::binary);
            bytes.seekp(40);
            bytes.put('\x55');
        },
        [&] { fs::create_directories(home / ".fonts" / "new"); },
        [&] {
            std::ofstream(face) << "one face";
            platform::KeepFaceFile("monospace", 16, {face.string(), 0, "Fake"});
            ASSERT_EQ(platform::CachedFaceFile("monospace", 16)->path, face.string());
            std::ofstream(face) << "another, longer face";
        },
        [&] {
            std::ofstream(victim) << "mine";
            fs::remove(entry);
            fs::create_symlink(victim, entry);
        },
    };
    for (std::size_t k = 0; k < std::size(changes); ++k) {
        SCOPED_TRACE(k);
        const auto kept = platform::CachedFaceFile("monospace", 16);
        ASSERT_TRUE(kept);
        EXPECT_EQ(kept->path, found->path);
        EXPECT_EQ(kept->index, found->index);
        EXPECT_EQ(kept->family, found->family);
        changes[k]();
        EXPECT_FALSE(platform::CachedFaceFile("monospace", 16));
        const auto again = platform::FindFontFile("monospace", 16);
        ASSERT_TRUE(again);
        EXPECT_EQ(again->path, found->path);
    }
    std::ifstream kept(victim);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "mine");
    EXPECT_FALSE(fs::is_symlink(entry));
}

}  // namespace
