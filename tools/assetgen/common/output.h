#pragma once
// What one generator group produces: a list of typed, numbered resources.

#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

struct GeneratedResource {
    std::string type;  // "JPEG", "BZ2" or "OBJ"
    int id = 0;
    std::vector<uint8_t> bytes;
};

class Output {
public:
    explicit Output(std::string dir) : dir_(std::move(dir)) {}

    void add(std::string type, int id, std::vector<uint8_t> bytes);
    const std::vector<GeneratedResource>& resources() const { return resources_; }

    // The group's output folder, for extra files worth looking at (previews).
    const std::string& dir() const { return dir_; }

private:
    std::string dir_;
    std::vector<GeneratedResource> resources_;
};

// Writes bytes to path unless the file already holds exactly them, so that
// unchanged outputs keep their time stamps and nothing downstream rebuilds.
void writeIfChanged(const std::string& path, const std::string& bytes);

}  // namespace assetgen

// Defined once per group: fills out with the group's resources.
void generate(assetgen::Output& out);
