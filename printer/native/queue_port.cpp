#include "printer/native/ports.h"
#include "printer/native/queue.h"

namespace setip::native {

void QueuePort::write(std::span<const std::uint8_t> bytes) {
    if (!hasDocument()) throw PortFailure("cannot write to printer queue " + quoted(queue_) + ": no document is started");
    writeDocument(bytes);
}

void QueuePort::endDoc() {
    if (!hasDocument()) throw PortFailure("cannot finish on printer queue " + quoted(queue_) + ": no document is started");
    finishDocument();
}

std::unique_ptr<Port> openQueuePort(std::string_view name) {
    const std::string queue{name};
    // An empty name would open the print server itself, not a queue.
    if (queue.empty()) throw PortFailure("no printer queue is chosen (is a printer installed?)");
    return openNamedQueue(queue);
}

}  // namespace setip::native
