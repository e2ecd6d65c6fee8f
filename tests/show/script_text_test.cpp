#include "show/script_text.h"
#include "show/demo_script.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

bool sameRow(const ScriptEntry& a, const ScriptEntry& b) {
    const bool sameArgument = (!a.argument && !b.argument) ||
                              (a.argument && b.argument && std::strcmp(a.argument, b.argument) == 0);
    return a.order == b.order && a.row == b.row && std::strcmp(a.target, b.target) == 0 &&
           std::strcmp(a.command, b.command) == 0 && sameArgument;
}

ScriptTable readClean(const std::string& text) {
    ScriptTable table;
    ScriptProblems problems;
    EXPECT_TRUE(readScriptText(text, table, problems));
    for (const ScriptProblem& problem : problems.list) ADD_FAILURE() << problem.line << ": " << problem.message;
    return table;
}

TEST(ScriptText, TheShowsScriptReadsBackExactly) {
    const std::string text = scriptText(demoScript());
    ScriptTable table = readClean(text);
    // A moved table keeps its rows' strings where they were.
    const ScriptTable moved = std::move(table);
    ASSERT_EQ(moved.size(), demoScript().size());
    for (std::size_t i = 0; i < moved.size(); ++i)
        EXPECT_TRUE(sameRow(moved.rows()[i], demoScript()[i])) << "row " << i << " at line " << moved.lineOf(i);
    // The two arguments with a comma after the number stay as they are, and
    // the "stop" row has no argument at all.
    EXPECT_NE(text.find("\"param=zoom mode=linear loopmode=stop length=6400 value0=0, value1=4095\""),
              std::string::npos);
    EXPECT_EQ(moved.rows().back().argument, nullptr);
    // Written again, the text is the same.
    EXPECT_EQ(scriptText(moved.rows()), text);
}

TEST(ScriptText, ReadsTheFormsAPersonWrites) {
    const ScriptTable table = readClean(
        "# a comment\r\n"
        "\n"
        "   \t\n"
        "0:0 blitter setmode mul   # a bare word, then a comment\r\n"
        "\t0:0\tblitter\tsetparam\t\"param=control  value0=1 # not a comment\"\n"
        "1:2 x y \"\"\n"
        "35:0 demosys stop#comment\n");
    ASSERT_EQ(table.size(), 4u);
    EXPECT_STREQ(table.rows()[0].argument, "mul");
    EXPECT_EQ(table.lineOf(0), 4);
    EXPECT_STREQ(table.rows()[1].argument, "param=control  value0=1 # not a comment");
    EXPECT_STREQ(table.rows()[2].argument, "");
    EXPECT_EQ(table.rows()[2].order, 1);
    EXPECT_EQ(table.rows()[2].row, 2);
    EXPECT_EQ(table.rows()[3].argument, nullptr);
    EXPECT_EQ(table.lineCount, 7);
}

TEST(ScriptText, NamesEachLineThatIsNoRow) {
    ScriptTable table;
    ScriptProblems problems;
    const std::string text =
        "5:0 blitter setmode mul\n"
        "5 blitter setmode mul\n"                   // 2: no ORDER:ROW
        "-1:0 blitter setmode mul\n"                // 3: a sign
        "99999999999:0 blitter setmode mul\n"       // 4: beyond an int
        "5:0\n"                                     // 5: nothing after the position
        "5:0 blitter\n"                             // 6: no command
        "5:0 blitter setparam \"param=control\n"    // 7: no closing quote
        "5:0 blitter setmode mul inverse\n"         // 8: two arguments
        "5:0 blitter setmode \"mu\x01l\"\n"         // 9: a control byte
        "5:0 blitter setmode \"m\xC3\xBCl\" # \xC3\xBC in a comment is fine\n";  // 10
    EXPECT_FALSE(readScriptText(text, table, problems));
    std::vector<int> lines;
    for (const ScriptProblem& problem : problems.list) lines.push_back(problem.line);
    EXPECT_EQ(lines, (std::vector<int>{2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(table.size(), 1u);  // the one good row
    EXPECT_NE(problems.list[3].message.find("names no target and command"), std::string::npos);
    EXPECT_NE(problems.list[7].message.find("byte 0x01"), std::string::npos);
}

TEST(ScriptText, JunkGivesAShortReport) {
    // A megabyte of one line and thousands of bad lines: the messages stay
    // short and their number bounded.
    std::string text(1 << 20, 'x');
    text += '\n';
    for (int i = 0; i < 5000; ++i) text += "\x01\xFF\"#\n";
    ScriptTable table;
    ScriptProblems problems;
    EXPECT_FALSE(readScriptText(text, table, problems));
    EXPECT_EQ(problems.list.size(), ScriptProblems::kMax);
    EXPECT_EQ(problems.list.size() + problems.more, 5001u);
    EXPECT_LT(problems.list[0].message.size(), 200u);
    EXPECT_EQ(quoteForMessage("a\"\x7F"), "\"a\"\\x7F\"");
}

}  // namespace
