#include "script/conditional_state.h"

#include "lexical/ansi_text.h"

namespace kestrel::script {

void ConditionalState::reset() {
    skipping_ = elseToggle_ = elseAllowed_ = insideIf_ = false;
    lastValue_ = 0;
}

bool ConditionalState::interprets(std::string_view keyword) {
    if (!skipping_)
        return true;
    if (lexical::equalsIgnoringAsciiCase(keyword, "EXITMESSAGE")) {
        inExitMessage_ = true;
        return false;
    }
    if (lexical::equalsIgnoringAsciiCase(keyword, "EXIT")) {
        inExitMessage_ = false;
        return false;
    }
    if (inExitMessage_)
        return false;
    return lexical::equalsIgnoringAsciiCase(keyword, "IF") ||
           lexical::equalsIgnoringAsciiCase(keyword, "ELSE") ||
           lexical::equalsIgnoringAsciiCase(keyword, "ENDIF");
}

bool ConditionalState::beginIf(bool hasCondition) {
    insideIf_ = true;
    if (skipping_ || !hasCondition)
        return false;
    elseAllowed_ = true;
    return true;
}

bool ConditionalState::applyCondition(int32_t value) {
    lastValue_ = value;
    switch (value) {
    case kConditionError:
        return false;
    case kConditionDeferred:
        reset();
        return true;
    case kConditionFalse:
        skipping_ = elseToggle_ = true;
        return true;
    default:
        skipping_ = elseToggle_ = false;
        return true;
    }
}

bool ConditionalState::elseLine() {
    if (!elseAllowed_)
        return false;
    skipping_ = elseToggle_ = !elseToggle_;
    elseAllowed_ = false;
    return true;
}

bool ConditionalState::endIfLine() {
    if (!insideIf_)
        return false;
    reset();
    return true;
}

} // namespace kestrel::script
