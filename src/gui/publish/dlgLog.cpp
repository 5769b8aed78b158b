#include "gui/publish/dlgLog.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/GuiText.h"
#include "gui/shell/dlgHelp.h"
#include "gui/shell/HelpTopics.h"

namespace tessaly {

TForm_Log::TForm_Log(const std::vector<SjisText>& log, QWidget* parent)
    : QDialog(parent)
    , text_(new QPlainTextEdit)
{
    setObjectName(QStringLiteral("TForm_Log"));
    setWindowTitle(QStringLiteral("出力ログ"));
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(log.size()));
    for (const SjisText& line : log) {
        lines.append(ToQString(line.view()));
    }
    text_->setObjectName(QStringLiteral("Memo_Log"));
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setPlainText(lines.join(QLatin1Char('\n')));
    // The view's own Ctrl+C would copy only the selection.
    text_->installEventFilter(this);

    auto* buttons = new QDialogButtonBox;
    QPushButton* copy = buttons->addButton(QStringLiteral("コピー(&C)"), QDialogButtonBox::ActionRole);
    copy->setObjectName(QStringLiteral("BtnCopy"));
    QPushButton* help = buttons->addButton(QStringLiteral("ヘルプ(&H)"), QDialogButtonBox::HelpRole);
    help->setObjectName(QStringLiteral("BtnHelp"));
    QPushButton* close = buttons->addButton(QStringLiteral("閉じる(&X)"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("BtnClose"));
    close->setDefault(true);
    connect(copy, &QPushButton::clicked, this, &TForm_Log::CopyAll);
    connect(help, &QPushButton::clicked, this, [this] { ShowHelp(this, help::kLog); });
    SetHelpTopic(this, help::kLog);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* copyKey = new QAction(this);
    copyKey->setShortcut(QKeySequence::Copy);
    connect(copyKey, &QAction::triggered, this, &TForm_Log::CopyAll);
    addAction(copyKey);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_, 1);
    layout->addWidget(buttons);
    resize(560, 400);
    text_->setFocus();
}

QString TForm_Log::Text() const
{
    return text_->toPlainText();
}

void TForm_Log::CopyAll()
{
    QApplication::clipboard()->setText(Text());
}

bool TForm_Log::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == text_ && (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)
        && static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
        if (event->type() == QEvent::KeyPress) {
            CopyAll();
        }
        event->accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace tessaly
