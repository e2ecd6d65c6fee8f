#pragma once
// Golden frames: digests of the whole show rendered offline at 60 fps, kept
// as a text list in the repository, so that a change which alters a single
// pixel or sample of the show is seen, and where. Every 15th frame is
// recorded with the music's position, its time and its scene; the sound is
// one digest over all of it.
//
// The digests are FNV-1a 64 over the pixels' (and samples') little-endian
// bytes: the same on every host, whatever its byte order.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/offline_show.h"
#include "app/timeline.h"

// FNV-1a 64, fed 16-bit values as two little-endian bytes each.
class Fnv1a64 {
public:
    void add(std::span<const uint16_t> values);
    void add(std::span<const int16_t> values);
    uint64_t value() const { return hash_; }

private:
    void addByte(uint8_t byte);
    uint64_t hash_ = 0xcbf29ce484222325ull;
};

struct FrameDigest {
    long frame = 0;         // counted from the show's first frame
    SongPosition position;  // the music's position when it was drawn
    int32_t timeMs = 0;
    std::string scene;      // the script's scene then; "(none)" before the first
    uint64_t effect = 0;    // the 240 x 320 back buffer as the effect drew it
    uint64_t shown = 0;     // the picture as the viewer sees it, after the blitter

    bool operator==(const FrameDigest&) const = default;
};

struct ShowDigests {
    int fps = 60;
    int every = 15;  // every this many frames one is recorded
    std::vector<FrameDigest> frames;
    uint64_t soundFrames = 0;  // stereo sample pairs
    uint64_t sound = 0;
    // The flash check of the picture as shown: the seconds over three
    // flashes and those of extended flashing, as ranges ("44-48,53-55" or
    // "none").
    std::string flashing = "none", extended = "none";
    bool checkFlashes = true;  // false: the flash check is left out (it doubles the time)
};

// Called for each recorded frame with the show that has just drawn it.
using FrameWatch = std::function<void(const FrameDigest&, OfflineShow&)>;

// The digests of the frame the show has just drawn, numbered from the
// show's first frame; `scenes` name the scene.
FrameDigest digestFrame(OfflineShow& show, const std::vector<Scene>& scenes);
// A frame's two digests from its pictures: the back buffer (null once the
// show has stopped, digested as nothing) and the picture as shown.
void digestPictures(FrameDigest& digest, const uint16_t* backBuffer, const PictureSurface& picture);
// The scene current at position: the last one starting at or before it.
std::string sceneAt(const std::vector<Scene>& scenes, SongPosition position);

// Renders the whole of `show` offline (landscape, digests.fps, no output)
// and fills digests.frames, the sound's digest and the flash check. False when the
// show could not start or gave a failure message, which went to `dialogs`.
bool recordShow(const ShowDefinition& show, ShowDigests& digests, Dialogs& dialogs, const FrameWatch& watch = {});

// One frame's line of the list: "ORDER:ROW TIME SCENE FRAME EFFECT SHOWN".
std::string goldenLine(const FrameDigest& frame);

// The list as text, and read back. Reading gives false and a reason for a
// malformed line.
std::string goldenText(const ShowDigests& digests);
bool parseGoldenText(std::string_view text, ShowDigests& digests, std::string& error);

// The first recorded frame that differs between the two lists (a frame in
// one but not the other counts); null when every frame agrees.
const FrameDigest* firstDifference(const ShowDigests& expected, const ShowDigests& actual);

// What changed from `before` to `after`, one line per scene whose frames
// differ ("logoefu: 12 of 77 frames") and one for the sound; empty when
// nothing did.
std::string describeChanges(const ShowDigests& before, const ShowDigests& after);

// "12:34 (0:44.800)": a frame's position and time as messages name them.
std::string framePlace(const FrameDigest& frame);
