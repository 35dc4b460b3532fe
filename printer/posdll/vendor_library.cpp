#include "printer/posdll/vendor_library.h"

#include "printer/posdll/entries.h"
#include "printer/posdll/shared_library.h"

#include <string>
#include <utility>

namespace setip::posdll {
namespace {

// One entry, looked up by name the first time it is called and kept from then on.
template <typename Function>
class LateEntry {
public:
    explicit LateEntry(const char* name) : name_(name) {}

    Function get(const SharedLibrary& library) {
        if (function_ == nullptr) function_ = reinterpret_cast<Function>(library.find(name_));
        return function_;
    }

private:
    const char* name_;
    Function function_ = nullptr;
};

class VendorLibrary final : public PrinterLibrary {
public:
    explicit VendorLibrary(std::unique_ptr<SharedLibrary> library) : library_(std::move(library)) {}

    std::int32_t POS_Open(const char* name, std::int32_t baudRate, std::int32_t dataBits, std::int32_t stopBits,
                          std::int32_t parity, std::int32_t openMode) override {
        const auto entry = open_.get(*library_);
        if (entry == nullptr) return failedHandle;
        // The library may write into the name, so it gets a copy of its own.
        std::string buffer{name ? name : ""};
        return entry(buffer.data(), baudRate, dataBits, stopBits, parity, openMode);
    }

    std::int32_t POS_StartDoc() override { return call(startDoc_); }

    std::int32_t POS_WriteFile(std::int32_t handle, const std::uint8_t* bytes, std::int32_t count) override {
        const auto entry = writeFile_.get(*library_);
        return entry ? entry(handle, bytes, count) : -1;
    }

    std::int32_t POS_EndDoc() override { return call(endDoc_); }
    std::int32_t POS_Close() override { return call(close_); }
    // What the vendor's entries give back is not documented, so a press reads none of it.
    bool reportsResults() const override { return false; }

private:
    std::int32_t call(LateEntry<PosNoArgumentEntry>& late) {
        const auto entry = late.get(*library_);
        return entry ? entry() : -1;
    }

    std::unique_ptr<SharedLibrary> library_;
    LateEntry<PosOpenEntry> open_{"POS_Open"};
    LateEntry<PosNoArgumentEntry> startDoc_{"POS_StartDoc"};
    LateEntry<PosWriteFileEntry> writeFile_{"POS_WriteFile"};
    LateEntry<PosNoArgumentEntry> endDoc_{"POS_EndDoc"};
    LateEntry<PosNoArgumentEntry> close_{"POS_Close"};
};

}  // namespace

std::unique_ptr<PrinterLibrary> bindVendorLibrary(const std::string& fileName) {
    auto library = loadSharedLibrary(fileName);
    for (const char* name : entryNames) {
        if (library->find(name) == nullptr) {
            throw BindFailure("the printer library " + fileName + " has no entry " + name + ", so it cannot be used");
        }
    }
    return std::make_unique<VendorLibrary>(std::move(library));
}

}  // namespace setip::posdll
