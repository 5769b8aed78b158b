#include "gui/searchsite/dlgOssSupport.h"

#include <utility>

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "gui/GuiText.h"
#include "gui/InputGuard.h"
#include "core/util/Messages.h"
#include "gui/shell/HelpTopics.h"
#include "gui/shell/dlgHelp.h"

namespace tessaly {

namespace {

QComboBox* List(const char* name, const QStringList& entries)
{
    auto* list = new QComboBox;
    list->setObjectName(QString::fromLatin1(name));
    list->addItems(entries);
    return list;
}

// "(無指定)", then five entries of step, 2 × step, ... with their unit.
QComboBox* SteppedList(const char* name, int step, const QString& unit)
{
    QStringList entries{QStringLiteral("(無指定)")};
    for (int n = 1; n <= 5; ++n) {
        entries.append(QStringLiteral("%1 %2").arg(n * step).arg(unit));
    }
    return List(name, entries);
}

// The script only takes POST; the list shows it without offering a choice.
QComboBox* MethodList(const char* name)
{
    QComboBox* list = List(name, {QStringLiteral("POST"), QStringLiteral("GET")});
    list->setEnabled(false);
    return list;
}

QLineEdit* TextField(const char* name, const QString& text, MessagePresenter& messages)
{
    auto* field = new QLineEdit(text);
    field->setObjectName(QString::fromLatin1(name));
    GuardShiftJisInput(field, messages);
    return field;
}

QPushButton* CopyButton(const char* name)
{
    auto* button = new QPushButton(QStringLiteral("クリップボードへコピー(&C)"));
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

// A tab: its fields on top, its copy button at the bottom right.
QWidget* Page(QLayout* fields, QPushButton* copy = nullptr)
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(fields);
    layout->addStretch();
    if (copy != nullptr) {
        auto* buttons = new QHBoxLayout;
        buttons->addStretch();
        buttons->addWidget(copy);
        layout->addLayout(buttons);
    }
    return page;
}

QStringList ChoiceElements(bool radioButtons)
{
    QStringList entries{QStringLiteral("SELECT エレメント"), QStringLiteral("チェックボックス")};
    if (radioButtons) {
        entries.append(QStringLiteral("ラジオボタン"));
    }
    return entries;
}

std::string TextOf(const QLineEdit* field)
{
    return ToSjisOrEmpty(field->text());
}

void Copy(const std::string& html)
{
    QGuiApplication::clipboard()->setText(ToQString(html));
}

// The record fields the string search may try, in the order of the lists.
const std::array<std::pair<const char*, const char*>, kTrialFieldCount> kTrialFields = {{
    {"Title", "タイトル"},
    {"TitleKana", "タイトル(かな)"},
    {"Author", "作者名"},
    {"AuthorKana", "作者名(かな)"},
    {"Attribute", "アトリビュート"},
    {"Contents", "コンテンツ"},
    {"Comment", "コメント"},
}};

// Where a form sends its fields: the search script, or the site's own
// search page, which takes GET only.
QComboBox* TargetList(const char* name)
{
    return List(name, {QStringLiteral("tsyoss.cgi"), QStringLiteral("このサイトの検索ページ")});
}

// A change of target brings the other target's usual path, unless the user
// typed one of their own, the method it takes and the path's caption.
void FollowTarget(QComboBox* target, QLineEdit* path, QComboBox* method, QFormLayout* fields)
{
    auto* caption = qobject_cast<QLabel*>(fields->labelForField(path));
    QObject::connect(target, &QComboBox::currentIndexChanged, path, [target, path, method, caption](int index) {
        const bool page = static_cast<FormTarget>(index) == FormTarget::SearchPage;
        if (caption != nullptr) {
            caption->setText(page ? QStringLiteral("検索ページへのパス(&P)") : QStringLiteral("tsyoss.cgi へのパス(&P)"));
        }
        const QString cgi = QStringLiteral("./tsyoss.cgi");
        const QString search = QString::fromLatin1(kDefaultSearchPagePath);
        if (path->text() == (page ? cgi : search)) {
            path->setText(page ? search : cgi);
        }
        method->setCurrentIndex(page ? 1 : 0);
        target->setToolTip(page ? QStringLiteral("search.html へ GET で送ります (UTF-8).") : QString());
    });
}

template <typename Settings> Settings WithTarget(Settings settings, const QComboBox* target)
{
    settings.target = static_cast<FormTarget>(target->currentIndex());
    if (settings.target == FormTarget::SearchPage) {
        settings.pathToSearchPage = std::exchange(settings.pathToCgi, Settings().pathToCgi);
    }
    return settings;
}

} // namespace

TForm_OssSupport::TForm_OssSupport(MessagePresenter& messages, const Project& project, QWidget* parent)
    : QDialog(parent)
    , messages_(messages)
    , project_(project)
    , target_(TargetList("Target"))
    , pathToCgi_(TextField("PathToCGI", QStringLiteral("./tsyoss.cgi"), messages))
    , method_(MethodList("Method"))
    , lumpRange_(SteppedList("LumpRange", kHitsStep, QStringLiteral("件")))
    , formName_(TextField("FormName", QStringLiteral("TSYOSS"), messages))
    , formSize_(SteppedList("FormSize", kColumnsStep, QStringLiteral("桁")))
    , maxLength_(SteppedList("MaxLength", kColumnsStep, QStringLiteral("桁")))
    , trial_(new QCheckBox(QStringLiteral("文字列検索試行対象を指定する(&R)")))
    , trials_{}
    , genreOperate_(List("GenreOperate", {QStringLiteral("単一選択のみ"), QStringLiteral("OR 演算可能")}))
    , genreSelecter_(List("GenreSelecter", ChoiceElements(true)))
    , genreSize_(SteppedList("GenreSize", kRowsStep, QStringLiteral("行")))
    , matrixPages_(new QTabWidget)
    , matrix_(List("Matrix", {QStringLiteral("アトリビュート"), QStringLiteral("コンテンツ")}))
    , matrixOperate_(
          List("MatrixOperate", {QStringLiteral("AND 演算"), QStringLiteral("OR 演算"), QStringLiteral("NOT 演算")}))
    , matrixSelecter_(List("MatrixSelecter", ChoiceElements(false)))
    , matrixSize_(SteppedList("MatrixSize", kRowsStep, QStringLiteral("行")))
    , target2_(TargetList("Target2"))
    , pathToCgi2_(TextField("PathToCGI2", QStringLiteral("./tsyoss.cgi"), messages))
    , method2_(MethodList("Method2"))
    , formName2_(TextField("FormName2", QStringLiteral("TSYOSS"), messages))
    , matrix2_(List("Matrix2",
          {QStringLiteral("アトリビュート"), QStringLiteral("コンテンツ"),
              QStringLiteral("アトリビュートとコンテンツ")}))
    , multiColumn_(new QSpinBox)
{
    setObjectName(QStringLiteral("TForm_OssSupport"));
    setWindowTitle(QStringLiteral("Vuzuva Derado Redovi HTML 作成支援ツール"));
    SetHelpTopic(this, help::kSearchForm);
    trial_->setObjectName(QStringLiteral("Trial"));
    for (std::size_t i = 0; i < kTrialFieldCount; ++i) {
        trials_[i] = List(kTrialFields[i].first,
            {QStringLiteral("強制試行"), QStringLiteral("強制無試行"), QStringLiteral("ユーザ設定")});
    }
    matrixPages_->setObjectName(QStringLiteral("MatrixPages"));
    matrixPages_->setUsesScrollButtons(false);
    matrix2_->setCurrentIndex(static_cast<int>(MatrixNames::Both));
    multiColumn_->setObjectName(QStringLiteral("MultiColumn"));
    multiColumn_->setRange(1, 5);
    multiColumn_->setValue(3);

    auto* tabs = new QTabWidget;
    tabs->setObjectName(QStringLiteral("PageControl"));
    tabs->setUsesScrollButtons(false); // every tab caption in full
    tabs->addTab(FormPage(), QStringLiteral("FORM 生成"));
    tabs->addTab(StringSearchPage(), QStringLiteral("文字列検索"));
    tabs->addTab(GenrePage(), QStringLiteral("ジャンル演算"));
    tabs->addTab(MatrixPage(), QStringLiteral("アトリビュート・コンテンツ演算"));
    auto* buttons = new QDialogButtonBox;
    QPushButton* exit = buttons->addButton(QStringLiteral("終了(&X)"), QDialogButtonBox::RejectRole);
    exit->setObjectName(QStringLiteral("btnExit"));
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(buttons);

    connect(trial_, &QCheckBox::toggled, this, &TForm_OssSupport::TrialClick);
    connect(genreOperate_, &QComboBox::currentIndexChanged, this, &TForm_OssSupport::GenreSelecterChange);
    connect(genreSelecter_, &QComboBox::currentIndexChanged, this, &TForm_OssSupport::GenreSelecterChange);
    connect(matrixSelecter_, &QComboBox::currentIndexChanged, this, &TForm_OssSupport::MatrixSelecterChange);
    TrialClick();
    GenreSelecterChange();
    MatrixSelecterChange();
}

QWidget* TForm_OssSupport::FormPage()
{
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("送信先(&T)"), target_);
    fields->addRow(QStringLiteral("tsyoss.cgi へのパス(&P)"), pathToCgi_);
    FollowTarget(target_, pathToCgi_, method_, fields);
    fields->addRow(QStringLiteral("メソッド(&E)"), method_);
    fields->addRow(QStringLiteral("同時表示件数(&L)"), lumpRange_);
    fields->addRow(QStringLiteral("フォーム識別名(&N)"), formName_);
    QPushButton* copy = CopyButton("btnCopy");
    connect(copy, &QPushButton::clicked, this, &TForm_OssSupport::btnCopyClick);
    return Page(fields, copy);
}

