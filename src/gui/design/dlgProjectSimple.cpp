#include "gui/design/dlgProjectSimple.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "gui/DialogButtons.h"
#include "gui/FieldRow.h"
#include "gui/FileDialogs.h"
#include "gui/GuiText.h"
#include "gui/InputGuard.h"
#include "core/collection/Project.h"
#include "core/templates/TemplateEngine.h"
#include "core/text/Codepage.h"
#include "core/text/Paths.h"
#include "core/text/Strings.h"
#include "core/util/Messages.h"
#include "gui/shell/HelpTopics.h"

namespace tessaly {

namespace {

// Items per page: as many as a genre could hold.
constexpr int kMaxDivisionCount = 99999;

QPushButton* Button(const QString& name, const QString& caption)
{
    auto* button = new QPushButton(caption);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

// The forms of the two groups on the right share one label width, so that
// their fields line up.
void AlignLabels(std::initializer_list<QFormLayout*> forms)
{
    int width = 0;
    for (QFormLayout* form : forms) {
        for (int row = 0; row < form->rowCount(); ++row) {
            if (QLayoutItem* label = form->itemAt(row, QFormLayout::LabelRole)) {
                width = std::max(width, label->widget()->sizeHint().width());
            }
        }
    }
    for (QFormLayout* form : forms) {
        for (int row = 0; row < form->rowCount(); ++row) {
            if (QLayoutItem* label = form->itemAt(row, QFormLayout::LabelRole)) {
                label->widget()->setMinimumWidth(width);
            }
        }
    }
}

QSpinBox* UpDown(const QString& name, int minimum, int maximum, int value)
{
    auto* box = new QSpinBox;
    box->setObjectName(name);
    box->setRange(minimum, maximum);
    box->setValue(std::clamp(value, minimum, maximum));
    return box;
}

} // namespace

TForm_ProjectSimple::TForm_ProjectSimple(
    MessagePresenter& messages, FileDialogs& files, const Project& project, TDateTime today, QWidget* parent)
    : QDialog(parent)
    , messages_(messages)
    , files_(files)
    , project_(project)
    , today_(today)
    , form_(InitialSimpleDesign(project))
    , lists_(new QTreeWidget)
    , genreName_(Field(QStringLiteral("Genre_Name"), {}))
    , genreDir_(Field(QStringLiteral("Genre_Dir"), {}))
    , btnSet_(Button(QStringLiteral("BtnSet"), QStringLiteral("設定")))
    , nameDefault_(Field(QStringLiteral("Name_Default"), form_.nameDefault))
    , nameSub_(Field(QStringLiteral("Name_Sub"), form_.nameSub))
    , templateLink_(new QComboBox)
    , templateDefault_(Field(QStringLiteral("Template_Default"), form_.templateDefault))
    , templateSub_(Field(QStringLiteral("Template_Sub"), form_.templateSub))
    , divisionOn_(new QRadioButton(QStringLiteral("する")))
    , divisionOff_(new QRadioButton(QStringLiteral("しない")))
    , divisionCount_(UpDown(QStringLiteral("DivisionCount"), 1, kMaxDivisionCount, form_.divisionCount))
    , column_(UpDown(QStringLiteral("Column"), kMinPageLinkColumns, kMaxPageLinkColumns, form_.column))
    , parentFront_(Field(QStringLiteral("Parent_Front"), form_.parentFront))
    , parentRear_(Field(QStringLiteral("Parent_Rear"), form_.parentRear))
{
    setObjectName(QStringLiteral("TForm_ProjectSimple"));
    setWindowTitle(QStringLiteral("プロジェクト簡易設計"));

    QLineEdit* rootDir = Field(QStringLiteral("RootDir"), project.RootDir);
    rootDir->setReadOnly(true);
    genreName_->setReadOnly(true);
    lists_->setObjectName(QStringLiteral("Lists"));
    lists_->setRootIsDecorated(false);
    lists_->setHeaderLabels({QStringLiteral("ジャンル"), QStringLiteral("ディレクトリ")});
    lists_->header()->setSectionResizeMode(QHeaderView::Stretch);
    for (const SimpleDesignRow& row : form_.rows) {
        new QTreeWidgetItem(lists_, {ToQString(row.genre), ToQString(row.directory)});
    }
    for (const std::string& name : ItemTemplateNames(project)) {
        templateLink_->addItem(ToQString(name));
    }
    templateLink_->setObjectName(QStringLiteral("Template_Link"));
    templateLink_->setCurrentText(ToQString(form_.templateLink));
    divisionOn_->setObjectName(QStringLiteral("Division_On"));
    divisionOff_->setObjectName(QStringLiteral("Division_Off"));
    (form_.division ? divisionOn_ : divisionOff_)->setChecked(true);
    divisionCount_->setEnabled(form_.division);
    connect(divisionOn_, &QRadioButton::toggled, divisionCount_, &QSpinBox::setEnabled);

    auto* genres = new QGroupBox(QStringLiteral("ジャンル毎のディレクトリ"));
    auto* genreForm = new QFormLayout;
    genreForm->addRow(QStringLiteral("ジャンル"), genreName_);
    genreForm->addRow(QStringLiteral("ディレクトリ"), FieldRow(genreDir_, {btnSet_}));
    auto* genreLayout = new QVBoxLayout(genres);
    genreLayout->addWidget(lists_, 1);
    genreLayout->addLayout(genreForm);

    auto* pages = new QGroupBox(QStringLiteral("ページ"));
    auto* division = new QWidget;
    division->setObjectName(QStringLiteral("Division"));
    auto* divisionRow = new QHBoxLayout(division);
    divisionRow->setContentsMargins(0, 0, 0, 0);
    divisionRow->addWidget(divisionOn_);
    divisionRow->addWidget(divisionOff_);
    divisionRow->addStretch();
    QPushButton* browseDefault = Button(QStringLiteral("Button_TemplateDefault"), QStringLiteral("参照"));
    QPushButton* browseSub = Button(QStringLiteral("Button_TemplateSub"), QStringLiteral("参照"));
    auto* pageForm = new QFormLayout(pages);
    pageForm->addRow(QStringLiteral("デフォルトファイル名"), nameDefault_);
    pageForm->addRow(QStringLiteral("サブファイル名"), nameSub_);
    pageForm->addRow(QStringLiteral("アイテムテンプレート"), templateLink_);
    pageForm->addRow(QStringLiteral("デフォルトテンプレート"), FieldRow(templateDefault_, {browseDefault}));
    pageForm->addRow(QStringLiteral("サブテンプレート"), FieldRow(templateSub_, {browseSub}));
    pageForm->addRow(QStringLiteral("ページ分割"), division);
    pageForm->addRow(QStringLiteral("1ページのアイテム数"), divisionCount_);

    auto* links = new QGroupBox(QStringLiteral("リンク"));
    auto* linkForm = new QFormLayout(links);
    linkForm->addRow(QStringLiteral("ジャンルリンクの列数"), column_);
    linkForm->addRow(QStringLiteral("親リンクの前"), parentFront_);
    linkForm->addRow(QStringLiteral("親リンクの後"), parentRear_);

    AlignLabels({pageForm, linkForm});
    auto* right = new QVBoxLayout;
    right->addWidget(pages);
    right->addWidget(links);
    right->addStretch();
    auto* body = new QHBoxLayout;
    body->addWidget(genres, 1);
    body->addLayout(right, 1);
    auto* rootRow = new QFormLayout;
    rootRow->addRow(QStringLiteral("ルートディレクトリ"), rootDir);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(rootRow);
    layout->addLayout(body, 1);
    layout->addWidget(DialogButtons(
        this, QStringLiteral("設計情報の保存"), [this] { Button1Click(); }, help::kProjectSimple));

    connect(lists_, &QTreeWidget::currentItemChanged, this, &TForm_ProjectSimple::ShowSelectedRow);
    connect(btnSet_, &QPushButton::clicked, this, &TForm_ProjectSimple::BtnSetClick);
    connect(browseDefault, &QPushButton::clicked, this,
        [this] { BrowseTemplate(templateDefault_, QStringLiteral("デフォルトテンプレート")); });
    connect(browseSub, &QPushButton::clicked, this,
        [this] { BrowseTemplate(templateSub_, QStringLiteral("サブテンプレート")); });
    genreDir_->installEventFilter(this);
    ShowSelectedRow();
    lists_->setFocus();
    resize(760, 440);
    // Lines of "_design.tsg" naming directories outside the root.
    std::string refused;
    for (const std::string& line : form_.refusedRows) {
        refused += (refused.empty() ? "" : "\r\n") + line;
    }
    if (!refused.empty()) {
        messages_.Show(MessageKind::Warning, SjisText(refused), MessageButton::Ok);
    }
}

TForm_ProjectSimple::~TForm_ProjectSimple()
{
    genreDir_->removeEventFilter(this);
}

QLineEdit* TForm_ProjectSimple::Field(const QString& name, const std::string& text)
{
    auto* field = new QLineEdit(ToQString(text));
    field->setObjectName(name);
    GuardShiftJisInput(field, messages_);
    return field;
}

SimpleDesignForm TForm_ProjectSimple::Form() const
{
    const auto text = [](const QLineEdit* field) { return ToSjisOrEmpty(field->text()); };
    SimpleDesignForm form = form_;
    form.nameDefault = text(nameDefault_);
    form.nameSub = text(nameSub_);
    form.templateLink = ToSjisOrEmpty(templateLink_->currentText());
    form.templateDefault = text(templateDefault_);
    form.templateSub = text(templateSub_);
    form.division = divisionOn_->isChecked();
    form.divisionCount = divisionCount_->value();
    form.column = column_->value();
    form.parentFront = text(parentFront_);
    form.parentRear = text(parentRear_);
    form.refusedRows.clear();
    return form;
}

void TForm_ProjectSimple::ShowSelectedRow()
{
    const int row = lists_->currentItem() == nullptr ? -1 : lists_->indexOfTopLevelItem(lists_->currentItem());
    const bool selected = row >= 0;
    genreName_->setText(selected ? ToQString(form_.rows[static_cast<std::size_t>(row)].genre) : QString());
    genreDir_->setText(selected ? ToQString(form_.rows[static_cast<std::size_t>(row)].directory) : QString());
    directoryOnEntry_ = genreDir_->text();
    genreDir_->setEnabled(selected);
    btnSet_->setEnabled(selected);
}

bool TForm_ProjectSimple::eventFilter(QObject* watched, QEvent* event)
{
    // Leaving the directory field trims it; an empty one gets back the
    // name it had.
    if (watched == genreDir_ && event->type() == QEvent::FocusIn) {
        directoryOnEntry_ = genreDir_->text();
    } else if (watched == genreDir_ && event->type() == QEvent::FocusOut) {
        const QString trimmed = genreDir_->text().trimmed();
        genreDir_->setText(trimmed.isEmpty() ? directoryOnEntry_ : trimmed);
    }
    return QDialog::eventFilter(watched, event);
}

void TForm_ProjectSimple::BtnSetClick()
{
    QTreeWidgetItem* item = lists_->currentItem();
    if (item == nullptr) {
        return;
    }
    const auto row = static_cast<std::size_t>(lists_->indexOfTopLevelItem(item));
    const std::string name = std::string(Trim(ToSjisOrEmpty(genreDir_->text())));
    const auto refuse = [this] {
        genreDir_->setFocus();
        genreDir_->selectAll();
    };
    if (!IsValidFileName(name, false, messages_)) {
        refuse();
        return;
    }
    if (DirectoryNameTaken(form_, name, row)) {
        messages_.Show(MessageKind::Error, SjisText(SJ("ディレクトリ名が重複しています.")), MessageButton::Retry);
        refuse();
        return;
    }
    // A name that would leave the root ("..") is refused here too.
    if (const std::string refused = RefusedSimpleDesignDirectory(name); !refused.empty()) {
        messages_.Show(MessageKind::Error, SjisText(refused), MessageButton::Retry);
        refuse();
        return;
    }
    form_.rows[row].directory = name;
    item->setText(1, ToQString(name));
    genreDir_->setText(ToQString(name));
}

void TForm_ProjectSimple::Button1Click()
{
    const SimpleDesignForm form = Form();
    if (RefusedSimpleDesignName(form).empty()) {
        const std::vector<std::string> lost = RootDesignChangesLost(form, project_, today_);
        if (!lost.empty()) {
            std::string question = SJ("ルートディレクトリの設計は詳細設計で変更されています.\r\n"
                                      "保存すると、次の設定は簡易設計の内容に置き換えられます:\r\n");
            for (const std::string& part : lost) {
                question += SJ("・") + part + "\r\n";
            }
            question += SJ("保存しますか？");
            if (messages_.ShowWith(MessageKind::Confirmation, SjisText(question),
                    MessageButton::Yes | MessageButton::No, {MessageButton::No, {}})
                != MessageButton::Yes) {
                return;
            }
        }
    }
    const SimpleDesignResult saved = SaveSimpleDesign(form, project_, today_);
    if (!saved.refusedName.empty()) {
        messages_.Show(MessageKind::Warning, SjisText(saved.refusedName), MessageButton::Retry);
        return;
    }
    if (!saved.ok) {
        messages_.Show(MessageKind::Error,
            SjisText(SJ("プロジェクト設計情報を書き込めませんでした.\r\n")
                + ToSjisOrEmpty(QString::fromStdString(saved.error))),
            MessageButton::Ok);
        return;
    }
    outputRequested_
        = messages_.Show(MessageKind::Confirmation,
              SjisText(SJ("プロジェクト設計情報を各ディレクトリへ書き込みました.\r\nプロジェクト簡易設計ダイアログを"
                          "閉じます.\r\n続いてプロジェクト出力を実行しますか？")),
              MessageButton::Yes | MessageButton::No)
        == MessageButton::Yes;
    accept();
}

void TForm_ProjectSimple::BrowseTemplate(QLineEdit* field, const QString& title)
{
    const QString start = field->text().isEmpty() ? ToQString(project_.RootDir) : field->text();
    if (const std::optional<QString> chosen
        = files_.OpenFile(this, title, QStringLiteral("HTMLファイル (*.htm *.html);;すべてのファイル (*)"), start)) {
        field->setText(*chosen);
    }
}

} // namespace tessaly
