#include "show/catalogue.h"

#include "effects/fractalefu.h"
#include "effects/holeefu.h"
#include "effects/logoefu.h"
#include "effects/loppuefu.h"
#include "effects/magnetefu.h"
#include "effects/muljuefu.h"
#include "effects/spriteefu.h"
#include "effects/tolppaefu.h"
#include "effects/tunnelefu.h"
#include "effects/venkuefu.h"
#include "effects/vesiefu.h"
#include "effects/voxelefu.h"
#include "effects/worldefu.h"

namespace {

template <typename T>
std::unique_ptr<Effect> make() {
    return std::make_unique<T>();
}

}  // namespace

const std::vector<EffectMaker>& effectCatalogue() {
    static const std::vector<EffectMaker> entries = {
        {"worldefu", &make<GlobeEffect>},
        {"muljuefu", &make<TubeEffect>},
        {"tunnelefu", &make<TunnelEffect>},
        {"tolppaefu", &make<PoleEffect>},
        {"voxelefu", &make<VoxelEffect>},
        {"spriteefu", &make<TypewriterEffect>},
        {"vesiefu", &make<WaterEffect>},
        {"fractalefu", &make<FractalZoomEffect>},
        {"magnetefu", &make<MagnetEffect>},
        {"logoefu", &make<LogoEffect>},
        {"venkuefu", &make<CreditsEffect>},
        {"loppuefu", &make<EndSceneEffect>},
        {"holeefu", &make<ShaftEffect>},
    };
    return entries;
}
