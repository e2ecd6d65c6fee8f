#include "app/show.h"

#include "app/show_assets.h"
#include "effects/catalogue.h"

StartupAssets& showAssets() {
    static ShowAssets assets;
    return assets;
}

std::unique_ptr<DemoSystem> makeWholeShow(MainWindow& window, Clock& clock, MusicPlayer& music, Dialogs& dialogs,
                                          std::span<const ScriptEntry> script) {
    return std::make_unique<DemoSystem>(DemoServices{window, clock, music, dialogs, showAssets()}, effectCatalogue(),
                                        script);
}
