#include "gui/design/SiteDirectoryTree.h"

#include <filesystem>

#include <QMouseEvent>

#include "gui/GuiText.h"
#include "gui/Icons.h"
#include "core/design/DirectoryDesign.h"
#include "core/design/SiteDirectories.h"
#include "core/text/Paths.h"

namespace tessaly {

namespace {

constexpr int kNameRole = Qt::UserRole;

} // namespace

SiteDirectoryTree::SiteDirectoryTree(QWidget* parent)
    : QTreeWidget(parent)
    , designed_(DrawnIcon(ProgramIcon::DesignedDirectory))
    , undesigned_(DrawnIcon(ProgramIcon::Directory))
{
    setObjectName(QStringLiteral("DirTree"));
    setHeaderHidden(true);
    setColumnCount(1);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    setContextMenuPolicy(Qt::CustomContextMenu);
}

void SiteDirectoryTree::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QTreeWidget::mousePressEvent(event);
}

QTreeWidgetItem* SiteDirectoryTree::NewNode(QTreeWidgetItem* parent, const QString& text, const std::string& name)
{
    const QSignalBlocker quiet(this);
    auto* node = parent == nullptr ? new QTreeWidgetItem(this) : new QTreeWidgetItem(parent);
    node->setText(0, text);
    node->setData(0, kNameRole, QByteArray::fromStdString(name));
    if (parent != nullptr) {
        node->setFlags(node->flags() | Qt::ItemIsEditable);
    }
    UpdateImage(node);
    return node;
}

void SiteDirectoryTree::Build(const std::string& root, const std::string& bannerDirectory)
{
    clear();
    root_ = WithTrailingSlash(root);
    const std::optional<std::filesystem::path> path = ToFsPath(root_);
    std::error_code error;
    if (!path || (!std::filesystem::is_directory(*path, error) && !std::filesystem::create_directories(*path, error))) {
        return;
    }
    QTreeWidgetItem* top = NewNode(nullptr, QStringLiteral("[Root Directory]"), {});
    for (std::vector<QTreeWidgetItem*> visit{top}; !visit.empty();) {
        QTreeWidgetItem* node = visit.back();
        visit.pop_back();
        for (const std::string& name : ListSiteSubdirectories(PathOf(node), bannerDirectory).names) {
            visit.push_back(AddChild(node, name));
        }
    }
    top->setExpanded(true);
    SortAll();
    scrollToItem(top, QAbstractItemView::PositionAtTop);
}

std::string SiteDirectoryTree::NameOf(const QTreeWidgetItem* node) const
{
    return node->data(0, kNameRole).toByteArray().toStdString();
}

std::string SiteDirectoryTree::PathOf(const QTreeWidgetItem* node) const
{
    std::string path;
    for (; node != nullptr && node->parent() != nullptr; node = node->parent()) {
        path.insert(0, NameOf(node) + "/");
    }
    return root_ + path;
}

QTreeWidgetItem* SiteDirectoryTree::NodeOf(const std::string& path) const
{
    for (QTreeWidgetItemIterator each(const_cast<SiteDirectoryTree*>(this)); *each; ++each) {
        if (PathOf(*each) == path) {
            return *each;
        }
    }
    return nullptr;
}

QTreeWidgetItem* SiteDirectoryTree::AddChild(QTreeWidgetItem* parent, const std::string& name)
{
    return NewNode(parent, ToQString(name), name);
}

void SiteDirectoryTree::SetName(QTreeWidgetItem* node, const std::string& name)
{
    const QSignalBlocker quiet(this);
    node->setText(0, ToQString(name));
    node->setData(0, kNameRole, QByteArray::fromStdString(name));
}

void SiteDirectoryTree::UpdateImage(QTreeWidgetItem* node)
{
    const QSignalBlocker quiet(this);
    node->setIcon(0, HasDesignFile(PathOf(node)) ? designed_ : undesigned_);
}

void SiteDirectoryTree::UpdateImages(QTreeWidgetItem* node)
{
    UpdateImage(node);
    for (int i = 0; i < node->childCount(); ++i) {
        UpdateImages(node->child(i));
    }
}

void SiteDirectoryTree::SortAll()
{
    sortItems(0, Qt::AscendingOrder);
}

} // namespace tessaly
