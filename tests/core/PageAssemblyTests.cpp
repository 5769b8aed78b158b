#include <gtest/gtest.h>

#include <cstdio>

#include <jpeglib.h>

#include "core/collection/Project.h"
#include "core/output/PageAssembly.h"
#include "support/TempDir.h"
#include "core/text/Codepage.h"
#include "core/text/Paths.h"

using namespace tessaly;

namespace {

TSubLinks SevenLinks(uint8_t direction)
{
    TSubLinks links;
    for (int i = 1; i <= 7; ++i) {
        links.links.push_back("c" + std::to_string(i) + "/t" + std::to_string(i) + ".html");
    }
    links.column = 3;
    links.direction = direction;
    return links;
}

// The captions in each inner table, in order.
std::vector<std::string> Columns(const std::string& table)
{
    std::vector<std::string> columns;
    std::size_t pos = 0;
    while ((pos = table.find("<TD valign=top width=", pos)) != std::string::npos) {
        const std::size_t end = table.find("\t\t</TD>", pos);
        std::string captions;
        for (std::size_t c = table.find(">c", pos); c < end; c = table.find(">c", c + 1)) {
            captions += table.substr(c + 2, 1);
        }
        columns.push_back(captions);
        pos = end;
    }
    return columns;
}

TEST(DirectoryLinks, DistributionWidthsAndMarks)
{
    const std::string down = BuildDirectoryLinks(SevenLinks(0));
    EXPECT_EQ(Columns(down), (std::vector<std::string>{"123", "45", "67"}));
    EXPECT_NE(down.find("width=\"33%\""), std::string::npos);
    EXPECT_NE(down.find("width=\"34%\""), std::string::npos);
    EXPECT_EQ(Columns(BuildDirectoryLinks(SevenLinks(1))), (std::vector<std::string>{"147", "25", "36"}));

    TSubLinks one;
    one.links = {"Top&amp;/a&sl;b.html"};
    one.column = 1;
    one.width = "80%";
    EXPECT_EQ(BuildDirectoryLinks(one),
        "<TABLE border=0 width=\"80%\" cellspacing=0 cellpadding=0>\r\n"
        "\t<TR>\r\n"
        "\t\t<TD valign=top width=\"100%\">\r\n"
        "\t\t\t<TABLE border=0 cellspacing=4 cellpadding=0>\r\n"
        "\t\t\t\t<TR><TD align=right nowrap><B>1.</B></TD><TD nowrap><B>"
        "<A href=\"a/b.html\">Top&</A></B></TD>\r\n"
        "\t\t\t</TABLE>\r\n"
        "\t\t</TD>\r\n"
        "</TABLE>\r\n");
    one.width = "500";
    one.style = 2;
    one.image = "i.gif";
    one.imageWidth = 9;
    one.imageHeight = 8;
    const std::string image = BuildDirectoryLinks(one);
    EXPECT_NE(image.find("<TABLE border=0 width=500 cellspacing"), std::string::npos);
    EXPECT_NE(
        image.find("<IMG alt=\"\" src=\"i.gif\" width=9 height=8 border=0 hspace=0 vspace=0>"), std::string::npos);
}

TEST(PageBars, LinkEveryPageButTheCurrentOne)
{
    const auto bar = [](const PageBars& bars, std::size_t page) {
        std::string out = "x";
        bars.AppendTo(out, page);
        return out;
    };
    EXPECT_EQ(bar(PageBars({"index.html"}), 0), "x");
    const PageBars bars({"index.html", "pages002.html", "pages003.html"});
    EXPECT_EQ(bar(bars, 1),
        "x<P align=center>\r\n\t[<B><A href=\"index.html\">1</A></B>] [<B>2</B>] "
        "[<B><A href=\"pages003.html\">3</A></B>]\r\n</P>\r\n");
    EXPECT_EQ(bar(bars, 0),
        "x<P align=center>\r\n\t[<B>1</B>] [<B><A href=\"pages002.html\">2</A></B>] "
        "[<B><A href=\"pages003.html\">3</A></B>]\r\n</P>\r\n");
    EXPECT_EQ(bar(bars, 2),
        "x<P align=center>\r\n\t[<B><A href=\"index.html\">1</A></B>] [<B><A href=\"pages002.html\">2</A></B>] "
        "[<B>3</B>]\r\n</P>\r\n");
}

TEST(RewriteLocalReferences, OnlyUrlAttributesOfKnownTags)
{
    EXPECT_EQ(RewriteLocalReferences("<IMG src=\"%%b.gif\" alt=x>", "/site/a/", "../img/"),
        "<IMG src=\"../img/b.gif\" alt=x>");
    EXPECT_EQ(RewriteLocalReferences("<img  SRC=%%b.gif>", "/site/a/", "../"), "<img SRC=../b.gif>");
    EXPECT_EQ(
        RewriteLocalReferences("<IMG src=\"http://x/%%b.gif\">", "/site/", "./"), "<IMG src=\"http://x/%%b.gif\">");
    EXPECT_EQ(RewriteLocalReferences("<P class=\"%%x\">", "/site/", "./"), "<P class=\"%%x\">");
    EXPECT_EQ(RewriteLocalReferences("<A href=\"C:\\web\\a.html\">", "/site/", "./"), "<A href=\"C:/web/a.html\">");
    EXPECT_EQ(RewriteLocalReferences("<BODY background='%%bg.gif'>x<TD background=%%c.gif>", "/s/", "i/"),
        "<BODY background='i/bg.gif'>x<TD background=i/c.gif>");
    EXPECT_EQ(RewriteLocalReferences("a < b <IMG src=%%x>", "/s/", "p/"), "a < b <IMG src=%%x>");
    EXPECT_EQ(RewriteLocalReferences("<IMG src=%%x", "/s/", "p/"), "<IMG src=%%x");
    EXPECT_EQ(RewriteLocalReferences("<IMG>%%<A>", "/s/", "p/"), "<IMG>%%<A>");
}

TEST(PageKeywords, RangeAndCounts)
{
    Project project;
    project.Title = "P";
    project.AuthorName = "N";
    TDirectoryDesign design;
    design.dirTitle = "D";
    TextToKanaRange(SJ("か-こ"), design.squeeze.titleRange);
    TSqueeze range = design.squeeze;
    std::string text = "%directory;|%project;|%admin;|%count;|%hits;|%titlerange;|%authorrange;|%begin;-%end;";
    ReplacePageKeywords(text, {project, design, 10, 45, range});
    EXPECT_EQ(text, "D|P|N|10|45|" + SJ("か-こ") + "||1-45");
    for (const auto& [mode, expected] :
        std::vector<std::pair<uint8_t, std::string>>{{1, "21-40"}, {2, "21-40"}, {3, "21-45"}, {4, "1-40"}}) {
        range.rangeMode = mode;
        range.rangeStart = 21;
        range.rangeEnd = 40;
        text = "%begin;-%end;";
        ReplacePageKeywords(text, {project, design, 10, 45, range});
        EXPECT_EQ(text, expected) << int(mode);
    }
}

void WriteJpeg(const std::filesystem::path& path, int width, int height)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 1;
    info.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(width), 128);
    while (info.next_scanline < info.image_height) {
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(file);
}

TEST(ReadImageSize, GifHeaderAndJpeg)
{
    test::TempDir dir;
    test::WriteFile(dir / "b.GIF", std::string("GIF89a\x58\x00\x1F\x00", 10));
    WriteJpeg(dir / "p.jpeg", 33, 17);
    test::WriteFile(dir / "bad.jpg", "not a jpeg at all");
    test::WriteFile(dir / "x.png", "GIF89a\x58\x00\x1F\x00");
    const std::string base = *FromFsPath(dir.Path()) + "/";
    EXPECT_EQ(ReadImageSize(base + "b.GIF"), std::make_pair(88, 31));
    EXPECT_EQ(ReadImageSize(base + "p.jpeg"), std::make_pair(33, 17));
    EXPECT_EQ(ReadImageSize(base + "bad.jpg"), std::make_pair(0, 0));
    EXPECT_EQ(ReadImageSize(base + "x.png"), std::make_pair(0, 0));
    EXPECT_EQ(ReadImageSize(base + "missing.gif"), std::make_pair(0, 0));
}

} // namespace
