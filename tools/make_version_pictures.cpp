// Draws the two 480 x 320 pictures of the version window and writes them as
// JPEG files: a girl reading beside a chain of links, and a plain variant.
//   QT_QPA_PLATFORM=offscreen make-version-pictures OUTPUT_DIRECTORY

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

void Background(QPainter& painter)
{
    QLinearGradient sky(0, 0, 0, 320);
    sky.setColorAt(0, QColor(0xFD, 0xF3, 0xE7));
    sky.setColorAt(1, QColor(0xE4, 0xEC, 0xF8));
    painter.fillRect(0, 0, 480, 320, sky);
    // A chain of links across the picture: the collection.
    painter.setPen(QPen(QColor(0x8F, 0xA8, 0xD8), 6));
    painter.setBrush(Qt::NoBrush);
    for (int i = 0; i < 7; ++i) {
        const QRectF link(20 + i * 62, 230 + (i % 2) * 14, 70, 34);
        painter.drawRoundedRect(link, 17, 17);
    }
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 40; ++i) {
        painter.setBrush(QColor(0xFF, 0xFF, 0xFF, 90 + (i * 37) % 120));
        const double x = (i * 131) % 480;
        const double y = (i * 71) % 200;
        painter.drawEllipse(QPointF(x, y), 2 + i % 3, 2 + i % 3);
    }
    QFont title(QStringLiteral("IPAGothic"), 34, QFont::Bold);
    painter.setFont(title);
    painter.setPen(QColor(0x3A, 0x4E, 0x86));
    painter.drawText(QRectF(24, 18, 300, 60), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Tessaly"));
}

void Girl(QPainter& painter)
{
    const QPointF face(360, 120);
    // Hair behind the face.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x5A, 0x3A, 0x2A));
    painter.drawEllipse(face + QPointF(0, 10), 62, 74);
    // Body with a book.
    QPainterPath dress;
    dress.moveTo(310, 320);
    dress.cubicTo(310, 220, 410, 220, 410, 320);
    painter.setBrush(QColor(0xE8, 0x7A, 0x8E));
    painter.drawPath(dress);
    painter.setBrush(QColor(0xF6, 0xF1, 0xE4));
    painter.drawRect(QRectF(322, 250, 76, 46));
    painter.setPen(QPen(QColor(0xB8, 0xA0, 0x80), 2));
    painter.drawLine(QPointF(360, 250), QPointF(360, 296));
    painter.setPen(Qt::NoPen);
    // Face, eyes, cheeks, smile and fringe.
    QRadialGradient skin(face, 60);
    skin.setColorAt(0, QColor(0xFF, 0xE8, 0xD6));
    skin.setColorAt(1, QColor(0xF8, 0xD2, 0xB8));
    painter.setBrush(skin);
    painter.drawEllipse(face, 48, 54);
    painter.setBrush(QColor(0x3A, 0x2A, 0x30));
    painter.drawEllipse(face + QPointF(-18, 4), 6, 9);
    painter.drawEllipse(face + QPointF(18, 4), 6, 9);
    painter.setBrush(QColor(0xFF, 0xFF, 0xFF));
    painter.drawEllipse(face + QPointF(-16, 1), 2, 3);
    painter.drawEllipse(face + QPointF(20, 1), 2, 3);
    painter.setBrush(QColor(0xF4, 0x9A, 0xA4, 140));
    painter.drawEllipse(face + QPointF(-28, 22), 9, 5);
    painter.drawEllipse(face + QPointF(28, 22), 9, 5);
    painter.setPen(QPen(QColor(0xA0, 0x4A, 0x4A), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(face.x() - 10, face.y() + 18, 20, 12), 200 * 16, 140 * 16);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x5A, 0x3A, 0x2A));
    QPainterPath fringe;
    fringe.moveTo(face + QPointF(-50, -6));
    fringe.cubicTo(face + QPointF(-40, -70), face + QPointF(40, -70), face + QPointF(50, -6));
    fringe.cubicTo(face + QPointF(20, -30), face + QPointF(-10, -20), face + QPointF(-50, -6));
    painter.drawPath(fringe);
    // A ribbon.
    painter.setBrush(QColor(0xD8, 0x40, 0x60));
    painter.drawEllipse(face + QPointF(34, -44), 12, 8);
    painter.drawEllipse(face + QPointF(50, -38), 12, 8);
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        qWarning("usage: make-version-pictures OUTPUT_DIRECTORY");
        return 2;
    }
    const QDir output(QString::fromLocal8Bit(argv[1]));
    QImage girl(480, 320, QImage::Format_RGB32);
    QImage plain(480, 320, QImage::Format_RGB32);
    {
        QPainter painter(&girl);
        painter.setRenderHint(QPainter::Antialiasing);
        Background(painter);
        Girl(painter);
    }
    {
        QPainter painter(&plain);
        painter.setRenderHint(QPainter::Antialiasing);
        Background(painter);
    }
    const bool ok = girl.save(output.filePath(QStringLiteral("version_girl.jpg")), "JPEG", 88)
        && plain.save(output.filePath(QStringLiteral("version_normal.jpg")), "JPEG", 88);
    return ok ? 0 : 1;
}
