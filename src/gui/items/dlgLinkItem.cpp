#include "gui/items/dlgLinkItem.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QKeySequence>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QToolBar>
#include <QVBoxLayout>

#include "gui/DialogButtons.h"
#include "gui/GuiText.h"
#include "gui/items/ItemProblemWarning.h"
#include "gui/items/ReadingFiller.h"
#include "gui/Icons.h"
#include "gui/InputGuard.h"
#include "core/collection/Project.h"
#include "gui/shell/dlgHelp.h"
#include "gui/items/frmDateTimePicker.h"
#include "core/text/Codepage.h"
#include "core/text/FieldText.h"
#include "core/text/Kana.h"
#include "core/text/Strings.h"
#include "core/text/Url.h"
#include "core/util/Messages.h"
#include "gui/shell/HelpTopics.h"

namespace tessaly {

namespace {


std::string Trimmed(const QLineEdit* edit)
{
    return std::string(Trim(ToSjisOrEmpty(edit->text())));
}

QListWidget* CheckList(const QString& name, const std::vector<std::string>& names)
{
    auto* list = new QListWidget;
    list->setObjectName(name);
    for (const std::string& entry : names) {
        auto* item = new QListWidgetItem(ToQString(entry), list);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    return list;
}

void ShowTags(QListWidget* list, const std::vector<std::string>& names, std::string_view tagList)
{
    for (int i = 0; i < list->count(); ++i) {
        const bool has = ListContainsName(tagList, names[static_cast<std::size_t>(i)]);
        list->item(i)->setCheckState(has ? Qt::Checked : Qt::Unchecked);
    }
}

std::string CheckedTags(const QListWidget* list, const std::vector<std::string>& names)
{
    std::string tags;
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->checkState() == Qt::Checked) {
            if (!tags.empty()) {
                tags += '/';
            }
            tags += EscapeField(names[static_cast<std::size_t>(i)]);
        }
    }
    return tags;
}

} // namespace

