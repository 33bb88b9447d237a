#include "files/version_compare.h"

#include "lexical/ansi_text.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace kestrel::files {
namespace {

// "1.2.30" -> {1, 2, 30}; separators may also be commas, and blanks around a field are
// allowed ("1, 0, 0, 1" as resource compilers write it). Nothing for anything else.
std::optional<std::vector<uint64_t>> dottedNumbers(std::string_view text) {
    std::vector<uint64_t> fields;
    size_t at = 0;
    for (;;) {
        while (at < text.size() && text[at] == ' ')
            ++at;
        if (at == text.size() || text[at] < '0' || text[at] > '9')
            return std::nullopt;
        uint64_t value = 0;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
            if (value > (UINT64_MAX - 9) / 10)
                return std::nullopt;
            value = value * 10 + uint64_t(text[at++] - '0');
        }
        fields.push_back(value);
        while (at < text.size() && text[at] == ' ')
            ++at;
        if (at == text.size())
            return fields;
        if (text[at] != '.' && text[at] != ',')
            return std::nullopt;
        ++at;
    }
}

} // namespace

int compareVersions(std::string_view a, std::string_view b) {
    const auto left = dottedNumbers(a);
    const auto right = dottedNumbers(b);
    if (!left || !right) {
        const std::string upperA = lexical::asciiUpper(a);
        const std::string upperB = lexical::asciiUpper(b);
        return upperA.compare(upperB) < 0 ? -1 : upperA == upperB ? 0 : 1;
    }
    for (size_t i = 0; i < std::max(left->size(), right->size()); ++i) {
        const uint64_t x = i < left->size() ? (*left)[i] : 0;
        const uint64_t y = i < right->size() ? (*right)[i] : 0;
        if (x != y)
            return x < y ? -1 : 1;
    }
    return 0;
}

} // namespace kestrel::files
