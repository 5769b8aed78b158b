#pragma once

// The one way the program shows a message box. The desktop program installs
// a presenter that sounds the system sound of the kind and shows a modal
// box; tests install one that records the message and answers from a script.

#include <cstdint>
#include <utility>
#include <vector>

#include "core/text/EncodedText.h"

namespace tessaly {

enum class MessageKind { Warning, Error, Information, Confirmation, Custom };

enum class MessageButton : uint32_t {
    None = 0,
    Ok = 1u << 0,
    Cancel = 1u << 1,
    Abort = 1u << 2,
    Retry = 1u << 3,
    Ignore = 1u << 4,
    Yes = 1u << 5,
    No = 1u << 6,
    YesToAll = 1u << 7,
    NoToAll = 1u << 8,
};

class MessageButtons {
public:
    constexpr MessageButtons() = default;
    constexpr MessageButtons(MessageButton button)
        : bits_(static_cast<uint32_t>(button))
    {
    }
    constexpr MessageButtons operator|(MessageButton button) const
    {
        return MessageButtons(bits_ | static_cast<uint32_t>(button));
    }
    constexpr bool Has(MessageButton button) const { return (bits_ & static_cast<uint32_t>(button)) != 0; }
    constexpr uint32_t Bits() const { return bits_; }

private:
    constexpr explicit MessageButtons(uint32_t bits)
        : bits_(bits)
    {
    }
    uint32_t bits_ = 0;
};

constexpr MessageButtons operator|(MessageButton a, MessageButton b)
{
    return MessageButtons(a) | b;
}

// What a few questions need beyond the standard buttons: buttons named for
// what they do ("上書き"), or a safe button as the default where the first
// one would do harm.
struct MessageOptions {
    MessageButton defaultButton = MessageButton::None;
    std::vector<std::pair<MessageButton, SjisText>> captions;
};

class MessagePresenter {
public:
    virtual ~MessagePresenter() = default;
    // Shows text and returns the button chosen; a box closed without a
    // choice answers Cancel.
    virtual MessageButton Show(MessageKind kind, const SjisText& text, MessageButtons buttons) = 0;
    // The same with captions and a default button; a presenter that has no
    // use for them shows the plain message.
    virtual MessageButton ShowWith(
        MessageKind kind, const SjisText& text, MessageButtons buttons, const MessageOptions& /*options*/)
    {
        return Show(kind, text, buttons);
    }
    // The default system beep, for input that is refused without a box.
    virtual void Beep() = 0;
};

} // namespace tessaly
