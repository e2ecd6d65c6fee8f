#include "music/score.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace music {

Score::Score(std::vector<int> orderRows, int channels)
    : channels_(channels), orderRows_(std::move(orderRows)), notes_(static_cast<size_t>(channels)),
      panning_(static_cast<size_t>(channels), -1) {
    for (int rows : orderRows_) {
        orderStarts_.push_back(totalRows_);
        totalRows_ += rows;
    }
}

int Score::at(int order, int row) const {
    if (order < 0 || order >= orderCount()) throw std::runtime_error("score: no such order");
    return orderStarts_[static_cast<size_t>(order)] + row;
}

int Score::orderRows(int order) const { return orderRows_.at(static_cast<size_t>(order)); }

uint8_t Score::volumeByte(int volume) const {
    return static_cast<uint8_t>(0x10 + std::min(64L, std::lround(volume * mixGain_)));
}

void Score::setChannelPanning(int channel, uint8_t panning) { panning_.at(static_cast<size_t>(channel)) = panning; }

void Score::note(int channel, int row, int midi, uint8_t instrument, int volume, int length) {
    if (midi - 11 < 1 || midi - 11 > 96) throw std::runtime_error("score: note outside the XM range");
    if (row < 0 || row >= totalRows_) return;  // a phrase running past the end of the song
    notes_.at(static_cast<size_t>(channel)).push_back({row, midi, std::clamp(volume, -1, 64), length, instrument});
}

void Score::note(int channel, int row, int midi, uint8_t instrument, int volume, int length, uint8_t effect,
                 uint8_t param) {
    if (panning_.at(static_cast<size_t>(channel)) >= 0 && instrument != 0) {
        throw std::runtime_error("score: an effect on a note would lose the channel's panning");
    }
    note(channel, row, midi, instrument, volume, length);
    if (row >= 0 && row < totalRows_) {
        notes_[static_cast<size_t>(channel)].back().effect = effect;
        notes_[static_cast<size_t>(channel)].back().param = param;
    }
}

void Score::slide(int channel, int row, int midi, uint8_t speed, int volume, int length) {
    // Without an instrument number the note is not struck again and keeps its panning.
    note(channel, row, midi, 0, volume, length);
    if (row >= 0 && row < totalRows_) {
        notes_[static_cast<size_t>(channel)].back().effect = kFxTonePorta;
        notes_[static_cast<size_t>(channel)].back().param = speed;
    }
}

void Score::keyOff(int channel, int row) { edits_.push_back({channel, row, XmCell{kKeyOff, 0, 0, 0, 0}}); }

void Score::volume(int channel, int row, int volume) {
    edits_.push_back({channel, row, XmCell{0, 0, static_cast<uint8_t>(0x10 + std::clamp(volume, 0, 64)), 0, 0}});
}

void Score::effect(int channel, int row, uint8_t effect, uint8_t param) {
    edits_.push_back({channel, row, XmCell{0, 0, 0, effect, param}});
}

void Score::effectSpan(int channel, int firstRow, int endRow, uint8_t effect, uint8_t param) {
    for (int row = firstRow; row < endRow; ++row) this->effect(channel, row, effect, param);
}

void Score::fade(int channel, int firstRow, int endRow, int fromVolume, int toVolume) {
    for (int row = firstRow; row <= endRow; row += 2) {
        volume(channel, row, fromVolume + (toVolume - fromVolume) * (row - firstRow) / std::max(1, endRow - firstRow));
    }
}

void Score::rest(int channel, int firstRow, int endRow) { rests_.push_back({channel, firstRow, endRow}); }

void Score::echo(int from, int to, int delay, double gain, int firstRow, int endRow) {
    std::vector<NoteEvent> copies;
    for (const NoteEvent& e : notes_.at(static_cast<size_t>(from))) {
        if (e.row < firstRow || e.row >= endRow || e.row + delay >= totalRows_) continue;
        NoteEvent c = e;
        c.row += delay;
        c.volume = static_cast<int>(std::lround((e.volume < 0 ? 64 : e.volume) * gain));
        copies.push_back(c);
    }
    auto& target = notes_.at(static_cast<size_t>(to));
    target.insert(target.end(), copies.begin(), copies.end());
}