TForm_LinkItem::TForm_LinkItem(MessagePresenter& messages, const std::vector<std::string>& attributes,
    const std::vector<std::string>& contents, TDateTime today, QWidget* parent)
    : QDialog(parent)
    , messages_(messages)
    , attributeNames_(attributes)
    , contentNames_(contents)
    , serialPanel_(new QLabel)
    , genrePanel_(new QLabel)
    , title_(AddLine(QStringLiteral("Edit_Title")))
    , titleKana_(AddLine(QStringLiteral("Edit_TitleKana")))
    , page_(AddLine(QStringLiteral("Edit_Page")))
    , banner_(AddLine(QStringLiteral("Edit_Banner")))
    , width_(AddLine(QStringLiteral("Edit_X")))
    , height_(AddLine(QStringLiteral("Edit_Y")))
    , date_(new TFrame_DateTimePicker)
    , author_(AddLine(QStringLiteral("Edit_Author")))
    , authorKana_(AddLine(QStringLiteral("Edit_AuthorKana")))
    , mail_(AddLine(QStringLiteral("Edit_Mail")))
    , comment_(new QPlainTextEdit)
    , attributes_(CheckList(QStringLiteral("CheckBox_Attr"), attributes))
    , contents_(CheckList(QStringLiteral("CheckBox_Content"), contents))
    , titleReading_(new ReadingFiller(title_, titleKana_, this))
    , authorReading_(new ReadingFiller(author_, authorKana_, this))
    , status_(new QLabel)
{
    setObjectName(QStringLiteral("TForm_LinkItem"));
    setWindowTitle(QStringLiteral("アイテムプロパティ"));
    serialPanel_->setObjectName(QStringLiteral("Panel_Serial"));
    genrePanel_->setObjectName(QStringLiteral("Panel_Genre"));
    date_->setObjectName(QStringLiteral("RegistDate"));
    comment_->setObjectName(QStringLiteral("Comment"));
    GuardShiftJisInput(comment_, messages_);
    comment_->setTabChangesFocus(true); // Tab goes on to the attribute list
    for (QLineEdit* number : {width_, height_}) {
        number->setAlignment(Qt::AlignRight);
        number->setValidator(new QIntValidator(0, 99999, number));
        number->setMaximumWidth(64);
    }
    width_->setText(QStringLiteral("200"));
    height_->setText(QStringLiteral("40"));
    date_->SetDate(today);

    auto* tools = new QToolBar;
    tools->addWidget(new QLabel(QStringLiteral(" ジャンル ")));
    tools->addWidget(genrePanel_);
    tools->addWidget(new QLabel(QStringLiteral("  シリアル ")));
    tools->addWidget(serialPanel_);
    tools->addSeparator();
    QAction* browse = tools->addAction(DrawnIcon(ProgramIcon::Browse), QString());
    browse->setToolTip(QStringLiteral("ブラウザで表示"));
    browse->setObjectName(QStringLiteral("TB_Browse"));
    connect(browse, &QAction::triggered, this, [this] {
        if (openUrl) {
            openUrl(FullUrl(ToSjisOrEmpty(page_->text())));
        }
    });
    QAction* mail = tools->addAction(DrawnIcon(ProgramIcon::Mail), QString());
    mail->setToolTip(QStringLiteral("作者にメール送信"));
    mail->setObjectName(QStringLiteral("TB_Mail"));
    QAction* help = tools->addAction(style()->standardIcon(QStyle::SP_DialogHelpButton), QString());
    help->setToolTip(QStringLiteral("ヘルプ"));
    help->setObjectName(QStringLiteral("TB_Help"));
    connect(help, &QAction::triggered, this, [this] { ShowHelp(this, help::kLinkItem); });
    SetHelpTopic(this, help::kLinkItem);
    tools->addSeparator();
    guessReading_ = tools->addAction(QStringLiteral("読みを推測"));
    guessReading_->setObjectName(QStringLiteral("TB_GuessReading"));
    guessReading_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    guessReading_->setShortcutContext(Qt::WindowShortcut);
    connect(guessReading_, &QAction::triggered, this, [this] {
        const bool author = author_->hasFocus() || authorKana_->hasFocus();
        GuessReading(author ? *authorReading_ : *titleReading_, author ? authorKana_ : titleKana_);
    });
    SetReadingService(nullptr);
    connect(mail, &QAction::triggered, this, [this] {
        const std::string address = ToSjisOrEmpty(mail_->text());
        if (mailTo && !address.empty()) {
            mailTo(address);
        }
    });

    const auto withPrefix = [](QLineEdit* edit) {
        auto* row = new QWidget;
        auto* layout = new QHBoxLayout(row);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* prefix = new QLabel(QStringLiteral("http://"));
        prefix->setObjectName(edit->objectName() + QStringLiteral("Scheme"));
        prefix->setBuddy(edit);
        // An address typed with a scheme of its own ("https://") is kept as
        // it is, so the fixed text would mislead.
        QObject::connect(edit, &QLineEdit::textChanged, prefix,
            [prefix](const QString& text) { prefix->setHidden(HasUrlScheme(text.toStdString())); });
        layout->addWidget(prefix);
        layout->addWidget(edit, 1);
        row->setFocusProxy(edit);
        return row;
    };
    auto* size = new QWidget;
    auto* sizeLayout = new QHBoxLayout(size);
    sizeLayout->setContentsMargins(0, 0, 0, 0);
    for (auto [caption, edit] : {std::pair{QStringLiteral("X"), width_}, std::pair{QStringLiteral("Y"), height_}}) {
        auto* label = new QLabel(caption);
        label->setBuddy(edit);
        sizeLayout->addWidget(label);
        sizeLayout->addWidget(edit);
    }
    sizeLayout->addStretch();
    size->setFocusProxy(width_);
    date_->setFocusProxy(date_->YearBox());

    auto* page = new QGroupBox(QStringLiteral("ページ情報"));
    auto* pageForm = new QFormLayout(page);
    pageForm->addRow(QStringLiteral("タイトル"), title_);
    pageForm->addRow(QStringLiteral("タイトル(かな)"), titleKana_);
    pageForm->addRow(QStringLiteral("ページURL"), withPrefix(page_));
    pageForm->addRow(QStringLiteral("バナーURL"), withPrefix(banner_));
    pageForm->addRow(QStringLiteral("バナーサイズ"), size);
    pageForm->addRow(QStringLiteral("登録日"), date_);
    auto* owner = new QGroupBox(QStringLiteral("作者情報"));
    auto* ownerForm = new QFormLayout(owner);
    ownerForm->addRow(QStringLiteral("作者名"), author_);
    ownerForm->addRow(QStringLiteral("作者名(かな)"), authorKana_);
    ownerForm->addRow(QStringLiteral("E-Mail"), mail_);
    auto* comment = new QGroupBox(QStringLiteral("コメント"));
    (new QVBoxLayout(comment))->addWidget(comment_);

    QDialogButtonBox* buttons = OkCancelButtons(this, [this] { Button1Click(); });

    auto* left = new QVBoxLayout;
    left->addWidget(page);
    left->addWidget(owner);
    left->addWidget(comment, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("アトリビュート")));
    right->addWidget(attributes_, 1);
    right->addWidget(new QLabel(QStringLiteral("コンテンツ")));
    right->addWidget(contents_, 1);
    right->addWidget(buttons);
    auto* body = new QHBoxLayout;
    body->addLayout(left, 3);
    body->addLayout(right, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tools);
    layout->addLayout(body, 1);
    status_->setObjectName(QStringLiteral("Label_Status"));
    layout->addWidget(status_);
    resize(720, 560);

    // Focus aids: a click on a field's label moves the focus to the field;
    // the section holding the focus shows its title highlighted.
    for (QLabel* label : findChildren<QLabel*>()) {
        if (label->buddy() != nullptr) {
            label->installEventFilter(this);
        }
    }
    sections_ = {page, owner, comment};
    connect(qApp, &QApplication::focusChanged, this, [this, buttons](QWidget* old, QWidget* now) {
        // A reading is checked when the user moves on to another field of
        // this dialog: not on a right click (a popup menu is a window of its
        // own), not when another window takes the focus, and not on the way
        // to OK, which checks again, or to Cancel, which keeps nothing.
        const bool movedOn = now != nullptr && now != old && isAncestorOf(now) && !buttons->isAncestorOf(now);
        if (movedOn && (old == titleKana_ || old == authorKana_)) {
            LeaveReading(static_cast<QLineEdit*>(old));
        }
        if (movedOn && (old == title_ || old == author_)) {
            GuessReading(old == title_ ? *titleReading_ : *authorReading_, nullptr);
            FollowTitleReading();
        }
        for (QGroupBox* section : sections_) {
            const bool active = now != nullptr && section->isAncestorOf(now);
            section->setStyleSheet(active ? QStringLiteral("QGroupBox::title { color: palette(highlighted-text); "
                                                           "background: palette(highlight); font-weight: bold; }")
                                          : QString());
        }
    });

    setTabOrder(title_, titleKana_);
    setTabOrder(titleKana_, page_);
    setTabOrder(page_, banner_);
    setTabOrder(banner_, width_);
    setTabOrder(width_, height_);
    setTabOrder(height_, date_->YearBox());
    setTabOrder(date_->DayBox(), author_);
    setTabOrder(author_, authorKana_);
    setTabOrder(authorKana_, mail_);
    setTabOrder(mail_, comment_);
    setTabOrder(comment_, attributes_);
    setTabOrder(attributes_, contents_);
    setTabOrder(contents_, buttons);
}