QWidget* TForm_OssSupport::StringSearchPage()
{
    auto* sizes = new QFormLayout;
    sizes->addRow(QStringLiteral("フォームサイズ(&S)"), formSize_);
    sizes->addRow(QStringLiteral("最大文字数(&M)"), maxLength_);
    auto* group = new QGroupBox(QStringLiteral("試行対象"));
    auto* groupLayout = new QFormLayout(group);
    for (std::size_t i = 0; i < kTrialFieldCount; ++i) {
        groupLayout->addRow(QString::fromUtf8(kTrialFields[i].second), trials_[i]);
    }
    auto* fields = new QVBoxLayout;
    fields->addLayout(sizes);
    fields->addWidget(trial_);
    fields->addWidget(group);
    QPushButton* copy = CopyButton("btnCopy2");
    connect(copy, &QPushButton::clicked, this, &TForm_OssSupport::btnCopy2Click);
    return Page(fields, copy);
}

QWidget* TForm_OssSupport::GenrePage()
{
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("演算仕様(&O)"), genreOperate_);
    fields->addRow(QStringLiteral("選択方法(&S)"), genreSelecter_);
    fields->addRow(QStringLiteral("表示行数(&L)"), genreSize_);
    QPushButton* copy = CopyButton("btnCopy3");
    connect(copy, &QPushButton::clicked, this, &TForm_OssSupport::btnCopy3Click);
    return Page(fields, copy);
}

