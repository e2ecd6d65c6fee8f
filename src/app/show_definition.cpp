#include "app/show_definition.h"

std::unique_ptr<DemoSystem> makeShow(const ShowDefinition& show, MainWindow& window, Clock& clock, MusicPlayer& music,
                                     Dialogs& dialogs, std::span<const ScriptEntry> rows) {
    auto demo = std::make_unique<DemoSystem>(DemoServices{window, clock, music, dialogs, *show.assets}, *show.effects, rows);
    if (show.effectDataReady)
        demo->setDataMissing([ready = show.effectDataReady](const std::string& effect) { return !ready(effect); });
    return demo;
}
