#pragma once

// The file in which a template's header, body and footer are edited with an
// external text editor: four comment lines, then each part below its marker
// line. Reading it back goes by the marker lines alone.

#include <string>
#include <string_view>

namespace tessaly {

struct TemplateTexts {
    std::string Header;
    std::string Body;
    std::string Footer;

    friend bool operator==(const TemplateTexts&, const TemplateTexts&) = default;
};

// The name of the file (the directory is the caller's choice).
inline constexpr std::string_view kTemplateEditFileName = "~TSYTEMP.HTML";

// The marker lines, code page 932.
const std::string& TemplateHeaderMarker();
const std::string& TemplateBodyMarker();
const std::string& TemplateFooterMarker();

// The file's bytes: every line ended by CR LF. A part contributes its lines
// as SplitLines finds them, so a final line break adds no empty line.
std::string TemplateEditFileText(const TemplateTexts& texts, std::string_view applicationTitle);

// The parts back. A line equal byte for byte to a marker starts that part
// (again, when it comes twice); any other line belongs to the part started
// last, or is dropped before the first marker. Lines may end with CR LF,
// LF or CR; each line comes back followed by CR LF, so a part that ended
// with a line break comes back as it was and one that did not gains one.
TemplateTexts ReadTemplateEditFile(std::string_view bytes);

// The file as a text editor of this system gets it: UTF-8, as every editor
// here writes by default.
std::string TemplateEditFileUtf8(const TemplateTexts& texts, std::string_view applicationTitle);

// The parts back from a file an editor saved: UTF-8 (or code page 932, for
// an editor told to keep that). A character code page 932 lacks gives no
// parts at all, only that character, so nothing half-converted is stored.
struct EditedTemplate {
    bool ok = false;
    TemplateTexts texts;
    std::string badCharacter; // UTF-8, when not ok
};
EditedTemplate ReadEditedTemplateFile(std::string_view bytes);

} // namespace tessaly
