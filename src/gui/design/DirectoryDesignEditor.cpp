#include "gui/design/DirectoryDesignEditor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "gui/design/DirectoryLinkList.h"
#include "gui/FieldRow.h"
#include "gui/FileDialogs.h"
#include "gui/GuiText.h"
#include "gui/InputGuard.h"
#include "core/design/DirectoryLinks.h"
#include "gui/search/frmSqueeze.h"
#include "core/output/PageAssembly.h"
#include "core/text/Codepage.h"
#include "core/text/Collation.h"
#include "core/text/Strings.h"
#include "core/util/Messages.h"

namespace tessaly {

namespace {

constexpr int kMinDivisionCount = 10;
constexpr int kMaxDivisionCount = 100;
constexpr std::string_view kBannerToken = "%%";

QGroupBox* Group(const QString& caption, QLayout* content)
{
    auto* group = new QGroupBox(caption);
    group->setLayout(content);
    return group;
}

QLineEdit* Field(const char* name, MessagePresenter& messages)
{
    auto* field = new QLineEdit;
    field->setObjectName(QString::fromLatin1(name));
    GuardShiftJisInput(field, messages);
    return field;
}

QLineEdit* NumberField(const char* name)
{
    auto* field = new QLineEdit;
    field->setObjectName(QString::fromLatin1(name));
    field->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,6}")), field));
    field->setMaximumWidth(64);
    return field;
}

QComboBox* Choice(const char* name, const QStringList& entries)
{
    auto* box = new QComboBox;
    box->setObjectName(QString::fromLatin1(name));
    box->addItems(entries);
    return box;
}

QSpinBox* UpDown(const char* name, int minimum, int maximum)
{
    auto* box = new QSpinBox;
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(minimum, maximum);
    return box;
}

QPushButton* Reff(const char* name)
{
    auto* button = new QPushButton(QStringLiteral("参照"));
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

// Labels of the same width, so that the fields of the groups on one page
// line up.
QLabel* RowLabel(const QString& text, QWidget* field)
{
    auto* label = new QLabel(text);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("デフォルトHTML")) + 12);
    label->setBuddy(field);
    return label;
}

QString Text(const std::string& sjis)
{
    return ToQString(sjis);
}

std::string Sjis(const QLineEdit* field)
{
    return ToSjisOrEmpty(field->text());
}

} // namespace

DirectoryDesignEditor::DirectoryDesignEditor(MessagePresenter& messages, FileDialogs& files,
    std::string bannerDirectory, QString templateDirectory, QWidget* parent)
    : QWidget(parent)
    , messages_(messages)
    , files_(files)
    , bannerDirectory_(std::move(bannerDirectory))
    , templateDirectory_(std::move(templateDirectory))
    , pages_(new QTabWidget)
    , htmlOutputs_(new QCheckBox(QStringLiteral("HTMLの生成を行う")))
    , linkOutputs_(new QCheckBox(QStringLiteral("リンクの出力を行う")))
    , squeeze_(new TFrame_Squeeze)
    , dirTitle_(Field("DirTitle", messages))
    , succession_(new QCheckBox(QStringLiteral("親ディレクトリの内容を継承する")))
    , nameDefault_(Field("Name_Default", messages))
    , nameSub_(Field("Name_Sub", messages))
    , division_(Choice("Division", {QStringLiteral("する"), QStringLiteral("しない")}))
    , divisionCount_(UpDown("DivisionCount", kMinDivisionCount, kMaxDivisionCount))
    , templateLink_(Choice("Template_Link", {}))
    , templateDefault_(Field("Template_Default", messages))
    , defaultReff_(Reff("DefaultReff"))
    , templateSub_(Field("Template_Sub", messages))
    , subReff_(Reff("SubReff"))
    , parentFront_(Field("Parent_Front", messages))
    , parentRear_(Field("Parent_Rear", messages))
    , links_(new DirectoryLinkList(messages, files))
    , linkDirection_(Choice("LinkDirection", {QStringLiteral("縦方向"), QStringLiteral("横方向")}))
    , column_(UpDown("Column", kMinPageLinkColumns, kMaxPageLinkColumns))
    , linkWidth_(Field("LinkWidth", messages))
    , linkStyle_(Choice("LinkStyle",
          {QStringLiteral("番号つきリスト"), QStringLiteral("番号なしリスト"), QStringLiteral("任意イメージ")}))
    , ownerImage_(Field("OwnerImage", messages))
    , ownerImageReff_(Reff("OwnerImageReff"))
    , imageWidth_(NumberField("ImageWidth"))
    , imageHeight_(NumberField("ImageHeight"))
{
    pages_->setObjectName(QStringLiteral("PageControl"));
    htmlOutputs_->setObjectName(QStringLiteral("HtmlOutputs"));
    linkOutputs_->setObjectName(QStringLiteral("LinkOutputs"));
    succession_->setObjectName(QStringLiteral("Succession"));
    squeeze_->setObjectName(QStringLiteral("SqueezeFrame"));
    pages_->addTab(NarrowingTab(), QStringLiteral("絞り込み設定"));
    pages_->addTab(PagesTab(), QStringLiteral("出力HTML設定"));
    pages_->addTab(LinksTab(), QStringLiteral("ハイパーリンク"));

    auto* switches = new QHBoxLayout;
    switches->addWidget(htmlOutputs_);
    switches->addWidget(linkOutputs_);
    switches->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pages_, 1);
    layout->addLayout(switches);

    connect(succession_, &QCheckBox::clicked, this, &DirectoryDesignEditor::UpdateSuccession);
    connect(linkOutputs_, &QCheckBox::clicked, this, &DirectoryDesignEditor::UpdateSuccession);
    connect(linkStyle_, &QComboBox::currentIndexChanged, this, &DirectoryDesignEditor::UpdateLinkStyle);
    connect(defaultReff_, &QPushButton::clicked, this, [this] { BrowseTemplate(templateDefault_); });
    connect(subReff_, &QPushButton::clicked, this, [this] { BrowseTemplate(templateSub_); });
    connect(ownerImageReff_, &QPushButton::clicked, this, &DirectoryDesignEditor::BrowseOwnImage);

    TDirectoryDesign defaults;
    ResetDesign(defaults, {});
    Show(defaults, false, {});
}

