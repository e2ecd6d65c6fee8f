#include "assets/data_groups.h"

#include <zlib.h>

#include "assets/byte_reader.h"
#include "assets/embedded.h"
#include "assets/group_file.h"

namespace {

// Reads the file's table of resources; false when it does not describe
// exactly the bytes it holds.
bool readTable(const std::vector<uint8_t>& file, std::vector<ArrivedGroups::Resource>& out) {
    if (file.size() < group_file::kMagic.size() ||
        std::string_view(reinterpret_cast<const char*>(file.data()), group_file::kMagic.size()) != group_file::kMagic)
        return false;
    std::optional<ByteReader> reader = ByteReader::open(file.data(), static_cast<int32_t>(file.size()));
    if (!reader) return false;
    reader->seek(static_cast<int32_t>(group_file::kMagic.size()), ByteReader::kFromStart);
    if (reader->remaining() < 4) return false;
    const uint32_t count = reader->readU32();
    for (uint32_t i = 0; i < count; ++i) {
        if (reader->remaining() < static_cast<int32_t>(group_file::kTypeBytes + 8)) return false;
        std::string type(reinterpret_cast<const char*>(file.data() + reader->tell()), group_file::kTypeBytes);
        type.resize(type.find('\0') == std::string::npos ? type.size() : type.find('\0'));
        reader->seek(static_cast<int32_t>(group_file::kTypeBytes), ByteReader::kFromCurrent);
        const uint32_t id = reader->readU32(), size = reader->readU32();
        if (static_cast<uint32_t>(reader->remaining()) < size) return false;
        out.push_back({std::move(type), static_cast<int>(id), ResourceBytes{file.data() + reader->tell(), size}});
        reader->seek(static_cast<int32_t>(size), ByteReader::kFromCurrent);
    }
    return reader->remaining() == 0;
}

}  // namespace

std::string ArrivedGroups::accept(const ExpectedGroup& expected, std::vector<uint8_t> bytes) {
    const std::string file = "data/" + std::string(expected.name) + ".bin";
    if (has(expected.name)) return {};
    if (bytes.size() != expected.size)
        return file + " arrived with " + std::to_string(bytes.size()) + " bytes instead of " +
               std::to_string(expected.size) + ": refused.";
    const uint32_t crc = static_cast<uint32_t>(::crc32(::crc32(0L, Z_NULL, 0), bytes.data(), static_cast<uInt>(bytes.size())));
    if (crc != expected.crc32) return file + " arrived damaged (its checksum is wrong): refused.";
    Group group;
    group.file = std::move(bytes);  // the table below points into these bytes, which no longer move
    if (!readTable(group.file, group.resources)) return file + " is no resource group file: refused.";
    groups_.emplace(std::string(expected.name), std::move(group));
    return {};
}

std::optional<ResourceBytes> ArrivedGroups::find(std::string_view type, int id) const {
    for (const auto& [name, group] : groups_)
        for (const Resource& r : group.resources)
            if (r.id == id && r.type == type) return r.bytes;
    return std::nullopt;
}

ArrivedGroups& arrivedGroups() {
    static ArrivedGroups groups;
    return groups;
}

bool groupPresent(std::string_view name) {
    for (const EmbeddedGroup* const* group = embeddedGroups(); *group != nullptr; ++group)
        if (name == (*group)->name) return true;
    return arrivedGroups().has(name);
}
