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

// True when any of the checked pointers is null.
template <class... P>
[[nodiscard]] constexpr bool AnyNull(const P*... pointers) {
    return ((pointers == nullptr) || ...);
}

// Runs an export's body inside the frame. Whatever the body throws becomes result 1.
template <class Body>
[[nodiscard]] int32_t RunExport(Body&& body) noexcept {
    try {
        const ResourceScope ownResources;  // the caller's come back on every way out
        return body();
    } catch (...) {
        return 1;
    }
}

}  // namespace vivo
