#pragma once

// The directories under the site's root as they are on disk, one node per
// directory; a node shows whether its directory has a design.

#include <QTreeWidget>

#include <string>

namespace tessaly {

class SiteDirectoryTree final : public QTreeWidget {
    Q_OBJECT

public:
    explicit SiteDirectoryTree(QWidget* parent = nullptr);

    // Reads the whole tree below root (code page 932), creating root when it
    // is missing; the banner directory is left out. Empty when root cannot
    // be made.
    void Build(const std::string& root, const std::string& bannerDirectory);

    QTreeWidgetItem* Root() const { return topLevelItemCount() > 0 ? topLevelItem(0) : nullptr; }
    // Code page 932 with a trailing "/".
    std::string PathOf(const QTreeWidgetItem* node) const;
    std::string NameOf(const QTreeWidgetItem* node) const;
    QTreeWidgetItem* NodeOf(const std::string& path) const;
    QTreeWidgetItem* AddChild(QTreeWidgetItem* parent, const std::string& name);
    void SetName(QTreeWidgetItem* node, const std::string& name);
    // The node's image from the presence of its design file.
    void UpdateImage(QTreeWidgetItem* node);
    // The images of node and every node below it.
    void UpdateImages(QTreeWidgetItem* node);
    void SortAll();

protected:
    // A right click names the node for the pop-up; it does not select it.
    void mousePressEvent(QMouseEvent* event) override;

private:
    QTreeWidgetItem* NewNode(QTreeWidgetItem* parent, const QString& text, const std::string& name);

    std::string root_;
    QIcon designed_;
    QIcon undesigned_;
};

} // namespace tessaly
