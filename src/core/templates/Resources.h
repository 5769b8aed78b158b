#pragma once

// The texts compiled into the program: code page 932 bytes, every line
// ended by CR LF; and its images.

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

// The program's own banner (88 x 31 GIF), which the built-in page template
// shows from the banner directory under this name.
extern const std::string_view IMAGE_BANNER;
inline constexpr std::string_view kBannerImageName = "tsybanr.gif";

} // namespace tessaly::resources
