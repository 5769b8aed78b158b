#pragma once

// The rows of the link check's table: each link checked, with its result,
// in the order the results came.

#include <QAbstractTableModel>

#include <vector>

#include "core/linkcheck/ItemLinks.h"
#include "core/linkcheck/LinkChecker.h"

namespace tessaly {

class LinkResultModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { TitleColumn, UrlColumn, ResultColumn, CodeColumn, NewUrlColumn, TimeColumn, ColumnCount };

    explicit LinkResultModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void Clear();
    void Add(const ItemLink& link, const LinkCheckResult& result);
    // The address of the row was replaced by its new one.
    void SetUpdated(int row);

    const ItemLink& Link(int row) const { return rows_[static_cast<std::size_t>(row)].link; }
    const LinkCheckResult& Result(int row) const { return rows_[static_cast<std::size_t>(row)].result; }
    bool IsUpdated(int row) const { return rows_[static_cast<std::size_t>(row)].updated; }
    // A dead link whose item can take the warning mark.
    bool CanMark(int row) const;
    // A link that moved for good to an http or https address not yet taken.
    bool CanUpdate(int row) const;

    // Every result, in the order of the links checked.
    std::vector<LinkCheckResult> ResultsInLinkOrder() const;

private:
    struct Row {
        ItemLink link;
        LinkCheckResult result;
        bool updated = false;
    };
    std::vector<Row> rows_;
};

} // namespace tessaly
