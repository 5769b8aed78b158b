#include <gtest/gtest.h>

#include <cstdlib>

#include "core/collection/Project.h"
#include "core/design/SimpleDesign.h"
#include "core/output/OutputRun.h"
#include "core/output/PageCharset.h"
#include "core/output/PageProbe.h"
#include "core/output/RootPage.h"
#include "support/FileSizeLimit.h"
#include "support/SampleSite.h"
#include "support/TempDir.h"
#include "core/templates/Resources.h"
#include "core/templates/TemplateEngine.h"
#include "core/text/Codepage.h"
#include "core/text/FieldText.h"
#include "core/text/Paths.h"
#include "core/text/Strings.h"

using namespace tessaly;
namespace fs = std::filesystem;

namespace {

const fs::path kExpected = fs::path(TESSALY_TEST_DATA_DIR) / "site";

// A small site: a simple design over two genres (45 and 3 items) and one
// deeper directory that narrows by attribute with its own page and item
// templates.
class SiteFixture {
public:
    SiteFixture()
    {
        root = *FromFsPath(dir.Path()) + "/";
        fs::create_directories(dir / "img");
        project = test::SampleSiteProject(root);

        SimpleDesignForm form = InitialSimpleDesign(project);
        EXPECT_TRUE(SaveSimpleDesign(form, project, today.Today()).ok);

        fs::create_directories(dir / "genre001" / "best");
        TDirectoryDesign best;
        ResetDesign(best, {project.DefaultFile, project.SubFile, today.Today()});
        best.dirTitle = SJ("おすすめ");
        best.succession = false;
        best.html.nameDef = "best.html";
        best.html.templateDef = "page.tpl";
        best.html.division = false;
        best.squeeze.attrAnd = {SJ("おすすめ")};
        best.squeeze.sortBy = 2;
        best.squeeze.templateName = SJ("カード");
        best.parentAdorn = {"[", "]"};
        EXPECT_TRUE(WriteDesign(root + "genre001/best", best).ok);
        test::WriteFile(dir / "page.tpl",
            "<HTML><TITLE>%directory; (%hits;)</TITLE>\n<BODY background=\"%%bg.gif\">\n"
            "<!--if at root-->root<!--else-->not root<!--end-->\n%returns;\n%links;\n</BODY></HTML>\n");
        // The banner directory is never part of the site, design or not.
        EXPECT_TRUE(WriteDesign(root + "img", best).ok);
    }

    OutputResult Run()
    {
        OutputObserver quiet;
        return RunOutput(project, root, today, quiet);
    }

    std::vector<fs::path> Pages() const
    {
        std::vector<fs::path> pages;
        for (const auto& entry : fs::recursive_directory_iterator(dir.Path())) {
            if (entry.path().extension() == ".html") {
                pages.push_back(fs::relative(entry.path(), dir.Path()));
            }
        }
        std::sort(pages.begin(), pages.end());
        return pages;
    }

