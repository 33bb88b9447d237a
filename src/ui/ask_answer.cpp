#include "ui/ask_answer.h"

namespace kestrel::ui {

std::string askAnswer(std::string_view typed) {
    const size_t start = typed.find_first_not_of(" \t\n\r,()");
    return start == std::string_view::npos ? std::string() : std::string(typed.substr(start));
}

} // namespace kestrel::ui
