#include "LargeCollection.h"

#include <array>
#include <iostream>
#include <string>

#include "core/collection/LinkItem.h"
#include "core/design/SimpleDesign.h"
#include "core/text/Paths.h"
#include "core/text/Codepage.h"
#include "core/text/FieldText.h"

namespace tessaly::bench {

namespace {

const std::array<const char*, 8> kWords = {"森", "海辺", "星空", "工房", "図書館", "散歩道", "音楽室", "画廊"};
const std::array<const char*, 8> kKana
    = {"もり", "うみべ", "ほしぞら", "こうぼう", "としょかん", "さんぽみち", "おんがくしつ", "がろう"};
const std::array<const char*, 6> kAuthors = {"山田", "佐藤", "鈴木", "高橋", "田中", "伊藤"};
const std::array<const char*, 6> kAuthorKana = {"やまだ", "さとう", "すずき", "たかはし", "たなか", "いとう"};

} // namespace

Project MakeLargeCollection(std::size_t itemCount, std::size_t genreCount)
{
    Project project;
    project.Title = SJ("大きなリンク集");
    for (std::size_t g = 0; g < genreCount; ++g) {
        project.AddGenre(SJ("ジャンル") + std::to_string(g + 1));
    }
    for (const char* name : {"最新", "相互リンク", "おすすめ", "更新停止"}) {
        project.Attributes.push_back(SJ(name));
    }
    for (const char* name : {"CG", "小説", "日記", "掲示板", "素材"}) {
        project.Contents.push_back(SJ(name));
    }
    const TDateTime firstDate = *EncodeDateTime({2000, 1, 1});
    for (std::size_t i = 0; i < itemCount; ++i) {
        const std::size_t genre = 1 + i % genreCount;
        TLinkItem item;
        item.Serial = project.NextSerial().value();
        item.GenreName = project.Genres[genre].Name;
        item.Status = static_cast<int32_t>(i % 7);
        const std::size_t w = i % kWords.size();
        const std::size_t a = (i / 7) % kAuthors.size();
        item.Title = SJ(kWords[w]) + SJ("の") + SJ(kWords[(i / 8) % kWords.size()]) + " " + std::to_string(i);
        item.TitleKana = SJ(kKana[w]) + SJ("の") + SJ(kKana[(i / 8) % kKana.size()]);
        item.Author = SJ(kAuthors[a]) + SJ("さん");
        item.AuthorKana = SJ(kAuthorKana[a]) + SJ("さん");
        item.Mail = "user" + std::to_string(i) + "@example.jp";
        item.Url = "www" + std::to_string(i % 50) + ".example.jp/~user" + std::to_string(i) + "/index.html";
        if (i % 3 == 0) {
            item.Banner = "%%banner" + std::to_string(i) + ".gif";
            item.BannerX = 88;
            item.BannerY = 31;
        }
        item.Attributes = i % 4 == 0 ? EscapeField(project.Attributes[i % 4]) : std::string();
        item.Contents = EscapeField(project.Contents[i % 5]);
        if (i % 2 == 0) {
            item.Contents.append("/").append(EscapeField(project.Contents[(i + 1) % 5]));
        }
        item.Date = TDateTime{firstDate.Value + static_cast<double>(i % 5000)};
        item.Comment = SJ("更新が楽しみなサイトです。\r\n<B>おすすめ</B>の作品がたくさんあります。");
        project.Genres[genre].Lines.push_back(ItemToLine(item));
    }
    return project;
}

bool MakeLargeSite(Project& project, const std::filesystem::path& root, TDateTime today)
{
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root);
    project.RootDir = FromFsPath(std::filesystem::absolute(root)).value_or(std::string()) + "/";
    if (!SaveSimpleDesign(InitialSimpleDesign(project), project, today).ok) {
        std::cerr << "cannot write the simple design\n";
        return false;
    }
    return true;
}

Project LargeCollectionOfArguments(int argc, char** argv)
{
    const std::size_t items = argc > 1 ? std::stoul(argv[1]) : 100'000;
    const std::size_t genres = argc > 2 ? std::stoul(argv[2]) : 100;
    std::cout << items << " items in " << genres << " genres:\n";
    return MakeLargeCollection(items, genres);
}

} // namespace tessaly::bench
