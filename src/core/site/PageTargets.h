#pragma once

// The addresses a page refers to, found in its HTML without building the
// document: the link and image attributes of its start tags, read as the
// tokenizer of the HTML standard reads them (comments, the raw text of
// script and style, quoted and unquoted values, character references).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

enum class TargetKind { Link, Image };

struct PageTarget {
    std::string address; // UTF-8, character references decoded
    TargetKind kind = TargetKind::Link;

    friend bool operator==(const PageTarget&, const PageTarget&) = default;
};

struct PageTargets {
    std::vector<PageTarget> targets; // in the order of the page
    // The href of the page's first <base> (UTF-8), against which the other
    // addresses resolve.
    std::optional<std::string> base;
};

// Links: href of a, area and link; src of script, iframe, frame, embed,
// audio, video, track and source; data of object. Images: src and srcset of
// img, src of an image input, srcset of source, poster of video, and the
// background of any element. Of an attribute given twice, the first counts.
//
// html: the page as stored. It is UTF-8 when it begins with a UTF-8 byte
// order mark or a <meta> charset or http-equiv Content-Type says so, and
// Shift_JIS (code page 932) otherwise; its addresses are converted from it.
PageTargets FindPageTargets(std::string_view html);

} // namespace tessaly
