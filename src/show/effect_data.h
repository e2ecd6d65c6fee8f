#pragma once
// The resource groups (tools/assetgen/groups.cmake) the show reads: those
// each effect's initialisation reads, and those its start-up reads. Where the
// groups arrive while the show plays (the web page), this is what the show
// waits for, and the order the page fetches them in.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/show_definition.h"

// The groups effect `name` reads when it initialises; none for a name that
// is no effect of the show.
std::span<const std::string_view> groupsOfEffect(std::string_view name);
// The groups the show cannot start without: the music.
std::span<const std::string_view> startupGroups();

// The font's group. Start-up loads the font where it is at hand; where its
// data comes later (the web page), start-up goes on without it, the font is
// loaded when it arrives (useArrivedGroup), and the scenes that draw text,
// which name this group, wait for it.
inline constexpr std::string_view kFontGroup = "font";

// Whether every group effect `name` reads is present (embedded or arrived).
bool effectDataPresent(std::string_view name);
bool startupDataPresent();

// Every group `show` reads, in the order it first needs them: start-up's,
// then its effects' in the order its script first names them.
std::vector<std::string_view> groupsInShowOrder(const ShowDefinition& show);
