#pragma once

// The texts compiled into the program: code page 932 bytes, every line
// ended by CR LF; the site's own files in UTF-8; and its images.

#include <string_view>

namespace tessaly::resources {

extern const std::string_view TEMPLATE_OUTPUTHTML;
extern const std::string_view TEMPLATE_SIMPLEHEADER;
extern const std::string_view TEMPLATE_SIMPLEBODY;
extern const std::string_view TEMPLATE_SIMPLEFOOTER;
extern const std::string_view TEMPLATE_DETAILHEADER;
extern const std::string_view TEMPLATE_DETAILBODY;
extern const std::string_view TEMPLATE_DETAILFOOTER;
// The keyword reference of the template dialog: symbol, place, kind and
// description, separated by tabs.
extern const std::string_view TEMPLATE_KEYWORD;
// The search form builder's script fragment, with %Comment;, %VarName;,
// %FormName;, %InputName; and %TagName; to fill in.
extern const std::string_view TEMPLATE_JAVASCRIPT;

// The site's own search page (with %title;, %index; and %script; to fill
// in) and its script: UTF-8 with LF line ends.
extern const std::string_view SITE_SEARCHPAGE;
extern const std::string_view SITE_SEARCHSCRIPT;

// The program's own banner (88 x 31 GIF), which the built-in page template
// shows from the banner directory under this name.
extern const std::string_view IMAGE_BANNER;
inline constexpr std::string_view kBannerImageName = "tsybanr.gif";

} // namespace tessaly::resources
