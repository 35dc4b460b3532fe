#include "printer/win32/vendor_library.h"

#include "common/win32/wide_text.h"
#include "printer/win32/library_search.h"
#include "printer/win32/posdll_call.h"

#include <utility>

namespace setip::vendor {
namespace {

// The five entries as the vendor library exports them. The name buffer is the library's to scribble on.
using PosOpenEntry = std::int32_t(SETIP_POSDLL_CALL*)(char* name, std::int32_t baudRate, std::int32_t dataBits,
                                                       std::int32_t stopBits, std::int32_t parity,
                                                       std::int32_t openMode);
using PosNoArgumentEntry = std::int32_t(SETIP_POSDLL_CALL*)();
using PosWriteFileEntry = std::int32_t(SETIP_POSDLL_CALL*)(std::int32_t handle, const std::uint8_t* bytes,
                                                            std::int32_t count);

constexpr const char* entryNames[] = {"POS_Open", "POS_StartDoc", "POS_WriteFile", "POS_EndDoc", "POS_Close"};

// The library's open mode for each kind of port, as POS_Open takes it.
std::int32_t openModeOf(PortKind kind) {
    switch (kind) {
        case PortKind::network: return 21;
        case PortKind::serial: return 1;
        case PortKind::parallel: return 18;
        case PortKind::driver: return 20;
    }
    return 0;
}

FARPROC entryOf(HMODULE module, const char* name) { return ::GetProcAddress(module, name); }

// One entry, looked up by name the first time it is called and kept from then on.
template <typename Function>
class LateEntry {
public:
    explicit LateEntry(const char* name) : name_(name) {}

    Function get(HMODULE module) {
        // Through void (*)(), the one function pointer type every other converts to and from.
        if (function_ == nullptr) function_ = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(entryOf(module, name_)));
        return function_;
    }

private:
    const char* name_;
    Function function_ = nullptr;
};

class VendorLibrary final : public PrinterLibrary {
public:
    VendorLibrary(LoadedLibrary library, std::string fileName)
        : library_(std::move(library)), fileName_(std::move(fileName)) {}

    std::int32_t open(PortKind kind, TextView name, const LineSettings& line) override {
        // A copy of its own in the ANSI code page, since the library may write into it.
        std::string buffer = ansiFromWide({reinterpret_cast<const wchar_t*>(name.data()), name.size()});
        const std::int32_t handle = open_.get(library_.get())(buffer.data(), line.baudRate, line.dataBits,
                                                             line.stopBits, line.parity, openModeOf(kind));
        if (handle == failedHandle) {
            throw PrinterFailure("the printer library " + fileName_ + " could not open " + quoted(toUtf8(name)));
        }
        return handle;
    }
    void startDoc() override { startDoc_.get(library_.get())(); }
    void write(std::int32_t handle, std::span<const std::uint8_t> bytes) override {
        writeFile_.get(library_.get())(handle, bytes.data(), static_cast<std::int32_t>(bytes.size()));
    }
    void endDoc() override { endDoc_.get(library_.get())(); }
    void close() override { close_.get(library_.get())(); }

private:
    LoadedLibrary library_;
    std::string fileName_;
    LateEntry<PosOpenEntry> open_{"POS_Open"};
    LateEntry<PosNoArgumentEntry> startDoc_{"POS_StartDoc"};
    LateEntry<PosWriteFileEntry> writeFile_{"POS_WriteFile"};
    LateEntry<PosNoArgumentEntry> endDoc_{"POS_EndDoc"};
    LateEntry<PosNoArgumentEntry> close_{"POS_Close"};
};

}  // namespace

std::unique_ptr<PrinterLibrary> bindVendorLibrary(const std::wstring& fileName) {
    LoadedLibrary library = loadLibrary(fileName);
    const std::string shown = utf8FromWide(fileName);
    for (const char* name : entryNames) {
        if (entryOf(library.get(), name) == nullptr) {
            throw PrinterFailure("the printer library " + shown + " has no entry " + name + ", so it cannot be used");
        }
    }
    return std::make_unique<VendorLibrary>(std::move(library), shown);
}

}  // namespace setip::vendor
