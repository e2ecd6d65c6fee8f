#pragma once
// Copies each finished 240x320 frame to the display through one of four
// modes, whose strength is the "control" track:
//   normal      plain copy
//   inverse     blend towards the colour negative (control 0..256)
//   mul         brightness times control/256, saturating (0: nothing written)
//   motionblur  blend with the picture already shown, control/256 being the
//               old picture's weight (>= 256: nothing written, <= 0: copy)

#include <cstdint>
#include <string>

#include "anim/param_track.h"
#include "anim/track_list.h"
#include "engine/frame_presenter.h"
#include "platform/display.h"

enum BlitMode : int32_t { kBlitNormal = 0, kBlitInverse = 1, kBlitMul = 2, kBlitMotionBlur = 3 };
// The "setmode" words, by BlitMode, and the name of the blitter's one track.
inline constexpr const char* kBlitModeWords[] = {"normal", "inverse", "mul", "motionblur"};
inline constexpr const char* kBlitterTrack = "control";

class Blitter : public FramePresenter {
public:
    // Reads the display's properties once.
    explicit Blitter(Display& display);

    // "setmode" with "normal", "inverse", "mul" or "motionblur";
    // "setparam" with a string for the track "control".
    void handleCommand(int32_t time, const std::string& command, const std::string& argument) override;
    // The tracks "setparam" can reach.
    TrackList tracks();
    // The mode and the control track (the display keeps the picture shown).
    std::unique_ptr<TargetState> saveState() override;
    bool restoreState(const TargetState* state) override;
    void update(int32_t time) override;
    void present(const uint16_t* backBuffer) override;

    DisplayProperties display;
    ParamTrack control;
    int32_t mode = kBlitNormal;

private:
    Display& surface_;
};