QWidget* DirectoryDesignEditor::NarrowingTab()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(squeeze_);
    layout->addStretch();
    return page;
}

QWidget* DirectoryDesignEditor::PagesTab()
{
    auto* title = new QHBoxLayout;
    title->addWidget(dirTitle_);
    auto* names = new QFormLayout;
    names->addRow(RowLabel(QStringLiteral("デフォルトHTML"), nameDefault_), nameDefault_);
    names->addRow(RowLabel(QStringLiteral("サブHTML"), nameSub_), nameSub_);
    auto* division = new QHBoxLayout;
    division->addWidget(new QLabel(QStringLiteral("分割")));
    division->addWidget(division_);
    division->addSpacing(12);
    division->addWidget(new QLabel(QStringLiteral("最大")));
    division->addWidget(divisionCount_);
    division->addWidget(new QLabel(QStringLiteral("個毎")));
    division->addStretch();
    auto* templates = new QFormLayout;
    templates->addRow(RowLabel(QStringLiteral("リンクアイテム"), templateLink_), templateLink_);
    templates->addRow(
        RowLabel(QStringLiteral("デフォルトHTML"), templateDefault_), FieldRow(templateDefault_, {defaultReff_}));
    templates->addRow(RowLabel(QStringLiteral("サブHTML"), templateSub_), FieldRow(templateSub_, {subReff_}));
    auto* adorn = new QFormLayout;
    adorn->addRow(RowLabel(QStringLiteral("前方修飾"), parentFront_), parentFront_);
    adorn->addRow(RowLabel(QStringLiteral("後方修飾"), parentRear_), parentRear_);

    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(Group(QStringLiteral(" ディレクトリタイトル "), title));
    layout->addWidget(succession_);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(Group(QStringLiteral(" ファイル名 "), names), 1);
    fileRow->addWidget(Group(QStringLiteral(" 出力分割 "), division));
    layout->addLayout(fileRow);
    layout->addWidget(Group(QStringLiteral(" テンプレート "), templates));
    layout->addWidget(Group(QStringLiteral(" 親ディレクトリリンク修飾 "), adorn));
    layout->addStretch();
    return page;
}

