// Fuzz target: the linker's section placement. UpdateLinkerSections with an array of memory areas
// built from the input, then the new option string read back through GetNoOfMemoryAreas,
// GetAddressRanges and GetSections as the host's dialog does.
//
// Fields: the option string, then one field per memory area: its address list and its section
// groups separated by the byte 0x02 (each a NUL-separated list). Selector: the area number asked for.
#include <vector>

#include "fuzz/fuzz_support.h"

using vivo::fuzz::CallGuarded;
using vivo::fuzz::Fail;

namespace {

constexpr char kPartSeparator = '\x02';
constexpr std::size_t kMaxAreas = 64;
// Characters that the start item uses itself: an address or section name holding one is stored as it
// is and reads back as other areas, so the read-back check only covers areas without them.
constexpr std::string_view kItemCharacters = "|\" \t\r\n]";

// One area's lists, kept alive for the call.
struct AreaInput {
    bool plain = true;  // no string holds one of kItemCharacters
    std::string addressList;
    std::vector<std::string> groups;
    std::vector<const char*> groupPointers;
    VivoMemoryArea record{};
};

void ReadArea(const std::string& field, AreaInput& area) {
    std::size_t start = 0;
    bool first = true;
    while (true) {
        const std::size_t end = field.find(kPartSeparator, start);
        std::string list = field.substr(start, end == std::string::npos ? std::string::npos : end - start);
        list.append(2, '\0');
        if (first) area.addressList = std::move(list);
        else area.groups.push_back(std::move(list));
        first = false;
        if (end == std::string::npos) break;
        start = end + 1;
    }
    for (const std::string& group : area.groups) area.groupPointers.push_back(group.data());
    const auto plain = [](const std::string& list) {
        // The strings of the list end at its first empty string.
        const std::string_view strings = std::string_view(list).substr(0, list.find(std::string_view("\0\0", 2)));
        return strings.find_first_of(kItemCharacters) == std::string_view::npos;
    };
    area.plain = plain(area.addressList);
    for (const std::string& group : area.groups) area.plain = area.plain && plain(group);
    area.groupPointers.push_back(nullptr);
    area.record = VivoMemoryArea{0, area.addressList.data(), area.groupPointers.data()};
}

void Drive(vivo::fuzz::Input& in, const vivo::fuzz::Plugin& plugin) {
    const vivo::fuzz::Exports& x = plugin.exports;
    const int32_t capacity = in.capacity();
    const int32_t asked = static_cast<int8_t>(in.selector());
    const std::string options = in.Text();
    std::vector<AreaInput> areas;
    areas.reserve(kMaxAreas);
    while (!in.empty() && areas.size() < kMaxAreas) ReadArea(in.Text(), areas.emplace_back());
    std::vector<const VivoMemoryArea*> records;
    for (const AreaInput& area : areas) records.push_back(&area.record);
    records.push_back(nullptr);

    const int reserved = 0;
    std::string updated;
    const int32_t result = CallGuarded(capacity, "UpdateLinkerSections", [&](char* b, int32_t* l) {
        const int32_t r = x.UpdateLinkerSections(&reserved, options.c_str(), records.data(), b, l);
        if (r == 0) updated.assign(b, static_cast<std::size_t>(*l) - 1);
        return r;
    });
    // Read back what was just written, or the original when the update was refused.
    const std::string& read = result == 0 ? updated : options;
    uint32_t count = 0;
    if (x.GetNoOfMemoryAreas(0, read.c_str(), &count) != 0) Fail("count refused", "GetNoOfMemoryAreas");
    bool plain = true;
    for (const AreaInput& area : areas) plain = plain && area.plain;
    if (result == 0 && plain && !areas.empty() && count != areas.size())
        Fail("area count differs from the areas written", "UpdateLinkerSections");
    for (int32_t number : {asked, 1, static_cast<int32_t>(count)}) {
        CallGuarded(capacity, "GetAddressRanges",
                    [&](char* b, int32_t* l) { return x.GetAddressRanges(0, read.c_str(), number, b, l); });
        CallGuarded(capacity, "GetSections",
                    [&](char* b, int32_t* l) { return x.GetSections(&reserved, read.c_str(), number, b, l); });
    }
}

}  // namespace

VIVO_FUZZ_TARGET("memory_areas", Drive)