QWidget* TForm_OssSupport::MatrixPage()
{
    matrixPages_->addTab(BeginnerMatrixPage(), QStringLiteral("初心者向け"));
    matrixPages_->addTab(AdvancedMatrixPage(), QStringLiteral("上級者向け ( JavaScript 必須 )"));
    auto* fields = new QVBoxLayout;
    fields->addWidget(matrixPages_);
    QPushButton* copy = CopyButton("btnCopy4");
    connect(copy, &QPushButton::clicked, this, &TForm_OssSupport::btnCopy4Click);
    return Page(fields, copy);
}

QWidget* TForm_OssSupport::BeginnerMatrixPage()
{
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("出力要素(&M)"), matrix_);
    fields->addRow(QStringLiteral("論理演算(&O)"), matrixOperate_);
    fields->addRow(QStringLiteral("選択方法(&S)"), matrixSelecter_);
    fields->addRow(QStringLiteral("表示行数(&L)"), matrixSize_);
    return Page(fields);
}

QWidget* TForm_OssSupport::AdvancedMatrixPage()
{
    auto* fields = new QFormLayout;
    auto* note = new QLabel(QStringLiteral("※上級者向けでは FORM エレメントも同時に生成します"));
    note->setWordWrap(true);
    fields->addRow(note);
    fields->addRow(QStringLiteral("送信先(&T)"), target2_);
    fields->addRow(QStringLiteral("tsyoss.cgi へのパス(&P)"), pathToCgi2_);
    FollowTarget(target2_, pathToCgi2_, method2_, fields);
    fields->addRow(QStringLiteral("メソッド(&E)"), method2_);
    fields->addRow(QStringLiteral("フォーム識別名(&N)"), formName2_);
    fields->addRow(QStringLiteral("出力要素(&M)"), matrix2_);
    fields->addRow(QStringLiteral("段組(&D)"), multiColumn_);
    return Page(fields);
}

