#include "study/study_navigation.h"

#include <algorithm>

namespace {

// The rows of the song laid end to end: a row's place in that sequence.
long rowIndex(SongTimeline& timeline, SongPosition position) {
    long index = 0;
    for (int order = 0; order < position.order; ++order) index += timeline.rowsAt(order);
    return index + position.row;
}

long rowCount(SongTimeline& timeline) { return rowIndex(timeline, timeline.end()); }

SongPosition rowAt(SongTimeline& timeline, long index) {
    SongPosition position;
    while (position.order < timeline.orderCount() && index >= timeline.rowsAt(position.order)) {
        index -= timeline.rowsAt(position.order);
        ++position.order;
    }
    position.row = static_cast<int>(index);
    return position;
}

bool moveRows(SongTimeline& timeline, SongPosition now, long rows, SongPosition& target) {
    const long index = rowIndex(timeline, now) + rows;
    if (index < 0 || index >= rowCount(timeline)) return false;
    target = rowAt(timeline, index);
    return true;
}

bool moveOrder(SongTimeline& timeline, SongPosition now, int orders, SongPosition& target) {
    const int order = now.order + orders;
    if (order < 0 || order >= timeline.orderCount()) return false;
    target = {order, std::min(now.row, timeline.rowsAt(order) - 1)};
    return true;
}

}  // namespace

bool jumpTarget(SongTimeline& timeline, const std::vector<Scene>& scenes, SongPosition now, Jump jump,
                SongPosition& target) {
    switch (jump) {
    case Jump::PreviousScene:
        for (auto scene = scenes.rbegin(); scene != scenes.rend(); ++scene)
            if (scene->start < now) {
                target = scene->start;
                return true;
            }
        return false;
    case Jump::NextScene:
        for (const Scene& scene : scenes)
            if (scene.start > now) {
                target = scene.start;
                return true;
            }
        return false;
    case Jump::PreviousOrder: return moveOrder(timeline, now, -1, target);
    case Jump::NextOrder: return moveOrder(timeline, now, 1, target);
    case Jump::RowsBack: return moveRows(timeline, now, -kRowsPerPage, target);
    case Jump::RowsOn: return moveRows(timeline, now, kRowsPerPage, target);
    case Jump::Restart: target = {}; return true;
    }
    return false;
}

SongPosition rowAtTime(SongTimeline& timeline, int32_t ms) {
    long low = 0, high = rowCount(timeline) - 1;  // the answer lies in low..high
    while (low < high) {
        const long middle = (low + high + 1) / 2;
        if (timeline.timeAt(rowAt(timeline, middle)) <= ms)
            low = middle;
        else
            high = middle - 1;
    }
    return rowAt(timeline, low);
}
