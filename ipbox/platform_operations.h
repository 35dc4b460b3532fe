#pragma once

#include "ipbox/handles.h"
#include "ipbox/packed_address.h"

#include <cstdint>

namespace setip {

// The window-system calls the control makes, with the arguments it passes. On Windows they go to the system; a
// build without Windows supplies the same calls over its own address field. A handle the implementation does not
// know (0 among them) makes SendMessageA and MoveWindow do nothing.
class PlatformOperations {
public:
    virtual ~PlatformOperations() = default;

    // Gives the new window's handle, or 0 when it cannot be created. Both texts are 8-bit and NUL-terminated.
    virtual WindowHandle CreateWindowExA(std::uint32_t extendedStyle, const char* className, const char* windowText,
                                         std::uint32_t style, std::int32_t x, std::int32_t y, std::int32_t width,
                                         std::int32_t height, WindowHandle parent, std::intptr_t childId,
                                         InstanceHandle instance, void* creationData) = 0;
    virtual ObjectHandle GetStockObject(std::int32_t object) = 0;
    virtual LResult SendMessageA(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam) = 0;
    virtual bool MoveWindow(WindowHandle window, std::int32_t x, std::int32_t y, std::int32_t width,
                            std::int32_t height, bool repaint) = 0;

    // RtlMoveMemory of 4 bytes between the packed-order buffer and a 32-bit variable, one call per direction.
    // Named apart from the original, which windows.h defines as a macro. Both mean little-endian order.
    virtual void moveMemory(std::uint32_t& destination, const PackedOrderBuffer& source) {
        destination = packedFromBuffer(source);
    }
    virtual void moveMemory(PackedOrderBuffer& destination, const std::uint32_t& source) {
        destination = bufferFromPacked(source);
    }
};

}  // namespace setip
