#include "common/output.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace assetgen {

void Output::add(std::string type, int id, std::vector<uint8_t> bytes) {
    for (const auto& r : resources_) {
        if (r.type == type && r.id == id) {
            throw std::runtime_error("resource " + type + " " + std::to_string(id) + " generated twice");
        }
    }
    resources_.push_back({std::move(type), id, std::move(bytes)});
}

void writeIfChanged(const std::string& path, const std::string& bytes) {
    {
        std::ifstream in(path, std::ios::binary);
        if (in) {
            std::string old((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            if (old == bytes) return;
        }
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace assetgen
