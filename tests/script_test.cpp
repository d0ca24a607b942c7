#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "model/field_text.h"
#include "script/reader.h"

namespace tavrix {
namespace {

using script::ReadError;
using script::Tokens;

struct ReadCase {
    const char* line;
    std::variant<Tokens, const char*> expected;  // the tokens, or a part of the error
};

TEST(ScriptReader, ReadsTokensAndRejectsWhatItCannotRead) {
    const ReadCase cases[] = {
        {"", Tokens{}},
        {"   \t ", Tokens{}},
        {"# a comment", Tokens{}},
        {"  # indented comment", Tokens{}},
        {"set Text1 5", Tokens{"set", "Text1", "5"}},
        {"set\tText1   \"5\"  ", Tokens{"set", "Text1", "5"}},
        {"set Text1 \"\"", Tokens{"set", "Text1", ""}},
        {"set Text1 \"a b\"", Tokens{"set", "Text1", "a b"}},
        {R"(set T "q\"b\\s\n\r\t")", Tokens{"set", "T", "q\"b\\s\n\r\t"}},
        {R"(set T "\u00e1\u20AC")", Tokens{"set", "T", "á€"}},
        {R"(set T "\ud83d\ude00")", Tokens{"set", "T", "\xF0\x9F\x98\x80"}},
        {R"(set T "\ud800\udc00")", Tokens{"set", "T", "\xF0\x90\x80\x80"}},
        {"set T c:\\dir\\x.def", Tokens{"set", "T", "c:\\dir\\x.def"}},
        {"set T a#b", Tokens{"set", "T", "a#b"}},
        {"set T \"unterminated", "comilla"},
        {R"(set T "\x")", "escape"},
        {R"(set T "\u12")", "\\u"},
        {R"(set T "\ud83d")", "suplente"},
        {R"(set T "\ude00")", "suplente"},
        {"set T a\"b\"", "espacio"},
        {"set T \"a\"b", "espacio"},
        {"set T \xC3", "UTF-8"},
    };
    for (const ReadCase& c : cases) {
        const auto read = script::read_line(c.line);
        if (const auto* tokens = std::get_if<Tokens>(&c.expected)) {
            ASSERT_TRUE(std::holds_alternative<Tokens>(read)) << c.line;
            EXPECT_EQ(std::get<Tokens>(read), *tokens) << c.line;
        } else {
            ASSERT_TRUE(std::holds_alternative<ReadError>(read)) << c.line;
            EXPECT_NE(std::get<ReadError>(read).message.find(std::get<const char*>(c.expected)),
                      std::string::npos)
                << c.line << ": " << std::get<ReadError>(read).message;
        }
    }
}

// A set's text is held to a field's limit counted as both windows count it: UTF-16 units.
TEST(ScriptSet, CountsATextAsTheFieldsDo) {
    EXPECT_EQ(field_length("a\xC3\xA1\xE2\x82\xAC\xF0\x9F\x98\x80"), 5u);  // a á € and 😀 as two
}

}  // namespace
}  // namespace tavrix
