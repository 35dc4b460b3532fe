// Presses "Set IP" once, as the window would: press_probe PORT QUEUE BAUDRATE. Exits 0 when the command was sent and,
// for a queue, the system lists QUEUE. The script around it checks what reached the far side. The arguments come from
// the wide command line, so a queue's name arrives whole in any code page.
#include "printer/builtin/builtin_library.h"
#include "printer/builtin/queue_port.h"
#include "printer/press.h"

#include <algorithm>
#include <iostream>

int wmain(int argc, wchar_t** argv) {
    using namespace setip;
    if (argc != 4) return 2;
    const auto text = [](const wchar_t* argument) { return Text{reinterpret_cast<const char16_t*>(argument)}; };
    const PressRequest request{text(argv[1]), u"", text(argv[2]), text(argv[3]), u"10.0.0.7"};
    const auto installed = builtin::installedQueues();
    if (request.port == u"DRIVER" && std::ranges::find(installed, request.queue) == installed.end()) {
        std::cerr << "FAIL: the spooler does not list the queue " << toUtf8(request.queue) << '\n';
        return 1;
    }
    builtin::BuiltinLibrary library;
    const PressOutcome outcome = pressSetIp(request, library);
    if (!outcome.sent()) {
        std::cerr << "FAIL: " << outcome.reason << '\n';
        return 1;
    }
    return 0;
}
