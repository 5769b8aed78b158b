#pragma once

// The program's own tool bar icons, drawn as vectors so that they stay crisp
// at every size and screen scale.

#include <QIcon>

namespace tessaly {

enum class ProgramIcon {
    NewFile,
    NewItem,
    EditItem,
    Sort,
    SortUp,
    SortDown,
    SortKana,
    ListView,
    ReportView,
    GridLines,
    Mail,
    Browse,
    EraseItem,
    DateSetting,
    SearchString,
    SearchDomain,
    SearchProject,
    SearchAll,
    SearchExit,
    DetailedDesign,
    ItemTemplate, // the template design command
    TemplateBuiltin, // a built-in template in the template list
    TemplateUser, // a template of the project
    ProjectOutput,
    SimpleDesign,
    Directory,
    DesignedDirectory,
};

QIcon DrawnIcon(ProgramIcon icon);

} // namespace tessaly
