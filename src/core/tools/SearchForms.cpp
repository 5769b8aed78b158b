#include "core/tools/SearchForms.h"

#include <algorithm>
#include <vector>

#include "core/collection/Project.h"
#include "core/templates/Resources.h"
#include "core/text/Codepage.h"
#include "core/text/Html.h"
#include "core/text/Sjis.h"
#include "core/text/Strings.h"

namespace tessaly {

namespace {

// The opening of a FORM up to its name: the search page takes GET in UTF-8
// whatever the method set for the script.
struct FormDestination {
    std::string action;
    std::string method;
    std::string charset; // an attribute with its leading blank, or empty
};

// Of FormElementSettings or ScriptedMatrixSettings.
template <typename Settings> FormDestination Destination(const Settings& settings)
{
    if (settings.target == FormTarget::SearchPage) {
        return {settings.pathToSearchPage, "GET", " accept-charset=\"UTF-8\""};
    }
    return {settings.pathToCgi, settings.method, ""};
}

std::string SizeAttribute(std::string_view name, int entry, int step)
{
    return entry > 0 ? " " + std::string(name) + "=" + std::to_string(entry * step) : std::string();
}

const std::string& SubmitButtons()
{
    return SJ("\t<INPUT type=submit value=\"検索\"><INPUT type=reset value=\"クリア\"><BR>\r\n");
}

const std::string& JcodeField()
{
    return SJ("\t<INPUT type=hidden name=JCODE value=\"日本語\">\r\n");
}

std::vector<std::string> EscapedNames(const std::vector<std::string>& names)
{
    std::vector<std::string> escaped;
    escaped.reserve(names.size());
    for (const std::string& name : names) {
        escaped.push_back(HtmlEscape(name));
    }
    return escaped;
}

std::vector<std::string> EscapedUserGenres(const Project& project)
{
    std::vector<std::string> names;
    for (std::size_t g = 1; g < project.TrashIndex(); ++g) {
        names.push_back(HtmlEscape(project.Genres[g].Name));
    }
    return names;
}

std::string OptionLines(const std::vector<std::string>& names)
{
    std::string html;
    for (const std::string& name : names) {
        html += "\t\t<OPTION value=\"" + name + "\">" + name + "\r\n";
    }
    return html;
}

std::string InputLines(std::string_view type, std::string_view field, const std::vector<std::string>& names)
{
    std::string html;
    for (const std::string& name : names) {
        html += "\t<INPUT type=" + std::string(type) + " name=" + std::string(field) + " value=\"" + name + "\">" + name
            + "<BR>\r\n";
    }
    return html;
}

std::string MultipleSelect(std::string_view field, int sizeEntry, const std::vector<std::string>& names)
{
    return "\t<SELECT name=" + std::string(field) + " multiple" + SizeAttribute("size", sizeEntry, kRowsStep) + ">\r\n"
        + OptionLines(names) + "\t</SELECT>\r\n";
}

struct TrialFieldText {
    const char* name;
    const char* label;
};

constexpr std::array<TrialFieldText, kTrialFieldCount> kTrialFields{
    {{"TITLE", "タイトル"}, {"TITLEKANA", "タイトル(かな)"}, {"AUTHOR", "作者名"}, {"AUTHORKANA", "作者名(かな)"},
        {"ATTRIBUTE", "アトリビュート"}, {"CONTENTS", "コンテンツ"}, {"COMMENT", "コメント"}}};

std::string TrialFields(const StringSearchSettings& settings)
{
    std::string html;
    std::string always;
    for (std::size_t i = 0; i < kTrialFieldCount; ++i) {
        const TrialFieldText& field = kTrialFields[i];
        if (settings.trials[i] == TrialChoice::Visitor) {
            html += "\t<INPUT type=checkbox name=TRIAL value=" + std::string(field.name) + " checked>" + SJ(field.label)
                + "<BR>\r\n";
        } else if (settings.trials[i] == TrialChoice::Always) {
            always += always.empty() ? field.name : "|" + std::string(field.name);
        }
    }
    if (!always.empty()) {
        html += "\t<INPUT type=hidden name=TRIAL value=\"" + always + "\">\r\n";
    }
    return html;
}

// One vocabulary of the scripted form: its names and how the form and the
// script call them.
struct MatrixPart {
    std::vector<std::string> names; // HTML-escaped
    const char* label; // "アトリビュート"
    const char* variable; // the script's variable prefix
    const char* input; // "ATTR": the hidden fields ANDATTR, ORATTR, NOTATTR
    const char* tag; // "Attribute": the markers AttributeStart, AttributeEnd
};

std::string ScriptPart(const MatrixPart& part, const std::string& formName)
{
    std::string script(resources::TEMPLATE_JAVASCRIPT);
    script = sjis::ReplaceAll(script, "%Comment;", SJ(part.label));
    script = sjis::ReplaceAll(script, "%VarName;", part.variable);
    script = sjis::ReplaceAll(script, "%FormName;", formName);
    script = sjis::ReplaceAll(script, "%InputName;", part.input);
    return sjis::ReplaceAll(script, "%TagName;", part.tag);
}

// The rows of selection lists, columns per row; rows are opened with <TR>
// and never closed, and the last one is filled up with empty cells.
std::string MatrixBlock(const MatrixPart& part, int columns)
{
    const auto cols = static_cast<std::size_t>(columns);
    std::string html = "\t\t<TR>\r\n\t\t\t<TD colspan=" + std::to_string(columns) + "><B>" + SJ(part.label)
        + SJ("論理演算") + "</B><BR></TD>\r\n";
    for (const char* operation : {"AND", "OR", "NOT"}) {
        html += "\t\t\t<INPUT type=hidden name=" + std::string(operation) + part.input + " value=\"\">\r\n";
    }
    html += "\t\t\t<INPUT type=hidden name=TSYOSSTAG value=" + std::string(part.tag) + "Start>\r\n";
    for (std::size_t i = 0; i < part.names.size(); ++i) {
        if (i % cols == 0) {
            html += "\t\t<TR>\r\n";
        }
        const std::string& name = part.names[i];
        html += "\t\t\t<TD><SELECT name=\"" + name + "\"><OPTION selected><OPTION>AND<OPTION>OR<OPTION>NOT</SELECT>"
            + name + "</TD>\r\n";
    }
    if (part.names.size() % cols != 0) {
        html += RepeatText("\t\t\t<TD></TD>\r\n", static_cast<int>(cols - part.names.size() % cols));
    }
    html += "\t\t\t<INPUT type=hidden name=TSYOSSTAG value=" + std::string(part.tag) + "End>\r\n";
    return html;
}

std::string ScriptedMatrixCheck(const Project& project, const ScriptedMatrixSettings& settings)
{
    if (Trim(Destination(settings).action).empty()) {
        return settings.target == FormTarget::SearchPage ? SJ("検索ページへのパスは必須です")
                                                         : SJ("tsyoss.cgi へのパスは必須です");
    }
    if (Trim(settings.formName).empty()) {
        return SJ("フォーム識別名は必須です");
    }
    if (settings.names != MatrixNames::Contents && project.Attributes.empty()) {
        return SJ("アトリビュートがひとつも設定されていません.");
    }
    if (settings.names != MatrixNames::Attributes && project.Contents.empty()) {
        return SJ("コンテンツがひとつも設定されていません.");
    }
    return {};
}

} // namespace

std::string FormElementHtml(const FormElementSettings& settings)
{
    const FormDestination destination = Destination(settings);
    std::string html
        = "<FORM action=\"" + destination.action + "\" method=\"" + destination.method + "\"" + destination.charset;
    if (!settings.formName.empty()) {
        html += " name=\"" + std::string(Trim(settings.formName)) + "\"";
    }
    html += ">\r\n" + JcodeField();
    if (settings.lumpRangeEntry > 0) {
        html
            += "\t<INPUT type=hidden name=RANGE value=" + std::to_string(settings.lumpRangeEntry * kHitsStep) + ">\r\n";
    }
    html += SJ("\t<!-- ここにその他のフォームを記入します -->\r\n") + SubmitButtons() + "</FORM>\r\n";
    return html;
}

std::string StringSearchHtml(const StringSearchSettings& settings)
{
    std::string html = "\t<INPUT type=text name=TOKEN" + SizeAttribute("size", settings.formSizeEntry, kColumnsStep)
        + SizeAttribute("maxlength", settings.maxLengthEntry, kColumnsStep) + "><BR>\r\n";
    const bool narrowed = std::any_of(settings.trials.begin(), settings.trials.end(),
        [](TrialChoice choice) { return choice != TrialChoice::Always; });
    if (settings.trial && narrowed) {
        html += TrialFields(settings);
    }
    return html;
}

ChoiceElement EffectiveGenreElement(GenreOperation operation, ChoiceElement element)
{
    const ChoiceElement refused
        = operation == GenreOperation::Single ? ChoiceElement::CheckBoxes : ChoiceElement::RadioButtons;
    return element == refused ? ChoiceElement::Select : element;
}

bool GenreSizeApplies(GenreOperation operation, ChoiceElement element)
{
    return operation == GenreOperation::Or && EffectiveGenreElement(operation, element) == ChoiceElement::Select;
}

std::string GenreFormHtml(const Project& project, const GenreFormSettings& settings)
{
    const std::vector<std::string> genres = EscapedUserGenres(project);
    if (genres.empty()) {
        return {};
    }
    const ChoiceElement element = EffectiveGenreElement(settings.operation, settings.element);
    if (settings.operation == GenreOperation::Or) {
        return element == ChoiceElement::Select ? MultipleSelect("GENRE", settings.sizeEntry, genres)
                                                : InputLines("checkbox", "GENRE", genres);
    }
    if (element == ChoiceElement::RadioButtons) {
        return SJ("\t<INPUT type=radio name=GENRE value=\"\" checked>(無指定)<BR>\r\n")
            + InputLines("radio", "GENRE", genres);
    }
    return SJ("\t<SELECT name=GENRE>\r\n\t\t<OPTION value=\"\">(無指定)\r\n") + OptionLines(genres) + "\t</SELECT>\r\n";
}

std::string MatrixFormHtml(const Project& project, const MatrixFormSettings& settings)
{
    const bool contents = settings.names == MatrixNames::Contents;
    const std::vector<std::string> names = EscapedNames(contents ? project.Contents : project.Attributes);
    if (names.empty()) {
        return {};
    }
    static constexpr std::array<const char*, 3> kOperations{"AND", "OR", "NOT"};
    const std::string field
        = kOperations.at(static_cast<std::size_t>(settings.operation)) + std::string(contents ? "CONT" : "ATTR");
    return settings.element == ChoiceElement::CheckBoxes ? InputLines("checkbox", field, names)
                                                         : MultipleSelect(field, settings.sizeEntry, names);
}

ScriptedMatrixResult ScriptedMatrixFormHtml(const Project& project, const ScriptedMatrixSettings& settings)
{
    ScriptedMatrixResult result;
    result.warning = ScriptedMatrixCheck(project, settings);
    if (!result.warning.empty()) {
        return result;
    }
    std::vector<MatrixPart> parts;
    if (settings.names != MatrixNames::Contents) {
        parts.push_back({EscapedNames(project.Attributes), "アトリビュート", "attr", "ATTR", "Attribute"});
    }
    if (settings.names != MatrixNames::Attributes) {
        parts.push_back({EscapedNames(project.Contents), "コンテンツ", "cont", "CONT", "Contents"});
    }
    const int columns = std::clamp(settings.columns, 1, 5);
    std::string& html = result.html;
    const FormDestination destination = Destination(settings);
    html = "<FORM action=\"" + destination.action + "\" method=" + destination.method + destination.charset + " name=\""
        + settings.formName + "\" onsubmit=\"return OnFormSubmit()\">\r\n";
    html += "<SCRIPT type=\"text/javascript\" language=JavaScript>\r\n<!--\r\nfunction OnFormSubmit() {\r\n\r\n";
    html += "\tvar count = document." + settings.formName + ".length;\r\n\r\n";
    for (const MatrixPart& part : parts) {
        html += ScriptPart(part, settings.formName);
    }
    html += "\treturn true;\r\n\r\n}\r\n//-->\r\n</SCRIPT>\r\n" + JcodeField();
    html += SJ("\t<!-- 文字列検索などその他のフォームと組み合わせる場合には、ここに挿入して下さい (1) -->\r\n");
    html += "\t<TABLE border=0 cellspacing=4 cellpadding=0>\r\n";
    for (const MatrixPart& part : parts) {
        html += MatrixBlock(part, columns);
    }
    html += "\t</TABLE>\r\n";
    html += SJ("\t<!-- 文字列検索などその他のフォームと組み合わせる場合には、ここに挿入して下さい (2) -->\r\n");
    html += SubmitButtons() + "</FORM>\r\n";
    return result;
}

} // namespace tessaly
