#include "study/study_panel.h"

#include "anim/param_track.h"
#include "present/blitter.h"
#include "engine/demo_system.h"

namespace {

const char* blitModeName(int32_t mode) {
    switch (mode) {
    case kBlitNormal: return "normal";
    case kBlitInverse: return "inverse";
    case kBlitMul: return "mul";
    case kBlitMotionBlur: return "motionblur";
    default: return "?";
    }
}

// The track as it stands at time, leaving the effect's own untouched.
int32_t valueAt(const ParamTrack& track, int32_t time) {
    ParamTrack copy = track;
    copy.evaluate(time);
    return copy.current;
}

std::string effectName(const DemoSystem& demo) {
    if (!demo.currentEffect()) return {};
    for (const std::string& name : demo.registeredNames())
        if (demo.find(name) == demo.currentEffect()) return name;
    return {};
}

}  // namespace

std::string describeRow(const ScriptEntry& entry) {
    std::string line = formatSongPosition(entry.position()) + " " + entry.target + " ";
    const std::string argument = entry.argument ? entry.argument : "";
    if (std::string_view(entry.command) != "setparam") return line + entry.command + (argument.empty() ? "" : " " + argument);
    // Numbers as the track reads them ("value0=0," is 0).
    const ParamSettings s = parseParamString(argument);
    const auto number = [](const std::string& text) { return std::to_string(parseParamNumber(text)); };
    line += s.param;
    if (!s.mode.empty()) line += " " + s.mode;
    if (!s.length.empty()) line += " " + number(s.length);
    if (!s.value1.empty())
        line += " " + number(s.value0) + ">" + number(s.value1);
    else if (!s.value0.empty())
        line += " " + number(s.value0);
    return line;
}

ShowFacts describeShow(DemoSystem& demo, int32_t timeMs) {
    ShowFacts facts;
    if (auto* blitter = dynamic_cast<Blitter*>(demo.find("blitter"))) {
        facts.blitMode = blitModeName(blitter->mode);
        facts.control = valueAt(blitter->control, timeMs);
    }
    facts.effect = effectName(demo);
    if (Effect* effect = demo.currentEffect())
        for (const NamedTrack& named : effect->tracks())
            facts.tracks.push_back({std::string(named.name), valueAt(*named.track, timeMs),
                                    trackModeName(named.track->mode), trackLoopModeName(named.track->loopmode)});
    return facts;
}
