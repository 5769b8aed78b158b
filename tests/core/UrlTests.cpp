#include <gtest/gtest.h>

#include "core/text/Url.h"

using namespace tessaly;

namespace {

struct UrlCase {
    const char* stored;
    const char* full;
    const char* host;
};

TEST(Url, SchemesAreKeptAndHostsBeginAfterThem)
{
    const UrlCase cases[] = {
        {"example.jp/page.html", "http://example.jp/page.html", "example.jp/"},
        {"https://example.jp/", "https://example.jp/", "example.jp/"},
        {"HTTPS://Example.JP/a/b", "HTTPS://Example.JP/a/b", "Example.JP/"},
        {"ftp://files.example/x", "ftp://files.example/x", "files.example/"},
        {"svn+ssh://a.example/r", "svn+ssh://a.example/r", "a.example/"},
        {"https://example.jp", "https://example.jp", ""}, // no "/" after the host
        {"nohost", "http://nohost", ""},
        {"", "http://", ""},
        {"1http://x.example/", "http://1http://x.example/", "1http:/"}, // a scheme begins with a letter
        {"http:/x.example/", "http://http:/x.example/", "http:/"},
        {"a b://x/", "http://a b://x/", "a b:/"},
    };
    for (const UrlCase& c : cases) {
        EXPECT_EQ(FullUrl(c.stored), c.full) << c.stored;
        EXPECT_EQ(UrlHostPart(c.stored), c.host) << c.stored;
    }
}

TEST(Url, TypedAddressesLoseOnlyHttpOrMailto)
{
    EXPECT_EQ(StripUrlScheme("http://a.jp/"), "a.jp/");
    EXPECT_EQ(StripUrlScheme("HTTP://a.jp/"), "a.jp/");
    EXPECT_EQ(StripUrlScheme("mailto:x@y"), "x@y");
    EXPECT_EQ(StripUrlScheme("mailto:http://x"), "http://x"); // one prefix at most
    EXPECT_EQ(StripUrlScheme("https://a.jp/"), "https://a.jp/");
}

// Addresses from other people's files and from web servers end up in
// href="..." of the owner's pages.
TEST(Url, AddressesFromOutsideAreMadeSafeOrRefused)
{
    const std::vector<std::pair<std::string, std::optional<std::string>>> cases = {
        {"http://a.jp/x", "a.jp/x"},
        {"HTTPS://a.jp/", "https://a.jp/"},
        {"a.jp/x?q=1&r=2#top", "a.jp/x?q=1&r=2#top"},
        {"a.jp:8080/x", "a.jp:8080/x"},
        {"localhost:8080", "localhost:8080"},
        {"http://a.jp/\"onmouseover=alert(1)", "a.jp/%22onmouseover=alert(1)"},
        {"http://a.jp/<script>'`x y\t\x7F", "a.jp/%3Cscript%3E%27%60x%20y%09%7F"},
        {"http://a.jp/\x82\xA0", "a.jp/\x82\xA0"}, // code page 932 text stays
        {"http://mailto:x@host.example/", "host.example/"},
        {"https://user:pw@a.jp/p@q", "https://a.jp/p@q"},
        {"x@a.jp/", "a.jp/"},
        {"http://evil.example\\@a.jp/", "evil.example\\@a.jp/"},
        // A "%" that starts no escape would be a keyword of the pages.
        {"http://a.jp/%20%e3/%comment;%", "a.jp/%20%e3/%25comment;%25"},
        {"javascript:alert(1)", std::nullopt},
        {"JavaScript://%0Aalert(1)", std::nullopt},
        {"mailto:x@a.jp", std::nullopt},
        {"data:text/html,<b>", std::nullopt},
        {"ftp://a.jp/", std::nullopt},
        {"http:a.jp", std::nullopt},
        {"http://", std::nullopt},
        {"http://user@/x", std::nullopt},
        {"/relative", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [url, stored] : cases) {
        EXPECT_EQ(SafeStoredUrl(url), stored) << url;
    }
}

TEST(Url, HostsInOtherLettersBothWays)
{
    EXPECT_EQ(WithAsciiHost("http://\xE6\x97\xA5\xE6\x9C\xAC.example/\xE6\x97\xA5"),
        "http://xn--wgv71a.example/\xE6\x97\xA5");
    EXPECT_EQ(WithAsciiHost("http://a.jp/"), "http://a.jp/");
    EXPECT_EQ(WithAsciiHost("http://a\xE2\x80\x8D.jp/"), std::nullopt); // a zero width joiner alone
    EXPECT_EQ(WithUnicodeHost("http://u@XN--WGV71A.example:81/x"), "http://u@\xE6\x97\xA5\xE6\x9C\xAC.example:81/x");
    EXPECT_EQ(WithUnicodeHost("http://xn--broken-.jp/"), "http://xn--broken-.jp/");
}

} // namespace
