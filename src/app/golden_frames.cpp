#include "app/golden_frames.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>

#include "app/user_messages.h"
#include "engine/back_buffer.h"
#include "safety/flash_analyser.h"

namespace {

constexpr uint64_t kFnvPrime = 0x100000001b3ull;

std::string hex64(uint64_t value) {
    char text[20];
    std::snprintf(text, sizeof text, "%016" PRIx64, value);
    return text;
}

bool parseHex64(const std::string& text, uint64_t& value) {
    if (text.size() != 16) return false;
    char* end = nullptr;
    value = std::strtoull(text.c_str(), &end, 16);
    return end == text.c_str() + text.size();
}

}  // namespace

std::string sceneAt(const std::vector<Scene>& scenes, SongPosition position) {
    std::string name = "(none)";
    for (const Scene& scene : scenes) {
        if (position < scene.start) break;
        name = scene.effect;
    }
    return name;
}

void Fnv1a64::addByte(uint8_t byte) { hash_ = (hash_ ^ byte) * kFnvPrime; }

void Fnv1a64::add(std::span<const uint16_t> values) {
    for (const uint16_t value : values) {
        addByte(static_cast<uint8_t>(value));
        addByte(static_cast<uint8_t>(value >> 8));
    }
}

void Fnv1a64::add(std::span<const int16_t> values) {
    for (const int16_t value : values) {
        const auto bits = static_cast<uint16_t>(value);
        addByte(static_cast<uint8_t>(bits));
        addByte(static_cast<uint8_t>(bits >> 8));
    }
}

void digestPictures(FrameDigest& digest, const uint16_t* backBuffer, const PictureSurface& picture) {
    Fnv1a64 effect, shown;
    if (backBuffer) effect.add({backBuffer, kScreenPixels});
    shown.add({picture.pixels(), static_cast<std::size_t>(picture.width()) * picture.height()});
    digest.effect = effect.value();
    digest.shown = shown.value();
}

FrameDigest digestFrame(OfflineShow& show, const std::vector<Scene>& scenes) {
    FrameDigest digest;
    digest.frame = show.framesMade() - 1;
    digest.position = show.musicPosition();
    digest.timeMs = show.frameTime();
    digest.scene = sceneAt(scenes, digest.position);
    digestPictures(digest, show.demo().backBuffer(), show.picture());
    return digest;
}

std::string goldenLine(const FrameDigest& frame) {
    return formatSongPosition(frame.position) + ' ' + std::to_string(frame.timeMs) + ' ' + frame.scene + ' ' +
           std::to_string(frame.frame) + ' ' + hex64(frame.effect) + ' ' + hex64(frame.shown);
}

bool recordShow(const ShowDefinition& definition, ShowDigests& digests, Dialogs& dialogs, const FrameWatch& watch) {
    SongTimeline timeline;
    if (!timeline.loadModuleOf(*definition.assets)) {
        dialogs.showMessage("Module not found.");
        return false;
    }
    const std::vector<Scene> scenes = showScenes(timeline, definition.script);

    FailureWatch messages(dialogs);
    OfflineSettings settings(definition);
    settings.fps = digests.fps;
    settings.endMs = timeline.lengthMs();
    OfflineShow show(settings, messages);
    digests.frames.clear();
    Fnv1a64 sound;
    uint64_t soundFrames = 0;
    std::vector<int16_t> audio;
    const auto addSound = [&] {
        show.takeAudio(audio);
        sound.add(audio);
        soundFrames += audio.size() / 2;
    };

    if (!show.start()) {
        show.finish();
        return false;
    }
    FlashAnalyser flashes(digests.fps);
    while (show.nextFrame()) {
        addSound();
        const PictureSurface& picture = show.picture();
        if (digests.checkFlashes) flashes.addRgb565(picture.pixels(), picture.width(), picture.height());
        if ((show.framesMade() - 1) % digests.every != 0) continue;
        digests.frames.push_back(digestFrame(show, scenes));
        if (watch) watch(digests.frames.back(), show);
    }
    show.finish();
    addSound();
    digests.sound = sound.value();
    digests.soundFrames = soundFrames;
    if (digests.checkFlashes) {
        const FlashReport report = flashes.finish();
        digests.flashing = failingSeconds(report);
        digests.extended = extendedSeconds(report);
    }
    return !messages.failed;
}

