#include <gtest/gtest.h>

#include "text/Url.h"

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

} // namespace
