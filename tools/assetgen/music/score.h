#pragma once
// The song as one long timeline of rows across all order positions. Parts
// are written at absolute rows (phrases may cross pattern boundaries); build()
// cuts the timeline into one pattern per order and shares identical ones.

#include <cstdint>
#include <vector>

#include "music/xm.h"

namespace music {

class Score {
public:
    Score(std::vector<int> orderRows, int channels);

    int channels() const { return channels_; }
    int orderCount() const { return static_cast<int>(orderStarts_.size()); }
    int totalRows() const { return totalRows_; }
    // Absolute row of (order, row).
    int at(int order, int row = 0) const;
    int orderRows(int order) const;

    // Every written volume is scaled by `gain` and held at 64, the format's
    // ceiling: the whole song louder, its few loudest strokes pressed
    // together at full volume.
    void setMixGain(double gain) { mixGain_ = gain; }

    // Every note started on the channel gets this panning (0..255) as an effect.
    void setChannelPanning(int channel, uint8_t panning);

    // A note (MIDI number) with its instrument, volume 0..64 (-1: the
    // sample's own) and length in rows; it is released after `length` rows
    // unless the channel plays another note first. Length 0: never released.
    void note(int channel, int row, int midi, uint8_t instrument, int volume, int length);
    // A note with an effect command in its cell (a delay, a retrigger): the
    // channel's panning cannot share the cell, so the channel must have none.
    void note(int channel, int row, int midi, uint8_t instrument, int volume, int length, uint8_t effect, uint8_t param);
    // A slide from the sounding note to `midi` (tone portamento at `speed`),
    // without striking it again; volume -1 keeps the sounding volume.
    void slide(int channel, int row, int midi, uint8_t speed, int volume, int length);
    void keyOff(int channel, int row);
    void volume(int channel, int row, int volume);
    void effect(int channel, int row, uint8_t effect, uint8_t param);
    // The same effect on every row of [firstRow, endRow): vibrato, arpeggio, volume slides.
    void effectSpan(int channel, int firstRow, int endRow, uint8_t effect, uint8_t param);

    // Sets the channel's volume every other row from `fromVolume` at
    // `firstRow` down (or up) to `toVolume` at `endRow`.
    void fade(int channel, int firstRow, int endRow, int fromVolume, int toVolume);

    // Drops every note the channel would start within [firstRow, endRow).
    void rest(int channel, int firstRow, int endRow);

    // Copies the notes that `from` starts within [firstRow, endRow) to `to`,
    // `delay` rows later and with their volume scaled by `gain`: an echo.
    void echo(int from, int to, int delay, double gain, int firstRow, int endRow);

    // Fills the order list and the patterns. Returns how many notes replaced
    // another note in the same cell (slips in the score; 0 when clean).
    int build(std::vector<uint8_t>& orders, std::vector<XmPattern>& patterns) const;

private:
    struct NoteEvent {
        int row, midi, volume, length;
        uint8_t instrument;
        uint8_t effect = 0, param = 0;  // both 0: the channel's panning, if it has one
    };
    struct CellEdit {
        int channel, row;
        XmCell cell;  // fields that are non-zero are applied
    };
    std::vector<XmCell> render(int& collisions) const;
    uint8_t volumeByte(int volume) const;

    int channels_;
    int totalRows_ = 0;
    double mixGain_ = 1.0;
    std::vector<int> orderStarts_, orderRows_;
    std::vector<std::vector<NoteEvent>> notes_;
    std::vector<int> panning_;
    std::vector<CellEdit> edits_;
    struct Rest {
        int channel, first, end;
    };
    std::vector<Rest> rests_;
};

}  // namespace music
