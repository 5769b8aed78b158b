#include "support/ScriptedMessages.h"

namespace tessaly::test {

MessageButton ScriptedMessages::Show(MessageKind kind, const SjisText& text, MessageButtons buttons)
{
    shown.push_back({kind, text.bytes(), buttons});
    if (answers_.empty()) {
        return MessageButton::Ok;
    }
    const MessageButton answer = answers_.front();
    answers_.pop_front();
    return answer;
}

MessageButton ScriptedMessages::ShowWith(
    MessageKind kind, const SjisText& text, MessageButtons buttons, const MessageOptions& options)
{
    const MessageButton answer = Show(kind, text, buttons);
    shown.back().options = options;
    return answer;
}

} // namespace tessaly::test
