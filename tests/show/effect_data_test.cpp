// The groups the show says each effect reads are the ones its
// initialisation really reads: a group missing from the list would let the
// web page start the effect before its pictures arrived.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "assets/font.h"
#include "assets/resources.h"
#include "render/grid_tables.h"
#include "show/builtin_show.h"
#include "show/catalogue.h"
#include "show/effect_data.h"

namespace {

TEST(EffectData, EachEffectReadsExactlyTheGroupsNamedForIt) {
    ASSERT_TRUE(loadFont());  // start-up's, as in the show
    buildGridTables();
    std::set<std::string> read;
    watchResourceGroups([&](std::string_view group) { read.emplace(group); });
    for (const EffectMaker& maker : effectCatalogue()) {
        SCOPED_TRACE(maker.name);
        read.clear();
        const auto effect = maker.create();
        EXPECT_TRUE(effect->load() && effect->init());
        effect->deinit();
        const std::span<const std::string_view> listed = groupsOfEffect(maker.name);
        std::set<std::string> named(listed.begin(), listed.end());
        named.erase(std::string(kFontGroup));  // drawn with, loaded by start-up
        EXPECT_EQ(read, named);
    }
    watchResourceGroups({});
    releaseFont();
}

TEST(EffectData, TheShowOrderStartsWithWhatStartUpAndTheFirstSceneRead) {
    const std::vector<std::string_view> order = groupsInShowOrder(builtInShow());
    ASSERT_GE(order.size(), 2u);
    EXPECT_EQ(order[0], "music");
    EXPECT_EQ(order[1], "worldefu");
}

}  // namespace