QWidget* DirectoryDesignEditor::LinksTab()
{
    auto* addUnder = new QPushButton(QStringLiteral("直下のディレクトリを全て追加"));
    addUnder->setObjectName(QStringLiteral("AddUnderDirs"));
    addUnder->setAutoDefault(false);
    connect(addUnder, &QPushButton::clicked, this, &DirectoryDesignEditor::addUnderDirectoriesRequested);
    auto* list = new QVBoxLayout;
    list->addWidget(links_, 1);
    auto* addRow = new QHBoxLayout;
    addRow->addWidget(addUnder);
    addRow->addStretch();
    list->addLayout(addRow);

    auto* table = new QFormLayout;
    table->addRow(QStringLiteral("整列"), linkDirection_);
    table->addRow(QStringLiteral("段組"), column_);
    table->addRow(QStringLiteral("テーブル幅"), linkWidth_);
    auto* size = new QHBoxLayout;
    size->addWidget(new QLabel(QStringLiteral("width")));
    size->addWidget(imageWidth_);
    size->addWidget(new QLabel(QStringLiteral("height")));
    size->addWidget(imageHeight_);
    size->addStretch();
    auto* style = new QFormLayout;
    style->addRow(QStringLiteral("形式"), linkStyle_);
    style->addRow(QStringLiteral("イメージ"), FieldRow(ownerImage_, {ownerImageReff_}));
    style->addRow(QString(), [size] {
        auto* row = new QWidget;
        row->setLayout(size);
        size->setContentsMargins(0, 0, 0, 0);
        return row;
    }());
    auto* settings = new QHBoxLayout;
    settings->addLayout(table);
    settings->addSpacing(16);
    settings->addLayout(style, 1);
    list->addLayout(settings);

    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(Group(QStringLiteral(" 別リソースへのハイパーリンク "), list));
    return page;
}

void DirectoryDesignEditor::Initialise(const SqueezeChoices& choices, const std::vector<std::string>& itemTemplates)
{
    squeeze_->Initialise(choices);
    templateLink_->clear();
    for (const std::string& name : itemTemplates) {
        templateLink_->addItem(Text(name));
    }
}

void DirectoryDesignEditor::Show(const TDirectoryDesign& design, bool isRoot, const std::string& directory)
{
    squeeze_->Reset();
    htmlOutputs_->setChecked(design.htmlOutputs);
    linkOutputs_->setChecked(design.linkOutputs);
    squeeze_->Show(design.squeeze);
    dirTitle_->setText(Text(design.dirTitle));
    succession_->setEnabled(!isRoot);
    succession_->setChecked(!isRoot && design.succession);
    nameDefault_->setText(Text(design.html.nameDef));
    nameSub_->setText(Text(design.html.nameSub));
    division_->setCurrentIndex(design.html.division ? 0 : 1);
    // A count the simple design allowed outside the usual range is kept as
    // it is, so that looking at a design does not change it.
    divisionCount_->setRange(std::min(kMinDivisionCount, design.html.divisionCount),
        std::max(kMaxDivisionCount, design.html.divisionCount));
    divisionCount_->setValue(design.html.divisionCount);
    templateDefault_->setText(Text(design.html.templateDef));
    templateSub_->setText(Text(design.html.templateSub));
    const int entry = design.squeeze.templateName.empty()
        ? 0
        : templateLink_->findText(Text(design.squeeze.templateName), Qt::MatchExactly | Qt::MatchCaseSensitive);
    templateLink_->setCurrentIndex(std::max(entry, 0));
    std::vector<DirectoryLink> links;
    links.reserve(design.subLinks.links.size());
    for (const std::string& entryText : design.subLinks.links) {
        links.push_back(ParseSubLinkEntry(entryText));
    }
    links_->SetBaseDirectory(directory);
    links_->SetLinks(links);
    column_->setValue(design.subLinks.column);
    linkStyle_->setCurrentIndex(std::min<int>(design.subLinks.style, 2));
    linkDirection_->setCurrentIndex(design.subLinks.direction == 0 ? 0 : 1);
    ownerImage_->setText(Text(design.subLinks.image));
    imageWidth_->setText(QString::number(design.subLinks.imageWidth));
    imageHeight_->setText(QString::number(design.subLinks.imageHeight));
    linkWidth_->setText(Text(design.subLinks.width));
    parentFront_->setText(Text(design.parentAdorn.front));
    parentRear_->setText(Text(design.parentAdorn.rear));
    UpdateSuccession();
    UpdateLinkStyle();
}

