#include "gui/Icons.h"

#include <cmath>

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace tessaly {

namespace {

// Every icon is drawn on a 32 by 32 grid and scaled to the size asked for.
constexpr qreal kGrid = 32.0;

const QColor kOutline(0x30, 0x30, 0x30);
const QColor kPaper(0xFF, 0xFF, 0xFF);
const QColor kCard(0xD6, 0xE8, 0xFA);
const QColor kAccent(0x2A, 0x6F, 0xC9);
const QColor kGreen(0x2E, 0x9E, 0x44);
const QColor kYellow(0xF5, 0xC2, 0x11);

QPen Outline(qreal width = 1.5)
{
    return QPen(kOutline, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void Page(QPainter& p)
{
    QPainterPath page;
    page.moveTo(7, 3);
    page.lineTo(20, 3);
    page.lineTo(26, 9);
    page.lineTo(26, 29);
    page.lineTo(7, 29);
    page.closeSubpath();
    p.setPen(Outline());
    p.setBrush(kPaper);
    p.drawPath(page);
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({{20, 3}, {20, 9}, {26, 9}}));
}

void Sparkle(QPainter& p, QPointF centre, qreal radius)
{
    QPainterPath star;
    for (int i = 0; i < 8; ++i) {
        const qreal r = i % 2 == 0 ? radius : radius * 0.38;
        const qreal angle = i * 3.14159265 / 4 - 3.14159265 / 2;
        const QPointF point = centre + QPointF(r * std::cos(angle), r * std::sin(angle));
        i == 0 ? star.moveTo(point) : star.lineTo(point);
    }
    star.closeSubpath();
    p.setPen(QPen(QColor(0xA0, 0x70, 0x00), 1.0));
    p.setBrush(kYellow);
    p.drawPath(star);
}

// A link item: a card with a chain link on it.
void Card(QPainter& p)
{
    p.setPen(Outline());
    p.setBrush(kCard);
    p.drawRoundedRect(QRectF(3, 6, 24, 18), 3, 3);
    p.setPen(QPen(kAccent, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(7, 12, 10, 6), 3, 3);
    p.drawRoundedRect(QRectF(13, 12, 10, 6), 3, 3);
}

void PlusBadge(QPainter& p)
{
    p.setPen(QPen(Qt::white, 1.5));
    p.setBrush(kGreen);
    p.drawEllipse(QPointF(24, 24), 7, 7);
    p.setPen(QPen(Qt::white, 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(24, 20), QPointF(24, 28));
    p.drawLine(QPointF(20, 24), QPointF(28, 24));
}

void Pencil(QPainter& p)
{
    p.save();
    p.translate(22, 22);
    p.rotate(45);
    p.setPen(Outline(1.2));
    p.setBrush(QColor(0xF0, 0x9A, 0x2A));
    p.drawRect(QRectF(-3, -12, 6, 14));
    p.setBrush(QColor(0xF2, 0xD7, 0xA8));
    p.drawPolygon(QPolygonF({{-3, 2}, {3, 2}, {0, 8}}));
    p.restore();
}

// Bars of the given widths (of 16) on the left, an arrow down on the right.
void SortBars(QPainter& p, std::initializer_list<qreal> widths)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    qreal y = 6;
    for (const qreal width : widths) {
        p.drawRoundedRect(QRectF(3, y, width, 5), 1.5, 1.5);
        y += 8;
    }
}

void ArrowDown(QPainter& p)
{
    p.setPen(Outline(2.0));
    p.drawLine(QPointF(26, 4), QPointF(26, 26));
    p.drawPolyline(QPolygonF({{22, 22}, {26, 27}, {30, 22}}));
}

void CircularArrow(QPainter& p)
{
    p.setPen(Outline(2.0));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(18, 10, 12, 12), 60 * 16, 280 * 16);
    p.drawPolyline(QPolygonF({{26, 6}, {28, 10.5}, {23.5, 12}}));
}

void Magnifier(QPainter& p, QPointF centre, qreal radius)
{
    p.setPen(QPen(kOutline, 3.0, Qt::SolidLine, Qt::RoundCap));
    const QPointF handle = centre + QPointF(radius * 0.75, radius * 0.75);
    p.drawLine(handle, handle + QPointF(radius * 0.8, radius * 0.8));
    p.setPen(Outline(2.0));
    p.setBrush(QColor(0xE8, 0xF4, 0xFF));
    p.drawEllipse(centre, radius, radius);
}

void RedCross(QPainter& p, QPointF centre, qreal half)
{
    p.setPen(QPen(QColor(0xD0, 0x30, 0x30), 3.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre + QPointF(-half, -half), centre + QPointF(half, half));
    p.drawLine(centre + QPointF(-half, half), centre + QPointF(half, -half));
}

// A page laid out as a template: a header bar, body lines, a footer bar.
void TemplatePage(QPainter& p, const QColor& bars)
{
    Page(p);
    p.setPen(Qt::NoPen);
    p.setBrush(bars);
    p.drawRect(QRectF(10, 7, 8, 3));
    p.drawRect(QRectF(10, 24, 13, 2.5));
    p.setBrush(QColor(0x90, 0x90, 0x90));
    for (const qreal y : {13.0, 16.5, 20.0}) {
        p.drawRect(QRectF(12, y, 11, 1.8));
    }
}

// A folder seen from the front.
void Folder(QPainter& p, QRectF box)
{
    p.setPen(Outline(1.3));
    p.setBrush(kYellow);
    QPainterPath folder;
    folder.moveTo(box.left(), box.top() + 3);
    folder.lineTo(box.left() + box.width() * 0.4, box.top() + 3);
    folder.lineTo(box.left() + box.width() * 0.5, box.top());
    folder.lineTo(box.right(), box.top());
    folder.lineTo(box.right(), box.bottom());
    folder.lineTo(box.left(), box.bottom());
    folder.closeSubpath();
    p.drawPath(folder);
}

void Draw(ProgramIcon icon, QPainter& p)
{
    switch (icon) {
    case ProgramIcon::NewFile:
        Page(p);
        Sparkle(p, {9, 9}, 7);
        break;
    case ProgramIcon::NewItem:
        Card(p);
        PlusBadge(p);
        break;
    case ProgramIcon::EditItem:
        Card(p);
        Pencil(p);
        break;
    case ProgramIcon::Sort:
        SortBars(p, {10, 16, 6});
        CircularArrow(p);
        break;
    case ProgramIcon::SortUp:
        SortBars(p, {6, 11, 16});
        ArrowDown(p);
        break;
    case ProgramIcon::SortDown:
        SortBars(p, {16, 11, 6});
        ArrowDown(p);
        break;
    case ProgramIcon::SortKana: {
        QFont font;
        font.setPixelSize(20);
        font.setBold(true);
        p.setFont(font);
        p.setPen(kAccent);
        p.drawText(QRectF(0, 2, 22, 26), Qt::AlignCenter, QStringLiteral("あ"));
        ArrowDown(p);
        break;
    }
    case ProgramIcon::ListView:
        for (int row = 0; row < 3; ++row) {
            for (int column = 0; column < 2; ++column) {
                const QPointF at(3 + column * 15, 5 + row * 9);
                p.setPen(Qt::NoPen);
                p.setBrush(kAccent);
                p.drawRect(QRectF(at, QSizeF(4, 4)));
                p.setBrush(kOutline);
                p.drawRect(QRectF(at + QPointF(6, 1.5), QSizeF(7, 1.5)));
            }
        }
        break;
    case ProgramIcon::ReportView:
        p.setPen(Outline(1.2));
        p.setBrush(kPaper);
        p.drawRect(QRectF(3, 5, 26, 22));
        p.setBrush(kCard);
        p.drawRect(QRectF(3, 5, 26, 6));
        for (const qreal y : {16.0, 21.0}) {
            p.drawLine(QPointF(6, y), QPointF(26, y));
        }
        p.drawLine(QPointF(13, 5), QPointF(13, 27));
        break;
    case ProgramIcon::GridLines:
        p.setPen(Outline(1.4));
        p.setBrush(kPaper);
        p.drawRect(QRectF(4, 4, 24, 24));
        for (const qreal at : {12.0, 20.0}) {
            p.drawLine(QPointF(4, at), QPointF(28, at));
            p.drawLine(QPointF(at, 4), QPointF(at, 28));
        }
        break;
    case ProgramIcon::Mail:
        p.setPen(Outline());
        p.setBrush(kPaper);
        p.drawRect(QRectF(3, 8, 26, 17));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF({{3, 8}, {16, 18}, {29, 8}}));
        break;
    case ProgramIcon::EraseItem:
        Card(p);
        RedCross(p, {24, 24}, 5);
        break;
    case ProgramIcon::DateSetting:
        p.setPen(Outline());
        p.setBrush(kPaper);
        p.drawRect(QRectF(4, 6, 24, 22));
        p.setBrush(QColor(0xD0, 0x40, 0x40));
        p.drawRect(QRectF(4, 6, 24, 6));
        p.setPen(Qt::NoPen);
        p.setBrush(kOutline);
        for (int row = 0; row < 2; ++row) {
            for (int column = 0; column < 4; ++column) {
                p.drawRect(QRectF(7 + column * 5.5, 15 + row * 6, 3, 3));
            }
        }
        break;
    case ProgramIcon::SearchString: {
        QFont font;
        font.setPixelSize(13);
        font.setBold(true);
        p.setFont(font);
        p.setPen(kAccent);
        p.drawText(QRectF(0, 0, 20, 14), Qt::AlignCenter, QStringLiteral("Aa"));
        Magnifier(p, {15, 18}, 6.5);
        break;
    }
    case ProgramIcon::SearchDomain:
        p.setPen(Outline(1.2));
        p.setBrush(kCard);
        p.drawEllipse(QPointF(11, 11), 8, 8);
        p.drawLine(QPointF(3, 11), QPointF(19, 11));
        p.drawEllipse(QPointF(11, 11), 3.5, 8);
        Magnifier(p, {18, 18}, 6);
        break;
    case ProgramIcon::SearchProject:
        p.setPen(Outline(1.4));
        p.setBrush(kYellow);
        p.drawPolygon(QPolygonF({{3, 5}, {25, 5}, {16, 15}, {16, 25}, {12, 28}, {12, 15}}));
        Magnifier(p, {21, 20}, 5);
        break;
    case ProgramIcon::SearchAll:
        SortBars(p, {16, 16, 16});
        Magnifier(p, {22, 14}, 5);
        break;
    case ProgramIcon::SearchExit:
        Magnifier(p, {13, 13}, 8);
        RedCross(p, {24, 24}, 5);
        break;
    case ProgramIcon::DetailedDesign:
        // A directory tree: a root with two branches, each ending in a folder.
        p.setPen(Outline(1.4));
        p.drawPolyline(QPolygonF({{8, 9}, {8, 24}, {15, 24}}));
        p.drawLine(QPointF(8, 15), QPointF(15, 15));
        p.setBrush(kYellow);
        for (const qreal y : {4.0, 11.0, 20.0}) {
            const qreal x = y < 5 ? 3 : 15;
            p.drawRect(QRectF(x, y, 12, 8));
        }
        p.setBrush(kAccent);
        p.drawEllipse(QPointF(26, 24), 3, 3);
        break;
    case ProgramIcon::ItemTemplate:
        TemplatePage(p, kAccent);
        p.setPen(QPen(kGreen, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF({{6, 15}, {2.5, 18.5}, {6, 22}}));
        p.drawPolyline(QPolygonF({{27, 15}, {30.5, 18.5}, {27, 22}}));
        break;
    case ProgramIcon::TemplateBuiltin:
        TemplatePage(p, QColor(0x70, 0x70, 0x70));
        Sparkle(p, {24, 24}, 7);
        break;
    case ProgramIcon::TemplateUser:
        TemplatePage(p, kAccent);
        Pencil(p);
        break;
    case ProgramIcon::ProjectOutput:
        // Pages going out to the site.
        Page(p);
        p.setPen(QPen(kGreen, 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(12, 20), QPointF(28, 20));
        p.drawPolyline(QPolygonF({{23, 15}, {28, 20}, {23, 25}}));
        break;
    case ProgramIcon::SimpleDesign:
        // A top menu linking to its genre directories.
        p.setPen(Outline(1.3));
        p.drawLine(QPointF(16, 10), QPointF(16, 15));
        p.drawLine(QPointF(6, 15), QPointF(26, 15));
        for (const qreal x : {6.0, 16.0, 26.0}) {
            p.drawLine(QPointF(x, 15), QPointF(x, 19));
        }
        p.setBrush(kCard);
        p.drawRoundedRect(QRectF(9, 2, 14, 8), 1.5, 1.5);
        for (const qreal x : {1.0, 11.0, 21.0}) {
            Folder(p, QRectF(x, 19, 10, 9));
        }
        break;
    case ProgramIcon::Directory: Folder(p, QRectF(2, 8, 24, 18)); break;
    case ProgramIcon::DesignedDirectory:
        Folder(p, QRectF(2, 8, 24, 18));
        Pencil(p);
        break;
    case ProgramIcon::Browse:
        p.setPen(Outline(1.4));
        p.setBrush(kCard);
        p.drawEllipse(QPointF(16, 16), 12, 12);
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(16, 16), 5, 12);
        p.drawLine(QPointF(4, 16), QPointF(28, 16));
        p.drawLine(QPointF(16, 4), QPointF(16, 28));
        break;
    }
}

class DrawnIconEngine final : public QIconEngine {
public:
    explicit DrawnIconEngine(ProgramIcon icon)
        : icon_(icon)
    {
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override
    {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->translate(rect.topLeft());
        const qreal side = std::min(rect.width(), rect.height());
        painter->scale(side / kGrid, side / kGrid);
        if (mode == QIcon::Disabled) {
            painter->setOpacity(0.35);
        }
        Draw(icon_, *painter);
        painter->restore();
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap image(size);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return image;
    }

    QIconEngine* clone() const override { return new DrawnIconEngine(icon_); }

private:
    ProgramIcon icon_;
};

} // namespace

QIcon DrawnIcon(ProgramIcon icon)
{
    return QIcon(new DrawnIconEngine(icon));
}

} // namespace tessaly
