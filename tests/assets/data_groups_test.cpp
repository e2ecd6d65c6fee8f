// A group's file arriving while the program runs: kept when it is what the
// build wrote down, refused whole (nothing of it found) when its size or
// checksum is wrong or its table does not match its bytes.

#include <gtest/gtest.h>

#include <zlib.h>

#include "assets/data_groups.h"
#include "assets/group_file.h"

namespace {

const std::vector<uint8_t> kPicture = {0xFF, 0xD8, 1, 2, 3, 0xFF, 0xD9};
const std::vector<uint8_t> kObject = {9, 8, 7};

std::vector<uint8_t> sampleFile() {
    std::vector<uint8_t> file;
    group_file::putHeader(file, 2);
    group_file::putResource(file, "JPEG", 7001, kPicture);
    group_file::putResource(file, "OBJ", 7002, kObject);
    return file;
}

ExpectedGroup expectedFor(const std::vector<uint8_t>& file) {
    return {"sample", static_cast<uint32_t>(file.size()),
            static_cast<uint32_t>(crc32(crc32(0L, Z_NULL, 0), file.data(), static_cast<uInt>(file.size())))};
}

std::vector<uint8_t> bytesOf(std::optional<ResourceBytes> r) {
    return r ? std::vector<uint8_t>(r->data, r->data + r->size) : std::vector<uint8_t>{};
}

TEST(DataGroups, AGoodFileIsKeptAndItsResourcesFound) {
    ArrivedGroups groups;
    const std::vector<uint8_t> file = sampleFile();
    EXPECT_EQ(groups.accept(expectedFor(file), file), "");
    EXPECT_TRUE(groups.has("sample"));
    EXPECT_EQ(bytesOf(groups.find("JPEG", 7001)), kPicture);
    EXPECT_EQ(bytesOf(groups.find("OBJ", 7002)), kObject);
    EXPECT_FALSE(groups.find("JPEG", 7002));  // the type counts as well as the id
}

TEST(DataGroups, AWrongFileIsRefusedWithItsReasonAndNothingKept) {
    const std::vector<uint8_t> file = sampleFile();
    const ExpectedGroup expected = expectedFor(file);
    std::vector<uint8_t> damaged = file;
    damaged[damaged.size() - 2] ^= 0x40;
    std::vector<uint8_t> cut(file.begin(), file.end() - 1);
    // A table that names more bytes than follow, with the checksum of those
    // very bytes: what a build that wrote a broken file would hand over.
    std::vector<uint8_t> lying = file;
    lying[8 + 8] += 1;
    const struct {
        const char* what;
        std::vector<uint8_t> bytes;
        ExpectedGroup expected;
        const char* reason;
    } cases[] = {
        {"damaged", damaged, expected, "checksum"},
        {"cut short", cut, expected, "bytes instead of"},
        {"lying table", lying, expectedFor(lying), "no resource group file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ArrivedGroups groups;
        const std::string reason = groups.accept(c.expected, c.bytes);
        EXPECT_NE(reason.find("data/sample.bin"), std::string::npos) << reason;
        EXPECT_NE(reason.find(c.reason), std::string::npos) << reason;
        EXPECT_FALSE(groups.has("sample"));
        EXPECT_FALSE(groups.find("JPEG", 7001));
    }
}

}  // namespace