    test::TempDir dir;
    std::string root;
    Project project;
    FixedClock today{*EncodeDateTime({2026, 12, 8, 10, 20, 30})};
};

TEST(OutputRun, WritesTheExpectedPagesByteForByte)
{
    SiteFixture site;
    const OutputResult result = site.Run();
    ASSERT_EQ(result.status, OutputResult::Status::Finished) << result.error;
    EXPECT_EQ(result.counts.processed, 6);
    EXPECT_EQ(result.counts.created, 6);

    const std::vector<fs::path> pages = site.Pages();
    const std::vector<fs::path> expected = {"genre001/best/best.html", "genre001/index.html", "genre001/pages002.html",
        "genre001/pages003.html", "genre002/index.html", "index.html"};
    EXPECT_EQ(pages, expected);
    for (const fs::path& page : pages) {
        const std::string written = test::ReadFile(site.dir / page);
        if (std::getenv("TESSALY_UPDATE_EXPECTED") != nullptr) {
            fs::create_directories((kExpected / page).parent_path());
            test::WriteFile(kExpected / page, written);
        }
        EXPECT_EQ(written, test::ReadFile(kExpected / page)) << page;
    }
    EXPECT_EQ(result.log.front().bytes(), SJ("開始\t") + "2026/12/08 10:20:30");
    EXPECT_EQ(result.log.back().bytes(), SJ("   0 個の余剰HTMLを削除しました."));
}

TEST(OutputRun, SecondRunSkipsEveryPageAndTouchesNothing)
{
    SiteFixture site;
    ASSERT_EQ(site.Run().counts.created, 6);
    std::map<fs::path, fs::file_time_type> stamps;
    for (const fs::path& page : site.Pages()) {
        fs::last_write_time(site.dir / page, fs::file_time_type::clock::now() - std::chrono::hours(1));
        stamps[page] = fs::last_write_time(site.dir / page);
    }
    const OutputResult again = site.Run();
    EXPECT_EQ(again.counts.skipped, 6);
    EXPECT_EQ(again.counts.created + again.counts.updated + again.counts.deleted, 0);
    for (const auto& [page, stamp] : stamps) {
        EXPECT_EQ(fs::last_write_time(site.dir / page), stamp) << page;
    }
}

TEST(OutputRun, FewerHitsDeleteTheSurplusPagesOnly)
{
    SiteFixture site;
    site.Run();
    for (const char* name : {"pages007.html", "pages01.html", "pages0001.html", "pagesabc.html", "pages004.htm"}) {
        test::WriteFile(site.dir / "genre001" / name, "old");
    }
    std::vector<std::string>& lines = site.project.Genres[1].Lines;
    lines.resize(25);
    const OutputResult result = site.Run();
    EXPECT_EQ(result.counts.deleted, 2); // pages003.html and pages007.html
    EXPECT_FALSE(fs::exists(site.dir / "genre001" / "pages003.html"));
    EXPECT_FALSE(fs::exists(site.dir / "genre001" / "pages007.html"));
    for (const char* kept : {"pages002.html", "pages01.html", "pages0001.html", "pagesabc.html", "pages004.htm"}) {
        EXPECT_TRUE(fs::exists(site.dir / "genre001" / kept)) << kept;
    }
}

TEST(OutputRun, SubNameWithoutExtension)
{
    SiteFixture site;
    SimpleDesignForm form = InitialSimpleDesign(site.project);
    form.nameSub = "more";
    ASSERT_TRUE(SaveSimpleDesign(form, site.project, site.today.Today()).ok);
    test::WriteFile(site.dir / "genre001" / "more009", "old");
    test::WriteFile(site.dir / "genre001" / "more009.html", "old");
    site.Run();
    EXPECT_TRUE(fs::exists(site.dir / "genre001" / "more002"));
    EXPECT_TRUE(fs::exists(site.dir / "genre001" / "more003"));
    EXPECT_FALSE(fs::exists(site.dir / "genre001" / "more009"));
    EXPECT_TRUE(fs::exists(site.dir / "genre001" / "more009.html"));
}

TEST(OutputRun, MissingPageTemplateIsLoggedAndTheBuiltInUsed)
{
    SiteFixture site;
    fs::remove(site.dir / "page.tpl");
    const OutputResult result = site.Run();
    ASSERT_EQ(result.status, OutputResult::Status::Finished);
    const auto warning
        = std::find(result.log.begin(), result.log.end(), SjisText(SJ("警告\t") + site.root + "genre001/best/"));
    ASSERT_NE(warning, result.log.end());
    EXPECT_EQ((warning + 1)->bytes(), SJ("\tテンプレートが見付かりません."));
    EXPECT_NE(test::ReadFile(site.dir / "genre001" / "best" / "best.html").find("<!DOCTYPE"), std::string::npos);
}

// Files a Linux editor wrote: UTF-8 with Japanese text and a character
// that Shift_JIS lacks.
TEST(OutputRun, TemplatesAndDesignsInUtf8AreConvertedAndSaidOnce)
{
    SiteFixture site;
    test::WriteFile(site.dir / "page.tpl", "<TITLE>リンク集😀 %directory;</TITLE>\n%links;\n");
    const fs::path design = site.dir / "genre001" / "best" / "_design.tsd";
    test::WriteFile(design, SjisToUtf8(test::ReadFile(design)).text);
    const OutputResult result = site.Run();
    ASSERT_EQ(result.status, OutputResult::Status::Finished);
    EXPECT_TRUE(test::ReadFile(site.dir / "genre001" / "best" / "best.html")
                    .starts_with(SJ("<TITLE>リンク集 おすすめ</TITLE>")));
    const std::string converted = SJ(" は UTF-8 で書かれているため、Shift_JIS に変換して読みました.");
    for (const std::string& note :
        {"\t" + site.root + "page.tpl" + converted + SJ(" Shift_JIS にない文字は除きました: U+1F600"),
            "\t" + site.root + "genre001/best/_design.tsd" + converted}) {
        EXPECT_EQ(std::count(result.log.begin(), result.log.end(), SjisText(note)), 1) << SjisToUtf8Lossy(note);
    }
}

// The built-in page template shows the program's banner, which is written
// where it is missing and never over a user's file.
TEST(OutputRun, TheProgramsBannerIsWrittenOnlyWhereThereIsNone)
{
    SiteFixture site;
    const fs::path banner = site.dir / "img" / "tsybanr.gif";
    ASSERT_EQ(site.Run().status, OutputResult::Status::Finished);
    EXPECT_EQ(test::ReadFile(banner), resources::IMAGE_BANNER);
    EXPECT_TRUE(resources::IMAGE_BANNER.starts_with("GIF89a"));
    test::WriteFile(banner, "mine");
    ASSERT_EQ(site.Run().status, OutputResult::Status::Finished);
    EXPECT_EQ(test::ReadFile(banner), "mine");
    fs::remove(banner);
    fs::create_symlink("elsewhere.gif", banner);
    ASSERT_EQ(site.Run().status, OutputResult::Status::Finished);
    EXPECT_FALSE(fs::exists(site.dir / "img" / "elsewhere.gif"));
}

TEST(OutputRun, EveryLinksKeywordOfATemplateGetsTheSameLinks)
{
    SiteFixture site;
    test::WriteFile(site.dir / "page.tpl", "<P>%links;</P>\n<HR>\n<P>%links;</P>\n%links\n");
    ASSERT_EQ(site.Run().status, OutputResult::Status::Finished);
    const std::string page = test::ReadFile(site.dir / "genre001" / "best" / "best.html");
    const std::size_t rule = page.find("<HR>");
    ASSERT_NE(rule, std::string::npos);
    const std::string before = page.substr(0, rule);
    const std::string after = page.substr(rule + 6);
    EXPECT_NE(before.find("<A href="), std::string::npos) << page;
    EXPECT_EQ(after, before + "%links\r\n");
}

class AbortAt final : public OutputObserver {
public:
    explicit AbortAt(int check)
        : abortAt_(check)
    {
    }
    bool ShouldAbort() override { return ++checks_ >= abortAt_; }
    void PageDone(std::size_t, PageState) override { ++pages; }
    int pages = 0;

private:
    int abortAt_;
    int checks_ = 0;
};

TEST(OutputRun, AbortStopsAtOnceAndKeepsWrittenPages)
{
    SiteFixture site;
    AbortAt observer(3);
    const OutputResult result = RunOutput(site.project, site.root, site.today, observer);
    EXPECT_EQ(result.status, OutputResult::Status::Aborted);
    EXPECT_EQ(observer.pages, 1);
    EXPECT_TRUE(fs::exists(site.dir / "index.html"));
    EXPECT_EQ(result.log.size(), 2u); // no end lines
}

TEST(OutputRun, FileSystemErrorEndsTheRun)
{
    SiteFixture site;
    // A file size limit makes every page write fail.
    EXPECT_TRUE(test::HoldsWithTinyFileSizeLimit([&site] {
        const OutputResult result = site.Run();
        return result.status == OutputResult::Status::Failed && !result.error.empty();
    }));
}

TEST(OutputRun, PageTextIsWrittenAsCrLfLines)
{
    EXPECT_EQ(PageFileText("a\nb\r\nc\rd"), "a\r\nb\r\nc\r\nd\r\n");
    EXPECT_EQ(PageFileText("a\r\n\r\n"), "a\r\n\r\n");
    EXPECT_EQ(PageFileText(""), "");
    // Line ends at every place in and across eight-byte steps: a page
    // already in CR LF lines comes back as it is, any other is mended.
    const auto mended = [](std::string_view text) {
        std::string lines;
        for (const std::string_view line : SplitLines(text)) {
            lines.append(line);
            lines += "\r\n";
        }
        return lines;
    };
    for (std::size_t at = 0; at < 20; ++at) {
        for (const std::string_view end : {"\r\n", "\n", "\r", "\n\r", "\r\r\n", "\r\n\n"}) {
            const std::string text = std::string(at, 'x') + std::string(end) + std::string(17, 'y') + "\r\n";
            EXPECT_EQ(PageFileText(text), mended(text)) << at << " " << testing::PrintToString(std::string(end));
        }
    }
}

} // namespace

