// The options that group blocks offer and what became of them, process-wide and reset at the
// start of every installation. Options are numbered in the order the group blocks of the
// script made them; a script labels each with a two-digit group number (0..99) that FILE
// entries and `group` conditions refer to.
#pragma once

#include <array>
#include <cstdint>

namespace kestrel::lexical {

class OptionTables {
  public:
    static constexpr int32_t kSize = 100; // options, and group numbers 0..99
    static constexpr int32_t kNoOption = -1;

    OptionTables() { reset(); }

    // Every option unselected and not preselected; no group number labels an option.
    void reset() {
        optionOfGroup_.fill(kNoOption);
        selected_.fill(0);
        preselected_.fill(0);
    }

    // The option a group number labels, or kNoOption (also for a number outside 0..99).
    int32_t optionOfGroup(int32_t groupNumber) const {
        return inRange(groupNumber) ? optionOfGroup_[groupNumber] : kNoOption;
    }
    // False when either number is outside 0..99.
    bool setOptionOfGroup(int32_t groupNumber, int32_t option) {
        if (!inRange(groupNumber) || !inRange(option))
            return false;
        optionOfGroup_[groupNumber] = option;
        return true;
    }

    bool selected(int32_t option) const { return inRange(option) && selected_[option] != 0; }
    void setSelected(int32_t option, bool on) {
        if (inRange(option))
            selected_[option] = on ? 1 : 0;
    }
    bool preselected(int32_t option) const { return inRange(option) && preselected_[option] != 0; }
    void setPreselected(int32_t option, bool on) {
        if (inRange(option))
            preselected_[option] = on ? 1 : 0;
    }

    // A group number counts as selected when it labels an option that is selected.
    bool groupSelected(int32_t groupNumber) const { return selected(optionOfGroup(groupNumber)); }

  private:
    static bool inRange(int32_t n) { return n >= 0 && n < kSize; }

    std::array<int32_t, kSize> optionOfGroup_{};
    std::array<uint8_t, kSize> selected_{};
    std::array<uint8_t, kSize> preselected_{};
};

} // namespace kestrel::lexical
