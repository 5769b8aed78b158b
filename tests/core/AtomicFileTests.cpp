#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/FileSizeLimit.h"
#include "support/TempDir.h"
#include "core/util/AtomicFile.h"

using namespace tessaly;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> Listing(const fs::path& directory)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Runs body in a child process as an ordinary user when the tests run as
// root, whom permission bits do not stop; its result is the exit status.
bool InChildAsUser(const std::function<bool()>& body)
{
    const pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
            _exit(2);
        }
        _exit(body() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A state directory that any user may write, for the copies that writes in
// place keep.
class StateHome {
public:
    explicit StateHome(const fs::path& path)
    {
        fs::create_directory(path);
        fs::permissions(path, fs::perms(0777));
        setenv("XDG_STATE_HOME", path.c_str(), 1);
    }
    ~StateHome() { unsetenv("XDG_STATE_HOME"); }
    StateHome(const StateHome&) = delete;
    StateHome& operator=(const StateHome&) = delete;
};

TEST(AtomicFile, ReplacesTheFileAndKeepsItsPermissions)
{
    test::TempDir dir;
    test::WriteFile(dir / "a.txt", "old");
    fs::permissions(dir / "a.txt", fs::perms(0640));
    const FileWriteResult written = WriteFileAtomically(dir / "a.txt", "new");
    ASSERT_TRUE(written.ok) << written.error;
    EXPECT_EQ(test::ReadFile(dir / "a.txt"), "new");
    EXPECT_EQ(fs::status(dir / "a.txt").permissions(), fs::perms(0640));
    EXPECT_EQ(Listing(dir.Path()), std::vector<std::string>{"a.txt"});
}

TEST(AtomicFile, RefusesAFileWithoutWritePermission)
{
    test::TempDir dir;
    test::WriteFile(dir / "a.TSP", "old");
    fs::permissions(dir / "a.TSP", fs::perms(0444));
    const FileWriteResult written = WriteFileAtomically(dir / "a.TSP", "new");
    EXPECT_FALSE(written.ok);
    EXPECT_EQ(written.failure, WriteFailure::ReadOnly);
    EXPECT_NE(written.error.find("a.TSP"), std::string::npos);
    EXPECT_EQ(test::ReadFile(dir / "a.TSP"), "old");
    EXPECT_EQ(Listing(dir.Path()), std::vector<std::string>{"a.TSP"});
}

TEST(AtomicFile, SymbolicLinks)
{
    test::TempDir dir;
    fs::create_directory(dir / "real");
    test::WriteFile(dir / "real" / "x", "old");
    fs::create_symlink(dir / "real" / "x", dir / "link");
    fs::create_symlink(dir / "real" / "gone", dir / "dangling");
    fs::create_symlink(dir / "loop", dir / "loop");

    ASSERT_TRUE(WriteFileAtomically(dir / "link", "new").ok);
    EXPECT_TRUE(fs::is_symlink(dir / "link"));
    EXPECT_EQ(test::ReadFile(dir / "real" / "x"), "new");

    for (const char* name : {"dangling", "loop"}) {
        const FileWriteResult written = WriteFileAtomically(dir / name, "data");
        EXPECT_EQ(written.failure, WriteFailure::DanglingLink) << name;
        EXPECT_TRUE(fs::is_symlink(dir / name));
    }
    EXPECT_FALSE(fs::exists(dir / "real" / "gone"));

    const FileWriteResult refused
        = WriteFileAtomically(dir / "link", "page", Durability::Unsynced, SymbolicLinks::Refuse);
    EXPECT_EQ(refused.failure, WriteFailure::Link);
    EXPECT_EQ(test::ReadFile(dir / "real" / "x"), "new");
    EXPECT_EQ(Listing(dir / "real"), std::vector<std::string>{"x"});
}

TEST(AtomicFile, RefusesWhatIsNotARegularFile)
{
    test::TempDir dir;
    ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0666), 0);
    fs::create_directory(dir / "directory");
    for (const char* name : {"fifo", "directory"}) {
        EXPECT_EQ(WriteFileAtomically(dir / name, "data").failure, WriteFailure::NotAFile) << name;
    }
    EXPECT_TRUE(fs::is_fifo(dir / "fifo"));
}

TEST(AtomicFile, WritesInPlaceWhenTheDirectoryTakesNoNewFile)
{
    test::TempDir dir;
    fs::permissions(dir.Path(), fs::perms(0755));
    const StateHome state(dir / "state");
    fs::create_directory(dir / "closed");
    test::WriteFile(dir / "closed" / "open.TSP", "old contents");
    fs::permissions(dir / "closed" / "open.TSP", fs::perms(0666));
    fs::permissions(dir / "closed", fs::perms(0555));
    EXPECT_TRUE(InChildAsUser([&] {
        const FileWriteResult written = WriteFileAtomically(dir / "closed" / "open.TSP", "new");
        return written.ok;
    }));
    EXPECT_EQ(test::ReadFile(dir / "closed" / "open.TSP"), "new");
    // A new file cannot be made there at all.
    EXPECT_TRUE(InChildAsUser([&] {
        const FileWriteResult written = WriteFileAtomically(dir / "closed" / "new.TSP", "new");
        return !written.ok && written.failure == WriteFailure::System;
    }));
    EXPECT_EQ(Listing(dir / "closed"), std::vector<std::string>{"open.TSP"});
    fs::permissions(dir / "closed", fs::perms(0755));
}

