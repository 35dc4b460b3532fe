#include "printer/press.h"

#include "common/error.h"
#include "common/number.h"
#include "printer/set_address_command.h"

#include <exception>

namespace setip {
namespace {

// Opens the port the entry names with one library call. An entry that names no kind, or a serial entry whose baud
// rate is no number, opens nothing: that port cannot be opened, and the operator must be told why.
std::int32_t OpenPort(PrinterLibrary& library, const PressRequest& request) {
    const auto kind = portKindOf(request.port);
    if (!kind) {
        throw PrinterFailure(quoted(toUtf8(request.port)) + " names no port; it must start with ETH, COM, LPT or DRI");
    }
    switch (*kind) {
        case PortKind::network: return library.open(*kind, request.presentAddress, {});
        case PortKind::serial: {
            std::int32_t baudRate = 0;
            try {
                baudRate = toInteger32(request.baudRate);
            } catch (const Error&) {
                throw PrinterFailure(quoted(toUtf8(request.baudRate)) + " is not a number, so it is no baud rate for " +
                                     toUtf8(request.port));
            }
            return library.open(*kind, request.port, {baudRate, 8, 0, 0});
        }
        case PortKind::parallel: return library.open(*kind, request.port, {});
        case PortKind::driver: return library.open(*kind, request.queue, {});
    }
    throw PrinterFailure("a port of no known kind");
}

void ClosePort(PrinterLibrary& library) { library.close(); }

}  // namespace

PressOutcome pressSetIp(const PressRequest& request, PrinterLibrary& library) {
    SetAddressCommand command;
    try {
        command = setAddressCommand(parseNewAddress(request.newAddress));
    } catch (const Error&) {
        return {std::nullopt, PressStage::address,
                quoted(toUtf8(request.newAddress)) + " is not a new address: write four numbers from 0 to 255 with "
                                                      "dots between them"};
    }

    PressOutcome outcome;
    try {
        outcome.handle = OpenPort(library, request);
    } catch (const std::exception& refused) {
        return {failedHandle, PressStage::open, refused.what()};
    }

    // The first failure counts: what fails after it often fails only because of it.
    const auto step = [&](auto&& call) {
        try {
            call();
        } catch (const std::exception& failure) {
            if (outcome.sent()) outcome = {outcome.handle, PressStage::send, failure.what()};
        }
    };
    step([&] { library.startDoc(); });
    step([&] { library.write(*outcome.handle, command); });
    step([&] { library.endDoc(); });
    step([&] { ClosePort(library); });
    return outcome;
}

}  // namespace setip
