#include "SiteDirectoryTree.h"

#include <filesystem>

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

#include "GuiText.h"
#include "design/DirectoryDesign.h"
#include "design/SiteDirectories.h"
#include "text/Paths.h"

namespace tessaly {

namespace {

constexpr int kNameRole = Qt::UserRole;

// The folder with a small page on it: this directory has a design.
QIcon DesignedFolder(const QIcon& folder)
{
    QIcon icon;
    for (const int size : {16, 24, 32}) {
        QPixmap pixmap = folder.pixmap(size, size);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        const qreal unit = size / 16.0;
        const QRectF page(8 * unit, 6 * unit, 7 * unit, 9 * unit);
        painter.setPen(QPen(QColor(0x2A, 0x6F, 0xC9), unit));
        painter.setBrush(Qt::white);
        painter.drawRect(page);
        for (int line = 0; line < 3; ++line) {
            const qreal y = page.top() + (2.5 + 2 * line) * unit;
            painter.drawLine(QPointF(page.left() + 1.5 * unit, y), QPointF(page.right() - 1.5 * unit, y));
        }
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace

SiteDirectoryTree::SiteDirectoryTree(QWidget* parent)
    : QTreeWidget(parent)
    , undesigned_(style()->standardIcon(QStyle::SP_DirIcon))
{
    designed_ = DesignedFolder(undesigned_);
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

void SiteDirectoryTree::SortAll()
{
    sortItems(0, Qt::AscendingOrder);
}

} // namespace tessaly
