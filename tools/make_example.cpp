// Writes examples/links.TSP, a sample link collection, and the designs of its
// site under examples/site, all with the program's own code, so that the
// file always round-trips.

#include <array>
#include <iostream>
#include <string>
#include <vector>

#include "core/collection/CollectionEditing.h"
#include "core/collection/Project.h"
#include "core/collection/ProjectFile.h"
#include "core/collection/ShownItems.h"
#include "core/design/SimpleDesign.h"
#include "core/templates/TemplateEngine.h"
#include "core/text/Codepage.h"
#include "core/text/FieldText.h"
#include "core/text/Paths.h"
#include "core/util/AtomicFile.h"

using namespace tessaly;

namespace {

struct Site {
    const char* title;
    const char* titleKana;
    const char* author;
    const char* authorKana;
    const char* url;
};

struct GenreSample {
    const char* name;
    std::vector<Site> sites;
};

const std::vector<GenreSample> kGenres = {
    {"ゲーム",
        {{"ドット絵工房", "どっとえこうぼう", "佐藤 健", "さとうけん", "dot.example.jp/"},
            {"レトロゲーム博物館", "れとろげえむはくぶつかん", "鈴木 一郎", "すずきいちろう",
                "retro.example.com/museum/"},
            {"RPGツクール研究所", "あるぴいじいつくうるけんきゅうじょ", "高橋 聡", "たかはしさとし",
                "rpg.example.net/"},
            {"シューティング道場", "しゅうてぃんぐどうじょう", "田中 誠", "たなかまこと", "stg.example.jp/dojo/"},
            {"パズルの小部屋", "ぱずるのこべや", "伊藤 美咲", "いとうみさき", "puzzle.example.org/"},
            {"ボードゲーム倶楽部", "ぼおどげえむくらぶ", "渡辺 大輔", "わたなべだいすけ", "board.example.jp/"},
            {"攻略メモ帳", "こうりゃくめもちょう", "山本 翔", "やまもとしょう", "memo.example.com/game/"},
            {"フリーゲーム紹介所", "ふりいげえむしょうかいじょ", "中村 陽子", "なかむらようこ",
                "freegame.example.net/"},
            {"格闘ゲーム研究会", "かくとうげえむけんきゅうかい", "小林 剛", "こばやしつよし", "fight.example.jp/"},
            {"テキストアドベンチャー文庫", "てきすとあどべんちゃあぶんこ", "加藤 恵", "かとうめぐみ",
                "adv.example.org/bunko/"},
            {"ゲーム音楽の部屋", "げえむおんがくのへや", "吉田 拓也", "よしだたくや", "gamemusic.example.jp/"}}},
    {"音楽",
        {{"ピアノの森", "ぴあののもり", "山田 花子", "やまだはなこ", "piano.example.jp/"},
            {"ギター弾き語り日記", "ぎたあひきがたりにっき", "佐々木 亮", "ささきりょう", "guitar.example.com/diary/"},
            {"MIDI工房 ねこのて", "みでぃこうぼうねこのて", "山口 由美", "やまぐちゆみ", "midi.example.net/neko/"},
            {"吹奏楽のすすめ", "すいそうがくのすすめ", "松本 健太", "まつもとけんた", "band.example.jp/"},
            {"ジャズ喫茶ふうせん", "じゃずきっさふうせん", "井上 和也", "いのうえかずや", "jazz.example.org/"},
            {"合唱団こだま", "がっしょうだんこだま", "木村 直子", "きむらなおこ", "kodama.example.jp/choir/"},
            {"作曲講座", "さっきょくこうざ", "林 孝", "はやしたかし", "compose.example.com/"},
            {"民謡の旅", "みんようのたび", "清水 光", "しみずひかる", "minyo.example.net/"},
            {"バイオリン練習帳", "ばいおりんれんしゅうちょう", "山崎 愛", "やまざきあい", "violin.example.jp/"},
            {"オルゴール館", "おるごおるかん", "森 修", "もりおさむ", "orgel.example.org/"},
            {"打ち込み音楽研究室", "うちこみおんがくけんきゅうしつ", "池田 誠", "いけだまこと",
                "dtm.example.jp/lab/"}}},
    {"イラスト",
        {{"水彩画ギャラリー", "すいさいがぎゃらりい", "阿部 桜", "あべさくら", "suisai.example.jp/"},
            {"CGの森", "しいじいのもり", "石川 悠", "いしかわゆう", "cg.example.com/mori/"},
            {"落書き帳", "らくがきちょう", "前田 葵", "まえだあおい", "rakugaki.example.net/"},
            {"猫の絵本", "ねこのえほん", "藤田 茜", "ふじたあかね", "neko.example.jp/ehon/"},
            {"ファンタジー画廊", "ふぁんたじいがろう", "岡田 涼", "おかだりょう", "fantasy.example.org/"},
            {"鉛筆画の部屋", "えんぴつがのへや", "後藤 翼", "ごとうつばさ", "pencil.example.jp/"},
            {"四コマ漫画館", "よんこままんがかん", "長谷川 誠", "はせがわまこと", "4koma.example.com/"},
            {"背景美術研究", "はいけいびじゅつけんきゅう", "村上 蓮", "むらかみれん", "haikei.example.net/"},
            {"ドット絵素材館", "どっとえそざいかん", "近藤 舞", "こんどうまい", "dotsozai.example.jp/"},
            {"色鉛筆日和", "いろえんぴつびより", "坂本 陸", "さかもとりく", "iroen.example.org/"},
            {"メカデザイン工場", "めかでざいんこうじょう", "遠藤 隼", "えんどうはやと", "mecha.example.jp/"}}},
    {"小説",
        {{"夜明けの書架", "よあけのしょか", "青木 玲", "あおきれい", "shoka.example.jp/"},
            {"短編集 風の便り", "たんぺんしゅうかぜのたより", "藤井 悟", "ふじいさとる", "kaze.example.com/"},
            {"推理小説の館", "すいりしょうせつのやかた", "西村 健", "にしむらけん", "suiri.example.net/yakata/"},
            {"ファンタジー文庫", "ふぁんたじいぶんこ", "福田 萌", "ふくだもえ", "fbunko.example.jp/"},
            {"詩と散文", "しとさんぶん", "太田 静", "おおたしずか", "shi.example.org/"},
            {"星屑物語", "ほしくずものがたり", "三浦 光", "みうらひかり", "hoshikuzu.example.jp/"},
            {"時代小説茶屋", "じだいしょうせつちゃや", "藤原 武", "ふじわらたけし", "jidai.example.com/chaya/"},
            {"SF短編倉庫", "えすえふたんぺんそうこ", "岡本 宙", "おかもとそら", "sf.example.net/"},
            {"童話の森", "どうわのもり", "松田 楓", "まつだかえで", "douwa.example.jp/"},
            {"ホラー小説館", "ほらあしょうせつかん", "中川 暗", "なかがわくらし", "horror.example.org/"},
            {"連載小説 海辺の町", "れんさいしょうせつうみべのまち", "中野 渚", "なかのなぎさ", "umibe.example.jp/"}}},
    {"写真",
        {{"四季の風景", "しきのふうけい", "原田 景", "はらだけい", "shiki.example.jp/"},
            {"鉄道写真館", "てつどうしゃしんかん", "小野 駿", "おのしゅん", "tetsu.example.com/"},
            {"花の写真帖", "はなのしゃしんちょう", "田村 花", "たむらはな", "hana.example.net/"},
            {"星空撮影記", "ほしぞらさつえいき", "竹内 昴", "たけうちすばる", "hoshizora.example.jp/"},
            {"猫のいる風景", "ねこのいるふうけい", "金子 環", "かねこたまき", "nekofuukei.example.org/"},
            {"山岳写真集", "さんがくしゃしんしゅう", "和田 岳", "わだがく", "sangaku.example.jp/"},
            {"路地裏散歩", "ろじうらさんぽ", "中山 歩", "なかやまあゆむ", "roji.example.com/"},
            {"海と空", "うみとそら", "石田 凪", "いしだなぎ", "umisora.example.net/"},
            {"昭和の街角", "しょうわのまちかど", "上田 昭", "うえだあきら", "showa.example.jp/"},
            {"野鳥観察日記", "やちょうかんさつにっき", "森田 翔", "もりたかける", "yachou.example.org/"},
            {"モノクロ写真館", "ものくろしゃしんかん", "原 黒", "はらくろ", "mono.example.jp/"}}},
    {"素材・リンク集",
        {{"壁紙素材の泉", "かべがみそざいのいずみ", "柴田 泉", "しばたいずみ", "kabegami.example.jp/"},
            {"アイコン工房", "あいこんこうぼう", "酒井 巧", "さかいたくみ", "icon.example.com/"},
            {"ホームページ作成講座", "ほおむぺえじさくせいこうざ", "工藤 学", "くどうまなぶ", "hpkouza.example.net/"},
            {"個人サイト検索", "こじんさいとけんさく", "横山 索", "よこやまもとむ", "search.example.jp/"},
            {"バナー置き場", "ばなあおきば", "宮崎 旗", "みやざきはた", "banner.example.org/"},
            {"CGI配布所", "しいじいあいはいふじょ", "宮本 信", "みやもとしん", "cgi.example.jp/"},
            {"フォント紹介", "ふぉんとしょうかい", "内田 文", "うちだふみ", "font.example.com/"},
            {"ラインとボタン", "らいんとぼたん", "高木 線", "たかぎせん", "line.example.net/"},
            {"リンク集の作り方", "りんくしゅうのつくりかた", "安藤 繋", "あんどうつなぐ", "howto.example.jp/link/"},
            {"HTMLタグ辞典", "えいちてぃいえむえるたぐじてん", "島田 辞", "しまだつかさ", "tag.example.org/"},
            {"季節のイラスト素材", "きせつのいらすとそざい", "大野 季", "おおのみのる", "kisetsu.example.jp/"}}},
};

const std::array<const char*, 5> kAttributes = {"最新", "相互リンク", "おすすめ", "更新停止", "閉鎖予定"};
const std::array<const char*, 6> kContents = {"CG", "小説", "日記", "掲示板", "チャット", "素材"};

const std::array<const char*, 6> kComments = {
    "毎週更新されている充実したサイトです。",
    "管理人さんの作品がとても丁寧です。\r\n特に<B>最近の作品</B>がおすすめ。",
    "",
    "相互リンクしていただきました。\r\nありがとうございます！",
    "<FONT color=\"#CC0000\">移転しました</FONT>。新しいアドレスに変更済み。",
    "掲示板がにぎやかです。\r\n初めての方も歓迎とのこと。\r\n<I>一見の価値あり</I>",
};

// A template written in UTF-8 here, in the program's code page 932.
TTemplateRec SjisTemplate(const std::array<const char*, 7>& fields)
{
    return {SJ(fields[0]), SJ(fields[1]), SJ(fields[2]), SJ(fields[3]), SJ(fields[4]), SJ(fields[5]), SJ(fields[6])};
}

// The site: a top menu with one directory per genre (the simple design),
// and below the first genre a page of recommended links with its own page
// template and the card item template.
int WriteSiteDesigns(Project project, const std::filesystem::path& site)
{
    std::filesystem::create_directories(site / "templates");
    const std::optional<std::string> root = FromFsPath(std::filesystem::absolute(site).lexically_normal());
    if (!root) {
        std::cerr << "make-example: the site path cannot be written in Shift_JIS\n";
        return 1;
    }
    project.RootDir = *root;
    const TDateTime today = *EncodeDateTime({2004, 4, 1});
    SimpleDesignForm form = InitialSimpleDesign(project, "");
    const char* directories[] = {"game", "music", "illust", "novel", "photo", "material"};
    for (std::size_t i = 0; i < form.rows.size() && i < std::size(directories); ++i) {
        form.rows[i].directory = directories[i];
    }
    form.divisionCount = 5;
    form.column = 3;
    const SimpleDesignResult simple = SaveSimpleDesign(form, project, today);
    if (!simple.ok) {
        std::cerr << "make-example: " << simple.error << '\n';
        return 1;
    }

    TDirectoryDesign picks;
    ResetDesign(picks, {project.DefaultFile, project.SubFile, today});
    picks.dirTitle = SJ("ゲームのおすすめ");
    picks.succession = false;
    picks.html.nameDef = "index.html";
    picks.html.templateDef = "templates/picks.html";
    picks.html.division = false;
    picks.squeeze.genre = SJ("ゲーム");
    picks.squeeze.attrOr = {SJ("おすすめ"), SJ("最新")};
    picks.squeeze.sortBy = 2;
    picks.squeeze.templateName = SJ("カード型");
    picks.parentAdorn = {SJ("［"), SJ("］ ")};
    std::filesystem::create_directories(site / "game" / "picks");
    if (!WriteDesign(project.RootDir + "/game/picks", picks).ok) {
        std::cerr << "make-example: cannot write the design of game/picks\n";
        return 1;
    }
    const std::string pageTemplate
        = SJ("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">\r\n"
             "<HTML>\r\n<HEAD>\r\n"
             "<META http-equiv=\"Content-Type\" content=\"text/html; charset=SHIFT_JIS\">\r\n"
             "<TITLE>%directory; - %project;</TITLE>\r\n</HEAD>\r\n"
             "<BODY bgcolor=\"#FFFFF0\" background=\"%%paper.gif\">\r\n"
             "<H1>%directory;</H1>\r\n"
             "<P>%admin; が選んだ %hits; 件のサイトです（全 %count; 件中）。</P>\r\n"
             "<!--if is hits-->%links;<!--else--><P>まだありません。</P><!--end-->\r\n"
             "<HR>\r\n<P align=right>%returns;</P>\r\n"
             "<ADDRESS><A href=\"mailto:%adminmail;\">%admin;</A></ADDRESS>\r\n"
             "</BODY>\r\n</HTML>\r\n");
    const FileWriteResult written = WriteFileAtomically(site / "templates" / "picks.html", pageTemplate);
    if (!written.ok) {
        std::cerr << "make-example: " << written.error << '\n';
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: make-example OUTPUT.TSP SITE_DIRECTORY\n";
        return 2;
    }
    Project project;
    ShownItems shown(project);
    NewProject(project, shown, nullptr);
    project.Title = SJ("花子のリンク集");
    project.AuthorName = SJ("山田 花子");
    project.AuthorKana = SJ("やまだはなこ");
    project.AuthorMail = "hanako@example.jp";
    project.ParentAnchor = SJ("トップページへ戻る");
    project.ParentPath = "../index.html";
    for (const char* name : kAttributes) {
        project.Attributes.push_back(SJ(name));
    }
    for (const char* name : kContents) {
        project.Contents.push_back(SJ(name));
    }
    project.Templates.push_back(StoredTemplateForm(SjisTemplate({
        "カード型",
        "<DL>\r\n",
        "<DT><A href=\"%url;\" target=\"_blank\">%title;</A><!--if is author--> （%author;）<!--end-->\r\n"
        "<DD><!--if iss favorite--><FONT color=\"#FF6600\">★</FONT><!--end-->"
        "<!--if is comment-->%comment;<!--else-->コメントはありません。<!--end-->\r\n"
        "<!--if is attribute--><BR><SMALL>%attribute;</SMALL><!--end-->\r\n",
        "</DL>\r\n",
        "【",
        "】",
        "",
    })));
    project.Templates.push_back(StoredTemplateForm(SjisTemplate({
        "バナー一覧",
        "<P align=center>\r\n",
        "<!--if is banner--><A href=\"%url;\" target=\"_blank\"><IMG src=\"%banner;\" width=%x; height=%y; "
        "alt=\"%title;\" border=0></A><!--else--><A href=\"%url;\" target=\"_blank\">%title;</A><!--end--> \r\n",
        "</P>\r\n",
        "",
        "",
        "・",
    })));

    int siteNumber = 0;
    for (const GenreSample& sample : kGenres) {
        const std::size_t genre = project.AddGenre(SJ(sample.name));
        shown.SelectGenre(genre);
        shown.Clear();
        for (const Site& site : sample.sites) {
            const int n = siteNumber++;
            TLinkItem item;
            item.GenreName = SJ(sample.name);
            item.Status = n % 9 == 0 ? 1 : (n % 13 == 0 ? 2 : (n % 17 == 0 ? 6 : 0));
            item.Title = SJ(site.title);
            item.TitleKana = SJ(site.titleKana);
            item.Author = SJ(site.author);
            item.AuthorKana = SJ(site.authorKana);
            item.Mail = n % 3 == 0 ? std::string()
                                   : "webmaster@" + std::string(site.url).substr(0, std::string(site.url).find('/'));
            item.Url = site.url;
            if (n % 4 == 0) {
                item.Banner = "%%bn" + std::to_string(n) + ".gif";
                item.BannerX = 88;
                item.BannerY = 31;
            } else if (n % 7 == 0) {
                item.Banner = std::string(site.url) + "banner.gif";
            }
            std::vector<std::string> attributes;
            for (std::size_t a = 0; a < kAttributes.size(); ++a) {
                if ((n + static_cast<int>(a) * 3) % 5 == 0) {
                    attributes.push_back(SJ(kAttributes[a]));
                }
            }
            std::vector<std::string> contents;
            for (std::size_t c = 0; c < kContents.size(); ++c) {
                if ((n * 7 + static_cast<int>(c) * 5) % 6 < 2) {
                    contents.push_back(SJ(kContents[c]));
                }
            }
            item.Attributes = TagList(attributes);
            item.Contents = TagList(contents);
            DateParts date{2001, 4, 1};
            date.Hour = n % 10 == 5 ? 21 : 0;
            date.Minute = n % 10 == 5 ? 30 : 0;
            item.Date = TDateTime{EncodeDateTime(date)->Value + n * 17.0};
            item.Comment = SJ(kComments[static_cast<std::size_t>(n) % kComments.size()]);
            shown.AddItemRecord(item);
        }
        shown.FlushGenre();
    }

    // A few links not filed yet.
    shown.SelectGenre(0);
    shown.Clear();
    const std::array<Site, 3> unfiled = {{{"気になるサイト", "きになるさいと", "不明", "ふめい", "unknown.example.jp/"},
        {"あとで見る", "あとでみる", "管理人", "かんりにん", "later.example.com/"},
        {"旅の記録", "たびのきろく", "旅人", "たびびと", "tabi.example.net/"}}};
    for (const Site& site : unfiled) {
        TLinkItem item;
        item.Title = SJ(site.title);
        item.TitleKana = SJ(site.titleKana);
        item.Author = SJ(site.author);
        item.AuthorKana = SJ(site.authorKana);
        item.Url = site.url;
        item.Date = *EncodeDateTime({2004, 3, 1});
        shown.AddItemRecord(item);
    }
    shown.FlushGenre();

    // Every sample item must survive reading, or the file would lose it.
    for (const Genre& genre : project.Genres) {
        for (const std::string& line : genre.Lines) {
            if (!IsValidItemLine(line)) {
                std::cerr << "make-example: invalid sample item: " << SjisToUtf8Lossy(line) << '\n';
                return 1;
            }
        }
    }

    const SaveOutcome saved = SaveProjectFile(project, argv[1]);
    if (!saved.ok) {
        std::cerr << "make-example: " << saved.error << '\n';
        return 1;
    }
    return WriteSiteDesigns(project, argv[2]);
}
