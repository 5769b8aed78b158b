#include "gui/design/dlgProjectDesign.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include "gui/DialogButtons.h"
#include "gui/design/DirectoryDesignEditor.h"
#include "gui/design/DirectoryLinkList.h"
#include "gui/GuiText.h"
#include "gui/design/SiteDirectoryTree.h"
#include "core/design/DirectoryLinks.h"
#include "core/design/SiteDirectories.h"
#include "gui/model/dlgStrInput.h"
#include "gui/search/frmSqueeze.h"
#include "core/text/Codepage.h"
#include "core/util/Messages.h"
#include "gui/shell/HelpTopics.h"

namespace tessaly {

namespace {

// A pane's title bar: a click moves the focus into the pane.
class PaneTitle final : public QLabel {
public:
    PaneTitle(const QString& text, QWidget* pane)
        : QLabel(text)
        , pane_(pane)
    {
        setContentsMargins(4, 2, 4, 2);
        setAutoFillBackground(true);
    }

    void SetActive(bool active)
    {
        setBackgroundRole(active ? QPalette::Highlight : QPalette::Button);
        setForegroundRole(active ? QPalette::HighlightedText : QPalette::ButtonText);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        pane_->setFocus(Qt::MouseFocusReason);
        event->accept();
    }

private:
    QWidget* pane_;
};

QWidget* Pane(QLabel* title, QToolBar* tools, QWidget* content)
{
    auto* pane = new QWidget;
    auto* layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(title);
    if (tools != nullptr) {
        layout->addWidget(tools);
    }
    layout->addWidget(content, 1);
    return pane;
}

} // namespace

TForm_ProjectDesign::TForm_ProjectDesign(MessagePresenter& messages, FileDialogs& files, ProjectDesignSite site,
    const SqueezeChoices& choices, QWidget* parent)
    : QDialog(parent)
    , messages_(messages)
    , files_(files)
    , site_(std::move(site))
    , tree_(new SiteDirectoryTree)
    , editor_(new DirectoryDesignEditor(messages, files, site_.bannerDirectory, site_.templateDirectory))
    , treeTitle_(new PaneTitle(QStringLiteral("ディレクトリツリー"), tree_))
    , designTitle_(new PaneTitle(QStringLiteral("ディレクトリ設定"), editor_->Pages()))
    , status_(new QStatusBar)
{
    setObjectName(QStringLiteral("TForm_ProjectDesign"));
    setWindowTitle(QStringLiteral("プロジェクト詳細設計"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    status_->setObjectName(QStringLiteral("StatusBar"));
    status_->setSizeGripEnabled(false);

    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->addWidget(TreePane());
    splitter->addWidget(DesignPane());
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({240, 620});
    QDialogButtonBox* buttons = DialogButtons(this, QStringLiteral("閉じる(&C)"), [this] { accept(); },
        help::kProjectDesign);
    // A directory's design is saved as it is left: there is nothing to cancel.
    delete buttons->findChild<QPushButton*>(QStringLiteral("Button2"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter, 1);
    layout->addWidget(buttons);
    layout->addWidget(status_);

    editor_->Initialise(choices, site_.itemTemplates);
    ResetDesign(working_, site_.defaults);
    connect(tree_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) { SelectionMoved(current); });
    connect(tree_, &QTreeWidget::itemChanged, this, &TForm_ProjectDesign::NodeRenamedInPlace);
    connect(tree_, &QWidget::customContextMenuRequested, this, &TForm_ProjectDesign::ShowTreeMenu);
    connect(editor_, &DirectoryDesignEditor::addUnderDirectoriesRequested, this,
        &TForm_ProjectDesign::AddUnderDirectories);
    connect(qApp, &QApplication::focusChanged, this, &TForm_ProjectDesign::HighlightFocusedPane);

    SetStatus(SJ("プロジェクトディレクトリ一覧を作成しています"));
    tree_->Build(site_.rootDirectory, site_.bannerDirectory);
    SetStatus({});
    loaded_ = true;
    UpdateCommands();
    // A tree that takes the focus selects its first node: nothing is to be
    // shown (or saved) before the user picks a directory.
    editor_->Pages()->setFocus();
    resize(900, 640);
}

TForm_ProjectDesign::~TForm_ProjectDesign()
{
    // Focus moves while the panes are taken down.
    disconnect(qApp, nullptr, this, nullptr);
}

QWidget* TForm_ProjectDesign::TreePane()
{
    auto* tools = new QToolBar;
    tools->setObjectName(QStringLiteral("ToolBar_DirTree"));
    tools->setIconSize(QSize(16, 16));
    const auto add = [&](const char* name, const QString& hint, QStyle::StandardPixmap icon, auto run) {
        QAction* action = tools->addAction(style()->standardIcon(icon), hint);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, [this, run] {
            tree_->setFocus();
            (this->*run)(tree_->currentItem());
        });
        return action;
    };
    add("TB_MakeDir", QStringLiteral("ディレクトリ作成"), QStyle::SP_FileDialogNewFolder,
        &TForm_ProjectDesign::MakeDirectory);
    deleteDir_ = add("TB_DeleteDir", QStringLiteral("ディレクトリ削除"), QStyle::SP_TrashIcon,
        &TForm_ProjectDesign::DeleteDirectory);
    QAction* reload = tools->addAction(style()->standardIcon(QStyle::SP_BrowserReload), QStringLiteral("ディレクトリ再読み込み"));
    reload->setObjectName(QStringLiteral("TB_DirUpdate"));
    connect(reload, &QAction::triggered, this, [this] {
        tree_->setFocus();
        ReloadTree();
    });
    return Pane(treeTitle_, tools, tree_);
}

QWidget* TForm_ProjectDesign::DesignPane()
{
    return Pane(designTitle_, nullptr, editor_);
}

void TForm_ProjectDesign::ShowTreeMenu(const QPoint& at)
{
    QTreeWidgetItem* node = tree_->itemAt(at);
    if (node == nullptr) {
        return;
    }
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("PM_DirTree"));
    const auto add = [&](const char* name, const QString& caption, auto run, bool enabled = true) {
        QAction* action = menu.addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setEnabled(enabled);
        connect(action, &QAction::triggered, this, run);
    };
    add("PM_MakeDir", QStringLiteral("ディレクトリ作成(&M)"), [this, node] { MakeDirectory(node); });
    add("PM_RenameDir", QStringLiteral("ディレクトリ名変更(&R)"), [this, node] { RenameDirectory(node); });
    add("PM_DeleteDir", QStringLiteral("ディレクトリ削除(&D)"), [this, node] { DeleteDirectory(node); },
        node != tree_->Root());
    add("PM_AddLink", QStringLiteral("ハイパーリンクに追加(&L)"), [this, node] { AddAsHyperlink(node); },
        shown_ != nullptr && node != shown_);
    menu.addSeparator();
    add("PM_ExpandAll", QStringLiteral("全て展開(&E)"), [this] { ExpandAll(true); });
    add("PM_CollapseAll", QStringLiteral("全て縮小(&C)"), [this] { ExpandAll(false); });
    menu.addSeparator();
    add("PM_DirUpdate", QStringLiteral("ディレクトリ再読み込み(&U)"), [this] { ReloadTree(); });
    menu.exec(tree_->viewport()->mapToGlobal(at));
}

void TForm_ProjectDesign::SelectionMoved(QTreeWidgetItem* current)
{
    if (!loaded_) {
        return;
    }
    if (shown_ != nullptr && current != shown_) {
        if (!editor_->ValidateTableWidth()) {
            // Back to the directory shown once the click that moved the
            // selection is over, so that the tree does not show another.
            QTimer::singleShot(0, this, [this] {
                const QSignalBlocker quiet(tree_);
                tree_->setCurrentItem(shown_);
                tree_->viewport()->update();
            });
            return;
        }
        SaveShown();
    }
    if (current != nullptr) {
        ShowDirectory(current);
    }
    UpdateCommands();
}

void TForm_ProjectDesign::SaveShown()
{
    if (shown_ == nullptr) {
        return;
    }
    const std::string path = tree_->PathOf(shown_);
    SetStatus(path + SJ(" のディレクトリ設定を書きだしています..."));
    editor_->Read(working_);
    const DesignWriteResult written = WriteDesign(path, working_);
    if (!written.ok) {
        messages_.Show(MessageKind::Error,
            SjisText(path + SJ(" のディレクトリ設定を書き込めませんでした.\r\n") + ToSjis(written.error).bytes()),
            MessageButton::Abort);
    }
    tree_->UpdateImage(shown_);
    SetStatus(path);
}

void TForm_ProjectDesign::ShowDirectory(QTreeWidgetItem* node)
{
    const std::string path = tree_->PathOf(node);
    SetStatus(path + SJ(" のディレクトリ設定を読み出しています..."));
    std::string problem;
    ReadDesignWithSuccession(site_.rootDirectory, path, working_, site_.defaults, &problem);
    if (!problem.empty()) {
        messages_.Show(MessageKind::Warning, SjisText(path + SJ(" のディレクトリ設定を読み込めません.\r\n") + problem),
            MessageButton::Abort);
    }
    tree_->UpdateImage(node);
    editor_->Show(working_, node == tree_->Root(), path);
    shown_ = node;
    SetStatus(path);
}

void TForm_ProjectDesign::Select(QTreeWidgetItem* node)
{
    tree_->setCurrentItem(node);
    tree_->scrollToItem(node);
}

void TForm_ProjectDesign::SetStatus(const std::string& text)
{
    status_->showMessage(ToQString(text));
    status_->repaint();
}

void TForm_ProjectDesign::UpdateCommands()
{
    QTreeWidgetItem* current = tree_->currentItem();
    deleteDir_->setEnabled(current != nullptr && current != tree_->Root());
}

void TForm_ProjectDesign::HighlightFocusedPane()
{
    QWidget* focus = QApplication::focusWidget();
    const auto within = [focus](QWidget* pane) { return focus != nullptr && (focus == pane || pane->isAncestorOf(focus)); };
    static_cast<PaneTitle*>(treeTitle_)->SetActive(within(tree_));
    static_cast<PaneTitle*>(designTitle_)->SetActive(within(editor_));
}

std::optional<std::string> TForm_ProjectDesign::AskName(
    const QString& caption, const QString& prompt, const QString& initial)
{
    TForm_StrInput input(messages_, caption, prompt, this);
    input.SetText(initial);
    if (input.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return ToSjisOrEmpty(input.Text().trimmed());
}

void TForm_ProjectDesign::MakeDirectory(QTreeWidgetItem* node)
{
    if (node == nullptr) {
        return;
    }
    const std::string parentPath = tree_->PathOf(node);
    std::optional<std::string> name;
    while ((name = AskName(QStringLiteral("ディレクトリ作成"),
                QStringLiteral("新しいディレクトリの名前を入力して下さい."), QString()))) {
        if (MakeSiteDirectory(parentPath, *name).ok) {
            break;
        }
        messages_.Show(MessageKind::Error, SjisText(SJ("ディレクトリの作成に失敗しました.")), MessageButton::Retry);
    }
    if (!name) {
        return;
    }
    QTreeWidgetItem* child = tree_->AddChild(node, *name);
    node->setExpanded(true);
    Select(child);
    if (tree_->currentItem() != child) {
        return; // the directory left could not be saved (its table width)
    }
    tree_->SortAll();
    TDirectoryDesign parentDesign;
    ReadDesignWithSuccession(site_.rootDirectory, parentPath, parentDesign, site_.defaults);
    editor_->Show(parentDesign, false, tree_->PathOf(child));
    editor_->ShowAsNewDirectory();
}

void TForm_ProjectDesign::RenameDirectory(QTreeWidgetItem* node)
{
    if (node == nullptr) {
        return;
    }
    if (node == tree_->Root()) {
        messages_.Show(MessageKind::Error, SjisText(SJ("ルートディレクトリは変更できません.")), MessageButton::Abort);
        return;
    }
    std::optional<std::string> name;
    while ((name = AskName(QStringLiteral("ディレクトリ名変更"), QStringLiteral("変更後のディレクトリ名を入力して下さい."),
                ToQString(tree_->NameOf(node))))) {
        if (RenameSiteDirectory(tree_->PathOf(node), *name).ok) {
            break;
        }
        messages_.Show(MessageKind::Error, SjisText(SJ("ディレクトリ名の変更に失敗しました.")), MessageButton::Retry);
    }
    if (!name) {
        return;
    }
    Renamed(node, *name);
}

void TForm_ProjectDesign::NodeRenamedInPlace(QTreeWidgetItem* node)
{
    const std::string oldName = tree_->NameOf(node);
    const std::optional<std::string> newName = ToSjis(node->text(0).trimmed());
    if (node == tree_->Root() || (newName && *newName == oldName)) {
        return;
    }
    if (!newName || !RenameSiteDirectory(tree_->PathOf(node), *newName).ok) {
        messages_.Show(MessageKind::Error, SjisText(SJ("ディレクトリ名の変更に失敗しました.")), MessageButton::Abort);
        tree_->SetName(node, oldName);
        return;
    }
    Renamed(node, *newName);
}

void TForm_ProjectDesign::Renamed(QTreeWidgetItem* node, const std::string& name)
{
    tree_->SetName(node, name);
    tree_->SortAll();
    if (shown_ != nullptr) {
        SetStatus(tree_->PathOf(shown_));
    }
}

void TForm_ProjectDesign::DeleteDirectory(QTreeWidgetItem* node)
{
    if (node == nullptr || node == tree_->Root()) {
        return;
    }
    const std::string question
        = tree_->NameOf(node) + SJ(" 以下の全てのディレクトリとファイルを削除します.") + "\r\n" + SJ("よろしいですか？");
    if (messages_.Show(MessageKind::Warning, SjisText(question), MessageButton::Yes | MessageButton::No)
        != MessageButton::Yes) {
        return;
    }
    SaveShown();
    loaded_ = false;
    QTreeWidgetItem* parent = node->parent();
    const TreeDeletion deletion = DeleteDirectoryTree(tree_->PathOf(node));
    for (const std::string& removed : deletion.removed) {
        if (QTreeWidgetItem* gone = tree_->NodeOf(removed)) {
            if (gone == shown_ || gone->isSelected()) {
                shown_ = nullptr;
            }
            delete gone;
        }
    }
    QTreeWidgetItem* next = parent;
    if (!deletion.failed.empty()) {
        // What is left of the tree has lost its files, design files too.
        tree_->UpdateImages(node);
        messages_.Show(MessageKind::Error, SjisText(deletion.failed + SJ(" が消去できません.")), MessageButton::Abort);
        if (QTreeWidgetItem* kept = tree_->NodeOf(deletion.failed)) {
            next = kept;
        }
    }
    Select(next);
    ShowDirectory(next);
    loaded_ = true;
    UpdateCommands();
}

void TForm_ProjectDesign::ReloadTree()
{
    SaveShown();
    loaded_ = false;
    shown_ = nullptr;
    SetStatus(SJ("プロジェクトディレクトリ一覧を作成しています"));
    tree_->Build(site_.rootDirectory, site_.bannerDirectory);
    SetStatus({});
    if (QTreeWidgetItem* root = tree_->Root()) {
        Select(root);
        ShowDirectory(root);
    }
    loaded_ = true;
    UpdateCommands();
}

void TForm_ProjectDesign::AddAsHyperlink(QTreeWidgetItem* node)
{
    if (node == nullptr || shown_ == nullptr || node == shown_) {
        return;
    }
    const LinkToDirectoryResult result
        = LinkToDirectory(site_.rootDirectory, tree_->PathOf(shown_), tree_->PathOf(node), site_.defaults);
    DirectoryLinkList* links = editor_->LinkList();
    links->AppendSelected(result.link);
    editor_->Pages()->setCurrentIndex(DirectoryDesignEditor::LinksPage);
    links->List()->setFocus();
    if (result.untitled) {
        links->EditLink();
    }
}

void TForm_ProjectDesign::AddUnderDirectories()
{
    QTreeWidgetItem* node = tree_->currentItem();
    if (node == nullptr) {
        return;
    }
    std::vector<std::string> children;
    for (int i = 0; i < node->childCount(); ++i) {
        children.push_back(tree_->NameOf(node->child(i)));
    }
    for (const DirectoryLink& link :
        LinksToSubdirectories(site_.rootDirectory, tree_->PathOf(node), children, site_.defaults)) {
        editor_->LinkList()->Append(link);
    }
}

void TForm_ProjectDesign::ExpandAll(bool expand)
{
    SaveShown();
    expand ? tree_->expandAll() : tree_->collapseAll();
    if (shown_ != nullptr) {
        ShowDirectory(shown_);
    }
}

void TForm_ProjectDesign::done(int result)
{
    SaveShown();
    shown_ = nullptr;
    QDialog::done(result);
}

} // namespace tessaly
