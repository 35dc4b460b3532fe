#pragma once

#include "common/deadline.h"
#include "printer/native/port.h"

#include <cstddef>
#include <string>

namespace setip::native {

// What a serial port does alike on every OS: a press ends by waiting, bounded, for the line to send what it holds,
// because the OS's own drain can block for good when the line is held by flow control or a missing printer.
class SerialLine : public Port {
public:
    void endDoc() override;
    // Unsent bytes are dropped after the close deadline rather than holding the window.
    void close() override;

protected:
    explicit SerialLine(std::string path) : path_(std::move(path)) {}

    // Bytes the OS still holds for sending; throws PortFailure when it cannot say.
    virtual std::size_t pendingOutput() const = 0;
    virtual void discardOutput() = 0;
    // Lets the line go: after this the port holds no OS handle.
    virtual void release() = 0;

    const std::string& path() const { return path_; }

private:
    bool drainBefore(Deadline deadline) const;

    std::string path_;
};

}  // namespace setip::native
