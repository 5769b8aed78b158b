#include <gtest/gtest.h>

#include "core/output/PagePlan.h"
#include "core/text/Codepage.h"

using namespace tessaly;

namespace {

TDirectoryDesign Design(bool linkOutputs, bool division, int32_t perPage, const char* nameSub)
{
    TDirectoryDesign design;
    design.linkOutputs = linkOutputs;
    design.html.nameDef = "index.html";
    design.html.nameSub = nameSub;
    design.html.division = division;
    design.html.divisionCount = perPage;
    return design;
}

// The rows as "name first last" lines, in UTF-8 for readable failures.
std::string Rows(const std::vector<PageRow>& rows)
{
    std::string text;
    for (const PageRow& row : rows) {
        text += SjisToUtf8Lossy(row.fileName + " " + row.first + " " + row.last) + "\n";
    }
    return text;
}

TEST(PagePlan, PagesFollowTheDesignAndTheHits)
{
    const struct {
        TDirectoryDesign design;
        std::size_t hits;
        const char* rows;
    } cases[] = {
        {Design(false, true, 20, "sub.html"), 45, "index.html  \n"},
        {Design(true, false, 20, "sub.html"), 45, "index.html 最初 最後\n"},
        {Design(true, true, 20, "sub.html"), 0, ""},
        {Design(true, true, 20, "sub.html"), 20, "index.html 最初 最後\n"},
        {Design(true, true, 20, "sub.html"), 45, "index.html 最初 20\nsub002.html 21 40\nsub003.html 41 最後\n"},
        {Design(true, true, 20, "sub"), 21, "index.html 最初 20\nsub002 21 最後\n"},
        {Design(true, true, 20, "a.b.htm"), 21, "index.html 最初 20\na.b002.htm 21 最後\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.design.html.nameSub + " " + std::to_string(c.hits));
        EXPECT_EQ(Rows(PlanPages(c.design, c.hits)), c.rows);
    }
}

TEST(PagePlan, PagesPastTheThreeDigitsKeepCounting)
{
    const std::vector<PageRow> rows = PlanPages(Design(true, true, 1, "sub.html"), 1000);
    ASSERT_EQ(rows.size(), 1000u);
    EXPECT_EQ(rows[998].fileName, "sub999.html");
    EXPECT_EQ(rows[999].fileName, "sub1000.html");
}

TEST(SurplusRule, OnlyUnplannedSubPagesUnderANumberThePlanWrites)
{
    const struct {
        const char* nameSub;
        const char* file;
        bool surplus;
    } cases[] = {
        {"sub.html", "sub003.html", true},
        {"sub.html", "sub000.html", true},
        {"sub.html", "sub1000.html", true},
        {"sub.html", "sub002.html", false}, // planned
        {"sub.html", "index.html", false},
        {"Sub.html", "Sub004.html", false}, // planned as sub004.html: one file where case is ignored
        {"sub.html", "sub0100.html", false},
        {"sub.html", "sub01.html", false},
        {"sub.html", "sub00a.html", false},
        {"sub.html", "sub003.htm", false},
        {"sub.html", "sub003.HTML", false},
        {"sub.html", "sub003", false},
        {"sub.html", "other003.html", false},
        {"sub", "sub003", true},
        {"sub", "sub003.html", false},
    };
    std::vector<PageRow> rows(3);
    rows[0].fileName = "index.html";
    rows[1].fileName = "sub002.html";
    rows[2].fileName = "sub004.html";
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.nameSub) + " " + c.file);
        THtmlDesign html;
        html.nameSub = c.nameSub;
        EXPECT_EQ(SurplusRule(html, rows).IsSurplus(c.file), c.surplus);
    }
}

} // namespace
