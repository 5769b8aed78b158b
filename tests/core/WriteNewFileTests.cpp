#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/TempDir.h"
#include "core/util/AtomicFile.h"

using namespace tessaly;
namespace fs = std::filesystem;

namespace {

TEST(WriteNewFile, WritesTheFileWithTheUsualPermissions)
{
    test::TempDir dir;
    const mode_t mask = ::umask(022);
    ASSERT_TRUE(WriteNewFile(dir / "a.html", "page", Durability::Unsynced).ok);
    ::umask(mask);
    EXPECT_EQ(test::ReadFile(dir / "a.html"), "page");
    EXPECT_EQ(fs::status(dir / "a.html").permissions(),
        fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);
}

TEST(WriteNewFile, AFileThatCameMeanwhileIsReplacedWhole)
{
    test::TempDir dir;
    test::WriteFile(dir / "a.html", "an older and longer page");
    ASSERT_TRUE(WriteNewFile(dir / "a.html", "page", Durability::Unsynced).ok);
    EXPECT_EQ(test::ReadFile(dir / "a.html"), "page");
}

TEST(UnnamedFile, AppearsWholeWhenNamedAndNotAtAllWhenDropped)
{
    test::TempDir dir;
    const auto entries = [&dir] { return std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()); };
    UnnamedFile page = UnnamedFile::Write(dir.Path(), "page");
    if (!page) {
        GTEST_SKIP() << "this file system keeps no files without a name";
    }
    EXPECT_EQ(entries(), 0);
    ASSERT_TRUE(page.Name(dir / "a.html"));
    EXPECT_EQ(test::ReadFile(dir / "a.html"), "page");

    // A name that is taken stays as it is.
    UnnamedFile late = UnnamedFile::Write(dir.Path(), "late");
    test::WriteFile(dir / "b.html", "first");
    EXPECT_FALSE(late.Name(dir / "b.html"));
    EXPECT_EQ(errno, EEXIST);
    EXPECT_EQ(test::ReadFile(dir / "b.html"), "first");
    { UnnamedFile dropped = UnnamedFile::Write(dir.Path(), "dropped"); }
    EXPECT_EQ(entries(), 2);
}

TEST(WriteNewFile, NeverWritesThroughALink)
{
    test::TempDir dir;
    fs::create_symlink(dir / "target.html", dir / "a.html");
    const FileWriteResult written = WriteNewFile(dir / "a.html", "page", Durability::Unsynced, SymbolicLinks::Refuse);
    EXPECT_EQ(written.failure, WriteFailure::Link);
    EXPECT_FALSE(fs::exists(dir / "target.html"));
}

TEST(WriteNewFile, AFailedWriteLeavesNoFile)
{
    test::TempDir dir;
    // A file size limit makes the write fail; in a child process so that the
    // limit stays there.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4, 4};
        setrlimit(RLIMIT_FSIZE, &limit);
        const FileWriteResult written = WriteNewFile(dir / "a.html", "a longer page", Durability::Unsynced);
        _exit(!written.ok && written.failure == WriteFailure::System && !written.error.empty() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_FALSE(fs::exists(dir / "a.html"));
}

TEST(WriteNewFile, AMissingDirectoryIsASystemFailure)
{
    test::TempDir dir;
    const FileWriteResult written = WriteNewFile(dir / "none" / "a.html", "page", Durability::Unsynced);
    EXPECT_EQ(written.failure, WriteFailure::System);
    EXPECT_NE(written.error.find("a.html"), std::string::npos);
}

} // namespace
