#include "sysedit/add_text_rewrite.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrel::sysedit {
namespace {

TEST(AddTextRewrite, PlacesTheTextWhereItsConditionSays) {
    const std::string file = "one\r\ntwo\r\nthree\r\n";
    struct Case {
        const char* text;
        const char* where;
        bool replace;
        const char* expected; // nullptr: unchanged
    };
    const Case cases[] = {
        {"new", "", false, "one\r\ntwo\r\nthree\r\nnew\r\n"},
        {"new", "1", false, "new\r\none\r\ntwo\r\nthree\r\n"},
        {"new", "-1", false, "one\r\ntwo\r\nthree\r\nnew\r\n"},
        {"new", "-2", false, "one\r\ntwo\r\nnew\r\nthree\r\n"},
        {"new", "-9", false, "new\r\none\r\ntwo\r\nthree\r\n"},
        {"new", "9999", false, "one\r\ntwo\r\nthree\r\nnew\r\n"},
        {"new", "-1", true, "one\r\ntwo\r\nnew\r\n"},
        {"new", "2", true, "one\r\nnew\r\nthree\r\n"},
        // A search text: the line after the match, or with REPLACE the match itself.
        {"new", "TWO", false, "one\r\ntwo\r\nnew\r\nthree\r\n"},
        {"new", "th*", true, "one\r\ntwo\r\nnew\r\n"},
        {"new *", "th*", true, "one\r\ntwo\r\nnew three\r\n"},
        {"new", "nowhere", false, "one\r\ntwo\r\nthree\r\nnew\r\n"},
        {"new", "nowhere", true, nullptr},
        // There already, in any case, unless REPLACE.
        {"TWO", "1", false, nullptr},
        {"TWO", "1", true, "TWO\r\ntwo\r\nthree\r\n"},
    };
    for (const Case& c : cases) {
        const AddTextRequest request{c.text, "F.TXT", c.where, c.replace};
        EXPECT_EQ(rewriteAddText(file, false, request).text, c.expected ? c.expected : file)
            << c.text << " " << c.where << " " << c.replace;
    }
}

TEST(AddTextRewrite, LogsWhatChangedAndACreatedFileFirst) {
    EXPECT_EQ(rewriteAddText("a\nb", false, {"x *", "F.TXT", "B", true}).logLines,
              std::vector<std::string>{"ADDTEXT: \"b\", F.TXT, \"x b\""});
    // A missing file is created with the one line.
    const TextRewrite created = rewriteAddText("", true, {"line", "A.TXT", "3", true});
    EXPECT_EQ(created.text, "line\r\n");
    EXPECT_EQ(created.logLines,
              (std::vector<std::string>{"FILE: \"A.TXT\"", "ADDTEXT: \"\", A.TXT, \"line\""}));
    // A last line without its end gets one before the text; nothing after a Ctrl-Z moves.
    EXPECT_EQ(rewriteAddText("a\nb\x1azz", false, {"c", "F", "", false}).text, "a\nb\nc\n\x1azz");
}

} // namespace
} // namespace kestrel::sysedit