TForm_LinkItem::~TForm_LinkItem()
{
    // Focus moves while the dialog is torn down; its sections are gone by then.
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
}

QLineEdit* TForm_LinkItem::AddLine(const QString& name)
{
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    edit->installEventFilter(this);
    GuardShiftJisInput(edit, messages_);
    return edit;
}

bool TForm_LinkItem::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        if (auto* label = qobject_cast<QLabel*>(watched); label != nullptr && label->buddy() != nullptr) {
            label->buddy()->setFocus(Qt::MouseFocusReason);
            return true;
        }
    }
    if (event->type() == QEvent::FocusOut) {
        auto* edit = qobject_cast<QLineEdit*>(watched);
        if (edit == page_ || edit == banner_ || edit == mail_) {
            LeaveAddress(edit);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TForm_LinkItem::SetLinkItem(const TLinkItem& item)
{
    carried_ = item;
    serialPanel_->setText(
        item.Serial == kUnnumbered ? QStringLiteral("(新規)") : QString::fromStdString(FormatSerial(item.Serial)));
    const bool unfiled = item.GenreName.empty();
    const bool trash = item.GenreName == kTrashGenreMark;
    genrePanel_->setText(unfiled ? ToQString(UnfiledGenreName())
            : trash              ? ToQString(TrashGenreName())
                                 : ToQString(item.GenreName));
    genrePanel_->setStyleSheet(unfiled || trash ? QStringLiteral("color: red; font-weight: bold;") : QString());
    title_->setText(ToQString(item.Title));
    titleKana_->setText(ToQString(item.TitleKana));
    page_->setText(ToQString(item.Url));
    banner_->setText(ToQString(item.Banner));
    width_->setText(QString::number(item.BannerX));
    height_->setText(QString::number(item.BannerY));
    date_->SetDate(item.Date);
    author_->setText(ToQString(item.Author));
    authorKana_->setText(ToQString(item.AuthorKana));
    mail_->setText(ToQString(item.Mail));
    comment_->setPlainText(ToQString(item.Comment).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    ShowTags(attributes_, attributeNames_, item.Attributes);
    ShowTags(contents_, contentNames_, item.Contents);
}

TLinkItem TForm_LinkItem::LinkItem() const
{
    TLinkItem item = carried_;
    item.Title = Trimmed(title_);
    item.TitleKana = Trimmed(titleKana_);
    item.Url = Trimmed(page_);
    item.Banner = Trimmed(banner_);
    item.BannerX = ParseInt32(ToSjisOrEmpty(width_->text())).value_or(kDefaultBannerWidth);
    item.BannerY = ParseInt32(ToSjisOrEmpty(height_->text())).value_or(kDefaultBannerHeight);
    item.Date = date_->Date().value_or(item.Date);
    item.Author = Trimmed(author_);
    item.AuthorKana = Trimmed(authorKana_);
    item.Mail = Trimmed(mail_);
    item.Comment = ToSjisOrEmpty(comment_->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n")));
    item.Attributes = CheckedTags(attributes_, attributeNames_);
    item.Contents = CheckedTags(contents_, contentNames_);
    return item;
}

void TForm_LinkItem::SetReadingService(const ReadingService* readings)
{
    readings_ = readings;
    guessReading_->setEnabled(readings != nullptr);
    guessReading_->setToolTip(readings != nullptr
            ? QStringLiteral("タイトルまたは作者名から読みを推測します (Ctrl+R)")
            : QStringLiteral("MeCab の辞書 (mecab-ipadic-utf8) がないため、読みを推測できません"));
}

void TForm_LinkItem::GuessReading(ReadingFiller& filler, QLineEdit* focusTarget)
{
    switch (filler.Fill(readings_)) {
    case ReadingFiller::Outcome::Complete: status_->setText(QStringLiteral("読みを推測しました.")); break;
    case ReadingFiller::Outcome::Uncertain:
        status_->setText(QStringLiteral(
            "読みを推測しましたが確かではありません (辞書にない語、読みの分かれる名前、英字・数字). 確かめて下さい."));
        break;
    case ReadingFiller::Outcome::Partial:
        status_->setText(QStringLiteral("読みの一部だけを推測しました (読めない字があります). 確かめて下さい."));
        break;
    case ReadingFiller::Outcome::NothingRead: status_->setText(QStringLiteral("読みを推測できませんでした.")); break;
    case ReadingFiller::Outcome::Typed:
        if (focusTarget != nullptr) {
            status_->setText(QStringLiteral("入力された読みはそのままにしました. 消してから推測して下さい."));
        }
        return;
    case ReadingFiller::Outcome::Unavailable: return;
    }
    if (focusTarget != nullptr) {
        focusTarget->setFocus();
        focusTarget->selectAll();
    }
}

void TForm_LinkItem::LeaveReading(QLineEdit* edit)
{
    if (!IsHiragana(Trimmed(edit))) {
        messages_.Show(MessageKind::Warning, SjisText(SJ(kReadingWarning)), MessageButton::Retry);
        edit->setFocus();
        return;
    }
    // The copy stands in until the field's own text gives a reading.
    if (!titleKana_->text().isEmpty() && authorKana_->text().isEmpty()) {
        authorReading_->Suggest(titleKana_->text());
    } else if (titleKana_->text().isEmpty() && !authorKana_->text().isEmpty()) {
        titleReading_->Suggest(authorKana_->text());
    }
    FollowTitleReading();
}

void TForm_LinkItem::FollowTitleReading()
{
    // Without an author, the copy of the title's reading follows it until
    // the user types a reading of his own.
    if (author_->text().trimmed().isEmpty() && !titleKana_->text().isEmpty()
        && (authorKana_->text().isEmpty() || authorReading_->HoldsSuggestion())
        && authorKana_->text() != titleKana_->text()) {
        authorReading_->Suggest(titleKana_->text());
    }
}

void TForm_LinkItem::LeaveAddress(QLineEdit* edit)
{
    edit->setText(ToQString(StripUrlScheme(ToSjisOrEmpty(edit->text()))));
}

void TForm_LinkItem::Button1Click()
{
    // Every check looks at the fields as they will be stored (an address
    // of "http://" alone is none), so an accepted item is always read back.
    TLinkItem stored = LinkItem();
    for (std::string* address : {&stored.Url, &stored.Banner, &stored.Mail}) {
        *address = StripUrlScheme(*address);
    }
    const ItemProblem problem = date_->Date().has_value() ? FindItemProblem(stored) : ItemProblem::DateInvalid;
    const auto refuse = [this](const char* message, QWidget* field) {
        messages_.Show(MessageKind::Warning, SjisText(SJ(message)), MessageButton::Retry);
        field->setFocus();
    };
    switch (problem) {
    case ItemProblem::None:
        for (QLineEdit* address : {page_, banner_, mail_}) {
            LeaveAddress(address);
        }
        accept();
        break;
    case ItemProblem::TitleMissing: refuse(ItemProblemWarning(problem), title_); break;
    case ItemProblem::TitleKanaMissing:
    case ItemProblem::TitleKanaNotHiragana: refuse(ItemProblemWarning(problem), titleKana_); break;
    case ItemProblem::AuthorKanaMissing:
    case ItemProblem::AuthorKanaNotHiragana: refuse(ItemProblemWarning(problem), authorKana_); break;
    case ItemProblem::UrlMissing: refuse(ItemProblemWarning(problem), page_); break;
    case ItemProblem::DateInvalid: RefuseYearZero(messages_, date_); break;
    case ItemProblem::NoSerialLeft: break; // the project's, found when the item is added
    }
}

} // namespace tessaly
