#pragma once

// The detailed design of the site: the directory tree under the root on the
// left, the design of the selected directory on the right. A directory's
// design is written to its file whenever the selection leaves it and when
// the dialog closes.

#include <QDialog>

#include <optional>
#include <string>
#include <vector>

#include "core/design/DirectoryDesign.h"

class QAction;
class QLabel;
class QStatusBar;
class QTreeWidgetItem;

namespace tessaly {

class DirectoryDesignEditor;
class FileDialogs;
class MessagePresenter;
class SiteDirectoryTree;
struct SqueezeChoices;

struct ProjectDesignSite {
    std::string rootDirectory; // code page 932
    std::string bannerDirectory;
    DesignDefaults defaults;
    std::vector<std::string> itemTemplates; // every name the pages may use
    QString templateDirectory; // where the page template dialog starts
};

class TForm_ProjectDesign final : public QDialog {
    Q_OBJECT

public:
    TForm_ProjectDesign(MessagePresenter& messages, FileDialogs& files, ProjectDesignSite site,
        const SqueezeChoices& choices, QWidget* parent = nullptr);
    ~TForm_ProjectDesign() override;

    SiteDirectoryTree* Tree() const { return tree_; }
    DirectoryDesignEditor* Editor() const { return editor_; }

    // The commands act on node (the tree's pop-up passes the node under the
    // pointer, the tool bar the selected one).
    void MakeDirectory(QTreeWidgetItem* node);
    void RenameDirectory(QTreeWidgetItem* node);
    void DeleteDirectory(QTreeWidgetItem* node);
    void ReloadTree();
    void AddAsHyperlink(QTreeWidgetItem* node);
    void AddUnderDirectories();
    void ExpandAll(bool expand);

    void done(int result) override;

private:
    QWidget* TreePane();
    QWidget* DesignPane();
    void ShowTreeMenu(const QPoint& at);
    void SelectionMoved(QTreeWidgetItem* current);
    void NodeRenamedInPlace(QTreeWidgetItem* node);
    // The tree after the directory of node took its new name on disk.
    void Renamed(QTreeWidgetItem* node, const std::string& name);
    void SaveShown();
    void ShowDirectory(QTreeWidgetItem* node);
    void Select(QTreeWidgetItem* node);
    void SetStatus(const std::string& text);
    void UpdateCommands();
    void HighlightFocusedPane();
    std::optional<std::string> AskName(const QString& caption, const QString& prompt, const QString& initial);

    MessagePresenter& messages_;
    FileDialogs& files_;
    ProjectDesignSite site_;
    SiteDirectoryTree* tree_;
    DirectoryDesignEditor* editor_;
    QLabel* treeTitle_;
    QLabel* designTitle_;
    QStatusBar* status_;
    QAction* deleteDir_ = nullptr;
    TDirectoryDesign working_;
    QTreeWidgetItem* shown_ = nullptr;
    bool loaded_ = false;
};

} // namespace tessaly
