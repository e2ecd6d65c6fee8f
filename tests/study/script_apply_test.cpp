// A script text put in place of the one study mode plays, as the page's
// editor does: one with problems is refused with its lines and changes
// nothing; one that passes plays, and each row the panel lists leads to
// its own line of that text.
#include "study/script_apply.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "show/demo_script.h"
#include "study_rig.h"

namespace {

using namespace studytest;

// The line (from 1) of the text that holds `at`.
int lineAt(const std::string& text, std::size_t at) {
    return 1 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<long>(at), '\n'));
}

std::string lineText(const std::string& text, int line) {
    std::size_t from = 0;
    for (int i = 1; i < line; ++i) from = text.find('\n', from) + 1;
    return text.substr(from, text.find('\n', from) - from);
}

TEST(ScriptApply, ATextWithProblemsChangesNothingAndListedRowsLeadToTheirLines) {
    Rig rig({9, 0});
    StudyView view(timeline(), demoScript(), 320, 240);
    ScriptApply apply(timeline(), rig.clock);
    const std::span<const ScriptEntry> before = rig.session.script();

    // A comment ahead of the rows moves every line: the lines are the text's.
    const std::string text = "# my cut\n\n" + scriptText(demoScript());
    std::string broken = text;
    const std::size_t misspelt = broken.find("\"tunnelefu\"");
    broken.replace(misspelt, 11, "\"tunelefu\"");
    const std::string report = apply.applyText(broken, "script", rig.session, view);
    EXPECT_EQ(report.rfind("script:" + std::to_string(lineAt(broken, misspelt)) + ": \"tunelefu\" is not an effect", 0),
              0u)
        << report;
    EXPECT_EQ(rig.session.script().data(), before.data());
    EXPECT_EQ(apply.reloads(), 0);

    EXPECT_EQ(apply.applyText(text, "script", rig.session, view), "");
    EXPECT_EQ(apply.reloads(), 1);
    view.draw(rig.session);
    // Top down, the rows the list names (those the note hides are not found).
    const StudyPanel panel = describeFrame(rig.session);
    std::vector<std::size_t> found;
    for (int y = 0; y < view.layout().panelHeight(); ++y) {
        const auto row = view.rowAt(view.layout().panelLeft() + 10, y);
        if (!row || (!found.empty() && found.back() == *row)) continue;
        found.push_back(*row);
        const ScriptEntry& entry = rig.session.script()[*row];
        const std::string line = lineText(text, apply.playing().lineOf(*row));
        EXPECT_EQ(line.rfind(formatSongPosition(entry.position()) + " ", 0), 0u) << line;
        EXPECT_NE(line.find(entry.target), std::string::npos) << line;
    }
    ASSERT_FALSE(found.empty());
    EXPECT_NE(std::search(panel.rowIndices.begin(), panel.rowIndices.end(), found.begin(), found.end()),
              panel.rowIndices.end());
    EXPECT_FALSE(view.rowAt(view.layout().panelLeft() - 1, view.layout().panelHeight() - 1));
}

}  // namespace
