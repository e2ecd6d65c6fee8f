#pragma once
// Every resource the show carries, by name: its type, number, and for
// pictures the size and component count the code that reads it relies on.
// The generator checks what it writes against this list, the resource
// listing prints these names, and effects and tests refer to resources only
// through the constants below.

#include <cstdint>
#include <string_view>

namespace res {

// Pictures ("JPEG").
inline constexpr int kFractalObjectMap = 105;   // 256 x 256 colour, tiled 16-bit
inline constexpr int kFractalZoom0 = 106;       // 240 x 320 colour; 106..110 zoom in twice per step
inline constexpr int kFractalZoomCount = 5;
inline constexpr int kTubeSkin = 112;           // 256 x 256 colour, with kGroundDepth as alpha
inline constexpr int kMagnetTexture = 113;      // 256 x 256 colour, tiled 16-bit
inline constexpr int kGroundDepth = 114;        // 256 x 256 grey: 0 highest, 255 lowest
inline constexpr int kPoleSkin = 119;           // 32 x 256 colour
inline constexpr int kPoleBackdrop = 120;       // 240 x 320 colour
inline constexpr int kTunnelObjectMap = 124;    // 256 x 256 colour, tiled 16-bit; the end scene's too
inline constexpr int kTunnelWall = 123;         // 256 x 256 colour, tiled 32-bit
inline constexpr int kRingObjectMap = 126;      // 256 x 256 colour, tiled 16-bit
inline constexpr int kWaterBed = 127;           // 256 x 256 colour, linear 16-bit
inline constexpr int kGroundColour = 130;       // 256 x 256 colour, with kGroundDepth as alpha
inline constexpr int kGlobeBackground = 131;    // 240 x 320 colour, 16-bit
inline constexpr int kGlobeDaylight = 132;      // 256 x 512 grey: the day map's mask
inline constexpr int kGlobeDay = 133;           // 256 x 512 colour
inline constexpr int kGlobeNight = 134;         // 256 x 512 colour
inline constexpr int kRingLift = 135;           // 32 x 512 grey
inline constexpr int kRingLettering = 136;      // 32 x 512 colour
inline constexpr int kTubeBackdrop = 139;       // 240 x 320 colour
inline constexpr int kTitlePanorama = 141;      // 240 x 1600 colour
inline constexpr int kCreditsTexture = 142;     // 256 x 256 colour, tiled 16-bit
inline constexpr int kEndPicture = 144;         // 240 x 320 colour
inline constexpr int kShaftWall = 147;          // 256 x 256 colour, tiled 32-bit
inline constexpr int kTelevision = 148;         // 220 x 256 colour
inline constexpr int kTelevisionMask = 149;     // 220 x 256 grey
inline constexpr int kMagnetGlow = 152;         // 128 x 128 colour
inline constexpr int kCredit1 = 155, kCredit1Mask = 156;  // 50 x 180
inline constexpr int kCredit3 = 159, kCredit3Mask = 160;  // 52 x 180
inline constexpr int kCredit2 = 161, kCredit2Mask = 162;  // 50 x 180
inline constexpr int kFontBrightness = 163;     // 1264 x 32 grey
inline constexpr int kFontCoverage = 164;       // 1264 x 32 grey
inline constexpr int kSwimmerGlow = 167;        // 64 x 64 colour
inline constexpr int kRingLetteringMask = 171;  // 32 x 512 grey
inline constexpr int kCredit4 = 184, kCredit4Mask = 185;  // 50 x 180
inline constexpr int kWarpTexture0 = 186;       // 256 x 256 colour, tiled 16-bit
inline constexpr int kWarpTexture1 = 187;       // 256 x 256 colour, tiled 16-bit
inline constexpr int kLandscapeFade = 190;      // 240 x 320 colour
inline constexpr int kWindowIcon = 191, kWindowIconMask = 192;  // 64 x 64: the window's icon

// Compressed data ("BZ2"): the globe's two maps and the music module.
inline constexpr int kGlobeSphereMap = 137;
inline constexpr int kGlobeRingMap = 138;
inline constexpr int kMusicModule = 189;

// 3D objects ("OBJ").
inline constexpr int kFractalObject = 111;
inline constexpr int kSpinningObject = 122;     // the tunnel's and the end scene's
inline constexpr int kWaterObject = 125;
inline constexpr int kShaftCamera = 146;

struct ListedResource {
    std::string_view type;  // "JPEG", "BZ2" or "OBJ"
    int id;
    std::string_view name;
    // Pictures: size and components (1 grey, 3 colour). BZ2: width holds the
    // largest decompressed size its reader accepts. OBJ: all zero.
    int width, height, components;
};

// The whole list, ordered by type and id. Header-only: the generator,
// which runs before the resource library exists, reads it too.
inline constexpr ListedResource kResources[] = {
    {"BZ2", kGlobeSphereMap, "globe sphere map", 230400, 0, 0},
    {"BZ2", kGlobeRingMap, "globe ring map", 81920, 0, 0},
    {"BZ2", kMusicModule, "music module", 409600, 0, 0},
    {"JPEG", kFractalObjectMap, "fractal object map", 256, 256, 3},
    {"JPEG", kFractalZoom0 + 0, "fractal zoom 1", 240, 320, 3},
    {"JPEG", kFractalZoom0 + 1, "fractal zoom 2", 240, 320, 3},
    {"JPEG", kFractalZoom0 + 2, "fractal zoom 3", 240, 320, 3},
    {"JPEG", kFractalZoom0 + 3, "fractal zoom 4", 240, 320, 3},
    {"JPEG", kFractalZoom0 + 4, "fractal zoom 5", 240, 320, 3},
    {"JPEG", kTubeSkin, "tube skin", 256, 256, 3},
    {"JPEG", kMagnetTexture, "magnet texture", 256, 256, 3},
    {"JPEG", kGroundDepth, "ground depth", 256, 256, 1},
    {"JPEG", kPoleSkin, "pole skin", 32, 256, 3},
    {"JPEG", kPoleBackdrop, "pole backdrop", 240, 320, 3},
    {"JPEG", kTunnelWall, "tunnel wall", 256, 256, 3},
    {"JPEG", kTunnelObjectMap, "tunnel object map", 256, 256, 3},
    {"JPEG", kRingObjectMap, "ring object map", 256, 256, 3},
    {"JPEG", kWaterBed, "water bed", 256, 256, 3},
    {"JPEG", kGroundColour, "ground colour", 256, 256, 3},
    {"JPEG", kGlobeBackground, "globe background", 240, 320, 3},
    {"JPEG", kGlobeDaylight, "globe daylight mask", 256, 512, 1},
    {"JPEG", kGlobeDay, "globe day map", 256, 512, 3},
    {"JPEG", kGlobeNight, "globe night map", 256, 512, 3},
    {"JPEG", kRingLift, "ring lift", 32, 512, 1},
    {"JPEG", kRingLettering, "ring lettering", 32, 512, 3},
    {"JPEG", kTubeBackdrop, "tube backdrop", 240, 320, 3},
    {"JPEG", kTitlePanorama, "title panorama", 240, 1600, 3},
    {"JPEG", kCreditsTexture, "credits texture", 256, 256, 3},
    {"JPEG", kEndPicture, "end picture", 240, 320, 3},
    {"JPEG", kShaftWall, "shaft wall", 256, 256, 3},
    {"JPEG", kTelevision, "television", 220, 256, 3},
    {"JPEG", kTelevisionMask, "television mask", 220, 256, 1},
    {"JPEG", kMagnetGlow, "magnet glow", 128, 128, 3},
    {"JPEG", kCredit1, "credit 1", 50, 180, 3},
    {"JPEG", kCredit1Mask, "credit 1 mask", 50, 180, 1},
    {"JPEG", kCredit3, "credit 3", 52, 180, 3},
    {"JPEG", kCredit3Mask, "credit 3 mask", 52, 180, 1},
    {"JPEG", kCredit2, "credit 2", 50, 180, 3},
    {"JPEG", kCredit2Mask, "credit 2 mask", 50, 180, 1},
    {"JPEG", kFontBrightness, "font brightness", 1264, 32, 1},
    {"JPEG", kFontCoverage, "font coverage", 1264, 32, 1},
    {"JPEG", kSwimmerGlow, "swimmer glow", 64, 64, 3},
    {"JPEG", kRingLetteringMask, "ring lettering mask", 32, 512, 1},
    {"JPEG", kCredit4, "credit 4", 50, 180, 3},
    {"JPEG", kCredit4Mask, "credit 4 mask", 50, 180, 1},
    {"JPEG", kWarpTexture0, "warp texture 1", 256, 256, 3},
    {"JPEG", kWarpTexture1, "warp texture 2", 256, 256, 3},
    {"JPEG", kLandscapeFade, "landscape fade picture", 240, 320, 3},
    {"JPEG", kWindowIcon, "window icon", 64, 64, 3},
    {"JPEG", kWindowIconMask, "window icon mask", 64, 64, 1},
    {"OBJ", kFractalObject, "fractal object", 0, 0, 0},
    {"OBJ", kSpinningObject, "spinning object", 0, 0, 0},
    {"OBJ", kWaterObject, "water object", 0, 0, 0},
    {"OBJ", kShaftCamera, "shaft camera", 0, 0, 0},
};

// The entry for (type, id), or null when the show has no such resource.
constexpr const ListedResource* findListedResource(std::string_view type, int id) {
    for (const ListedResource& r : kResources)
        if (r.type == type && r.id == id) return &r;
    return nullptr;
}

}  // namespace res
