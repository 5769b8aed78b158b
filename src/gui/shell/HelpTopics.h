#pragma once

// The help page of each dialog: its help button and F1 open it. A topic is
// a page of the help (":/help/TOPIC.html"), optionally with "#ANCHOR".

#include <QLatin1String>

#include <array>

namespace tessaly::help {

inline constexpr QLatin1String kContents("contents");

inline constexpr QLatin1String kProjectOption("HID00000015");
inline constexpr QLatin1String kLinkItem("HID00000023");
inline constexpr QLatin1String kProjectSimple("HID00000026");
inline constexpr QLatin1String kProjectDesign("HID00000027");
inline constexpr QLatin1String kProjectOutput("HID00000029");
inline constexpr QLatin1String kProjectTemplate("HID00000045");
inline constexpr QLatin1String kOptions("HID00000049");
inline constexpr QLatin1String kSearchString("HID00000054");
inline constexpr QLatin1String kSearchDomain("HID00000055");
inline constexpr QLatin1String kSearchProject("HID00000056");
inline constexpr QLatin1String kReplaceDomain("HID00000057");
inline constexpr QLatin1String kNewAttribute("HID00000058");
inline constexpr QLatin1String kLog("HID00000059");

inline constexpr QLatin1String kTemplateEditor("HID00000045#editor");
inline constexpr QLatin1String kHyperlink("resselect");
inline constexpr QLatin1String kLinkCheck("linkcheck");
inline constexpr QLatin1String kDateSelect("dateselect");
inline constexpr QLatin1String kDateList("datelist");
inline constexpr QLatin1String kReadingReview("readingreview");
inline constexpr QLatin1String kSearchData("searchdata");
inline constexpr QLatin1String kSearchForm("searchform");
inline constexpr QLatin1String kCsvQuery("csv");
inline constexpr QLatin1String kNameInput("names");
inline constexpr QLatin1String kAbout("menu-help#MM_About");

inline constexpr std::array kDialogTopics{kProjectOption, kLinkItem, kProjectSimple, kProjectDesign, kProjectOutput,
    kProjectTemplate, kOptions, kSearchString, kSearchDomain, kSearchProject, kReplaceDomain, kNewAttribute, kLog,
    kTemplateEditor, kHyperlink, kLinkCheck, kDateSelect, kDateList, kReadingReview, kSearchData, kSearchForm,
    kCsvQuery, kNameInput, kAbout};

} // namespace tessaly::help
