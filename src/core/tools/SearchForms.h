#pragma once

// The HTML fragments of the search form builder, for a page that queries
// the site's search script or its own search page: the FORM element, the string search field,
// the genre choice and the attribute/content choices (plain, or as a
// scripted matrix). Each is a function of the builder's settings and the
// project's names; the texts are code page 932 with CR LF line ends.

#include <array>
#include <cstdint>
#include <string>

namespace tessaly {

class Project;

// The numbered lists of sizes ("(無指定)", "10 件", ...) are given by their
// entry: 0 for none, n for n steps.
inline constexpr int kHitsStep = 10; // "同時表示件数"
inline constexpr int kColumnsStep = 10; // "フォームサイズ", "最大文字数"
inline constexpr int kRowsStep = 5; // "表示行数"

// Where a FORM sends the visitor's query: the search script (tsyoss.cgi)
// at pathToCgi with the chosen method, or "このサイトの検索ページ", the
// site's own search.html at pathToSearchPage, which reads GET in UTF-8.
enum class FormTarget : uint8_t { SearchScript = 0, SearchPage = 1 };
inline constexpr const char* kDefaultSearchPagePath = "./search.html";

// "FORM 生成".
struct FormElementSettings {
    std::string pathToCgi = "./tsyoss.cgi";
    std::string method = "POST";
    int lumpRangeEntry = 0;
    std::string formName = "TSYOSS";
    FormTarget target = FormTarget::SearchScript;
    std::string pathToSearchPage = kDefaultSearchPagePath;
};

std::string FormElementHtml(const FormElementSettings& settings);

// "文字列検索".
enum class TrialChoice : uint8_t { Always = 0, Never = 1, Visitor = 2 }; // 強制試行, 強制無試行, ユーザ設定

// The searched record fields, in the order of the dialog's lists.
enum class TrialField : uint8_t { Title, TitleKana, Author, AuthorKana, Attribute, Contents, Comment };
inline constexpr std::size_t kTrialFieldCount = 7;

struct StringSearchSettings {
    int formSizeEntry = 0;
    int maxLengthEntry = 0;
    bool trial = false;
    std::array<TrialChoice, kTrialFieldCount> trials{}; // by TrialField
};

std::string StringSearchHtml(const StringSearchSettings& settings);

// "ジャンル演算".
enum class GenreOperation : uint8_t { Single = 0, Or = 1 };
enum class ChoiceElement : uint8_t { Select = 0, CheckBoxes = 1, RadioButtons = 2 };

struct GenreFormSettings {
    GenreOperation operation = GenreOperation::Single;
    ChoiceElement element = ChoiceElement::Select;
    int sizeEntry = 0;
};

// The element the genre choice really uses: a single choice takes no check
// boxes and an OR no radio buttons; both fall back to SELECT.
ChoiceElement EffectiveGenreElement(GenreOperation operation, ChoiceElement element);
// The number of rows applies to the multiple SELECT only.
bool GenreSizeApplies(GenreOperation operation, ChoiceElement element);

// Empty when the project has no user genres.
std::string GenreFormHtml(const Project& project, const GenreFormSettings& settings);

// "アトリビュート・コンテンツ演算".
enum class MatrixNames : uint8_t { Attributes = 0, Contents = 1, Both = 2 };
enum class MatrixOperation : uint8_t { And = 0, Or = 1, Not = 2 };

// "初心者向け": one list of names (Both is not offered) combined by one
// operation; SELECT or check boxes.
struct MatrixFormSettings {
    MatrixNames names = MatrixNames::Attributes;
    MatrixOperation operation = MatrixOperation::And;
    ChoiceElement element = ChoiceElement::Select;
    int sizeEntry = 0;
};

// Empty when the vocabulary is.
std::string MatrixFormHtml(const Project& project, const MatrixFormSettings& settings);

// "上級者向け": a whole FORM with a script that gathers an operation per name.
struct ScriptedMatrixSettings {
    std::string pathToCgi = "./tsyoss.cgi";
    std::string method = "POST";
    std::string formName = "TSYOSS";
    MatrixNames names = MatrixNames::Both;
    int columns = 3; // 1 to 5
    FormTarget target = FormTarget::SearchScript;
    std::string pathToSearchPage = kDefaultSearchPagePath;
};

struct ScriptedMatrixResult {
    std::string html;
    std::string warning; // why nothing was made (code page 932); empty on success
};

ScriptedMatrixResult ScriptedMatrixFormHtml(const Project& project, const ScriptedMatrixSettings& settings);

} // namespace tessaly
