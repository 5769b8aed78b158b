#pragma once

// Message boxes of the desktop program: a beep for the kind, then a modal
// box with the buttons the message names.

#include "core/util/Messages.h"

class QWidget;

namespace tessaly {

class MessageBoxPresenter final : public MessagePresenter {
public:
    explicit MessageBoxPresenter(QWidget* parent = nullptr)
        : parent_(parent)
    {
    }
    void SetParent(QWidget* parent) { parent_ = parent; }

    MessageButton Show(MessageKind kind, const SjisText& text, MessageButtons buttons) override;
    MessageButton ShowWith(
        MessageKind kind, const SjisText& text, MessageButtons buttons, const MessageOptions& options) override;
    void Beep() override;

    // The sound of a kind: the desktop sound theme's event, played with
    // canberra-gtk-play where it is installed, else the plain beep.
    static void PlaySound(MessageKind kind);

private:
    QWidget* parent_;
};

} // namespace tessaly
