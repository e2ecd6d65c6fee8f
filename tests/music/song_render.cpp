#include "song_render.h"

namespace songcheck {

RenderedSong renderSong(ModulePlayer& player, int rate) {
    RenderedSong song;
    song.audio.rate = rate;
    song.rowStarts.resize(static_cast<std::size_t>(player.orderCount()));
    for (int o = 0; o < player.orderCount(); ++o) {
        song.rowStarts[static_cast<std::size_t>(o)].assign(static_cast<std::size_t>(player.patternRowsAt(o)), 0);
    }
    player.seek(0, 0);
    // Small blocks: the position reported after a block is that of its last frame.
    const std::size_t block = static_cast<std::size_t>(rate / 1000);
    std::vector<float> buffer(2 * block);
    int lastOrder = -1, lastRow = -1;
    bool ended = false;
    for (;;) {
        const std::size_t start = song.audio.frames();
        const int order = player.currentOrder(), row = player.currentRow();
        const std::size_t got = player.renderFloat(rate, buffer.data(), block);
        if (got == 0) break;
        if (!ended && (order < lastOrder || (order == lastOrder && row < lastRow))) {
            ended = true;
            song.songEnd = start;
        }
        if (!ended && (order != lastOrder || row != lastRow)) {
            if (order >= 0 && order < player.orderCount() && row >= 0 &&
                row < static_cast<int>(song.rowStarts[static_cast<std::size_t>(order)].size())) {
                song.rowStarts[static_cast<std::size_t>(order)][static_cast<std::size_t>(row)] = start;
            }
            if (order != lastOrder) song.orderStarts.push_back(start);
            lastOrder = order;
            lastRow = row;
        }
        song.audio.samples.insert(song.audio.samples.end(), buffer.begin(), buffer.begin() + 2 * got);
    }
    if (!ended) song.songEnd = song.audio.frames();
    return song;
}

}  // namespace songcheck