std::vector<XmCell> Score::render(int& collisions) const {
    collisions = 0;
    std::vector<XmCell> grid(static_cast<size_t>(totalRows_) * channels_);
    auto cell = [&](int channel, int row) -> XmCell& {
        return grid[static_cast<size_t>(row) * channels_ + static_cast<size_t>(channel)];
    };
    for (int ch = 0; ch < channels_; ++ch) {
        std::vector<NoteEvent> events;
        for (const NoteEvent& e : notes_[static_cast<size_t>(ch)]) {
            const bool resting = std::any_of(rests_.begin(), rests_.end(), [&](const Rest& r) {
                return r.channel == ch && e.row >= r.first && e.row < r.end;
            });
            if (!resting) events.push_back(e);
        }
        std::stable_sort(events.begin(), events.end(), [](const NoteEvent& a, const NoteEvent& b) { return a.row < b.row; });
        for (const NoteEvent& e : events) {
            XmCell& c = cell(ch, e.row);
            if (c.note != 0) ++collisions;
            c.note = static_cast<uint8_t>(e.midi - 11);
            c.instrument = e.instrument;
            c.volume = e.volume >= 0 ? volumeByte(e.volume) : 0;
            if (e.effect != 0 || e.param != 0) {
                c.effect = e.effect;
                c.param = e.param;
            } else if (panning_[static_cast<size_t>(ch)] >= 0 && e.instrument != 0) {
                c.effect = kFxSetPanning;
                c.param = static_cast<uint8_t>(panning_[static_cast<size_t>(ch)]);
            }
        }
        // Release each note after its length, unless the next note comes first.
        for (size_t i = 0; i < events.size(); ++i) {
            const NoteEvent& e = events[i];
            if (e.length <= 0) continue;
            const int off = e.row + e.length;
            size_t next = i + 1;
            while (next < events.size() && events[next].row == e.row) ++next;
            if ((next < events.size() && events[next].row <= off) || off >= totalRows_) continue;
            XmCell& c = cell(ch, off);
            if (c.note == 0) c.note = kKeyOff;
        }
    }
    for (const CellEdit& edit : edits_) {
        if (edit.row < 0 || edit.row >= totalRows_) continue;
        XmCell& c = cell(edit.channel, edit.row);
        if (edit.cell.note != 0 && c.note == 0) c.note = edit.cell.note;
        if (edit.cell.volume != 0) c.volume = volumeByte(edit.cell.volume - 0x10);
        if (edit.cell.effect != 0 || edit.cell.param != 0) {
            // A struck note resets the channel to its sample's panning unless the cell sets it.
            if (c.effect == kFxSetPanning && c.instrument != 0) {
                throw std::runtime_error("score: an effect would replace a note's panning");
            }
            c.effect = edit.cell.effect;
            c.param = edit.cell.param;
        }
    }
    return grid;
}

int Score::build(std::vector<uint8_t>& orders, std::vector<XmPattern>& patterns) const {
    int collisions = 0;
    const std::vector<XmCell> grid = render(collisions);
    orders.clear();
    patterns.clear();
    for (int o = 0; o < orderCount(); ++o) {
        XmPattern p;
        p.rows = orderRows_[static_cast<size_t>(o)];
        const auto first = grid.begin() + static_cast<std::ptrdiff_t>(orderStarts_[static_cast<size_t>(o)]) * channels_;
        p.cells.assign(first, first + static_cast<std::ptrdiff_t>(p.rows) * channels_);
        const auto same = std::find(patterns.begin(), patterns.end(), p);
        if (same != patterns.end()) {
            orders.push_back(static_cast<uint8_t>(same - patterns.begin()));
        } else {
            orders.push_back(static_cast<uint8_t>(patterns.size()));
            patterns.push_back(std::move(p));
        }
    }
    return collisions;
}

}  // namespace music
