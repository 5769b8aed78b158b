#include "MessageBoxPresenter.h"

#include <array>
#include <utility>

#include <QApplication>
#include <QMessageBox>

#include "GuiText.h"

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

MessageButton MessageBoxPresenter::Show(MessageKind kind, std::string_view text, MessageButtons buttons)
{
    Beep();
    QMessageBox box(IconOf(kind), QApplication::applicationName(), ToQString(text), QMessageBox::NoButton, parent_);
    for (const auto& [button, standard] : kButtons) {
        if (buttons.Has(button)) {
            box.addButton(standard);
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
    QApplication::beep();
}

} // namespace tessaly
