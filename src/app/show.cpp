#include "app/show.h"

#include "app/show_assets.h"
#include "effects/catalogue.h"

std::vector<EffectMaker> catalogueEffects() {
    std::vector<EffectMaker> makers;
    for (const EffectEntry& entry : effectCatalogue()) makers.push_back({entry.name, entry.create});
    return makers;
}

StartupAssets& showAssets() {
    static ShowAssets assets;
    return assets;
}

std::unique_ptr<DemoSystem> buildShow(MainWindow& window, Clock& clock, MusicPlayer& music, Dialogs& dialogs) {
    return std::make_unique<DemoSystem>(DemoServices{window, clock, music, dialogs, showAssets()},
                                        catalogueEffects());
}