void DirectoryDesignEditor::Read(TDirectoryDesign& design) const
{
    design.htmlOutputs = htmlOutputs_->isChecked();
    design.linkOutputs = linkOutputs_->isChecked();
    squeeze_->Read(design.squeeze);
    design.dirTitle = Sjis(dirTitle_);
    design.succession = succession_->isChecked();
    if (!design.succession) {
        design.html.nameDef = Sjis(nameDefault_);
        design.html.nameSub = Sjis(nameSub_);
        design.html.division = division_->currentIndex() == 0;
        design.html.divisionCount = divisionCount_->value();
        design.html.templateDef = Sjis(templateDefault_);
        design.html.templateSub = Sjis(templateSub_);
        design.squeeze.templateName
            = templateLink_->currentIndex() <= 0 ? std::string() : ToSjisOrEmpty(templateLink_->currentText());
    }
    design.subLinks.links.clear();
    for (const DirectoryLink& link : links_->Links()) {
        design.subLinks.links.push_back(SubLinkEntry(link));
    }
    design.subLinks.column = column_->value();
    design.subLinks.style = static_cast<uint8_t>(linkStyle_->currentIndex());
    design.subLinks.direction = static_cast<uint8_t>(linkDirection_->currentIndex());
    design.subLinks.image = std::string(Trim(Sjis(ownerImage_)));
    design.subLinks.imageWidth = ParseInt32(Sjis(imageWidth_)).value_or(0);
    design.subLinks.imageHeight = ParseInt32(Sjis(imageHeight_)).value_or(0);
    design.subLinks.width = std::string(Trim(Sjis(linkWidth_)));
    design.parentAdorn = {Sjis(parentFront_), Sjis(parentRear_)};
}

void DirectoryDesignEditor::ShowAsNewDirectory()
{
    htmlOutputs_->setChecked(true);
    linkOutputs_->setChecked(true);
    succession_->setEnabled(true);
    succession_->setChecked(true);
    dirTitle_->clear();
    links_->SetLinks({});
    column_->setValue(2);
    UpdateSuccession();
}

bool DirectoryDesignEditor::ValidateTableWidth()
{
    const std::optional<std::string> width = NormaliseTableWidth(Sjis(linkWidth_));
    if (!width) {
        messages_.Show(MessageKind::Error,
            SjisText(SJ("テーブル幅の設定が無効です.\r\n整数値もしくは百分率値が必要です.")), MessageButton::Retry);
        pages_->setCurrentIndex(LinksPage);
        linkWidth_->setFocus();
        return false;
    }
    linkWidth_->setText(Text(*width));
    return true;
}

void DirectoryDesignEditor::UpdateSuccession()
{
    const bool own = !succession_->isChecked();
    for (QWidget* control : std::initializer_list<QWidget*>{nameDefault_, nameSub_, division_, divisionCount_,
             templateDefault_, defaultReff_, templateSub_, subReff_, templateLink_, parentFront_, parentRear_}) {
        control->setEnabled(own);
    }
}

void DirectoryDesignEditor::UpdateLinkStyle()
{
    const bool ownImage = linkStyle_->currentIndex() == 2;
    ownerImage_->setEnabled(ownImage);
    ownerImageReff_->setEnabled(ownImage);
}

void DirectoryDesignEditor::BrowseTemplate(QLineEdit* field)
{
    const QString current = field->text().trimmed();
    const QString start = current.isEmpty() ? templateDirectory_ : current;
    if (const std::optional<QString> chosen = files_.OpenFile(
            this, QStringLiteral("テンプレート HTML の指定"), QStringLiteral("HTML ファイル (*.html *.htm)"), start)) {
        field->setText(*chosen);
    }
}

void DirectoryDesignEditor::BrowseOwnImage()
{
    const std::string banner = bannerDirectory_.empty() ? std::string() : WithTrailingSlash(bannerDirectory_);
    std::string current(Trim(Sjis(ownerImage_)));
    if (current.starts_with(kBannerToken)) {
        current = banner + current.substr(kBannerToken.size());
    }
    const QFileInfo image(Text(current));
    const QString start = !current.empty() && image.exists() ? image.absoluteFilePath() : Text(bannerDirectory_);
    const std::optional<QString> chosen = files_.OpenFile(this, QStringLiteral("イメージの選択"),
        QStringLiteral("イメージファイル (*.gif *.jpg *jpeg *.png);;全てのファイル (*)"), start);
    if (!chosen) {
        return;
    }
    const std::optional<std::string> path = ToSjis(*chosen);
    if (!path) {
        messages_.Show(MessageKind::Error, SjisText(SJ("選んだ名前は Shift_JIS で表せません.")), MessageButton::Abort);
        return;
    }
    const auto [width, height] = ReadImageSize(*path);
    imageWidth_->setText(QString::number(width));
    imageHeight_->setText(QString::number(height));
    const bool inBanner
        = !banner.empty() && path->size() >= banner.size() && SameNameIgnoringAsciiCase(path->substr(0, banner.size()), banner);
    ownerImage_->setText(Text(inBanner ? std::string(kBannerToken) + path->substr(banner.size()) : *path));
}

} // namespace tessaly
