#include "gui/templates/dlgProjectTemplate.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "gui/DialogButtons.h"
#include "gui/GuiText.h"
#include "gui/Icons.h"
#include "gui/InputGuard.h"
#include "gui/shell/dlgOtherProg.h"
#include "gui/model/dlgStrInput.h"
#include "core/templates/TemplateEditFile.h"
#include "core/templates/TemplateKeywords.h"
#include "core/text/Codepage.h"
#include "core/util/Messages.h"
#include "gui/shell/HelpTopics.h"

namespace tessaly {

namespace {

constexpr int kRowHeight = 20;
constexpr int kBodyTab = 1;

// The rows of the template list: built-ins on the tooltip colour, the
// project's own on the window colour, the selected one bold; each framed.
class TemplateRowDelegate final : public QStyledItemDelegate {
public:
    explicit TemplateRowDelegate(QObject* parent)
        : QStyledItemDelegate(parent)
        , builtin_(DrawnIcon(ProgramIcon::TemplateBuiltin))
        , user_(DrawnIcon(ProgramIcon::TemplateUser))
    {
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), kRowHeight};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool builtin = index.row() < kBuiltinTemplateCount;
        const bool selected = (option.state & QStyle::State_Selected) != 0;
        const QPalette::ColorGroup group
            = (option.state & QStyle::State_Active) != 0 ? QPalette::Active : QPalette::Inactive;
        const QPalette& palette = option.palette;
        const QRect row = option.rect;
        painter->save();
        painter->fillRect(row,
            selected      ? palette.color(group, QPalette::Highlight)
                : builtin ? palette.color(group, QPalette::ToolTipBase)
                          : palette.color(group, QPalette::Base));
        (builtin ? builtin_ : user_).paint(painter, QRect(row.left() + 4, row.top() + 2, 16, 16));
        QFont font = option.font;
        font.setBold(selected);
        painter->setFont(font);
        painter->setPen(selected ? palette.color(group, QPalette::HighlightedText)
                : builtin        ? palette.color(group, QPalette::ToolTipText)
                                 : palette.color(group, QPalette::Text));
        const QRect text(row.left() + 24, row.top() + 4, row.width() - 26, row.height() - 4);
        painter->drawText(text, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
            QFontMetrics(font).elidedText(index.data().toString(), Qt::ElideRight, text.width()));
        painter->setPen(palette.color(group, QPalette::Shadow));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(row.adjusted(0, 0, -1, -1));
        painter->restore();
    }

private:
    QIcon builtin_;
    QIcon user_;
};

QPlainTextEdit* Memo(const QString& name, bool acceptTabs, MessagePresenter& messages)
{
    auto* memo = new QPlainTextEdit;
    memo->setObjectName(name);
    memo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo->setTabChangesFocus(!acceptTabs);
    memo->setTabStopDistance(memo->fontMetrics().horizontalAdvance(QLatin1Char(' ')) * 8);
    GuardShiftJisInput(memo, messages);
    return memo;
}

QLineEdit* Mark(const QString& name, MessagePresenter& messages)
{
    auto* mark = new QLineEdit;
    mark->setObjectName(name);
    mark->setMaximumWidth(80);
    GuardShiftJisInput(mark, messages);
    return mark;
}

// The editors hold LF line ends, the templates CR LF.
QString EditorText(std::string_view sjis)
{
    QString text = ToQString(sjis);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

std::string TemplateText(const QString& text)
{
    return ToSjis(text).value_or(std::string());
}

} // namespace

