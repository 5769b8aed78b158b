#include "gui/options/dlgProjectOption.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "gui/DialogButtons.h"
#include "gui/FieldRow.h"
#include "gui/FileDialogs.h"
#include "gui/GuiText.h"
#include "gui/InputGuard.h"
#include "gui/shell/HelpTopics.h"

namespace tessaly {

namespace {

QWidget* Page(QTabWidget* tabs, const QString& caption)
{
    auto* page = new QWidget;
    tabs->addTab(page, caption);
    return page;
}

QPushButton* Button(const QString& name, const QString& caption)
{
    auto* button = new QPushButton(caption);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

} // namespace

TForm_ProjectOption::TForm_ProjectOption(MessagePresenter& messages, FileDialogs& files,
    const ProjectOptions& options, const QString& projectDirectory, int page, QWidget* parent)
    : QDialog(parent)
    , messages_(messages)
    , files_(files)
    , projectDirectory_(projectDirectory)
    , tabs_(new QTabWidget)
    , title_(Field(QStringLiteral("Edit_Title"), options.Title))
    , name_(Field(QStringLiteral("Edit_Name"), options.AuthorName))
    , nameKana_(Field(QStringLiteral("Edit_NameKana"), options.AuthorKana))
    , mail_(Field(QStringLiteral("Edit_Mail"), options.AuthorMail))
    , ownerDefault_(new QCheckBox(QStringLiteral("デフォルト")))
    , root_(Field(QStringLiteral("Edit_Root"), options.RootDir))
    , banner_(Field(QStringLiteral("Edit_Banner"), options.BannerDir))
    , defaultFile_(Field(QStringLiteral("Edit_Default"), options.DefaultFile))
    , subFile_(Field(QStringLiteral("Edit_Sub"), options.SubFile))
    , parentAnchor_(Field(QStringLiteral("ParentAnchor"), options.ParentAnchor))
    , parentPath_(Field(QStringLiteral("ParentPath"), options.ParentPath))
    , pageEncoding_(new QComboBox)
    , siteSearch_(new QCheckBox(QStringLiteral("search.html を書き出す(&S)")))
    , feed_(new QCheckBox(QStringLiteral("feed.xml (Atom) を書き出す(&F)")))
    , feedCount_(new QSpinBox)
    , sitemap_(new QCheckBox(QStringLiteral("sitemap.xml を書き出す(&M)")))
    , baseUrl_(Field(QStringLiteral("BaseUrl"), options.Publishing.baseUrl))
    , publishCommand_(Field(QStringLiteral("PublishCommand"), options.Publishing.publishCommand))
{
    setObjectName(QStringLiteral("TForm_ProjectOption"));
    setWindowTitle(QStringLiteral("プロジェクトオプション"));
    tabs_->setObjectName(QStringLiteral("PageControl"));
    ownerDefault_->setObjectName(QStringLiteral("CheckBox_Default"));

    auto* titleForm = new QFormLayout(Page(tabs_, QStringLiteral("タイトル")));
    titleForm->addRow(QStringLiteral("タイトル"), title_);
    auto* ownerForm = new QFormLayout(Page(tabs_, QStringLiteral("管理者")));
    ownerForm->addRow(QStringLiteral("名前"), name_);
    ownerForm->addRow(QStringLiteral("名前(かな)"), nameKana_);
    ownerForm->addRow(QStringLiteral("E-Mail"), mail_);
    ownerForm->addRow(QString(), ownerDefault_);
    QPushButton* rootBrowse = Button(QStringLiteral("Button_Root"), QStringLiteral("参照"));
    QPushButton* bannerBrowse = Button(QStringLiteral("Button_Banner"), QStringLiteral("参照"));
    auto* filesForm = new QFormLayout(Page(tabs_, QStringLiteral("ディレクトリ・ファイル名")));
    filesForm->addRow(QStringLiteral("ルートディレクトリ"), FieldRow(root_, {rootBrowse}));
    filesForm->addRow(QStringLiteral("バナーディレクトリ"), FieldRow(banner_, {bannerBrowse}));
    filesForm->addRow(QStringLiteral("デフォルトファイル名"), defaultFile_);
    filesForm->addRow(QStringLiteral("サブファイル名"), subFile_);
    QPushButton* topDirectory = Button(QStringLiteral("Button_TopDirectory"), QStringLiteral("ディレクトリ選択"));
    QPushButton* topFile = Button(QStringLiteral("Button_TopFile"), QStringLiteral("ファイル選択"));
    auto* topForm = new QFormLayout(Page(tabs_, QStringLiteral("最上位リンク")));
    topForm->addRow(QStringLiteral("リンク文字列"), parentAnchor_);
    topForm->addRow(QStringLiteral("リンク先"), FieldRow(parentPath_, {topDirectory, topFile}));
    tabs_->addTab(PublishingPage(), QStringLiteral("公開"));
    const SitePublishing& publishing = options.Publishing;
    pageEncoding_->setCurrentIndex(publishing.pageEncoding == PageEncoding::Utf8 ? 1 : 0);
    siteSearch_->setChecked(publishing.siteSearch);
    feed_->setChecked(publishing.feedCount > 0);
    feedCount_->setValue(publishing.feedCount > 0 ? publishing.feedCount : kDefaultFeedCount);
    feedCount_->setEnabled(feed_->isChecked());
    sitemap_->setChecked(publishing.sitemap);

    connect(rootBrowse, &QPushButton::clicked, this, &TForm_ProjectOption::BrowseRoot);
    connect(bannerBrowse, &QPushButton::clicked, this, &TForm_ProjectOption::BrowseBanner);
    connect(topDirectory, &QPushButton::clicked, this, &TForm_ProjectOption::BrowseTopDirectory);
    connect(topFile, &QPushButton::clicked, this, &TForm_ProjectOption::BrowseTopFile);
    QDialogButtonBox* buttons
        = DialogButtons(this, QStringLiteral("決定"), [this] { Button1Click(); }, help::kProjectOption);
    // The reading is checked as soon as the user moves on to another field;
    // cancelling or asking for help must stay possible with a bad one.
    connect(qApp, &QApplication::focusChanged, this, [this, buttons](QWidget* old, QWidget* now) {
        const bool leavingTheDialog = now != nullptr && buttons->buttonRole(qobject_cast<QAbstractButton*>(now))
                != QDialogButtonBox::InvalidRole
            && buttons->buttonRole(qobject_cast<QAbstractButton*>(now)) != QDialogButtonBox::AcceptRole;
        if (old == nameKana_ && now != nullptr && isAncestorOf(now) && !leavingTheDialog
            && !CheckOwnerKana(Options(), messages_)) {
            nameKana_->setFocus();
        }
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_, 1);
    layout->addWidget(buttons);
    tabs_->setCurrentIndex(std::clamp(page, 0, tabs_->count() - 1));
    // The page asked for opens ready for typing in its first field.
    QWidget* shownPage = tabs_->currentWidget();
    for (QWidget* next = shownPage->nextInFocusChain(); shownPage->isAncestorOf(next);
         next = next->nextInFocusChain()) {
        if (auto* edit = qobject_cast<QLineEdit*>(next)) {
            edit->setFocus();
            break;
        }
    }
    resize(560, 300);
}

TForm_ProjectOption::~TForm_ProjectOption()
{
    // Focus moves while the dialog is torn down; its fields are gone by then.
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
}

QWidget* TForm_ProjectOption::PublishingPage()
{
    auto* page = new QWidget;
    pageEncoding_->setObjectName(QStringLiteral("PageEncoding"));
    pageEncoding_->addItems({QStringLiteral("Shift_JIS"), QStringLiteral("UTF-8")});
    pageEncoding_->setToolTip(QStringLiteral("GitHub Pages などの今のホストは UTF-8 でページを送ります."));
    siteSearch_->setObjectName(QStringLiteral("SiteSearch"));
    feed_->setObjectName(QStringLiteral("Feed"));
    feedCount_->setObjectName(QStringLiteral("FeedCount"));
    feedCount_->setRange(1, 10000);
    feedCount_->setSuffix(QStringLiteral(" 件"));
    sitemap_->setObjectName(QStringLiteral("Sitemap"));
    baseUrl_->setPlaceholderText(QStringLiteral("https://example.jp/~hanako/"));
    publishCommand_->setPlaceholderText(QStringLiteral("rsync -av --delete \"$TESSALY_ROOT\"/ me@host:public_html/"));
    connect(feed_, &QCheckBox::toggled, feedCount_, &QWidget::setEnabled);
    auto* note = new QLabel(QStringLiteral("公開コマンドはプロジェクト出力の後に /bin/sh で実行されます.\n"
                                           "ルートディレクトリは環境変数 TESSALY_ROOT で渡されます."));
    note->setWordWrap(true);

    auto* form = new QFormLayout(page);
    form->addRow(QStringLiteral("ページの文字コード(&E)"), pageEncoding_);
    form->addRow(QStringLiteral("サイト内検索ページ"), siteSearch_);
    form->addRow(QStringLiteral("フィード"), FieldRow(feed_, {feedCount_}));
    form->addRow(QStringLiteral("サイトマップ"), sitemap_);
    form->addRow(QStringLiteral("サイトのアドレス(&A)"), baseUrl_);
    form->addRow(QStringLiteral("公開コマンド(&P)"), publishCommand_);
    form->addRow(QString(), note);
    return page;
}

SitePublishing TForm_ProjectOption::Publishing() const
{
    SitePublishing publishing;
    publishing.pageEncoding = pageEncoding_->currentIndex() == 1 ? PageEncoding::Utf8 : PageEncoding::ShiftJis;
    publishing.siteSearch = siteSearch_->isChecked();
    publishing.feedCount = feed_->isChecked() ? feedCount_->value() : 0;
    publishing.sitemap = sitemap_->isChecked();
    publishing.baseUrl = ToSjisOrEmpty(baseUrl_->text());
    publishing.publishCommand = ToSjisOrEmpty(publishCommand_->text());
    return publishing;
}

QLineEdit* TForm_ProjectOption::Field(const QString& name, const std::string& text)
{
    auto* field = new QLineEdit(ToQString(text));
    field->setObjectName(name);
    GuardShiftJisInput(field, messages_);
    return field;
}

ProjectOptions TForm_ProjectOption::Options() const
{
    const auto text = [](const QLineEdit* field) { return ToSjisOrEmpty(field->text()); };
    return {text(title_), text(name_), text(nameKana_), text(mail_), text(root_), text(banner_), text(defaultFile_),
        text(subFile_), text(parentAnchor_), text(parentPath_), Publishing()};
}

bool TForm_ProjectOption::StoreAsDefault() const
{
    return ownerDefault_->isChecked();
}

QLineEdit* TForm_ProjectOption::FieldOf(OptionsField field) const
{
    switch (field) {
    case OptionsField::AuthorName: return name_;
    case OptionsField::AuthorKana: return nameKana_;
    case OptionsField::RootDir: return root_;
    case OptionsField::BannerDir: return banner_;
    case OptionsField::DefaultFile: return defaultFile_;
    case OptionsField::SubFile: return subFile_;
    case OptionsField::BaseUrl: return baseUrl_;
    case OptionsField::None: break;
    }
    return title_;
}

void TForm_ProjectOption::Button1Click()
{
    ProjectOptions options = Options();
    const OptionsVerdict verdict = CheckProjectOptions(options, messages_);
    // The names filled in on the user's word show in their fields.
    defaultFile_->setText(ToQString(options.DefaultFile));
    subFile_->setText(ToQString(options.SubFile));
    baseUrl_->setText(ToQString(options.Publishing.baseUrl));
    if (verdict.ok) {
        accept();
        return;
    }
    tabs_->setCurrentIndex(OptionsTabOf(verdict.field));
    FieldOf(verdict.field)->setFocus();
}

QString TForm_ProjectOption::ExistingOr(const QString& path, const QString& fallback) const
{
    return !path.isEmpty() && QFileInfo(path).isDir() ? path : fallback;
}

void TForm_ProjectOption::BrowseRoot()
{
    const QString start = ExistingOr(root_->text(), ExistingOr(projectDirectory_, QString()));
    if (const std::optional<QString> chosen = files_.ChooseDirectory(this, QStringLiteral("ルートディレクトリ"), start)) {
        root_->setText(*chosen);
    }
}

void TForm_ProjectOption::BrowseBanner()
{
    const QString start
        = ExistingOr(banner_->text(), ExistingOr(root_->text(), ExistingOr(projectDirectory_, QString())));
    if (const std::optional<QString> chosen
        = files_.ChooseDirectory(this, QStringLiteral("バナーディレクトリ"), start)) {
        banner_->setText(*chosen);
    }
}

void TForm_ProjectOption::BrowseTopDirectory()
{
    // A relative top-page path is taken from the root, like the links to it.
    const QString root = ExistingOr(root_->text(), ExistingOr(projectDirectory_, QString()));
    const QString top = parentPath_->text();
    const QString topFolder
        = top.isEmpty() ? QString() : QFileInfo(QDir(root).filePath(top)).absolutePath();
    const QString start = ExistingOr(topFolder, root);
    if (const std::optional<QString> chosen = files_.ChooseDirectory(this, QStringLiteral("ディレクトリ選択"), start)) {
        parentPath_->setText(chosen->endsWith(QLatin1Char('/')) ? *chosen : *chosen + QLatin1Char('/'));
    }
}

void TForm_ProjectOption::BrowseTopFile()
{
    const QString start = ExistingOr(root_->text(), ExistingOr(projectDirectory_, QString()));
    if (const std::optional<QString> chosen
        = files_.OpenFile(this, QStringLiteral("ファイル選択"), QStringLiteral("すべてのファイル (*)"), start)) {
        parentPath_->setText(*chosen);
    }
}

} // namespace tessaly
