#include "gui/shell/dlgVersion.h"

#include <QEvent>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRegion>

#include "core/util/Jpeg.h"
#include "gui/shell/HelpTopics.h"
#include "gui/shell/dlgHelp.h"

// The pictures live in the resources of this static library.
static void InitVersionPictures()
{
    Q_INIT_RESOURCE(images);
}

namespace tessaly {

namespace {

constexpr const char* kVersion = "1.04";
constexpr const char* kAuthor = "Brindlewood";
constexpr const char* kSupportMail = "support@brindlewood.example";

// Two label rows in a box drawn behind them.
QWidget* LabelBox(const std::vector<std::pair<QString, QLabel*>>& rows)
{
    auto* box = new QWidget;
    auto* layout = new QGridLayout(box);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->setHorizontalSpacing(8);
    layout->setVerticalSpacing(0);
    int row = 0;
    for (const auto& [caption, value] : rows) {
        layout->addWidget(new QLabel(caption), row, 0);
        layout->addWidget(value, row, 1);
        ++row;
    }
    return box;
}

} // namespace

QImage TForm_Version::Picture(bool girlDisabled)
{
    InitVersionPictures();
    QFile file(
        girlDisabled ? QStringLiteral(":/images/version_normal.jpg") : QStringLiteral(":/images/version_girl.jpg"));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray bytes = file.readAll();
    const std::optional<RgbImage> decoded
        = DecodeJpeg(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (!decoded) {
        return {};
    }
    return QImage(decoded->pixels.data(), decoded->width, decoded->height, decoded->width * 3, QImage::Format_RGB888)
        .copy();
}

TForm_Version::TForm_Version(bool girlDisabled, bool startScreen, QWidget* parent)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , picture_(Picture(girlDisabled))
    , startScreen_(startScreen)
    , mail_(new QLabel(QStringLiteral("<a href=\"mail\">%1</a>").arg(QLatin1String(kSupportMail))))
    , page_(new QLabel(QStringLiteral("<a href=\"page\">%1</a>").arg(QLatin1String(kAuthor))))
{
    setObjectName(QStringLiteral("TForm_Version"));
    setWindowTitle(QStringLiteral("バージョン情報"));
    SetHelpTopic(this, help::kAbout);
    setFixedSize(480, 320);
    QPainterPath rounded;
    rounded.addRoundedRect(QRectF(0, 0, 480, 320), 16.5, 16.5);
    setMask(QRegion(rounded.toFillPolygon().toPolygon()));
    mail_->setObjectName(QStringLiteral("Label_Mail"));
    page_->setObjectName(QStringLiteral("Label_Page"));
    auto* version = new QLabel(QString::fromLatin1(kVersion));
    version->setObjectName(QStringLiteral("Label_Version"));
    auto* licence = new QLabel(QStringLiteral("GNU GPL v3 以降 (無保証)"));
    licence->setObjectName(QStringLiteral("Label_License"));
    licence->setToolTip(QStringLiteral(
        "このプログラムはフリーソフトウェアです. GNU 一般公衆利用許諾書 (GPL) バージョン 3 か、\n"
        "それ以降のバージョンの条件の下で再配布・改変できます. 法律の許す限り、無保証です."));
    versionBox_ = LabelBox({{QStringLiteral("Version"), version},
        {QStringLiteral("Author"), new QLabel(QString::fromLatin1(kAuthor))}, {QStringLiteral("License"), licence}});
    linkBox_ = LabelBox({{QStringLiteral("E-mail"), mail_}, {QString(), page_}});
    connect(mail_, &QLabel::linkActivated, this, [this] {
        if (mailSupport) {
            mailSupport();
        }
    });
    connect(page_, &QLabel::linkActivated, this, [this] {
        if (openMakerPage) {
            openMakerPage();
        }
    });
    auto* close = new QPushButton(QStringLiteral("閉じる"));
    close->setObjectName(QStringLiteral("BtnClose"));
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(24, 24, 24, 20);
    layout->setRowStretch(0, 1);
    layout->addWidget(versionBox_, 1, 0, Qt::AlignLeft | Qt::AlignBottom);
    layout->addWidget(linkBox_, 2, 0, Qt::AlignLeft | Qt::AlignBottom);
    layout->addWidget(close, 2, 1, Qt::AlignRight | Qt::AlignBottom);
    for (QWidget* widget : {versionBox_, linkBox_, static_cast<QWidget*>(close)}) {
        widget->setVisible(!startScreen);
        widget->installEventFilter(this);
    }
}

void TForm_Version::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(rect(), picture_);
}

bool TForm_Version::eventFilter(QObject* watched, QEvent* event)
{
    // The boxes behind the label groups, in the tooltip colour, outlined.
    if (event->type() == QEvent::Paint && (watched == versionBox_ || watched == linkBox_) && !startScreen_) {
        auto* box = static_cast<QWidget*>(watched);
        QPainter painter(box);
        painter.setPen(Qt::black);
        painter.setBrush(palette().color(QPalette::ToolTipBase));
        painter.drawRect(box->rect().adjusted(0, 0, -1, -1));
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace tessaly
