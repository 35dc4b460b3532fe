#include "printer/builtin/queue_port.h"

namespace setip::builtin {

void QueuePort::write(std::span<const std::uint8_t> bytes) {
    if (!hasDocument()) throw PrinterFailure("cannot write to printer queue " + quoted(queue_) + ": no document is started");
    writeDocument(bytes);
}

void QueuePort::endDoc() {
    if (!hasDocument()) throw PrinterFailure("cannot finish on printer queue " + quoted(queue_) + ": no document is started");
    finishDocument();
}

std::unique_ptr<Port> openQueuePort(std::string_view name) {
    const std::string queue{name};
    // An empty name would open the print server itself, not a queue.
    if (queue.empty()) throw PrinterFailure("no printer queue is chosen (is a printer installed?)");
    return openNamedQueue(queue);
}

}  // namespace setip::builtin