TForm_ProjectTemplate::TForm_ProjectTemplate(MessagePresenter& messages, const QString& editorPath, QWidget* parent)
    : QDialog(parent)
    , messages_(messages)
    , editorPath_(editorPath)
    , templates_(new QListWidget)
    , editPanel_(new QWidget)
    , tabs_(new QTabWidget)
    , memos_{Memo(QStringLiteral("Memo_Header"), false, messages), Memo(QStringLiteral("Memo_Body"), true, messages),
          Memo(QStringLiteral("Memo_Footer"), true, messages)}
    , marks_{Mark(QStringLiteral("Edit_AttrTop"), messages), Mark(QStringLiteral("Edit_AttrEnd"), messages),
          Mark(QStringLiteral("Edit_AttrQuot"), messages)}
    , callEditor_(new QPushButton(QStringLiteral("エディタ")))
    , symbols_(new QTreeWidget)
{
    setObjectName(QStringLiteral("TForm_ProjectTemplate"));
    setWindowTitle(QStringLiteral("アイテムテンプレート設定"));
    SetTemporaryDirectory({});

    auto* tools = new QToolBar;
    tools->setObjectName(QStringLiteral("ToolBar_Template"));
    tools->setIconSize(QSize(16, 16));
    tools->setStyleSheet(QStringLiteral("QToolBar { spacing: 0px; padding: 0px; border: 0px; } "
                                        "QToolButton { padding: 1px; }"));
    const auto command = [&](const char* name, const QString& hint, QStyle::StandardPixmap icon,
                             void (TForm_ProjectTemplate::*handler)()) {
        QAction* action = tools->addAction(style()->standardIcon(icon), hint);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    new_ = command("TB_TemplateNew", QStringLiteral("新規"), QStyle::SP_FileDialogNewFolder,
        &TForm_ProjectTemplate::TB_TemplateNewClick);
    rename_ = command("TB_TemplateEdit", QStringLiteral("名前の変更"), QStyle::SP_FileDialogDetailedView,
        &TForm_ProjectTemplate::TB_TemplateEditClick);
    erase_ = command("TB_TemplateErase", QStringLiteral("削除"), QStyle::SP_TrashIcon,
        &TForm_ProjectTemplate::TB_TemplateEraseClick);
    up_ = command(
        "TB_TemplateUp", QStringLiteral("上へ"), QStyle::SP_ArrowUp, &TForm_ProjectTemplate::TB_TemplateUpClick);
    down_ = command(
        "TB_TemplateDown", QStringLiteral("下へ"), QStyle::SP_ArrowDown, &TForm_ProjectTemplate::TB_TemplateDownClick);

    templates_->setObjectName(QStringLiteral("ListBox_Template"));
    templates_->setItemDelegate(new TemplateRowDelegate(templates_));
    templates_->setUniformItemSizes(true);
    templates_->setSelectionMode(QAbstractItemView::SingleSelection);
    templates_->setIconSize(QSize(16, 16));
    auto* listPanel = new QWidget;
    listPanel->setObjectName(QStringLiteral("Panel_Template"));
    auto* listLayout = new QVBoxLayout(listPanel);
    listLayout->setContentsMargins(0, 0, 0, 0);
    listLayout->setSpacing(2);
    listLayout->addWidget(tools);
    listLayout->addWidget(templates_, 1);
    listPanel->setFixedWidth(180);

    tabs_->setObjectName(QStringLiteral("PageControl_Template"));
    const QString tabNames[] = {QStringLiteral("ヘッダー"), QStringLiteral("本体"), QStringLiteral("フッター")};
    for (std::size_t i = 0; i < memos_.size(); ++i) {
        auto* page = new QWidget;
        auto* pageLayout = new QVBoxLayout(page);
        pageLayout->setContentsMargins(2, 2, 2, 2);
        pageLayout->addWidget(memos_[i]);
        tabs_->addTab(page, tabNames[i]);
    }
    callEditor_->setObjectName(QStringLiteral("CallEditor"));
    callEditor_->setAutoDefault(false);
    auto* decoration = new QLabel(QStringLiteral("属性修飾記号"));
    decoration->setBuddy(marks_[0]);
    auto* separator = new QLabel(QStringLiteral("属性区切記号"));
    separator->setBuddy(marks_[2]);
    auto* marksLayout = new QGridLayout;
    marksLayout->setContentsMargins(0, 0, 0, 0);
    marksLayout->addWidget(decoration, 0, 0, 1, 2);
    marksLayout->addWidget(separator, 0, 3);
    marksLayout->addWidget(marks_[0], 1, 0);
    marksLayout->addWidget(marks_[1], 1, 1);
    marksLayout->addWidget(marks_[2], 1, 3);
    marksLayout->setColumnMinimumWidth(2, 12);
    marksLayout->setColumnStretch(4, 1);
    marksLayout->addWidget(callEditor_, 1, 5);
    editPanel_->setObjectName(QStringLiteral("Panel_Edit"));
    auto* editLayout = new QVBoxLayout(editPanel_);
    editLayout->setContentsMargins(0, 0, 0, 0);
    editLayout->addWidget(tabs_, 1);
    editLayout->addLayout(marksLayout);

    symbols_->setObjectName(QStringLiteral("ListView_Simbols"));
    symbols_->setHeaderLabels(
        {QStringLiteral("シンボル"), QStringLiteral("場所"), QStringLiteral("種別"), QStringLiteral("説明")});
    symbols_->setRootIsDecorated(false);
    symbols_->setUniformRowHeights(true);
    symbols_->setAllColumnsShowFocus(true);
    symbols_->setSelectionMode(QAbstractItemView::SingleSelection);
    for (const TemplateKeyword& keyword : TemplateKeywords()) {
        symbols_->addTopLevelItem(new QTreeWidgetItem({ToQString(keyword.Symbol), ToQString(keyword.Place),
            ToQString(keyword.Kind), ToQString(keyword.Description)}));
    }
    for (int column = 0; column < 3; ++column) {
        symbols_->resizeColumnToContents(column);
        symbols_->setColumnWidth(column, symbols_->columnWidth(column) + 12);
    }

    auto* top = new QHBoxLayout;
    top->addWidget(listPanel);
    top->addWidget(editPanel_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 3);
    layout->addWidget(symbols_, 2);
    layout->addWidget(DialogButtons(
        this, QStringLiteral("決定"), [this] { Button1Click(); }, help::kProjectTemplate));

    connect(templates_, &QListWidget::itemSelectionChanged, this, [this] {
        Commit();
        ShowSelection();
    });
    connect(symbols_, &QTreeWidget::itemDoubleClicked, this,
        [this](QTreeWidgetItem* row) { ListView_SimbolsDblClick(row); });
    connect(callEditor_, &QPushButton::clicked, this, &TForm_ProjectTemplate::CallEditorClick);
    // Leaving the editing panel keeps what was typed in the template shown.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        const auto inside
            = [this](const QWidget* widget) { return widget != nullptr && editPanel_->isAncestorOf(widget); };
        if (inside(old) && !inside(now)) {
            Commit();
        }
    });

    FillList(0);
    ShowSelection();
    resize(720, 600);
}

