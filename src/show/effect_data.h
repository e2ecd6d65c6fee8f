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
// The groups start-up reads: the font and the music.
std::span<const std::string_view> startupGroups();

// Whether every group effect `name` reads is present (embedded or arrived).
bool effectDataPresent(std::string_view name);
bool startupDataPresent();

// Every group `show` reads, in the order it first needs them: start-up's,
// then its effects' in the order its script first names them.
std::vector<std::string_view> groupsInShowOrder(const ShowDefinition& show);
