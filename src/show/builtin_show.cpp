#include "show/builtin_show.h"

#include "show/catalogue.h"
#include "show/demo_script.h"
#include "show/effect_data.h"
#include "show/flash_seconds.h"
#include "show/show_assets.h"

ShowDefinition builtInShow() {
    static ShowAssets assets;
    return {demoScript(), &effectCatalogue(), &assets, false, showFlashingSeconds(), effectDataPresent};
}