TForm_ProjectTemplate::~TForm_ProjectTemplate()
{
    // Focus moves while the dialog is torn down; its editors are gone by then.
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
}

void TForm_ProjectTemplate::AddTemplate(const std::array<std::string, 7>& escapedFields)
{
    list_.AddTemplate(escapedFields);
    FillList(Selected());
}

int TForm_ProjectTemplate::GetTemplateCount() const
{
    return list_.Count();
}

std::string TForm_ProjectTemplate::GetTemplateString(int position) const
{
    return list_.TemplateString(position);
}

void TForm_ProjectTemplate::SetTemporaryDirectory(const QString& directory)
{
    temporaryDirectory_ = directory;
    if (temporaryDirectory_.isEmpty()) {
        // Private to the user and emptied at logout; the file is left there.
        temporaryDirectory_ = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    }
    if (temporaryDirectory_.isEmpty()) {
        temporaryDirectory_ = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    }
}

QString TForm_ProjectTemplate::TemporaryFilePath() const
{
    return QDir(temporaryDirectory_).filePath(QString::fromLatin1(kTemplateEditFileName));
}

int TForm_ProjectTemplate::Selected() const
{
    const QList<QListWidgetItem*> selected = templates_->selectedItems();
    return selected.isEmpty() ? -1 : templates_->row(selected.front());
}

