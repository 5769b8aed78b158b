#include "gui/ItemListModel.h"

#include <QMimeData>
#include <QPainter>
#include <QPixmap>

#include "gui/GenreListWidget.h"
#include "gui/GuiText.h"
#include "core/collection/ShownItems.h"
#include "core/text/Strings.h"

namespace tessaly {

namespace {

// Seven 16-pixel marks: a plain dot, a star, a warning triangle, a cross,
// and one to three bars for the importance levels.
QIcon DrawStatusIcon(int32_t status)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    switch (status) {
    case 1: {
        painter.setBrush(QColor(0xF0, 0xB0, 0x00));
        painter.setPen(QColor(0xA0, 0x70, 0x00));
        const QPointF star[]
            = {{8, 1}, {10, 6}, {15, 6}, {11, 9.5}, {12.5, 15}, {8, 12}, {3.5, 15}, {5, 9.5}, {1, 6}, {6, 6}};
        painter.drawPolygon(star, 10);
        break;
    }
    case 2: {
        painter.setBrush(QColor(0xF8, 0xD0, 0x30));
        painter.setPen(QColor(0x80, 0x60, 0x00));
        const QPointF triangle[] = {{8, 1.5}, {15, 14.5}, {1, 14.5}};
        painter.drawPolygon(triangle, 3);
        painter.setPen(QPen(Qt::black, 2));
        painter.drawLine(QPointF(8, 6), QPointF(8, 10));
        painter.drawPoint(QPointF(8, 12.5));
        break;
    }
    case 3:
        painter.setPen(QPen(QColor(0xC0, 0x20, 0x20), 3, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(3, 3, 13, 13);
        painter.drawLine(13, 3, 3, 13);
        break;
    case 4:
    case 5:
    case 6: {
        const QColor colour = status == 4 ? QColor(0x40, 0x90, 0xE0)
            : status == 5                 ? QColor(0xE0, 0x80, 0x20)
                                          : QColor(0xD0, 0x20, 0x30);
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        for (int bar = 0; bar < status - 3; ++bar) {
            painter.drawRect(2 + bar * 5, 11 - bar * 4, 4, 4 + bar * 4);
        }
        break;
    }
    default:
        painter.setBrush(QColor(0x60, 0xA0, 0x60));
        painter.setPen(QColor(0x30, 0x60, 0x30));
        painter.drawEllipse(QPointF(8, 8), 4.5, 4.5);
        break;
    }
    return QIcon(pixmap);
}

} // namespace

ItemListModel::ItemListModel(ShownItems& shown, QObject* parent)
    : QAbstractTableModel(parent)
    , shown_(shown)
{
}

int ItemListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(shown_.Rows().size());
}

int ItemListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 7;
}

QVariant ItemListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const TLinkItem& item = shown_.Rows()[static_cast<std::size_t>(index.row())];
    if (role == Qt::DecorationRole && index.column() == 0) {
        return StatusIcon(item.Status);
    }
    if (role == Qt::TextAlignmentRole && index.column() == 6) {
        return Qt::AlignCenter;
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    switch (index.column()) {
    case 0: return ToQString(item.Title);
    case 1: return ToQString(item.Author);
    case 2: return ToQString(item.Mail);
    case 3: return ToQString(item.Url);
    case 4: return ToQString(item.Banner);
    case 5: return QString::fromStdString(DateToText(item.Date));
    default: return QString::fromStdString(FormatSerial(item.Serial));
    }
}

QVariant ItemListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    static const std::array<QString, 7> kHeaders{QStringLiteral("タイトル"), QStringLiteral("作者"),
        QStringLiteral("メール"), QStringLiteral("URL"), QStringLiteral("バナー"), QStringLiteral("日付"),
        QStringLiteral("ｼﾘｱﾙ")};
    return section >= 0 && section < 7 ? kHeaders[static_cast<std::size_t>(section)] : QVariant();
}

Qt::ItemFlags ItemListModel::flags(const QModelIndex& index) const
{
    return QAbstractTableModel::flags(index) | (index.isValid() ? Qt::ItemIsDragEnabled : Qt::NoItemFlags);
}

QStringList ItemListModel::mimeTypes() const
{
    return {QString::fromLatin1(kItemRowsMimeType)};
}

// The drag carries only a marker: the drop takes the list's selected rows.
QMimeData* ItemListModel::mimeData(const QModelIndexList& indexes) const
{
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kItemRowsMimeType), QByteArray::number(indexes.size()));
    return data;
}

void ItemListModel::Reset()
{
    beginResetModel();
    endResetModel();
}

QIcon ItemListModel::StatusIcon(int32_t status)
{
    static const std::array<QIcon, 7> kIcons = [] {
        std::array<QIcon, 7> icons;
        for (int32_t i = 0; i < 7; ++i) {
            icons[static_cast<std::size_t>(i)] = DrawStatusIcon(i);
        }
        return icons;
    }();
    return kIcons[static_cast<std::size_t>(status >= 0 && status < 7 ? status : 0)];
}

} // namespace tessaly
