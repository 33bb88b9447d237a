#include "lexical/overwrite_mode.h"

#include "lexical/word_table.h"

namespace kestrel::lexical {

namespace {

constexpr NamedWord<OverwriteMode> kWords[] = {
    {"YES", OverwriteMode::Yes},
    {"NO", OverwriteMode::No},
    {"NEW", OverwriteMode::New},
    {"ASK", OverwriteMode::Ask},
};

} // namespace

std::optional<OverwriteMode> overwriteModeFromWord(std::string_view word) {
    return lookUpWord(kWords, word);
}

} // namespace kestrel::lexical
