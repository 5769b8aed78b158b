// Writes the search page of a small collection into a directory, for the
// browser tests of search_page.py, and fold-check.html: a page that folds
// awkward texts with the search page's script and lists where the result
// differs from the program's fold.
//   site-search-fixture DIR

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "core/collection/LinkItem.h"
#include "core/collection/Project.h"
#include "core/output/Selection.h"
#include "core/site/SearchFold.h"
#include "core/site/SiteSearch.h"
#include "core/text/Codepage.h"

using namespace tessaly;

namespace {

struct FixtureItem {
    const char* genre; // a user genre, or "" for the unfiled genre and "-" for the trash
    const char* title;
    const char* kana;
    const char* author;
    const char* url;
    const char* attributes; // names joined by "/"
    const char* contents;
    const char* comment;
};

const FixtureItem kItems[] = {
    {"音楽", "ピアノ教室", "ぴあのきょうしつ", "山田", "piano.example.jp/", "相互リンク", "日記",
        "<B>ｸﾞﾗﾝﾄﾞ</B>の教室"},
    {"音楽", "ばいおりん工房", "ばいおりんこうぼう", "Ｓｕｚｕｋｉ", "https://violin.example.jp/工房", "おすすめ", "CG",
        ""},
    {"ゲーム<&>", "<img src=x onerror=alert(1)>", "あやしい", "`${alert(1)}`\\", "javascript:alert(1)",
        "相互リンク/おすすめ", "", "<script>alert(2)</script>"},
    {"ゲーム<&>", "ABC Game", "えーびーしーげーむ", "佐藤", "abc.example.jp/game/", "", "日記/CG", "ピアノ演奏つき"},
    {"", "ピアノ未整理", "ぴあのみせいり", "未整理", "unfiled.example.jp/", "", "", ""},
    {"-", "ピアノごみ", "ぴあのごみ", "ごみ", "trash.example.jp/", "", "", ""},
};

// Texts whose folds are easy to get wrong on one side.
const char* const kFoldCases[] = {"ﾋﾟｱﾉ", "ピアノ", "ぴあの", "ＡＢＣ", "Ｈｅｌｌｏ　Ｗｏｒｌｄ", "ｶﾞｷﾞｸﾞｹﾞｺﾞ",
    "ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ", "ヴァイオリン", "ヵヶ", "ヽヾゝゞ", "ヷヸヹヺ", "ｰー", "ﾞﾟ", "゛゜", "か\u3099", "㌔㍻", "①⑳Ⅻⅻ", "ﬁﬀ",
    "Å", "K", "İ", "ΟΔΟΣ Σ ΣΑ", "ß ẞ", "ǅ", "〜～−－‖∥", "＼￥", "¥ ￠ ￡ ￢", "ｱｲｳｴｵ", "㋐㋿", "🎹ピアノ🎹", "ﷺ",
    "a\tb\r\nc", "Straße", "ＫＡＴＡＫＡＮＡ ｶﾀｶﾅ", "ヲ ｦ ン ﾝ", "ゟ ヿ"};

std::string Sjis(const char* utf8)
{
    return Utf8ToSjis(utf8).text;
}

Project FixtureProject()
{
    Project project;
    project.Title = Sjis("テスト<リンク集>");
    project.Attributes = {Sjis("相互リンク"), Sjis("おすすめ"), Sjis("更新停止")};
    project.Contents = {Sjis("日記"), "CG"};
    for (const FixtureItem& fixture : kItems) {
        std::size_t genre = 0;
        if (std::string_view(fixture.genre) == "-") {
            genre = project.TrashIndex();
        } else if (*fixture.genre != '\0') {
            genre = project.FindGenre(Sjis(fixture.genre)).value_or(0);
            if (genre == 0) {
                genre = project.AddGenre(Sjis(fixture.genre));
            }
        }
        TLinkItem item;
        item.Serial = project.NextSerial().value();
        item.GenreName = project.Genres[genre].Name;
        item.Title = Sjis(fixture.title);
        item.TitleKana = Sjis(fixture.kana);
        item.Author = Sjis(fixture.author);
        item.AuthorKana = Sjis("さくしゃ");
        item.Url = Sjis(fixture.url);
        item.Attributes = Sjis(fixture.attributes);
        item.Contents = Sjis(fixture.contents);
        item.Comment = Sjis(fixture.comment);
        project.Genres[genre].Lines.push_back(ItemToLine(item));
    }
    return project;
}

// A JavaScript string of ASCII letters only.
std::string JsString(const std::string& utf8)
{
    std::string text = "\"";
    for (const char16_t unit : Utf8ToUtf16(utf8).value_or(u"")) {
        if (unit >= 0x20 && unit < 0x7F && unit != '"' && unit != '\\' && unit != '<') {
            text += static_cast<char>(unit);
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(unit));
            text += escape;
        }
    }
    return text + "\"";
}

std::string FoldCheckPage()
{
    std::string cases;
    for (const char* text : kFoldCases) {
        cases += "[" + JsString(text) + "," + JsString(FoldForSearch(text)) + "],\n";
    }
    return "<!DOCTYPE html>\n<meta charset=\"UTF-8\">\n<title>fold check</title>\n<pre id=\"result\"></pre>\n"
           "<script src=\"search.js\"></script>\n<script>\nconst cases = [\n"
        + cases
        + "];\nconst wrong = cases.filter(([text, folded]) => TessalySearch.fold(text) !== folded);\n"
          "document.getElementById(\"result\").textContent = wrong.length === 0\n"
          "  ? `${cases.length} agree`\n"
          "  : wrong.map(([text, folded]) => `${JSON.stringify(text)}: program ${JSON.stringify(folded)}, "
          "script ${JSON.stringify(TessalySearch.fold(text))}`).join(\"\\n\");\n</script>\n";
}

bool Write(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: site-search-fixture DIR\n";
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    const Project project = FixtureProject();
    const ItemCatalog catalog(project);
    std::vector<std::string> listingPages;
    for (const ItemCatalog::Entry& entry : catalog.Entries()) {
        listingPages.push_back(Sjis("ジャンル") + std::to_string(entry.genre) + "/pages 2.html");
    }
    std::vector<SiteFile> files = SiteSearchFiles(project, catalog, listingPages);
    files.push_back({"fold-check.html", FoldCheckPage()});
    for (const SiteFile& file : files) {
        if (!Write(dir / file.name, file.bytes)) {
            std::cerr << "site-search-fixture: cannot write " << (dir / file.name).string() << "\n";
            return 1;
        }
    }
    return 0;
}
