#include "support/SampleSite.h"

#include "core/collection/LinkItem.h"
#include "core/templates/TemplateEngine.h"
#include "core/text/Codepage.h"

namespace tessaly::test {

namespace {

TLinkItem Item(int serial, const std::string& genre, const std::string& title, const std::string& kana)
{
    TLinkItem item;
    item.Serial = serial;
    item.GenreName = genre;
    item.Title = title;
    item.TitleKana = kana;
    item.Author = SJ("作者") + std::to_string(serial % 3);
    item.AuthorKana = SJ("さくしゃ");
    item.Url = "site" + std::to_string(serial) + ".example.jp/";
    item.Date = *EncodeDateTime({2003, 5, 1 + serial % 28});
    if (serial % 5 == 0) {
        item.Banner = "%%bn" + std::to_string(serial) + ".gif";
        item.BannerX = 88;
        item.BannerY = 31;
    }
    if (serial % 4 == 0) {
        item.Attributes = SJ("おすすめ");
        item.Status = 1;
    }
    if (serial % 7 == 0) {
        item.Comment = SJ("一行目\r\n<B>二行目</B>");
    }
    if (serial % 9 == 0) { // stored with its own scheme
        item.Url = "https://secure" + std::to_string(serial) + ".example.jp/";
    }
    if (serial == 45) {
        item.Banner = "https://img.example.jp/bn45.gif";
    }
    return item;
}

} // namespace

Project SampleSiteProject(const std::string& root)
{
    Project project;
    project.Title = SJ("テストのリンク集");
    project.AuthorName = SJ("管理人");
    project.AuthorKana = SJ("かんりにん");
    project.AuthorMail = "admin@example.jp";
    project.RootDir = root;
    project.BannerDir = root + "img";
    project.ParentPath = root + "../home.html";
    project.ParentAnchor = SJ("ホーム");
    const std::string kana[] = {SJ("あ"), SJ("か"), SJ("さ"), SJ("た"), SJ("な")};
    const std::size_t many = project.AddGenre(SJ("多い"));
    for (int i = 1; i <= 45; ++i) {
        project.Genres[many].Lines.push_back(
            ItemToLine(Item(i, SJ("多い"), "Site " + std::to_string(i), kana[i % 5] + SJ("い"))));
    }
    const std::size_t few = project.AddGenre("Few & <Small>");
    for (int i = 46; i <= 48; ++i) {
        project.Genres[few].Lines.push_back(ItemToLine(Item(i, "Few & <Small>", "Few " + std::to_string(i), SJ("ふ"))));
    }
    project.Templates.push_back(StoredTemplateForm({SJ("カード"), "<DL>\r\n",
        "<DT>%serial; <A href=\"%url;\">%title;</A><!--if iss favorite--> *<!--end-->\r\n"
        "<DD><!--if is comment-->%comment;<!--else-->-<!--end--> \r\n\r\n",
        "</DL>\r\n", "{", "}", "|"}));
    project.SerialMax = 48;
    return project;
}

} // namespace tessaly::test
