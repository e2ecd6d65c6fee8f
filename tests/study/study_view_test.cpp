// Study mode's window picture: the show's picture untouched at the top
// left, the panel and the timeline beside and under it, clicks mapped to
// song times only on the timeline.
#include <gtest/gtest.h>

#include "platform/portable/picture_surface.h"
#include "study/study_view.h"
#include "study_rig.h"
#include "support/png.h"
#include "show/builtin_show.h"
#include "show/demo_script.h"

namespace {

using namespace studytest;

void writeCanvas(const std::string& name, const StudyCanvas& canvas) {
    std::vector<uint8_t> rgb;
    for (uint32_t pixel : canvas.pixels) rgb.insert(rgb.end(), {uint8_t(pixel >> 16), uint8_t(pixel >> 8), uint8_t(pixel)});
    testpng::writeRgb(testpng::outputDir() + "/" + name, rgb, canvas.width, canvas.height);
}

TEST(StudyView, ThePictureStaysAsShownWithThePanelAndTimelineAroundIt) {
    for (const Orientation orientation : {Orientation::Landscape, Orientation::Portrait}) {
        fakes::FakeClock clock;
        fakes::FakeDialogs dialogs;
        const SurfaceLayout surface = surfaceLayout(orientation);
        StudySession session(builtInShow(), timeline(), orientation, clock, dialogs);
        session.setPaused(true);
        ASSERT_TRUE(session.jumpTo({22, 0}));
        StudyView view(timeline(), demoScript(), surface.width, surface.height);
        view.draw(session);
        const StudyCanvas& canvas = view.canvas();
        writeCanvas(orientation == Orientation::Landscape ? "study-view-landscape.png" : "study-view-portrait.png",
                    canvas);

        const PictureSurface& picture = session.picture();
        int differ = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                differ += canvas.at(x, y) != widenRgb565(picture.pixels()[y * picture.width() + x]);
        EXPECT_EQ(differ, 0);
        // Text in the panel, scene blocks across the timeline.
        int lit = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = picture.width(); x < canvas.width; ++x) lit += (canvas.at(x, y) & 0xFFFFFF) > 0x808080;
        EXPECT_GT(lit, 500);
        const int stripY = view.layout().timelineTop() + 20;
        EXPECT_NE(canvas.at(view.timelineX(timeline().timeAt({9, 0})) + 3, stripY),
                  canvas.at(view.timelineX(timeline().timeAt({11, 0})) + 3, stripY));
    }
}

TEST(StudyView, UprightTheLandscapePictureStandsTurnedBackOverThePanel) {
    fakes::FakeClock clock;
    fakes::FakeDialogs dialogs;
    StudySession session(builtInShow(), timeline(), Orientation::Landscape, clock, dialogs);
    session.setPaused(true);
    ASSERT_TRUE(session.jumpTo({22, 0}));
    StudyView view(timeline(), demoScript(), 320, 240);
    view.setLayout({240, 320, true});
    view.draw(session);
    const StudyCanvas& canvas = view.canvas();
    writeCanvas("study-view-upright.png", canvas);
    const StudyLayout& layout = view.layout();
    EXPECT_EQ(canvas.width, StudyLayout::kPanelWidth);
    EXPECT_EQ(canvas.height, 320 + StudyLayout::kPanelBelowHeight + StudyLayout::kTimelineHeight);

    // Upright pixel (x, y) is the landscape picture's row x, column 319 - y:
    // the picture as the handheld's portrait display showed it.
    const PictureSurface& picture = session.picture();
    int differ = 0;
    for (int y = 0; y < 320; ++y)
        for (int x = 0; x < 240; ++x)
            differ += canvas.at(layout.pictureLeft() + x, y) != widenRgb565(picture.pixels()[x * 320 + 319 - y]);
    EXPECT_EQ(differ, 0);
    EXPECT_TRUE(view.onPicture(layout.pictureLeft(), 0));
    EXPECT_FALSE(view.onPicture(layout.pictureLeft() - 1, 0));
    EXPECT_FALSE(view.onPicture(layout.pictureLeft(), 320));
    // Text in the panel under the picture; the timeline at the foot.
    int lit = 0;
    for (int y = layout.panelTop(); y < layout.timelineTop(); ++y)
        for (int x = 0; x < canvas.width; ++x) lit += (canvas.at(x, y) & 0xFFFFFF) > 0x808080;
    EXPECT_GT(lit, 500);
    EXPECT_EQ(view.clickTime(0, layout.timelineTop()), 0);
    EXPECT_FALSE(view.clickTime(0, layout.timelineTop() - 1));
}

TEST(StudyView, ClicksMapToSongTimesOnTheTimelineOnly) {
    const SurfaceLayout surface = surfaceLayout(Orientation::Landscape);
    const StudyView view(timeline(), demoScript(), surface.width, surface.height);
    const int top = view.layout().timelineTop(), right = view.layout().width() - 1;
    EXPECT_FALSE(view.clickTime(100, top - 1));
    EXPECT_FALSE(view.clickTime(100, view.layout().height()));
    EXPECT_EQ(view.clickTime(0, top), 0);
    EXPECT_EQ(view.clickTime(right, view.layout().height() - 1), timeline().lengthMs());
    EXPECT_EQ(view.timelineX(-100), 0);
    EXPECT_EQ(view.timelineX(timeline().lengthMs() + 100), right);
    // A click under a scene's block points into that scene.
    for (const Scene& scene : view.scenes()) {
        const int x = view.timelineX(scene.startMs) + 2;
        EXPECT_GE(*view.clickTime(x, top + 20), scene.startMs) << scene.effect;
    }
    EXPECT_EQ(view.scenes().size(), 13u);
    EXPECT_FALSE(view.flashTimes().empty());
}

}  // namespace