// A full disk is a file size limit below the new size. An ignored SIGXFSZ
// makes the write fail; the default one kills the writer as a crash would.
TEST(AtomicFile, AWriteInPlaceNeverLeavesTheFileCutShort)
{
    test::TempDir dir;
    fs::permissions(dir.Path(), fs::perms(0755));
    const StateHome state(dir / "state");
    fs::create_directory(dir / "closed");
    const fs::path file = dir / "closed" / "open.TSP";
    test::WriteFile(file, "old contents");
    fs::permissions(file, fs::perms(0666));
    fs::permissions(dir / "closed", fs::perms(0555));
    const std::string large(1000, 'n');
    const auto crash = [&] {
        const rlimit limit{100, 100};
        setrlimit(RLIMIT_FSIZE, &limit);
        WriteFileAtomically(file, large);
        return true;
    };

    EXPECT_TRUE(InChildAsUser([&] {
        return test::HoldsWithTinyFileSizeLimit(
            [&] { return WriteFileAtomically(file, large).failure == WriteFailure::System; });
    }));
    EXPECT_EQ(test::ReadFile(file), "old contents");
    EXPECT_FALSE(InPlaceWriteCopy(file));

    EXPECT_FALSE(InChildAsUser(crash));
    ASSERT_TRUE(InPlaceWriteCopy(file));
    // The copy may be the only whole version: no write in place replaces it.
    EXPECT_TRUE(InChildAsUser([&] { return WriteFileAtomically(file, "new").failure == WriteFailure::UnsafeInPlace; }));
    test::WriteFile(file, "old con");
    ASSERT_TRUE(RestoreInPlaceWriteCopy(file).ok);
    EXPECT_EQ(test::ReadFile(file), "old contents");
    EXPECT_FALSE(InPlaceWriteCopy(file));

    EXPECT_FALSE(InChildAsUser(crash));
    EXPECT_TRUE(DiscardInPlaceWriteCopy(file));
    EXPECT_FALSE(InPlaceWriteCopy(file));
    EXPECT_TRUE(InChildAsUser([&] { return WriteFileAtomically(file, "new").ok; }));
    EXPECT_EQ(test::ReadFile(file), "new");
    EXPECT_TRUE(Listing(dir / "state" / "tessaly").empty());
    fs::permissions(dir / "closed", fs::perms(0755));
}

TEST(AtomicFile, LeftoversAreRemovedUnlessAWriteHoldsThem)
{
    test::TempDir dir;
    const std::vector<std::string> leftovers{".a.TSP.tessaly-AbC123", ".page.html.tessaly-zzzzzz"};
    for (const std::string& name : leftovers) {
        test::WriteFile(dir / name, "partial");
    }
    // Names near the pattern are somebody else's files.
    const std::vector<std::string> others{"a.TSP", ".a.TSP.tessaly-12345", "a.TSP.tessaly-123456", ".x.tessaly-12345!"};
    for (const std::string& name : others) {
        test::WriteFile(dir / name, "keep");
    }
    test::WriteFile(dir / ".held.tessaly-QQQQQQ", "being written");
    const int held = open((dir / ".held.tessaly-QQQQQQ").c_str(), O_RDONLY);
    ASSERT_EQ(flock(held, LOCK_EX), 0);

    EXPECT_EQ(RemoveLeftoverTemporaryFiles(dir.Path(), "a.TSP"), 1u);
    EXPECT_FALSE(fs::exists(dir / leftovers[0]));
    EXPECT_TRUE(fs::exists(dir / leftovers[1]));
    EXPECT_EQ(RemoveLeftoverTemporaryFiles(dir.Path()), 1u);
    close(held);

    std::vector<std::string> expected = others;
    expected.push_back(".held.tessaly-QQQQQQ");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Listing(dir.Path()), expected);
    EXPECT_TRUE(IsTemporaryFileName(".index.html.tessaly-a1B2c3"));
    EXPECT_FALSE(IsTemporaryFileName(".tessaly-a1B2c3"));
}

TEST(AtomicFile, ReadsOnlyRegularFilesOfBoundedSize)
{
    test::TempDir dir;
    ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0666), 0);
    EXPECT_EQ(ReadWholeFile(dir / "fifo").failure, ReadFailure::NotAFile);
    EXPECT_EQ(ReadWholeFile("/dev/zero").failure, ReadFailure::NotAFile);
    EXPECT_EQ(ReadWholeFile(dir.Path()).failure, ReadFailure::NotAFile);
    EXPECT_EQ(ReadWholeFile(dir / "none").failure, ReadFailure::NotFound);

    test::WriteFile(dir / "ten", "0123456789");
    EXPECT_EQ(ReadWholeFile(dir / "ten", 10).data, "0123456789");
    const FileReadResult large = ReadWholeFile(dir / "ten", 9);
    EXPECT_EQ(large.failure, ReadFailure::TooLarge);
    EXPECT_TRUE(large.data.empty());
}

} // namespace
