#pragma once

// The bytes of a page in the site's encoding. Pages are assembled in code
// page 932; a UTF-8 site gets them converted, with every charset
// declaration saying UTF-8, so that a host that sends "charset=utf-8" and a
// browser that reads the page from disk agree with the bytes.

#include <string>
#include <string_view>

#include "core/collection/Project.h"

namespace tessaly {

// page: code page 932, as the run writes it (lines ended by CR LF).
std::string EncodePage(std::string page, PageEncoding encoding);

// The charset of every meta element and the encoding of an XML declaration
// set to UTF-8, in whatever case and quoting they were written; a page with
// a head but no declaration gets <meta charset="UTF-8"> at its start.
std::string DeclareUtf8(std::string_view html);

} // namespace tessaly
