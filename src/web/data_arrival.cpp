#include "web/data_arrival.h"

#include <emscripten.h>

#include <algorithm>

#include "app/data_wait.h"
#include "app/timeline.h"
#include "show/builtin_show.h"
#include "show/effect_data.h"
#include "show/show_assets.h"
#include "web/cut_page.h"

namespace {

const ExpectedGroup* expected(std::string_view name) {
    for (const ExpectedGroup& file : fetchedGroupFiles())
        if (file.name == name) return &file;
    return nullptr;
}

}  // namespace

std::string dataPlan(const ShowDefinition& show) {
    std::string plan;
    const std::span<const std::string_view> startup = startupGroups();
    for (std::string_view group : groupsInShowOrder(show))
        if (const ExpectedGroup* file = expected(group))
            plan += std::string(group) + " " + std::to_string(file->size) + " " +
                    (std::find(startup.begin(), startup.end(), group) != startup.end() ? "1" : "0") + "\n";
    return plan;
}

std::string receiveGroup(const std::string& name, std::vector<uint8_t> bytes) {
    const ExpectedGroup* file = expected(name);
    if (file == nullptr) return "data/" + name + ".bin is no file of this page: refused.";
    std::string problem = arrivedGroups().accept(*file, std::move(bytes));
    if (problem.empty() && !useArrivedGroup(name)) problem = "data/" + name + ".bin arrived but could not be read.";
    return problem;
}

// The functions the page's data loader calls (page/data-loader.js).
namespace {

std::vector<uint8_t> incoming;  // the file being handed over
std::string dataAnswer;         // the text handed back last; the page copies it at once

ShowDefinition openedShow() { return withOpenedCut(builtInShow()); }

}  // namespace

extern "C" {

// The files to fetch, "GROUP SIZE STARTUP" a line, in the order the show needs them.
EMSCRIPTEN_KEEPALIVE const char* zemra_data_plan() {
    dataAnswer = dataPlan(openedShow());
    return dataAnswer.c_str();
}

// Room for a file of `size` bytes, which the page fills before
// zemra_data_receive.
EMSCRIPTEN_KEEPALIVE uint8_t* zemra_data_buffer(int size) {
    incoming.assign(static_cast<size_t>(size < 0 ? 0 : size), 0);
    return incoming.data();
}

// The file just filled in is group `name`'s: empty when kept, else why it was refused.
EMSCRIPTEN_KEEPALIVE const char* zemra_data_receive(const char* name) {
    dataAnswer = receiveGroup(name, std::move(incoming));
    incoming.clear();
    return dataAnswer.c_str();
}

// 1 when a show can start at `position` (ORDER:ROW, or empty for the
// beginning): the start-up's data and that of the effects the rows up to
// there start have arrived.
EMSCRIPTEN_KEEPALIVE int zemra_data_ready(const char* position) {
    SongPosition at;
    if (*position == '\0' || !parseSongPosition(position, at)) at = {};
    return startupDataPresent() && dataReadyUpTo(openedShow(), at) ? 1 : 0;
}

}  // extern "C"

// For the page's test: each group with the show time (ms) at which the show
// first waits for it, "GROUP MS" a line: start-up's at 0, an effect's at the
// first row making it current. Empty before the music has arrived.
extern "C" EMSCRIPTEN_KEEPALIVE const char* zemra_data_needed() {
    dataAnswer.clear();
    const ShowDefinition show = openedShow();
    SongTimeline timeline;
    if (!startupDataPresent() || !timeline.loadModuleOf(*show.assets)) return dataAnswer.c_str();
    std::vector<std::string_view> told;
    const auto tell = [&](std::string_view group, int32_t ms) {
        if (std::find(told.begin(), told.end(), group) != told.end()) return;
        told.push_back(group);
        dataAnswer += std::string(group) + " " + std::to_string(ms) + "\n";
    };
    for (std::string_view group : startupGroups()) tell(group, 0);
    for (const ScriptEntry& row : show.script)
        if (const char* effect = effectStartedBy(row))
            for (std::string_view group : groupsOfEffect(effect)) tell(group, timeline.timeAt(row.position()));
    return dataAnswer.c_str();
}
