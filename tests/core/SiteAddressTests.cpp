#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "core/site/SiteAddress.h"

using namespace tessaly;

namespace {

TEST(SiteAddress, TypedAddressesBecomeBasesOrAreRefused)
{
    const struct {
        const char* typed;
        std::optional<std::string> base;
    } cases[] = {
        // Taken, in plain ASCII and with a final "/".
        {"http://example.jp", "http://example.jp/"},
        {"https://example.jp/links", "https://example.jp/links/"},
        {" \tHTTPS://Example.JP:8443/a/b/ \n", "https://example.jp:8443/a/b/"},
        {"http://[::1]:8080/x/", "http://[::1]:8080/x/"},
        {"http://日本.example/リンク", "http://xn--wgv71a.example/%E3%83%AA%E3%83%B3%E3%82%AF/"},
        {"http://example.jp/~hanako/%7Eb/", "http://example.jp/~hanako/%7Eb/"},
        // Refused: no such address,
        {"", std::nullopt},
        {"example.jp/", std::nullopt},
        {"ftp://example.jp/", std::nullopt},
        {"javascript:alert(1)//", std::nullopt},
        {"http://", std::nullopt},
        {"http:///links/", std::nullopt},
        // a part a base has no use for or that hides the host,
        {"http://user:pw@example.jp/", std::nullopt},
        {"http://user@example.jp/", std::nullopt},
        {"http://example.jp/?page=1", std::nullopt},
        {"http://example.jp/#top", std::nullopt},
        {"http://example.jp:0/", std::nullopt},
        {"http://example.jp:65536/", std::nullopt},
        {"http://example.jp:/", std::nullopt},
        // characters no address holds,
        {"http://exa mple.jp/", std::nullopt},
        {"http://example.jp/a b/", std::nullopt},
        {"http://example.jp/\"><script>/", std::nullopt},
        {"http://example.jp/a\\b/", std::nullopt},
        {"http://example.jp/\x01/", std::nullopt},
        {"http://example.jp/100%/", std::nullopt},
        {"http://a..b/", std::nullopt},
        {"http://[::1/", std::nullopt},
        // or bytes that are not UTF-8.
        {"http://example.jp/\x82\xA0/", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SiteBaseUrl(c.typed), c.base) << c.typed;
    }
}

TEST(SiteAddress, PathOfABase)
{
    EXPECT_EQ(BaseUrlPath("https://example.jp/"), "/");
    EXPECT_EQ(BaseUrlPath("http://example.jp:8080/~hanako/links/"), "/~hanako/links/");
}

} // namespace
