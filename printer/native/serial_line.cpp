#include "printer/native/serial_line.h"

#include "printer/native/deadlines.h"

#include <chrono>
#include <thread>

namespace setip::native {

void SerialLine::endDoc() {
    if (!drainBefore(deadlineAfter(writeBudget))) {
        throw PortFailure("cannot send to " + path_ + ": the line sent nothing for " +
                          std::to_string(writeBudget.count()) + " s");
    }
}

void SerialLine::close() {
    const bool drained = drainBefore(deadlineAfter(closeBudget));
    if (!drained) discardOutput();
    release();
    if (!drained) throw PortFailure("cannot finish sending to " + path_ + ": unsent bytes were dropped");
}

bool SerialLine::drainBefore(Deadline deadline) const {
    while (pendingOutput() > 0) {
        if (millisecondsLeft(deadline) == 0) return false;
        std::this_thread::sleep_for(std::chrono::microseconds{500});
    }
    return true;
}

}  // namespace setip::native
