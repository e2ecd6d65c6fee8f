#pragma once
// The page's data as it arrives: the page fetches each resource group's file
// (data/GROUP.bin) in the order the show needs them and hands it over here,
// where it is checked against what the build wrote down (data_files.cpp,
// generated) and kept, or refused with the reason.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "app/show_definition.h"
#include "assets/data_groups.h"

// Every group file of the site, as the build made it. Generated.
std::span<const ExpectedGroup> fetchedGroupFiles();

// The files the page fetches for `show`, in the order the show needs them:
// one line "GROUP SIZE STARTUP" each, STARTUP 1 for those any start needs.
std::string dataPlan(const ShowDefinition& show);

// Group `name`'s file, received: empty when kept, else why it was refused
// (an unknown name, a wrong size or checksum).
std::string receiveGroup(const std::string& name, std::vector<uint8_t> bytes);
