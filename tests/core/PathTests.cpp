#include <gtest/gtest.h>

#include "support/ScriptedMessages.h"
#include "support/TempDir.h"
#include "core/text/Codepage.h"
#include "core/text/Paths.h"

using namespace tessaly;

namespace {

TEST(IsValidFileName, RefusesTheTenCharactersWithOneMessage)
{
    test::ScriptedMessages messages;
    EXPECT_TRUE(IsValidFileName("index.html", true, messages));
    EXPECT_TRUE(IsValidFileName(SJ("表示.html"), true, messages)); // trail byte 0x5C is not "\"
    EXPECT_TRUE(messages.shown.empty());

    EXPECT_FALSE(IsValidFileName("a;b.html", true, messages));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.beeps, 1);
    EXPECT_EQ(messages.shown[0].kind, MessageKind::Error);
    EXPECT_EQ(messages.shown[0].buttons.Bits(), MessageButtons(MessageButton::Retry).Bits());
    EXPECT_EQ(messages.shown[0].text, SJ("ファイル名に次の文字は使えません.\r\n\r\n") + "\\ / : ; * ? \" < > | ");

    EXPECT_FALSE(IsValidFileName("a|b", false, messages));
    EXPECT_EQ(messages.beeps, 1);
    for (const char* bad : {"a\\b", "a/b", "c:", "*", "?", "\"", "<", ">"}) {
        EXPECT_FALSE(HasOnlyFileNameCharacters(bad)) << bad;
    }
}

struct LinkCase {
    const char* base;
    const char* target;
    const char* link;
};

class RelativeLinks : public ::testing::TestWithParam<LinkCase> { };

TEST_P(RelativeLinks, FromDirectoryToTarget)
{
    EXPECT_EQ(RelativeLink(GetParam().base, GetParam().target), GetParam().link);
}

INSTANTIATE_TEST_SUITE_P(Paths, RelativeLinks,
    ::testing::Values(LinkCase{"/site/a", "/site/a/", "./"}, LinkCase{"/site/a/", "/site/a/", "./"},
        LinkCase{"/site/a", "/site/a/index.html", "index.html"},
        LinkCase{"/site/a/b", "/site/index.html", "../../index.html"}, LinkCase{"/site/a", "/site/c/d/", "../c/d/"},
        LinkCase{"/site", "/other/x.gif", "../other/x.gif"}, LinkCase{"/site/a", "C:\\web\\x.html", "C:/web/x.html"},
        LinkCase{"/site/a", "img/x.gif", "img/x.gif"}, LinkCase{"/site/Site", "/site/site/x", "../site/x"}));

TEST(ResolveRelative, WalksUpAndDown)
{
    EXPECT_EQ(ResolveRelative("/site/a/b", "../c/x.html"), "/site/a/c/x.html");
    EXPECT_EQ(ResolveRelative("/site/a/b/", "../../x"), "/site/x");
    EXPECT_EQ(ResolveRelative("/site", "./x"), "/site/x");
    EXPECT_EQ(ResolveRelative("/site", "x\\y"), "/site/x/y");
    EXPECT_EQ(ResolveRelative("/site", "/abs/x"), "/abs/x");
    EXPECT_EQ(ResolveRelative("/site", "C:\\x"), "C:/x");
    EXPECT_EQ(ResolveRelative("/a", "../../x"), "/x");
}

TEST(LongPathName, CanonicalSpellingOfExistingPaths)
{
    test::TempDir dir;
    std::filesystem::create_directories(dir / "real" / "sub");
    std::filesystem::create_directory_symlink(dir / "real", dir / "link");
    const std::string base = *FromFsPath(std::filesystem::canonical(dir.Path()));
    EXPECT_EQ(LongPathName(*FromFsPath(dir / "link" / "sub")), base + "/real/sub/");
    EXPECT_EQ(LongPathName(*FromFsPath(dir / "link" / ".." / "real" / "x.html")), base + "/real/x.html");
    EXPECT_EQ(LongPathName(""), "");
}

TEST(FsPath, ConvertsNamesAtTheBoundary)
{
    const auto path = ToFsPath(SJ("/site/表示"));
    ASSERT_TRUE(path.has_value());
    EXPECT_EQ(path->string(), "/site/表示");
    EXPECT_EQ(FromFsPath(*path), SJ("/site/表示"));
    EXPECT_FALSE(FromFsPath("/site/😀").has_value());
    EXPECT_FALSE(ToFsPath("\x82").has_value());
}

} // namespace
