#pragma once
// Groups of resources that arrive while the program runs, beside those
// embedded in it: the web page fetches each group's file (group_file.h) and
// hands it over. A file is checked against what the build wrote down for it
// (its size and CRC-32) before any of its bytes are read, so a damaged or
// stale download is refused, never decoded.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "assets/resources.h"

// What the build wrote down for a group's file.
struct ExpectedGroup {
    std::string_view name;
    uint32_t size;
    uint32_t crc32;
};

class ArrivedGroups {
public:
    // Keeps `bytes` as the resources of group expected.name. Empty when
    // accepted (again: a group accepted before stays as it was); otherwise
    // why the file was refused, and nothing of it is kept.
    std::string accept(const ExpectedGroup& expected, std::vector<uint8_t> bytes);
    bool has(std::string_view name) const { return groups_.find(name) != groups_.end(); }
    std::optional<ResourceBytes> find(std::string_view type, int id) const;

    struct Resource {
        std::string type;
        int id;
        ResourceBytes bytes;  // into the group's file
    };

private:
    struct Group {
        std::vector<uint8_t> file;
        std::vector<Resource> resources;
    };
    std::map<std::string, Group, std::less<>> groups_;
};

// The program's own: findResource looks here after the embedded groups.
ArrivedGroups& arrivedGroups();

// Whether group `name`'s resources can be found: embedded or arrived.
bool groupPresent(std::string_view name);
