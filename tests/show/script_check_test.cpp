// The checks of a script file against the show and the song, and scripts
// at the edges of what they let pass: every track of every effect, and the
// blitter's, driven to the ends of the 32-bit range in each curve, and
// thousands of rows at one position, which the show plays (in the asan
// build: without undefined behaviour), ending each frame.
#include "show/script_check.h"

#include <gtest/gtest.h>

#include <string>

#include "app/offline_show.h"
#include "show/catalogue.h"
#include "support/fakes.h"
#include "show/builtin_show.h"
#include "show/demo_script.h"

namespace {

SongTimeline& songTimeline() {
    static SongTimeline timeline;
    static const bool loaded = timeline.loadModuleOf(*builtInShow().assets);
    EXPECT_TRUE(loaded);
    return timeline;
}

std::string check(const std::string& text) {
    ScriptTable table;
    ScriptProblems problems;
    loadScriptText(text, songTimeline(), table, problems);
    return problemReport("cut.txt", problems);
}

TEST(ScriptCheck, TheShowsOwnScriptPasses) {
    ScriptTable table;
    ScriptProblems problems;
    EXPECT_TRUE(loadScriptText(scriptText(demoScript()), songTimeline(), table, problems))
        << problemReport("dumped", problems);
}

TEST(ScriptCheck, NamesOneOfEachMistakeAtItsLine) {
    const std::string report = check(
        "# one of each mistake\n"
        "0:0   blitter  setmode   \"mul\"\n"
        "0:16  screen   setmode   \"mul\"\n"
        "0:16  blitter  setfade   \"mul\"\n"
        "0:32  demosys  seteffect \"globeefu\"\n"
        "1:0   blitter  setparam  \"param=control mode=linear length=800 value0=1024 value1=25x6\"\n"
        "1:0   blitter  setparam  \"param=fade mode=linear length=800 value0=1024 value1=256\"\n"
        "2:200 blitter  setmode   \"mul\"\n"
        "4:0   demosys  seteffect \"logoefu\"\n"
        "3:0   blitter  setmode   \"mul\"\n"
        "5:0   blitter  setparam  \"param=control mode=linear length=800 value0=1024 value1=256\"\n");
    EXPECT_EQ(report,
              "cut.txt:3: there is no target \"screen\" (the targets: demosys, blitter and the effects worldefu, "
              "muljuefu, tunnelefu, tolppaefu, voxelefu, spriteefu, vesiefu, fractalefu, magnetefu, logoefu, "
              "venkuefu, loppuefu, holeefu)\n"
              "cut.txt:4: blitter does not take the command \"setfade\" (it takes setmode, setparam)\n"
              "cut.txt:5: \"globeefu\" is not an effect (the effects: worldefu, muljuefu, tunnelefu, tolppaefu, "
              "voxelefu, spriteefu, vesiefu, fractalefu, magnetefu, logoefu, venkuefu, loppuefu, holeefu)\n"
              "cut.txt:6: value1 \"25x6\" is not a whole number\n"
              "cut.txt:7: blitter has no track \"fade\" (its tracks: control)\n"
              "cut.txt:8: position 2:200 is not in the song: order 2 has rows 0 to 127\n"
              "cut.txt:10: position 3:0 comes before 4:0 of the row above: rows stand in the order the music "
              "plays them\n"
              "cut.txt:11: the script does not end with the \"stop\" row (such as 35:0 demosys stop)\n");
}

TEST(ScriptCheck, ParameterStringsAndCommandsAsTheirTargetsTakeThem) {
    const auto firstProblem = [](const std::string& row) {
        const std::string report = check(row + "\n35:0 demosys stop\n");
        return report.substr(0, report.find('\n'));
    };
    // What passes: blanks as the parser takes them, the comma after a
    // number, the 32-bit extremes, a track of an effect, an empty argument
    // list for "stop" at the song's end.
    for (const char* good :
         {"0:0 blitter setparam \"  param=control   mode=sin loopmode=pingpong length=-5 value0=4095, \"",
          "0:0 blitter setparam \"param=control value0=-2147483648 value1=+2147483647\"",
          "0:0 tunnelefu setparam \"param=distance\"", "0:0 blitter setmode inverse",
          "0:0 demosys deinit \"holeefu\"", "35:0 blitter setmode mul"})
        EXPECT_EQ(firstProblem(good), "") << good;
    const struct {
        const char* row;
        const char* says;
    } bad[] = {
        {"0:0 blitter setparam \"param = control\"", "cut.txt:1: \"param\" is not KEY=VALUE (no blanks around the =)"},
        {"0:0 blitter setparam \"param=control speed=3\"", "cut.txt:1: unknown key \"speed\" (the keys: param, mode, "
                                                           "loopmode, length, value0, value1)"},
        {"0:0 blitter setparam \"param=control mode=Linear\"", "cut.txt:1: mode \"Linear\" is none of constant, "
                                                               "linear, smooth, fast, slow, sin, cos"},
        {"0:0 blitter setparam \"param=control loopmode=once\"", "cut.txt:1: loopmode \"once\" is none of continue, "
                                                                 "stop, loop, pingpong"},
        {"0:0 blitter setparam \"param=control length=2147483648\"",
         "cut.txt:1: length \"2147483648\" does not fit in 32 bits (-2147483648 to 2147483647)"},
        {"0:0 blitter setparam \"value0=1\"", "cut.txt:1: the parameter string names no track (param=TRACK)"},
        {"0:0 blitter setparam", "cut.txt:1: setparam needs a parameter string"},
        {"0:0 holeefu setparam \"param=zoom\"", "cut.txt:1: holeefu has no track \"zoom\" (it has no tracks)"},
        {"0:0 holeefu setmode mul", "cut.txt:1: holeefu does not take the command \"setmode\" (it takes setparam)"},
        {"0:0 blitter setmode \"blur\"", "cut.txt:1: setmode needs one of normal, inverse, mul, motionblur, not "
                                         "\"blur\""},
        {"0:0 demosys init", "cut.txt:1: init needs an effect name"},
        {"0:0 demosys stop \"now\"", "cut.txt:1: stop takes no argument"},
        {"0:0 demosys start \"logoefu\"", "cut.txt:1: demosys does not take the command \"start\" (it takes init, "
                                          "deinit, seteffect, stop)"},
        {"36:0 demosys init logoefu", "cut.txt:1: position 36:0 is past the end of the song: its orders are 0 to "
                                      "34, and 35:0 is its end"},
        {"35:0 demosys stop\n35:0 blitter setmode mul",
         "cut.txt:2: the rows after the \"stop\" row of line 1 never run"},
    };
    for (const auto& c : bad) {
        const std::string report = check(std::string(c.row) + "\n35:0 demosys stop\n");
        EXPECT_EQ(report.substr(0, report.find('\n')).substr(0, std::string(c.says).size()), c.says) << c.row;
    }
}

// Plays `frames` frames of the script from its start, which must pass the checks.
void play(const std::string& text, int frames) {
    ScriptTable table;
    ScriptProblems problems;
    ASSERT_TRUE(loadScriptText(text, songTimeline(), table, problems)) << problemReport("script", problems);
    fakes::FakeDialogs dialogs;
    OfflineSettings settings(builtInShow());
    settings.endMs = 1000 * frames / settings.fps;
    settings.show.script = table.rows();
    OfflineShow show(settings, dialogs);
    ASSERT_TRUE(show.start());
    int made = 0;
    while (show.nextFrame()) ++made;
    show.finish();
    EXPECT_EQ(made, frames);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST(ScriptExtremes, EveryTrackAtTheEndsOfItsRangePlays) {
    const char* const curves[] = {"linear", "smooth", "fast", "slow", "sin", "cos", "constant"};
    const char* const loops[] = {"continue", "stop", "loop", "pingpong"};
    const char* const modes[] = {"normal", "inverse", "mul", "motionblur"};
    for (int turn = 0; turn < 2; ++turn) {
        const std::string low = turn == 0 ? "-2147483648" : "2147483647";
        const std::string high = turn == 0 ? "2147483647" : "-2147483648";
        const std::string length = turn == 0 ? "1" : "2147483647";
        int k = 0;
        for (const EffectMaker& maker : effectCatalogue()) {
            SCOPED_TRACE(maker.name + " turn " + std::to_string(turn));
            std::string text = "0:0 blitter setmode " + std::string(modes[(k + turn) % 4]) + "\n";
            text += "0:0 blitter setparam \"param=control mode=" + std::string(curves[k % 7]) + " loopmode=" +
                    loops[k % 4] + " length=" + length + " value0=" + low + " value1=" + high + "\"\n";
            text += "0:0 demosys seteffect " + maker.name + "\n";
            int j = k;
            for (const NamedTrack& track : maker.create()->tracks()) {
                ++j;
                text += "0:0 " + maker.name + " setparam \"param=" + std::string(track.name) + " mode=" +
                        curves[j % 7] + " loopmode=" + loops[j % 4] + " length=" + length + " value0=" + low +
                        " value1=" + high + "\"\n";
            }
            text += "35:0 demosys stop\n";
            play(text, 6);
            ++k;
        }
    }
}

TEST(ScriptExtremes, ThousandsOfRowsAtOnePositionRunInOneFrame) {
    std::string text = "0:0 demosys seteffect tunnelefu\n0:0 blitter setmode mul\n";
    for (int i = 0; i < 20000; ++i)
        text += "0:0 blitter setparam \"param=control mode=linear length=" + std::to_string(i + 1) +
                " value0=" + std::to_string(i) + " value1=256\"\n";
    text += "35:0 demosys stop\n";
    play(text, 3);
}

TEST(ScriptCheck, ThousandsOfRowsAtOnePositionPass) {
    std::string text;
    for (int i = 0; i < 5000; ++i) text += "9:0 tunnelefu setparam \"param=distance value0=" + std::to_string(i) + "\"\n";
    text += "35:0 demosys stop\n";
    ScriptTable table;
    ScriptProblems problems;
    ASSERT_TRUE(loadScriptText(text, songTimeline(), table, problems));
    // Rows at one position keep the order of the file.
    EXPECT_STREQ(table.rows()[4999].argument, "param=distance value0=4999");
    EXPECT_EQ(table.lineOf(4999), 5000);
}

}  // namespace