void TForm_ProjectTemplate::FillList(int select)
{
    const QSignalBlocker blocker(templates_);
    templates_->clear();
    for (const std::string& name : list_.Names()) {
        templates_->addItem(ToQString(name));
    }
    if (select >= 0 && select < templates_->count()) {
        templates_->setCurrentRow(select);
    }
}

QString TForm_ProjectTemplate::FieldText(std::size_t field) const
{
    return field < memos_.size() ? memos_[field]->toPlainText() : marks_[field - memos_.size()]->text();
}

void TForm_ProjectTemplate::SetFieldText(std::size_t field, const QString& text)
{
    if (field < memos_.size()) {
        memos_[field]->setPlainText(text);
    } else {
        marks_[field - memos_.size()]->setText(text);
    }
}

QPlainTextEdit* TForm_ProjectTemplate::ActiveEditor() const
{
    return memos_[static_cast<std::size_t>(std::clamp(tabs_->currentIndex(), 0, 2))];
}

void TForm_ProjectTemplate::ShowSelection()
{
    const int selected = Selected();
    const TemplateCommandState state = list_.CommandsFor(selected);
    for (QPlainTextEdit* memo : memos_) {
        memo->setReadOnly(!state.editable);
    }
    for (QLineEdit* mark : marks_) {
        mark->setReadOnly(!state.editable);
    }
    callEditor_->setEnabled(state.editable && !editorPath_.isEmpty());
    new_->setEnabled(true);
    rename_->setEnabled(state.rename);
    erase_->setEnabled(state.erase);
    up_->setEnabled(state.up);
    down_->setEnabled(state.down);
    if (selected < 0) {
        const QString empty[kFieldCount] = {{}, {}, {}, QStringLiteral("["), QStringLiteral("]"), QStringLiteral(",")};
        for (std::size_t field = 0; field < kFieldCount; ++field) {
            SetFieldText(field, empty[field]);
            loaded_[field] = FieldText(field);
        }
    } else if (selected != shownIndex_) {
        for (std::size_t field = 0; field < kFieldCount; ++field) {
            SetFieldText(field, EditorText(list_.Field(selected, static_cast<TemplateField>(field))));
            loaded_[field] = FieldText(field);
        }
    }
    shownIndex_ = selected;
}

void TForm_ProjectTemplate::Commit()
{
    if (!list_.IsUser(shownIndex_)) {
        return;
    }
    for (std::size_t field = 0; field < kFieldCount; ++field) {
        const QString text = FieldText(field);
        if (text == loaded_[field]) {
            continue;
        }
        if (const std::optional<std::string> sjis = ToSjis(text)) {
            list_.SetField(shownIndex_, static_cast<TemplateField>(field), *sjis);
            loaded_[field] = text;
        }
    }
}

void TForm_ProjectTemplate::FocusList()
{
    templates_->setFocus();
    Commit();
}

void TForm_ProjectTemplate::TB_TemplateNewClick()
{
    FocusList();
    TForm_StrInput input(
        messages_, QStringLiteral("テンプレート登録"), QStringLiteral("新規テンプレートを登録します"), this);
    input.SetExisting(list_.Names());
    if (input.exec() != QDialog::Accepted) {
        return;
    }
    FillList(list_.AddNew(TemplateText(input.Text())));
    ShowSelection();
}

void TForm_ProjectTemplate::TB_TemplateEditClick()
{
    FocusList();
    const int selected = Selected();
    if (!list_.IsUser(selected)) {
        return;
    }
    TForm_StrInput input(
        messages_, QStringLiteral("テンプレート名変更"), QStringLiteral("テンプレート名を変更します"), this);
    input.SetText(ToQString(list_.Name(selected)));
    input.SetExisting(list_.Names(), selected);
    if (input.exec() != QDialog::Accepted) {
        return;
    }
    list_.Rename(selected, TemplateText(input.Text()));
    FillList(selected);
    ShowSelection();
}

