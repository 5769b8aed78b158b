#include "gui/linkcheck/LinkResultModel.h"

#include <QBrush>
#include <QColor>

#include <algorithm>

#include "gui/GuiText.h"
#include "core/linkcheck/LinkReport.h"
#include "core/text/Url.h"

namespace tessaly {

namespace {

// What a reader needs to see why a link failed or where it went.
QString ToolTip(const LinkCheckResult& result)
{
    QStringList lines;
    for (const LinkHop& hop : result.redirects) {
        lines.append(QString::number(hop.code) + QStringLiteral(" → ") + QString::fromStdString(hop.location));
    }
    if (!result.detailLabel.empty()) {
        lines.append(ToQString(result.detailLabel.view()));
    }
    return lines.join('\n');
}

} // namespace

LinkResultModel::LinkResultModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

int LinkResultModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int LinkResultModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant LinkResultModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const Row& row = rows_[static_cast<std::size_t>(index.row())];
    const LinkCheckResult& result = row.result;
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case TitleColumn:
            return ToQString(row.link.title)
                + (row.link.field == LinkField::Banner ? QStringLiteral(" (バナー)") : QString());
        case UrlColumn: return ToQString(row.link.shown);
        case ResultColumn:
            return ToQString(LinkResultLabel(result.result).view())
                + (row.updated ? QStringLiteral(" (更新済)") : QString());
        case CodeColumn: return result.code == 0 ? QVariant() : QVariant(static_cast<int>(result.code));
        case NewUrlColumn: return QString::fromStdString(WithUnicodeHost(result.newUrl));
        case TimeColumn: return QString::fromStdString(SecondsText(result.time));
        }
    } else if (role == Qt::UserRole) {
        // What the columns sort by: numbers as numbers.
        switch (index.column()) {
        case ResultColumn: return static_cast<int>(result.result);
        case CodeColumn: return static_cast<int>(result.code);
        case TimeColumn: return static_cast<qlonglong>(result.time.count());
        default: return data(index, Qt::DisplayRole);
        }
    } else if (role == Qt::ForegroundRole && index.column() == ResultColumn) {
        if (!IsAlive(result.result)) {
            return QBrush(QColor(0xC0, 0x00, 0x00));
        }
        if (result.result == LinkResult::Moved) {
            return QBrush(QColor(0x00, 0x50, 0xB0));
        }
    } else if (role == Qt::ToolTipRole) {
        const QString tip = ToolTip(result);
        return tip.isEmpty() ? QVariant() : QVariant(tip);
    } else if (role == Qt::TextAlignmentRole && (index.column() == CodeColumn || index.column() == TimeColumn)) {
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    }
    return {};
}

QVariant LinkResultModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    static const QString kHeaders[ColumnCount] = {QStringLiteral("タイトル"), QStringLiteral("URL"),
        QStringLiteral("結果"), QStringLiteral("コード"), QStringLiteral("新しいURL"), QStringLiteral("時間(秒)")};
    return section >= 0 && section < ColumnCount ? kHeaders[section] : QString();
}

void LinkResultModel::Clear()
{
    beginResetModel();
    rows_.clear();
    endResetModel();
}

void LinkResultModel::Add(const ItemLink& link, const LinkCheckResult& result)
{
    const int row = rowCount();
    beginInsertRows({}, row, row);
    rows_.push_back({link, result, false});
    endInsertRows();
}

void LinkResultModel::SetUpdated(int row)
{
    // The row shows the address the item has now.
    Row& updated = rows_[static_cast<std::size_t>(row)];
    updated.updated = true;
    updated.link.shown = WithUnicodeHost(updated.result.newUrl);
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

bool LinkResultModel::CanMark(int row) const
{
    return !IsAlive(Result(row).result);
}

bool LinkResultModel::CanUpdate(int row) const
{
    return Result(row).result == LinkResult::Moved && CanTakeNewUrl(Result(row).newUrl) && !IsUpdated(row);
}

std::vector<LinkCheckResult> LinkResultModel::ResultsInLinkOrder() const
{
    std::vector<LinkCheckResult> results;
    results.reserve(rows_.size());
    for (const Row& row : rows_) {
        results.push_back(row.result);
    }
    std::sort(results.begin(), results.end(), [](const auto& a, const auto& b) { return a.index < b.index; });
    return results;
}

} // namespace tessaly
