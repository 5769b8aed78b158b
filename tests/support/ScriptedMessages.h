#pragma once

#include <deque>
#include <string>
#include <vector>

#include "core/util/Messages.h"

namespace tessaly::test {

// Records every message and answers from a queue (Ok when the queue is empty).
class ScriptedMessages final : public MessagePresenter {
public:
    struct Shown {
        MessageKind kind;
        std::string text;
        MessageButtons buttons;
        MessageOptions options{};
    };

    void SetNextAnswer(MessageButton answer) { answers_.push_back(answer); }
    MessageButton Show(MessageKind kind, const SjisText& text, MessageButtons buttons) override;
    MessageButton ShowWith(
        MessageKind kind, const SjisText& text, MessageButtons buttons, const MessageOptions& options) override;
    void Beep() override { ++beeps; }

    std::vector<Shown> shown;
    int beeps = 0;

private:
    std::deque<MessageButton> answers_;
};

} // namespace tessaly::test
