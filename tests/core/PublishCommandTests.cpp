#include <gtest/gtest.h>

#include "core/site/PublishCommand.h"
#include "core/text/Codepage.h"
#include "support/TempDir.h"

using namespace tessaly;

namespace {

struct Ran {
    PublishOutcome outcome;
    std::vector<std::string> lines;
};

Ran RunCommand(const std::string& command, const std::filesystem::path& root, std::function<bool()> stop = {})
{
    Ran ran;
    PublishWatch watch;
    watch.line = [&ran](std::string_view line) { ran.lines.emplace_back(line); };
    watch.shouldStop = std::move(stop);
    ran.outcome = RunPublishCommand(Utf8Text(command), root, watch);
    return ran;
}

} // namespace

TEST(PublishCommand, LinesStatusAndRootReachTheCaller)
{
    test::TempDir root;
    struct Case {
        std::string command;
        PublishOutcome::Status status;
        int exitCode;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"printf 'one\\r\\ntwo\\n'; echo three >&2; printf 'no end'", PublishOutcome::Status::Succeeded, 0,
            {"one", "two", "three", "no end"}},
        {"test \"$TESSALY_ROOT\" = \"$(pwd)\" && echo here", PublishOutcome::Status::Succeeded, 0, {"here"}},
        {"read line || echo empty input; exit 3", PublishOutcome::Status::Failed, 3, {"empty input"}},
        {"no-such-program-here 2>/dev/null", PublishOutcome::Status::Failed, 127, {}},
        // Done when the shell is, whatever it left running in the background.
        {"(sleep 2; echo late) & echo launched", PublishOutcome::Status::Succeeded, 0, {"launched"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        const Ran ran = RunCommand(c.command, root.Path());
        EXPECT_EQ(ran.outcome.status, c.status);
        EXPECT_EQ(ran.outcome.exitCode, c.exitCode);
        EXPECT_EQ(ran.lines, c.lines);
    }
    EXPECT_EQ(PublishOutcomeLine(RunCommand("exit 3", root.Path()).outcome).bytes(),
        SJ("エラー\t公開コマンドが失敗しました (終了コード 3)."));
}

TEST(PublishCommand, StoppingEndsTheCommandAndWhatItStarted)
{
    test::TempDir root;
    int asked = 0;
    const Ran ran = RunCommand("sleep 30 & sleep 30; echo never", root.Path(), [&asked] { return ++asked > 2; });
    EXPECT_EQ(ran.outcome.status, PublishOutcome::Status::Stopped);
    EXPECT_TRUE(ran.lines.empty());
}

TEST(PublishCommand, OutputThatIsNotUtf8StillReachesTheLog)
{
    EXPECT_EQ(PublishOutputLine("sent 1 file ①").bytes(), SJ("sent 1 file ①"));
    EXPECT_FALSE(PublishOutputLine("\xff\xfe bytes").bytes().empty());
}
