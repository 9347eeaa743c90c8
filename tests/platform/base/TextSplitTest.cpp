#include "platform/base/LineReader.h"
#include "platform/base/TabSplitter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace std::string_literals;
using Fields = std::vector<std::string>;

std::vector<std::string> Lines(std::string_view text)
{
    CLineReader reader(text);
    std::vector<std::string> lines;
    for (std::string_view line; reader.Next(line);) {
        lines.emplace_back(line);
        EXPECT_EQ(reader.GetLineNumber(), lines.size());
    }
    EXPECT_TRUE(reader.AtEnd());
    return lines;
}

TEST(LineReader, TakesEveryLineEndAsReadersAlwaysDid)
{
    const std::string longLine(3u << 20, 'x');
    const struct
    {
        std::string text;
        std::vector<std::string> lines;
    } cases[] = {
        {"", {}},
        {"\n", {""}},
        {"a", {"a"}},                          // no final line end
        {"a\n", {"a"}},                        // a final line end begins no further line
        {"a\n\nb\n", {"a", "", "b"}},          // an empty line inside is one
        {"a\r\nb\r\n", {"a", "b"}},            // CR LF
        {"a\r\n\r\n", {"a", ""}},              //
        {"a\rb\n", {"a\rb"}},                  // a lone CR inside a line is text
        {"a\r", {"a"}},                        // CR at the end of a text without LF
        {"a\r\r\n", {"a\r"}},                  // only one CR belongs to the line end
        {"x\0y\n\0\n"s, {"x\0y"s, "\0"s}},     // NUL is a byte like any other
        {"a\t\n\tb", {"a\t", "\tb"}},          // tabs are left to the splitter
        {longLine + "\r\nz", {longLine, "z"}}, // no length limit
    };
    for (const auto& c : cases)
        EXPECT_EQ(Lines(c.text), c.lines) << c.text.substr(0, 40);
}

TEST(LineReader, TellsWhereTheNextLineBegins)
{
    CLineReader reader("ab\r\ncd\nef");
    std::string_view line;
    EXPECT_EQ(reader.GetLineNumber(), 0u);
    ASSERT_TRUE(reader.Next(line));
    EXPECT_EQ(reader.GetPos(), 4u);
    ASSERT_TRUE(reader.Next(line));
    EXPECT_EQ(reader.GetPos(), 7u);
    ASSERT_TRUE(reader.Next(line));
    EXPECT_EQ(line, "ef");
    EXPECT_FALSE(reader.Next(line));
    EXPECT_FALSE(reader.Next(line));
    EXPECT_EQ(reader.GetLineNumber(), 3u);
}

TEST(TabSplitter, SplitsAwkwardLinesUnderEachReadersRules)
{
    const std::string longField(1000, 'w');
    const CTabSplitter plain;
    const CTabSplitter cut = CTabSplitter().CutFieldsAt(3);
    const CTabSplitter take = CTabSplitter().TakeFields(3).CutFieldsAt(2);
    const CTabSplitter merged = CTabSplitter().SkipEmptyFields();
    const CTabSplitter trimmed = CTabSplitter().TrimBlanks();
    const CTabSplitter dropLast = CTabSplitter().DropEmptyLastField();
    const struct
    {
        const char* rule;
        const CTabSplitter* splitter;
        std::string line;
        Fields fields;
    } cases[] = {
        {"plain", &plain, "", {""}},
        {"plain", &plain, "a", {"a"}},
        {"plain", &plain, "a\t\tb", {"a", "", "b"}},
        {"plain", &plain, "a\t", {"a", ""}},
        {"plain", &plain, "\t", {"", ""}},
        {"plain", &plain, " a \tb\r", {" a ", "b\r"}},
        {"plain", &plain, "a\0b\tc"s, {"a\0b"s, "c"}},
        {"plain", &plain, longField + "\tz", {longField, "z"}},
        {"cut", &cut, "abcdef\tgh\t\tijk", {"abc", "gh", "", "ijk"}},
        {"cut", &cut, "abcd\t", {"abc", ""}},
        {"take", &take, "abc\tde\tf\tg", {"ab", "de", "f"}},
        {"take", &take, "a", {"a", "", ""}},
        {"take", &take, "", {"", "", ""}},
        {"merged", &merged, "", {}},
        {"merged", &merged, "\t\t", {}},
        {"merged", &merged, "\ta\t\t\tb\t", {"a", "b"}},
        {"merged", &merged, " \t", {" "}},
        {"trimmed", &trimmed, " a \t \r\t\tb\r", {"a", "", "", "b"}},
        {"trimmed", &trimmed, "  ", {""}},
        {"dropLast", &dropLast, "a\tb\t", {"a", "b"}},
        {"dropLast", &dropLast, "a\t\t", {"a", ""}},
        {"dropLast", &dropLast, "\t", {""}},
        {"dropLast", &dropLast, "", {""}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.splitter->Split(c.line), c.fields) << c.rule << ": " << c.line.substr(0, 40);
}

// Readers reuse one vector of views for all rows; a short row must not keep a long row's fields.
TEST(TabSplitter, ViewsPointIntoTheLineAndForgetThePreviousRow)
{
    const std::string first = "a\tb\tc\td";
    const std::string second = "xy";
    std::vector<std::string_view> fields;
    const CTabSplitter splitter;
    splitter.Split(first, fields);
    ASSERT_EQ(fields.size(), 4u);
    splitter.Split(second, fields);
    ASSERT_EQ(fields.size(), 1u);
    EXPECT_EQ(fields[0].data(), second.data());
}

} // namespace