std::string goldenText(const ShowDigests& digests) {
    std::ostringstream text;
    text << "# Golden frames: the whole show rendered offline, landscape, at the frame rate below;\n"
            "# every so many frames one line: the music's position ORDER:ROW, the frame's time in ms,\n"
            "# the scene, the frame's number, then FNV-1a 64 digests of the back buffer the effect drew\n"
            "# and of the picture as shown. Refresh on purpose with scripts/refresh-golden.sh.\n";
    text << "fps " << digests.fps << " every " << digests.every << '\n';
    text << "sound " << digests.soundFrames << ' ' << hex64(digests.sound) << '\n';
    text << "# The seconds over three flashes as the viewer sees it, then those of extended flashing.\n";
    text << "flashes " << digests.flashing << ' ' << digests.extended << '\n';
    for (const FrameDigest& frame : digests.frames) {
        text << goldenLine(frame) << '\n';
    }
    return text.str();
}

bool parseGoldenText(std::string_view text, ShowDigests& digests, std::string& error) {
    ShowDigests parsed;
    bool header = false, sound = false;
    std::istringstream lines{std::string(text)};
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string first, word, hash, effect, shown, extra;
        fields >> first;
        bool ok = false;
        if (first == "fps") {
            ok = static_cast<bool>(fields >> parsed.fps >> word >> parsed.every) && word == "every" &&
                 parsed.fps > 0 && parsed.every > 0;
            header = ok;
        } else if (first == "flashes") {
            ok = static_cast<bool>(fields >> parsed.flashing >> parsed.extended);
        } else if (first == "sound") {
            ok = static_cast<bool>(fields >> parsed.soundFrames >> hash) && parseHex64(hash, parsed.sound);
            sound = ok;
        } else {
            FrameDigest frame;
            ok = parseSongPosition(first, frame.position) &&
                 static_cast<bool>(fields >> frame.timeMs >> frame.scene >> frame.frame >> effect >> shown) &&
                 parseHex64(effect, frame.effect) && parseHex64(shown, frame.shown);
            if (ok) parsed.frames.push_back(frame);
        }
        if (ok && (fields >> extra)) ok = false;
        if (!ok) {
            error = "line " + std::to_string(number) + " is malformed: '" + line + "'";
            return false;
        }
    }
    if (!header || !sound) {
        error = "the 'fps' or the 'sound' line is missing";
        return false;
    }
    digests = std::move(parsed);
    return true;
}

const FrameDigest* firstDifference(const ShowDigests& expected, const ShowDigests& actual) {
    const std::size_t common = std::min(expected.frames.size(), actual.frames.size());
    for (std::size_t i = 0; i < common; ++i)
        if (expected.frames[i] != actual.frames[i]) return &actual.frames[i];
    if (actual.frames.size() > common) return &actual.frames[common];
    if (expected.frames.size() > common) return &expected.frames[common];
    return nullptr;
}

std::string describeChanges(const ShowDigests& before, const ShowDigests& after) {
    struct SceneCount {
        long frames = 0, changed = 0;
        const FrameDigest* first = nullptr;
    };
    std::vector<std::string> order;  // scenes by first appearance
    std::map<std::string, SceneCount> counts;
    const auto count = [&](const FrameDigest& frame, bool changed) {
        auto [entry, added] = counts.try_emplace(frame.scene);
        if (added) order.push_back(frame.scene);
        ++entry->second.frames;
        if (!changed) return;
        ++entry->second.changed;
        if (!entry->second.first) entry->second.first = &frame;
    };
    std::map<long, const FrameDigest*> old;
    for (const FrameDigest& frame : before.frames) old[frame.frame] = &frame;
    for (const FrameDigest& frame : after.frames) {
        const auto match = old.find(frame.frame);
        count(frame, match == old.end() || *match->second != frame);
        if (match != old.end()) old.erase(match);
    }
    for (const auto& [number, frame] : old) count(*frame, true);  // frames the show no longer makes

    std::string text;
    for (const std::string& scene : order) {
        const SceneCount& counted = counts[scene];
        if (counted.changed == 0) continue;
        text += scene + ": " + std::to_string(counted.changed) + " of " + std::to_string(counted.frames) +
                " frames differ, the first at " + framePlace(*counted.first) + "\n";
    }
    if (before.sound != after.sound || before.soundFrames != after.soundFrames)
        text += "sound: differs (" + std::to_string(after.soundFrames) + " stereo samples, before " +
                std::to_string(before.soundFrames) + ")\n";
    if (before.flashing != after.flashing || before.extended != after.extended)
        text += "flashes: the seconds over three flashes are " + after.flashing + " (before " + before.flashing +
                "), extended flashing " + after.extended + " (before " + before.extended + ")\n";
    return text;
}

std::string framePlace(const FrameDigest& frame) {
    return formatSongPosition(frame.position) + " (" + formatTime(frame.timeMs) + ", frame " +
           std::to_string(frame.frame) + ")";
}
