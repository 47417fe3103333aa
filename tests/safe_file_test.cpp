#include "platform/safe_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fcntl.h>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>

#include "platform/files.h"
#include "support/small_disk.h"

namespace {

namespace fs = std::filesystem;
using platform::WriteFileSafely;

class SafeFile : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = fs::temp_directory_path() /
              ("ta-safe-" + std::string(info->name()) + "-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string Path(const std::string& name) const { return (dir / name).string(); }
    static std::vector<std::uint8_t> Bytes(std::size_t size, std::uint8_t value) {
        return std::vector<std::uint8_t>(size, value);
    }
    static std::vector<std::uint8_t> Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // Nothing but the named files: no temporary file stays behind.
    std::vector<std::string> Names(const fs::path& folder) const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    static mode_t ModeOf(const std::string& path) {
        struct stat info {};
        ::stat(path.c_str(), &info);
        return info.st_mode & 07777;
    }

    fs::path dir;
};

TEST_F(SafeFile, NewFilesFollowTheUmaskAndReplacedOnesKeepTheirBits) {
    const mode_t mask = ::umask(027);
    ASSERT_TRUE(WriteFileSafely(Path("new"), Bytes(10, 1)));
    EXPECT_EQ(ModeOf(Path("new")), 0640u);
    ::umask(mask);

    // The set-group-id bit too, not only the permissions.
    const std::string old = Path("old");
    for (const mode_t mode : {0604, 02640}) {
        std::ofstream(old) << std::string(5000, 'x');
        ASSERT_EQ(::chmod(old.c_str(), mode), 0);
        ASSERT_EQ(ModeOf(old), mode);
        ASSERT_TRUE(WriteFileSafely(old, Bytes(3, 7)));
        EXPECT_EQ(Read(old), Bytes(3, 7));  // a longer file is wholly replaced
        EXPECT_EQ(ModeOf(old), mode);
    }
    // Nothing to write is an empty file (with no bytes handed to fwrite).
    ASSERT_TRUE(WriteFileSafely(old, std::span<const std::uint8_t>()));
    EXPECT_TRUE(Read(old).empty());
    EXPECT_EQ(Names(dir), (std::vector<std::string>{"new", "old"}));
}

TEST_F(SafeFile, AFailedWriteLeavesTheOldFileAndNoTemporaryOne) {
    const std::string old = Path("old.jpg");
    std::ofstream(old) << std::string(8000, 'o');
    const auto before = Read(old);
    const platform::Result<> result =
        WriteFileSafely(old, [](std::FILE* file) -> platform::Result<> {
            std::fputs("half of it", file);
            return platform::Fail("the encoder gave up");
        });
    EXPECT_FALSE(result);
    EXPECT_FALSE(result.refused());
    EXPECT_EQ(result.reason(), "the encoder gave up");
    EXPECT_EQ(Read(old), before);
    EXPECT_EQ(Names(dir), std::vector<std::string>{"old.jpg"});

    const auto nowhere = WriteFileSafely(Path("no/such/folder.jpg"), Bytes(1, 1));
    EXPECT_FALSE(nowhere);
    EXPECT_FALSE(nowhere.refused());
    EXPECT_NE(nowhere.reason().find("No such file or directory"), std::string::npos);
}

// Row 2 of the write-safety table: the old file used to be truncated first,
// then removed when the disk filled up.
TEST_F(SafeFile, AFullDiskLeavesTheOldFileWhole) {
    SmallDisk disk(dir / "disk");
    if (!disk.Ready()) GTEST_SKIP() << disk.Why();
    const std::string old = (disk.Path() / "old.jpg").string();
    std::ofstream(old) << std::string(8000, 'o');
    const auto before = Read(old);

    const auto result = WriteFileSafely(old, Bytes(60'000, 9));
    EXPECT_FALSE(result);
    EXPECT_FALSE(result.refused());
    EXPECT_NE(result.reason().find("No space left"), std::string::npos) << result.reason();
    EXPECT_EQ(Read(old), before);
    EXPECT_EQ(Names(disk.Path()), std::vector<std::string>{"old.jpg"});
}

// Row 4: a FIFO used to be opened for writing, which blocks until someone
// reads it. Folders and devices are refused the same way.
TEST_F(SafeFile, TargetsThatAreNoRegularFilesAreRefusedAtOnce) {
    const std::string fifo = Path("ff.jpg");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    auto pending =
        std::async(std::launch::async, [&] { return WriteFileSafely(fifo, Bytes(5, 1)); });
    if (pending.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        // Let the blocked writer go before failing.
        const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
        ADD_FAILURE() << "writing to a FIFO blocked";
        pending.wait();
        ::close(reader);
    }
    const auto result = pending.get();
    EXPECT_TRUE(result.refused());
    EXPECT_EQ(result.reason(), "ff.jpg is not a regular file");
    struct stat info {};
    ASSERT_EQ(::lstat(fifo.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));

    fs::create_directory(dir / "folder.jpg");
    EXPECT_EQ(WriteFileSafely(Path("folder.jpg"), Bytes(1, 1)).reason(), "folder.jpg is a folder");
    EXPECT_TRUE(WriteFileSafely("/dev/null", Bytes(1, 1)).refused());
    EXPECT_TRUE(WriteFileSafely("", Bytes(1, 1)).refused());
    EXPECT_EQ(Names(dir), (std::vector<std::string>{"ff.jpg", "folder.jpg"}));
}

// Row 1: the track itself, through a symbolic link or a hard link, is never
// an output. What counts is the file read, not the name it was read by.
TEST_F(SafeFile, TheFileBeingReadIsRefusedUnderEveryName) {
    const std::string track = Path("T.trk");
    std::ofstream(track) << std::string(3000, 't');
    std::vector<std::uint8_t> buffer(4000);
    const platform::Result<platform::FileRead> read = platform::ReadWholeFile(track, buffer);
    ASSERT_TRUE(read && read->identity.known);
    fs::create_symlink(track, dir / "soft.trk");
    fs::create_hard_link(track, dir / "hard.trk");

    for (const std::string name : {"T.trk", "soft.trk", "hard.trk"}) {
        const auto result = WriteFileSafely(Path(name), Bytes(1352, 1), read->identity);
        EXPECT_TRUE(result.refused()) << name;
        EXPECT_EQ(result.reason(), name + " is the track being read");
    }
    EXPECT_EQ(Read(track), Bytes(3000, 't'));
    // Any other file may be written; without a track every file may.
    EXPECT_TRUE(WriteFileSafely(Path("other.car"), Bytes(2, 2), read->identity));
    EXPECT_TRUE(WriteFileSafely(Path("hard.trk"), Bytes(2, 2)));
}

TEST_F(SafeFile, ASymbolicLinkStaysAndItsFileIsReplaced) {
    fs::create_directory(dir / "real");
    const std::string real = (dir / "real" / "picture.png").string();
    std::ofstream(real) << "old";
    fs::create_symlink(real, dir / "link.png");
    ASSERT_TRUE(WriteFileSafely(Path("link.png"), Bytes(4, 4)));
    EXPECT_TRUE(fs::is_symlink(dir / "link.png"));
    EXPECT_EQ(Read(real), Bytes(4, 4));
    EXPECT_EQ(Names(dir / "real"), std::vector<std::string>{"picture.png"});
}

// A file written under a name of its own and named later is held to the
// same rules as a direct write, and never stays behind.
TEST_F(SafeFile, AFileMovedIntoPlaceIsCheckedLikeAWriteAndNeverLeftBehind) {
    const auto writeUnnamed = [this](std::uint8_t value) {
        const auto written = platform::WriteUnnamed(dir.string(), [value](std::FILE* file) {
            std::fwrite(Bytes(3, value).data(), 1, 3, file);
            return platform::Result<>{};
        });
        EXPECT_TRUE(written) << written.reason();
        return written ? *written : std::string();
    };
    // A failed write leaves no file, and a missing folder is named.
    const auto failed = platform::WriteUnnamed(dir.string(), [](std::FILE* file) {
        std::fputs("half", file);
        return platform::Result<>(platform::Fail("the encoder gave up"));
    });
    EXPECT_EQ(failed.reason(), "the encoder gave up");
    const auto missing =
        platform::WriteUnnamed(Path("gone"), [](std::FILE*) { return platform::Result<>{}; });
    EXPECT_NE(missing.reason().find("cannot create a file in " + Path("gone")), std::string::npos)
        << missing.reason();
    EXPECT_TRUE(Names(dir).empty());

    ASSERT_TRUE(platform::MoveIntoPlace(writeUnnamed(1), Path("new.jpg")));
    EXPECT_EQ(Read(Path("new.jpg")), Bytes(3, 1));

    ::chmod(Path("new.jpg").c_str(), 0604);
    ASSERT_TRUE(platform::MoveIntoPlace(writeUnnamed(2), Path("new.jpg")));
    EXPECT_EQ(Read(Path("new.jpg")), Bytes(3, 2));
    EXPECT_EQ(ModeOf(Path("new.jpg")), 0604u);

    fs::create_directory(dir / "folder.jpg");
    const auto folder = platform::MoveIntoPlace(writeUnnamed(3), Path("folder.jpg"));
    EXPECT_TRUE(folder.refused());
    EXPECT_EQ(folder.reason(), "folder.jpg is a folder");

    std::vector<std::uint8_t> buffer(16);
    const auto read = platform::ReadWholeFile(Path("new.jpg"), buffer);
    ASSERT_TRUE(read && read->identity.known);
    fs::create_hard_link(dir / "new.jpg", dir / "hard.jpg");
    const auto kept = platform::MoveIntoPlace(writeUnnamed(4), Path("hard.jpg"), read->identity);
    EXPECT_EQ(kept.reason(), "hard.jpg is the track being read");
    EXPECT_EQ(Read(Path("new.jpg")), Bytes(3, 2));

    // A link stays, and its file is replaced wherever it is: on another file
    // system (shared memory) where there is one, out of a rename's reach.
    struct stat here {
    }, shm{};
    const bool elsewhere = ::stat(dir.c_str(), &here) == 0 && ::stat("/dev/shm", &shm) == 0 &&
                           here.st_dev != shm.st_dev && ::access("/dev/shm", W_OK) == 0;
    const fs::path real = (elsewhere ? fs::path("/dev/shm") : dir) / dir.filename();
    fs::create_directories(real);
    std::ofstream(real / "picture.png") << "old";
    fs::create_symlink(real / "picture.png", dir / "link.png");
    const auto linked = platform::MoveIntoPlace(writeUnnamed(5), Path("link.png"));
    EXPECT_TRUE(linked) << linked.reason();
    EXPECT_TRUE(fs::is_symlink(dir / "link.png"));
    EXPECT_EQ(Read((real / "picture.png").string()), Bytes(3, 5));
    EXPECT_EQ(Names(real), std::vector<std::string>{"picture.png"});
    fs::remove_all(real);
    EXPECT_EQ(Names(dir),
              (std::vector<std::string>{"folder.jpg", "hard.jpg", "link.png", "new.jpg"}));
}

}  // namespace
