#include "gui/MessageBoxPresenter.h"

#include <array>
#include <utility>

#include <QApplication>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>

#include "gui/GuiText.h"

namespace tessaly {

namespace {

constexpr std::array<std::pair<MessageButton, QMessageBox::StandardButton>, 9> kButtons{{
    {MessageButton::Ok, QMessageBox::Ok},
    {MessageButton::Cancel, QMessageBox::Cancel},
    {MessageButton::Abort, QMessageBox::Abort},
    {MessageButton::Retry, QMessageBox::Retry},
    {MessageButton::Ignore, QMessageBox::Ignore},
    {MessageButton::Yes, QMessageBox::Yes},
    {MessageButton::No, QMessageBox::No},
    {MessageButton::YesToAll, QMessageBox::YesToAll},
    {MessageButton::NoToAll, QMessageBox::NoToAll},
}};

QMessageBox::Icon IconOf(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Warning: return QMessageBox::Warning;
    case MessageKind::Error: return QMessageBox::Critical;
    case MessageKind::Information: return QMessageBox::Information;
    case MessageKind::Confirmation: return QMessageBox::Question;
    default: return QMessageBox::NoIcon;
    }
}

} // namespace

void MessageBoxPresenter::PlaySound(MessageKind kind)
{
    // Warning and error share the exclamation sound, as the message kinds do.
    const char* event = kind == MessageKind::Warning || kind == MessageKind::Error ? "dialog-warning"
        : kind == MessageKind::Information                                         ? "dialog-information"
        : kind == MessageKind::Confirmation                                        ? "dialog-question"
                                                                                   : "bell";
    static const QString player = QStandardPaths::findExecutable(QStringLiteral("canberra-gtk-play"));
    if (player.isEmpty() || !QProcess::startDetached(player, {QStringLiteral("-i"), QString::fromLatin1(event)})) {
        QApplication::beep();
    }
}

MessageButton MessageBoxPresenter::Show(MessageKind kind, const SjisText& text, MessageButtons buttons)
{
    return ShowWith(kind, text, buttons, {});
}

MessageButton MessageBoxPresenter::ShowWith(
    MessageKind kind, const SjisText& text, MessageButtons buttons, const MessageOptions& options)
{
    PlaySound(kind);
    QMessageBox box(
        IconOf(kind), QApplication::applicationName(), ToQString(text.view()), QMessageBox::NoButton, parent_);
    for (const auto& [button, standard] : kButtons) {
        if (!buttons.Has(button)) {
            continue;
        }
        QPushButton* added = box.addButton(standard);
        for (const auto& [named, caption] : options.captions) {
            if (named == button) {
                added->setText(ToQString(caption.view()));
            }
        }
        if (button == options.defaultButton) {
            box.setDefaultButton(added);
        }
    }
    const auto chosen = static_cast<QMessageBox::StandardButton>(box.exec());
    for (const auto& [button, standard] : kButtons) {
        if (standard == chosen) {
            return button;
        }
    }
    return MessageButton::Cancel;
}

void MessageBoxPresenter::Beep()
{
    PlaySound(MessageKind::Custom);
}

} // namespace tessaly
