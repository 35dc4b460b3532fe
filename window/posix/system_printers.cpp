#include "window/installed_printers.h"

#include <cups/cups.h>

namespace setip {
namespace {

// Start-up waits at most this long for the print server's list.
constexpr int listDeadlineMilliseconds = 2000;

int collectName(void* userData, unsigned flags, cups_dest_t* dest) {
    // An instance is a saved set of options for a queue listed on its own, not another printer.
    if ((flags & CUPS_DEST_FLAGS_REMOVED) == 0 && dest->instance == nullptr) {
        static_cast<std::vector<Text>*>(userData)->push_back(fromUtf8(dest->name));
    }
    return 1;
}

}  // namespace

std::vector<Text> systemPrinterNames() {
    std::vector<Text> names;
    // Only queues that are set up on this machine: the mask leaves out printers merely found on the network,
    // which also keeps start-up from waiting on network discovery. A server that is not running lists nothing.
    cupsEnumDests(CUPS_DEST_FLAGS_NONE, listDeadlineMilliseconds, nullptr, 0, CUPS_PRINTER_DISCOVERED,
                  &collectName, &names);
    return names;
}

}  // namespace setip