void TForm_ProjectTemplate::TB_TemplateEraseClick()
{
    FocusList();
    const int selected = Selected();
    if (!list_.IsUser(selected)) {
        return;
    }
    FillList(list_.Erase(selected));
    shownIndex_ = -2; // whatever now stands there is loaded
    ShowSelection();
}

void TForm_ProjectTemplate::TB_TemplateUpClick()
{
    FocusList();
    FillList(list_.MoveUp(Selected()));
    ShowSelection();
}

void TForm_ProjectTemplate::TB_TemplateDownClick()
{
    FocusList();
    FillList(list_.MoveDown(Selected()));
    ShowSelection();
}

void TForm_ProjectTemplate::ListView_SimbolsDblClick(QTreeWidgetItem* row)
{
    if (row == nullptr) {
        row = symbols_->currentItem();
    }
    const int index = symbols_->indexOfTopLevelItem(row);
    const std::vector<TemplateKeyword>& keywords = TemplateKeywords();
    if (!list_.IsUser(Selected()) || index < 0 || static_cast<std::size_t>(index) >= keywords.size()) {
        return;
    }
    const TemplateKeyword& keyword = keywords[static_cast<std::size_t>(index)];
    if (!keyword.InsertableInto(tabs_->currentIndex() == kBodyTab)) {
        return;
    }
    QPlainTextEdit* editor = ActiveEditor();
    editor->insertPlainText(ToQString(keyword.Symbol));
    editor->setFocus();
}

void TForm_ProjectTemplate::CallEditorClick()
{
    if (!list_.IsUser(Selected()) || editorPath_.isEmpty()) {
        return;
    }
    const TemplateTexts texts{TemplateText(memos_[0]->toPlainText()), TemplateText(memos_[1]->toPlainText()),
        TemplateText(memos_[2]->toPlainText())};
    const std::string bytes = TemplateEditFileUtf8(texts, "Tessaly");
    const QString path = TemporaryFilePath();
    QDir().mkpath(temporaryDirectory_);
    // A new file every time: an old one, or a link put in its place, is
    // removed rather than written through.
    QFile::remove(path);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)
        || file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size())
        || !file.flush()) {
        messages_.Show(MessageKind::Error,
            SjisText(SJ("テンポラリファイルを作成できませんでした.") + "\r\n"
                + TemplateText(QDir::toNativeSeparators(path))),
            MessageButton::Abort);
        return;
    }
    file.close();

    TForm_OtherProg wait(editorPath_, {path}, path, this);
    connect(&wait, &TForm_OtherProg::fileSaved, this, [this, path] { TakeEditedFile(path); });
    if (wait.exec() != QDialog::Accepted) {
        messages_.Show(MessageKind::Warning,
            SjisText(SJ("指定のエディタの起動に失敗しました.") + "\r\n" + TemplateText(editorPath_)
                + SJ("\r\n環境オプションでエディタを指定して下さい.")),
            MessageButton::Abort);
        return;
    }
    if (!QFile::exists(path)) {
        messages_.Show(
            MessageKind::Warning, SjisText(SJ("テンポラリファイルが削除されています.")), MessageButton::Abort);
    }
}

void TForm_ProjectTemplate::TakeEditedFile(const QString& path)
{
    QFile edited(path);
    if (!edited.open(QIODevice::ReadOnly)) {
        return; // in the middle of a save; the next look finds it
    }
    const QByteArray read = edited.readAll();
    const EditedTemplate back
        = ReadEditedTemplateFile(std::string_view(read.constData(), static_cast<std::size_t>(read.size())));
    if (!back.ok) {
        messages_.Show(MessageKind::Warning,
            SjisText(UnrepresentableMessage(QString::fromStdString(back.badCharacter))
                + SJ("\r\nこの保存の内容は取り込んでいません.")),
            MessageButton::Ok);
        return;
    }
    memos_[0]->setPlainText(EditorText(back.texts.Header));
    memos_[1]->setPlainText(EditorText(back.texts.Body));
    memos_[2]->setPlainText(EditorText(back.texts.Footer));
}

void TForm_ProjectTemplate::Button1Click()
{
    Commit();
    accept();
}

} // namespace tessaly
