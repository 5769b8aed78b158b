#include "support/ScriptedMessages.h"

namespace tessaly::test {

MessageButton ScriptedMessages::Show(MessageKind kind, std::string_view text, MessageButtons buttons)
{
    shown.push_back({kind, std::string(text), buttons});
    if (answers_.empty()) {
        return MessageButton::Ok;
    }
    const MessageButton answer = answers_.front();
    answers_.pop_front();
    return answer;
}

MessageButton ScriptedMessages::ShowWith(
    MessageKind kind, std::string_view text, MessageButtons buttons, const MessageOptions& options)
{
    const MessageButton answer = Show(kind, text, buttons);
    shown.back().options = options;
    return answer;
}

} // namespace tessaly::test