namespace {

TEST(OutputRun, FindRootPageSaysWhyThereIsNone)
{
    Project project;
    const DesignDefaults defaults;
    EXPECT_NE(
        FindRootPage(project, defaults).message.find(SJ("ルートディレクトリが設定されていません")), std::string::npos);
    SiteFixture site;
    test::WriteFile(site.dir / "_design.tsd", "");
    fs::remove(site.dir / "_design.tsd");
    EXPECT_NE(FindRootPage(site.project, defaults).message.find(SJ("設計が為されていません")), std::string::npos);
    SimpleDesignForm form = InitialSimpleDesign(site.project);
    ASSERT_TRUE(SaveSimpleDesign(form, site.project, site.today.Today()).ok);
    EXPECT_EQ(FindRootPage(site.project, defaults).message, SJ("デフォルトHTMLファイルが見付かりません."));
    site.Run();
    EXPECT_EQ(FindRootPage(site.project, defaults).page, site.root + "index.html");
}

} // namespace

// A site for today's hosts: UTF-8 pages that are the classic pages
// converted, the site's own files at the root, and a second run that
// leaves every file alone.
TEST(OutputRun, Utf8PagesAndTheSiteFilesAreWrittenOnceThenLeftAlone)
{
    SiteFixture site;
    site.project.Publishing = {PageEncoding::Utf8, true, 10, true, "https://example.jp/~hanako/", ""};
    const OutputResult first = site.Run();
    ASSERT_EQ(first.status, OutputResult::Status::Finished) << first.error;
    EXPECT_EQ(first.counts.created, 6);
    for (const fs::path& page : site.Pages()) {
        if (page != "search.html") {
            EXPECT_EQ(test::ReadFile(site.dir / page), DeclareUtf8(SjisToUtf8Lossy(test::ReadFile(kExpected / page))))
                << page;
        }
    }
    for (const char* name : {"search.html", "feed.xml", "sitemap.xml"}) {
        EXPECT_TRUE(fs::is_regular_file(site.dir / name)) << name;
    }
    const OutputResult again = site.Run();
    EXPECT_EQ(again.counts.skipped, 6);
    EXPECT_EQ(again.counts.created + again.counts.updated, 0);
    int siteFiles = 0;
    for (const SjisText& line : again.log) {
        if (line.bytes().starts_with(SJ("サイト\t"))) {
            EXPECT_TRUE(line.bytes().ends_with(SJ(" は更新の必要がないのでスキップしました."))) << ToUtf8(line);
            ++siteFiles;
        }
    }
    EXPECT_EQ(siteFiles, 5);

    // Turned off, the program's files go; an owner's file of such a name stays.
    test::WriteFile(site.dir / "sitemap.xml", "<urlset/>\n");
    site.project.Publishing = {};
    site.Run();
    for (const char* name : {"search.html", "search.js", "search-index.js", "feed.xml"}) {
        EXPECT_FALSE(fs::exists(site.dir / name)) << name;
    }
    EXPECT_EQ(test::ReadFile(site.dir / "sitemap.xml"), "<urlset/>\n");
}

// Without the site's address the feed and the sitemap cannot name their
// pages: the log says so and nothing is written.
TEST(OutputRun, FeedAndSitemapNeedTheSitesAddress)
{
    SiteFixture site;
    site.project.Publishing.feedCount = 10;
    site.project.Publishing.sitemap = true;
    const OutputResult result = site.Run();
    EXPECT_FALSE(fs::exists(site.dir / "feed.xml"));
    EXPECT_FALSE(fs::exists(site.dir / "sitemap.xml"));
    EXPECT_NE(std::find(result.log.begin(), result.log.end(),
                  SjisText(SJ("警告\tサイトのアドレスが設定されていないため、フィードとサイトマップを書き込みませんでした."))),
        result.log.end());
}
