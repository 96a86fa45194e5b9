// Exports of the linker memory layout: areas, their addresses and sections, and the new placement.
#include <optional>
#include <string>
#include <vector>

#include "interface/frame.h"
#include "options/plain_text.h"
#include "queries/memory_areas.h"

using namespace vivo;

namespace {

class MemoryAreaCountHandler final : public Handler {
public:
    uint32_t Count(std::string_view options) const { return MemoryAreaCount(options); }
};

class AddressRangesHandler final : public Handler {
public:
    // "00000400|" as a one-entry list; nothing for a number without an area.
    std::optional<std::string> AddressList(std::string_view options, int32_t number) const {
        std::optional<std::string> address = AreaAddress(options, number);
        if (!address) return std::nullopt;
        return NewlineList({*address + '|'});
    }
};

class SectionsHandler final : public Handler {
public:
    std::optional<std::string> SectionList(std::string_view options, int32_t number) const {
        const std::optional<StringList> sections = AreaSections(options, number);
        if (!sections) return std::nullopt;
        return NewlineList(*sections);
    }
};

class SectionUpdateHandler final : public Handler {
public:
    std::optional<std::string> Update(std::string_view options, const VivoMemoryArea* const* records) const {
        std::vector<MemoryArea> areas;
        for (const VivoMemoryArea* const* record = records; *record != nullptr; ++record)
            areas.push_back(Read(**record));
        return WithMemoryAreas(options, areas);
    }

private:
    // A missing address list or group array reads as an empty one, which the area then fails on.
    static MemoryArea Read(const VivoMemoryArea& record) {
        MemoryArea area;
        if (record.addressList != nullptr) area.address = record.addressList;
        if (record.sectionGroups != nullptr)
            for (const char* const* group = record.sectionGroups; *group != nullptr; ++group)
                area.groups.push_back(ReadNulList(*group));
        return area;
    }
};

}  // namespace

extern "C" {

VIVO_API int32_t VIVO_CALL GetNoOfMemoryAreas(uint32_t /*ignored*/, const char* options, uint32_t* count) {
    return RunExport([&] {
        if (AnyNull(options, count)) return 1;
        const MemoryAreaCountHandler handler;
        *count = handler.Count(options);
        return 0;
    });
}

VIVO_API int32_t VIVO_CALL GetAddressRanges(uint32_t /*ignored*/, const char* options, int32_t areaNumber,
                                            char* buffer, int32_t* len) {
    return RunExport([&] {
        if (AnyNull(options, buffer, len)) return 1;
        const AddressRangesHandler handler;
        const std::optional<std::string> list = handler.AddressList(options, areaNumber);
        // No such area: success, and neither the buffer nor the length is written.
        return list ? Deliver(Protocol::kNewlineList, *list, buffer, len) : 0;
    });
}

VIVO_API int32_t VIVO_CALL GetSections(const void* reserved, const char* options, int32_t areaNumber,
                                       char* buffer, int32_t* len) {
    return RunExport([&] {
        if (AnyNull(reserved, options, buffer, len)) return 1;
        const SectionsHandler handler;
        return Deliver(Protocol::kNewlineList, handler.SectionList(options, areaNumber), buffer, len);
    });
}

VIVO_API int32_t VIVO_CALL UpdateLinkerSections(const void* reserved, const char* options,
                                                const VivoMemoryArea* const* areas, char* buffer,
                                                int32_t* len) {
    return RunExport([&] {
        if (AnyNull(reserved, options, areas, buffer, len)) return 1;
        const SectionUpdateHandler handler;
        return Deliver(Protocol::kTerminatedText, handler.Update(options, areas), buffer, len);
    });
}

}  // extern "C"
