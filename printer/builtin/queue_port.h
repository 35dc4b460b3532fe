#pragma once

#include "common/text.h"
#include "printer/builtin/port.h"

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace setip::builtin {

// An installed printer queue, by its name, on the system's print service: CUPS, or the spooler. Never the default
// queue: a name the service does not have is refused, and so is the empty name.
std::unique_ptr<Port> openQueuePort(std::string_view name);

// The names of the queues installed on this machine, in the print service's own order: what openQueuePort takes. A
// print service that is not running has none. One file for each system.
std::vector<Text> installedQueues();

// What a queue does on every system: bytes go in a raw document that startDoc begins and endDoc hands over. One
// file for each system does the rest, and opens the named queue.
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

std::unique_ptr<Port> openNamedQueue(const std::string& queue);

}  // namespace setip::builtin
