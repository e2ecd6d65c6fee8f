// Cut links: a script text goes into a link and comes back byte for byte;
// the links of small edits stay short; every bad link is refused with one
// clear message, and a small link never unpacks past the limit.
#include "show/cut_link.h"

#include <gtest/gtest.h>

#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "show/base64url.h"
#include "show/builtin_show.h"
#include "show/raw_deflate.h"

namespace {

const std::string kPage = "https://example.org/zemra/";

std::string showText() { return scriptText(builtInShow().script); }

// The text with `from` (which must be there) replaced by `to`.
std::string edited(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

// The show with `count` of its parameter rows given other lengths, spread
// over the script.
std::string withChangedRows(int count) {
    std::string text = showText();
    std::vector<std::size_t> places;
    for (std::size_t at = text.find("length="); at != std::string::npos; at = text.find("length=", at + 1))
        places.push_back(at);
    for (int k = 0; k < count; ++k) text.insert(places[places.size() - 1 - k * places.size() / count] + 7, "1");
    return text;
}

std::string readBack(const std::string& link) {
    std::string text, problem;
    EXPECT_TRUE(readCutLink(link, text, problem)) << problem;
    return text;
}

std::string problemOf(const std::string& link) {
    std::string text, problem;
    SongTimeline timeline;
    EXPECT_TRUE(timeline.loadModuleOf(*builtInShow().assets));
    ScriptTable table;
    EXPECT_FALSE(loadCutLink(link, timeline, table, text, problem)) << link.substr(0, 80);
    EXPECT_EQ(problem.find('\n'), std::string::npos) << problem;
    return problem;
}

TEST(CutLink, EveryTextComesBackExactly) {
    const std::string show = showText();
    const std::string flashMoved = edited(show, "5:0     blitter     setparam   \"param=control mode=linear",
                                          "5:16    blitter     setparam   \"param=control mode=linear");
    const std::string fadeChanged =
        edited(show, "mode=slow loopmode=stop length=7500 value0=0 value1=256", "mode=linear loopmode=stop length=3000 value0=0 value1=256");
    const std::string trackAdded =
        edited(show, "\n1:16", "\n1:0 worldefu setparam \"param=worldangle mode=sin length=2000 value0=0 value1=64\"\n1:16");
    const std::vector<std::string> texts = {
        show, flashMoved, fadeChanged, trackAdded, withChangedRows(100),
        show.substr(0, show.size() - 1),              // no line end at the end
        "\r\n# a comment \xC3\xA9\r\n35:0 demosys stop",  // other line ends, UTF-8 in a comment
        "", "\n", std::string(5000, 'x'),
    };
    for (const std::string& text : texts) {
        const std::string link = cutFragment(text);
        EXPECT_EQ(readBack(kPage + link), text) << link;
        EXPECT_EQ(readBack(link.substr(1)), text);
        EXPECT_EQ(readBack(" " + link.substr(5) + "\n"), text);
    }
    // The show itself is a link of a dozen characters.
    EXPECT_LE(cutFragment(show).size(), 20u) << cutFragment(show);
}

TEST(CutLink, SmallEditsMakeShortLinks) {
    for (const int rows : {1, 20, 100}) {
        const std::size_t length = (kPage + cutFragment(withChangedRows(rows))).size();
        std::cout << rows << " changed rows: a link of " << length << " characters\n";
        if (rows <= 20) {
            EXPECT_LE(length, kChatLinkLength);
            EXPECT_EQ(cutLinkAdvice(length), "");
        }
    }
    EXPECT_NE(cutLinkAdvice(kChatLinkLength + 1).find("some chat programs"), std::string::npos);
    EXPECT_NE(cutLinkAdvice(kMaxLinkLength + 1).find("as a file instead"), std::string::npos);
}

TEST(CutLink, BadLinksAreExplainedInOneMessage) {
    const std::string good = cutLinkData(showText());
    const std::string packedRows = good.substr(2);
    EXPECT_NE(problemOf("").find("holds no cut"), std::string::npos);
    EXPECT_NE(problemOf(kPage + "#cut=").find("holds no cut"), std::string::npos);
    EXPECT_NE(problemOf("1.").find("holds no cut"), std::string::npos);
    EXPECT_NE(problemOf("hello, world").find("not a cut link"), std::string::npos);
    EXPECT_NE(problemOf("1.<script>alert(1)</script>").find("damaged"), std::string::npos);
    EXPECT_NE(problemOf("2." + packedRows).find("format 2, and this Zemra reads format 1"), std::string::npos);
    const std::string longer = cutLinkData(withChangedRows(20));
    EXPECT_NE(problemOf(longer.substr(0, longer.size() / 2)).find("cut short"), std::string::npos);
    EXPECT_NE(problemOf("1.AAAAAAAA").find("damaged"), std::string::npos);

    // Ten megabytes of nothing packed into a link of a few kilobytes: the
    // unpacking stops at the limit.
    const std::string bomb = "1." + encodeBase64url(deflateRaw(std::string(10u << 20, '\0'), ""));
    std::cout << "10 MB of zeros: a link of " << bomb.size() << " characters\n";
    EXPECT_LT(bomb.size(), 20000u);
    EXPECT_NE(problemOf(bomb).find("more than 1 MB"), std::string::npos);

    // Made against another script of the show.
    const std::string other = "1." + encodeBase64url(deflateRaw("abcd", showText()));
    EXPECT_NE(problemOf(other).find("another version of the show's script"), std::string::npos);

    // A script with problems: the first, with its line, and how many more.
    std::string text = edited(showText(), "\"tunnelefu\"", "\"tunelefu\"");
    text.resize(text.rfind("35:0"));
    const std::string failing = problemOf(cutFragment(text));
    EXPECT_NE(failing.find("problem at line "), std::string::npos) << failing;
    EXPECT_NE(failing.find("\"tunelefu\" is not an effect"), std::string::npos) << failing;
    EXPECT_TRUE(failing.ends_with("(and 1 more).")) << failing;
    EXPECT_NE(problemOf(cutFragment("")).find("does not end with the \"stop\" row"), std::string::npos);
}

// Links damaged anywhere are read or refused, never misread into a crash.
TEST(CutLink, DamagedLinksAreReadOrRefused) {
    const std::string link = cutLinkData(withChangedRows(20));
    std::mt19937 random(37);
    const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
    for (int round = 0; round < 300; ++round) {
        std::string damaged = link;
        for (int k = 0; k < 3; ++k)
            damaged[2 + random() % (damaged.size() - 2)] = alphabet[random() % alphabet.size()];
        std::string text, problem;
        if (!readCutLink(damaged, text, problem)) {
            EXPECT_FALSE(problem.empty());
        }
    }
}

}  // namespace
