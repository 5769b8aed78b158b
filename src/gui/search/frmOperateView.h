#pragma once

// The AND/OR/NOT conditions over one vocabulary (attributes or contents):
// one row per name with its operation, set for the selected rows by the
// tool buttons or the pop-up menu.

#include <QWidget>

#include <string>
#include <vector>

class QAction;
class QTreeWidget;

namespace tessaly {

class TFrame_OperateView final : public QWidget {
    Q_OBJECT

public:
    explicit TFrame_OperateView(QWidget* parent = nullptr);

    // One row per name (code page 932), every operation empty.
    void SetNames(const std::vector<std::string>& names);
    // "AND", "OR", "NOT" or empty for every selected row.
    void SetOperation(const QString& operation);
    // The names whose operation is the given one, in row order.
    std::vector<std::string> NamesWith(const QString& operation) const;
    // Gives the operation to every row whose name equals one of the names,
    // ignoring case.
    void MarkNames(const std::vector<std::string>& names, const QString& operation);
    // Empties every operation and the selection.
    void Reset();

    QTreeWidget* Lists() const { return lists_; }

private:
    void UpdateButtons();

    QTreeWidget* lists_;
    std::vector<std::string> names_;
    std::vector<QAction*> operations_;
};

} // namespace tessaly
