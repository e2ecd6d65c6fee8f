// The soundtrack: an original XM module composed and synthesised here,
// stored bzip2-compressed as the BZ2 music module. Start-up decompresses it into a
// 409600-byte buffer, so the module must not be larger.

#include <stdexcept>
#include <string>

#include "assets/resource_ids.h"
#include "common/bz2.h"
#include "common/output.h"
#include "music/form.h"
#include "music/instruments.h"

namespace {

constexpr size_t kModuleCapacity = 409600;

music::XmModule composeSoundtrack() {
    music::Score score = music::makeScore();
    music::writeDrums(score);
    music::writeBass(score);
    music::writePads(score);
    music::writeArpeggios(score);
    music::writeMelodies(score);
    music::writeAccents(score);
    // With the stacked hits tamed the song can be louder as a whole: +2.3 dB,
    // which brings the claps and the flash's hits to the format's ceiling.
    score.setMixGain(1.31);

    music::XmModule module;
    module.name = "zemra";
    module.channels = score.channels();
    module.speed = 3;    // three ticks of 1/60 s at 150 BPM: a row lasts 50 ms
    module.tempo = 150;
    const int collisions = score.build(module.orders, module.patterns);
    if (collisions != 0) throw std::runtime_error(std::to_string(collisions) + " notes collide in the score");
    module.instruments = music::makeInstruments();
    return module;
}

}  // namespace

void generate(assetgen::Output& out) {
    const std::vector<uint8_t> xm = music::writeXm(composeSoundtrack());
    if (xm.size() > kModuleCapacity) {
        throw std::runtime_error("the module takes " + std::to_string(xm.size()) + " bytes, more than " +
                                 std::to_string(kModuleCapacity));
    }
    // The plain module beside the resource, to open in a tracker.
    assetgen::writeIfChanged(out.dir() + "/soundtrack.xm", std::string(xm.begin(), xm.end()));
    out.add("BZ2", res::kMusicModule, assetgen::compressBz2(xm));
}
