// Study mode reloading its script file after a save: a script that passes
// lands on the position shown with the new rows, exactly as a render of the
// new script started there; one with problems leaves the show as it was and
// names the first problem in the panel. Also the file watch over a real file.
#include "study/script_reload.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "show/script_check.h"
#include "platform/portable/polled_file_watch.h"
#include "study_rig.h"
#include "support/png.h"
#include "show/builtin_show.h"
#include "show/demo_script.h"

namespace {

using namespace studytest;
namespace fs = std::filesystem;

class SaidChanged : public FileWatch {
public:
    bool saved = false;
    bool changed() override { return std::exchange(saved, false); }
};

void writeFile(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

Pixels shownPicture(const PictureSurface& picture) {
    return Pixels(picture.pixels(), picture.pixels() + static_cast<std::size_t>(picture.width()) * picture.height());
}

// The picture of the first frame of a render of `text` started at `from`.
Pixels renderedFrame(const std::string& text, SongPosition from) {
    ScriptTable table;
    ScriptProblems problems;
    EXPECT_TRUE(loadScriptText(text, timeline(), table, problems));
    fakes::FakeDialogs dialogs;
    OfflineSettings settings(builtInShow());
    settings.start = planStart(timeline(), table.rows(), from);
    settings.endMs = timeline().lengthMs();
    settings.show.script = table.rows();
    OfflineShow show(settings, dialogs);
    EXPECT_TRUE(show.start());
    EXPECT_TRUE(show.nextFrame());
    return shownPicture(show.picture());
}

TEST(ScriptReload, ASavedScriptPlaysFromThePositionShownAndABadOneChangesNothing) {
    const fs::path dir = fs::path(testpng::outputDir()) / "script-reload";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const fs::path file = dir / "cut.txt";
    const std::string original = scriptText(demoScript());
    writeFile(file, original);

    // Paused in the tunnel a little after 10:0, where a flash ran at 10:0.
    Rig rig({10, 0});
    for (int i = 0; i < 20; ++i) ASSERT_TRUE(rig.session.stepForward());
    const SongPosition shown = rig.session.position();
    const Pixels before = shownPicture(rig.session.picture());
    StudyView view(timeline(), demoScript(), 320, 240);
    SaidChanged watch;
    ScriptReload reload(file.string(), timeline(), watch, rig.clock);
    EXPECT_FALSE(reload.poll(rig.session, view));

    // The flash of 10:0 moved to 10:32 (where one was already): the picture
    // at the position shown is the edited script's, started there.
    std::string edited = original;
    const std::string flash = "10:0    blitter     setparam   \"param=control mode=linear loopmode=stop length=400";
    ASSERT_NE(edited.find(flash), std::string::npos);
    edited.replace(edited.find(flash), 4, "10:32");
    writeFile(file, edited);
    watch.saved = true;
    EXPECT_TRUE(reload.poll(rig.session, view));
    EXPECT_EQ(view.note(), "script reloaded: 185 rows");
    EXPECT_EQ(rig.session.position(), shown);
    EXPECT_EQ(rig.session.jumpPosition(), shown);
    EXPECT_TRUE(rig.session.paused());
    const Pixels after = shownPicture(rig.session.picture());
    EXPECT_EQ(after, renderedFrame(edited, shown));
    EXPECT_NE(after, before);  // without the flash's tail the picture is darker
    EXPECT_EQ(reload.reloads(), 1);

    // A mistake: the show goes on with the rows it has, the panel names it.
    const std::span<const ScriptEntry> playing = rig.session.script();
    std::string broken = edited;
    broken.replace(broken.find("\"tunnelefu\""), 11, "\"tunelefu\"");
    writeFile(file, broken);
    watch.saved = true;
    EXPECT_TRUE(reload.poll(rig.session, view));
    EXPECT_EQ(view.note().rfind(file.string() + ":17: \"tunelefu\" is not an effect", 0), 0u) << view.note();
    EXPECT_EQ(rig.session.script().data(), playing.data());
    EXPECT_EQ(shownPicture(rig.session.picture()), after);
    ASSERT_TRUE(rig.session.stepForward());
    EXPECT_EQ(reload.reloads(), 1);

    // Fixed again: reloaded, and the note goes after a few seconds.
    writeFile(file, original);
    watch.saved = true;
    EXPECT_TRUE(reload.poll(rig.session, view));
    EXPECT_EQ(reload.reloads(), 2);
    rig.clock.now += ScriptReload::kReloadedNoteMs - 1;
    EXPECT_FALSE(reload.poll(rig.session, view));
    rig.clock.now += 1;
    EXPECT_TRUE(reload.poll(rig.session, view));
    EXPECT_EQ(view.note(), "");
}

TEST(PolledFileWatch, TellsEachSettledChangeOnce) {
    const fs::path dir = fs::path(testpng::outputDir()) / "file-watch";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const fs::path file = dir / "watched.txt";
    writeFile(file, "one");
    PolledFileWatch watch(file);
    EXPECT_FALSE(watch.changed());
    writeFile(file, "three");  // another size: seen whatever the clock's grain
    EXPECT_FALSE(watch.changed());  // first seen: it may still be being written
    EXPECT_TRUE(watch.changed());
    EXPECT_FALSE(watch.changed());
    fs::remove(file);
    EXPECT_FALSE(watch.changed());
    EXPECT_TRUE(watch.changed());
    writeFile(file, "three");
    EXPECT_FALSE(watch.changed());
    EXPECT_TRUE(watch.changed());
    // Removed, then a folder in its place: a change too (the reload then says what it is).
    fs::remove(file);
    EXPECT_FALSE(watch.changed());
    EXPECT_TRUE(watch.changed());
    fs::create_directory(file);
    EXPECT_FALSE(watch.changed());
    EXPECT_TRUE(watch.changed());
}

}  // namespace
