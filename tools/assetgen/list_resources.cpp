// zemra-resources: lists every resource embedded in the show, with its name
// and the size and component count of each picture.

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "assets/embedded.h"
#include "assets/jpeg_source.h"
#include "assets/resource_ids.h"

int main() {
    std::vector<const EmbeddedResource*> all;
    std::vector<const char*> groupOf;
    for (const EmbeddedGroup* const* group = embeddedGroups(); *group != nullptr; ++group) {
        for (size_t i = 0; i < (*group)->count; ++i) {
            if ((*group)->resources[i].data == nullptr) continue;
            all.push_back(&(*group)->resources[i]);
            groupOf.push_back((*group)->name);
        }
    }
    std::vector<size_t> order(all.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        const int byType = std::string(all[a]->type).compare(all[b]->type);
        return byType != 0 ? byType < 0 : all[a]->id < all[b]->id;
    });

    std::printf("%-5s %5s %9s  %-10s %-24s %s\n", "type", "id", "bytes", "group", "name", "picture");
    uint64_t total = 0;
    for (size_t i : order) {
        const EmbeddedResource& r = *all[i];
        std::string picture;
        if (std::string(r.type) == "JPEG") {
            JpegInfo info;
            if (readJpegInfo(r.data, r.size, info)) {
                picture = std::to_string(info.width) + " x " + std::to_string(info.height) + ", " +
                          std::to_string(info.components) + (info.components == 1 ? " component" : " components");
            } else {
                picture = "not a readable JPEG";
            }
        }
        const res::ListedResource* listed = res::findListedResource(r.type, r.id);
        const std::string name = listed != nullptr ? std::string(listed->name) : "(not in the list)";
        std::printf("%-5s %5d %9u  %-10s %-24s %s\n", r.type, r.id, r.size, groupOf[i], name.c_str(), picture.c_str());
        total += r.size;
    }
    std::printf("%zu resources, %llu bytes\n", all.size(), static_cast<unsigned long long>(total));
    return 0;
}