void TForm_OssSupport::TrialClick()
{
    for (QComboBox* list : trials_) {
        list->setEnabled(trial_->isChecked());
    }
}

void TForm_OssSupport::GenreSelecterChange()
{
    const auto operation = static_cast<GenreOperation>(genreOperate_->currentIndex());
    const auto chosen = static_cast<ChoiceElement>(genreSelecter_->currentIndex());
    const ChoiceElement element = EffectiveGenreElement(operation, chosen);
    if (element != chosen) {
        genreSelecter_->setCurrentIndex(static_cast<int>(element)); // comes back here once
        return;
    }
    genreSize_->setEnabled(GenreSizeApplies(operation, element));
}

void TForm_OssSupport::MatrixSelecterChange()
{
    matrixSize_->setEnabled(static_cast<ChoiceElement>(matrixSelecter_->currentIndex()) == ChoiceElement::Select);
}

FormElementSettings TForm_OssSupport::FormElement() const
{
    return WithTarget(FormElementSettings{TextOf(pathToCgi_), ToSjisOrEmpty(method_->currentText()),
                          lumpRange_->currentIndex(), TextOf(formName_)},
        target_);
}

StringSearchSettings TForm_OssSupport::StringSearch() const
{
    StringSearchSettings settings;
    settings.formSizeEntry = formSize_->currentIndex();
    settings.maxLengthEntry = maxLength_->currentIndex();
    settings.trial = trial_->isChecked();
    for (std::size_t i = 0; i < kTrialFieldCount; ++i) {
        settings.trials[i] = static_cast<TrialChoice>(trials_[i]->currentIndex());
    }
    return settings;
}

GenreFormSettings TForm_OssSupport::GenreForm() const
{
    return {static_cast<GenreOperation>(genreOperate_->currentIndex()),
        static_cast<ChoiceElement>(genreSelecter_->currentIndex()), genreSize_->currentIndex()};
}

MatrixFormSettings TForm_OssSupport::MatrixForm() const
{
    return {static_cast<MatrixNames>(matrix_->currentIndex()),
        static_cast<MatrixOperation>(matrixOperate_->currentIndex()),
        static_cast<ChoiceElement>(matrixSelecter_->currentIndex()), matrixSize_->currentIndex()};
}

ScriptedMatrixSettings TForm_OssSupport::ScriptedMatrix() const
{
    return WithTarget(ScriptedMatrixSettings{TextOf(pathToCgi2_), ToSjisOrEmpty(method2_->currentText()),
                          TextOf(formName2_), static_cast<MatrixNames>(matrix2_->currentIndex()), multiColumn_->value()},
        target2_);
}

void TForm_OssSupport::btnCopyClick()
{
    Copy(FormElementHtml(FormElement()));
}

void TForm_OssSupport::btnCopy2Click()
{
    Copy(StringSearchHtml(StringSearch()));
}

void TForm_OssSupport::btnCopy3Click()
{
    Copy(GenreFormHtml(project_, GenreForm()));
}

void TForm_OssSupport::btnCopy4Click()
{
    if (matrixPages_->currentIndex() == 0) {
        Copy(MatrixFormHtml(project_, MatrixForm()));
        return;
    }
    const ScriptedMatrixResult result = ScriptedMatrixFormHtml(project_, ScriptedMatrix());
    if (!result.warning.empty()) {
        messages_.Show(MessageKind::Warning, SjisText(result.warning), MessageButton::Ok);
        return;
    }
    Copy(result.html);
}

} // namespace tessaly
