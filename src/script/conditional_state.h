// The skip state of IF / ELSE / ENDIF blocks as the interpreter walks the lines. Blocks do not
// nest: an IF inside a taken branch replaces the state, and its ENDIF ends everything. The
// state is kept across the main and the deferred pass.
#pragma once

#include <cstdint>
#include <string_view>

namespace kestrel::script {

// What a condition evaluated to.
enum ConditionValue : int32_t {
    kConditionError = -1,
    kConditionFalse = 0,
    kConditionTrue = 1,
    kConditionDeferred = 100, // the block was stored for the deferred pass, its lines consumed
};

class ConditionalState {
  public:
    // At the start of every interpreter run: no exit-message text is open.
    void beginRun() { inExitMessage_ = false; }

    // Whether a line with this keyword is interpreted. While a branch is switched off only IF,
    // ELSE and ENDIF are, and not even those inside an exit message's text (EXITMESSAGE up
    // to EXIT), which is screen content.
    bool interprets(std::string_view keyword);

    // An IF line, before its condition is evaluated; false is an error (an IF inside a
    // switched-off branch, or nothing after the keyword).
    bool beginIf(bool hasCondition);
    // The condition's value; false is an error.
    bool applyCondition(int32_t value);
    // false is an error (ELSE without IF, or a second ELSE).
    bool elseLine();
    // false is an error (ENDIF without IF).
    bool endIfLine();
    // At the end of a run: false when a branch is still switched off (a missing ENDIF).
    bool runEndsCleanly() const { return !skipping_; }

    bool skipping() const { return skipping_; }
    bool insideIf() const { return insideIf_; }
    int32_t lastConditionValue() const { return lastValue_; }

  private:
    void reset();

    bool skipping_ = false;
    bool elseToggle_ = false;
    bool elseAllowed_ = false;
    bool insideIf_ = false;
    int32_t lastValue_ = 0;
    bool inExitMessage_ = false;
};

} // namespace kestrel::script
