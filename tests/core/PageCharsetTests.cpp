#include <gtest/gtest.h>

#include "core/output/PageCharset.h"
#include "core/text/Codepage.h"

using namespace tessaly;

TEST(PageCharset, EveryDeclarationSaysUtf8)
{
    struct Case {
        std::string_view page;
        std::string_view declared;
    };
    const Case cases[] = {
        {"<HTML><HEAD>\r\n<META http-equiv=\"Content-Type\" content=\"text/html; charset=SHIFT_JIS\">\r\n</HEAD>",
            "<HTML><HEAD>\r\n<META http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">\r\n</HEAD>"},
        {"<head><meta charset='shift_jis'><title>x</title></head>", "<head><meta charset='UTF-8'><title>x</title></head>"},
        {"<head><meta CHARSET = x-sjis /></head>", "<head><meta CHARSET = UTF-8 /></head>"},
        {"<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n<html><head><meta charset=\"Shift_JIS\"></head>",
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<html><head><meta charset=\"UTF-8\"></head>"},
        // No declaration: one is added where the head starts.
        {"<html><head lang=\"ja\"><title>x</title></head>",
            "<html><head lang=\"ja\"><meta charset=\"UTF-8\"><title>x</title></head>"},
        {"<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><html><head></head>",
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?><html><head><meta charset=\"UTF-8\"></head>"},
        // Other meta elements, a header element and text about charsets stay.
        {"<head><meta name=\"description\" content=\"charset=Shift_JIS\"><meta charset=EUC-JP></head><header>charset=x</header>",
            "<head><meta name=\"description\" content=\"charset=UTF-8\"><meta charset=UTF-8></head><header>charset=x</header>"},
        {"<p>no head, charset=Shift_JIS", "<p>no head, charset=Shift_JIS"},
        {"<head><meta charset=", "<head><meta charset=\"UTF-8\"><meta charset="},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DeclareUtf8(c.page), c.declared) << c.page;
    }
}

TEST(PageCharset, Utf8PagesAreConvertedAndShiftJisPagesKept)
{
    const std::string page = SJ("<head><meta charset=\"Shift_JIS\"></head>～リンク集①\r\n");
    EXPECT_EQ(EncodePage(page, PageEncoding::ShiftJis), page);
    EXPECT_EQ(EncodePage(page, PageEncoding::Utf8), "<head><meta charset=\"UTF-8\"></head>～リンク集①\r\n");
}
