#pragma once
// The frame every export runs: the plug-in's own resources current for the call, the pointer checks,
// a handler object per family, and nothing thrown past the boundary.

#include <cstdint>

#include "interface/caller_buffer.h"
#include "platform/resource_library.h"
#include "vivo/vivo.h"

namespace vivo {

// Base of the per-family handler objects that live on the stack for one export call.
class Handler {
public:
    virtual ~Handler() = default;
};

// Makes the plug-in's own resources current and gives the caller's back on every way out.
class ResourceScope {
public:
    ResourceScope() : previous_(platform::SwapResourceSource(nullptr)) {}
    ~ResourceScope() { platform::SwapResourceSource(previous_); }
    ResourceScope(const ResourceScope&) = delete;
    ResourceScope& operator=(const ResourceScope&) = delete;

private:
    platform::ResourceLibrary* previous_;
};

// True when any of the checked pointers is null.
template <class... P>
[[nodiscard]] constexpr bool AnyNull(const P*... pointers) {
    return ((pointers == nullptr) || ...);
}

// Runs an export's body inside the frame. Whatever the body throws becomes result 1.
template <class Body>
[[nodiscard]] int32_t RunExport(Body&& body) noexcept {
    try {
        ResourceScope scope;
        return body();
    } catch (...) {
        return 1;
    }
}

// A toolchain description record the host may pass: right size and both texts present.
[[nodiscard]] inline bool IsWellFormed(const VivoToolchainRecord* record) {
    return record != nullptr && record->size == 12 && record->name != nullptr && record->version != nullptr;
}

}  // namespace vivo
