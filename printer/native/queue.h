#pragma once

#include "common/text.h"
#include "printer/native/port.h"

#include <memory>
#include <span>
#include <string>

namespace setip::native {

// An installed printer queue, on the system's print service (CUPS, or the spooler). Bytes go in a raw document that
// startDoc begins and endDoc hands over; one file for each system does the rest.
class QueuePort : public Port {
public:
    void write(std::span<const std::uint8_t> bytes) final;
    void endDoc() final;

protected:
    explicit QueuePort(std::string queue) : queue_(std::move(queue)) {}

    virtual bool hasDocument() const = 0;
    virtual void writeDocument(std::span<const std::uint8_t> bytes) = 0;
    virtual void finishDocument() = 0;

    const std::string& queue() const { return queue_; }

private:
    std::string queue_;
};

// Opens the queue of that name on the system, never its default queue; throws PortFailure when there is none.
std::unique_ptr<Port> openNamedQueue(const std::string& queue);

}  // namespace setip::native
