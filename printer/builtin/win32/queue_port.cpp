#include "printer/builtin/queue_port.h"

#include "common/unique_resource.h"
#include "common/win32/wide_text.h"

#include <windows.h>
#include <winspool.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace setip::builtin {
namespace {

using PrinterHandle = UniqueResource<PointerHandleTraits<HANDLE, ::ClosePrinter>>;

// A document started on a printer handle is aborted unless finished, so a failed press never leaves half a job in
// the spooler. The handle itself stays open.
using StartedDocument = UniqueResource<PointerHandleTraits<HANDLE, ::AbortPrinter>>;

// A RAW document open on the queue, with its one page.
StartedDocument startDocument(HANDLE printer, const std::string& queue) {
    DOC_INFO_1W info{};
    wchar_t documentName[] = L"setip set address";
    wchar_t dataType[] = L"RAW";
    info.pDocName = documentName;
    info.pDatatype = dataType;
    if (::StartDocPrinterW(printer, 1, reinterpret_cast<BYTE*>(&info)) == 0) {
        throw systemFailure("start a document on printer queue", quoted(queue), ::GetLastError());
    }
    StartedDocument document{printer};
    if (!::StartPagePrinter(printer)) {
        const DWORD error = ::GetLastError();
        document.reset();
        throw systemFailure("start a page on printer queue", quoted(queue), error);
    }
    return document;
}

void endDocument(StartedDocument document, const std::string& queue) {
    HANDLE printer = document.release();
    const bool pageEnded = ::EndPagePrinter(printer);
    const DWORD pageError = ::GetLastError();
    if (!::EndDocPrinter(printer)) throw systemFailure("finish the job on printer queue", quoted(queue), ::GetLastError());
    if (!pageEnded) throw systemFailure("finish the page on printer queue", quoted(queue), pageError);
}

class SpoolerQueue final : public QueuePort {
public:
    SpoolerQueue(PrinterHandle printer, std::string queue) : QueuePort(std::move(queue)), printer_(std::move(printer)) {}

    void startDoc() override {
        document_.reset();
        document_ = startDocument(printer_.get(), queue());
    }

    void close() override {
        document_.reset();
        printer_.reset();
    }

private:
    bool hasDocument() const override { return static_cast<bool>(document_); }

    void writeDocument(std::span<const std::uint8_t> bytes) override {
        while (!bytes.empty()) {
            const auto piece = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 20));
            DWORD written = 0;
            if (!::WritePrinter(printer_.get(), const_cast<std::uint8_t*>(bytes.data()), piece, &written)) {
                throw systemFailure("send to printer queue", quoted(queue()), ::GetLastError());
            }
            if (written == 0) throw PrinterFailure("cannot send to printer queue " + quoted(queue()) + ": it took nothing");
            bytes = bytes.subspan(written);
        }
    }

    void finishDocument() override { endDocument(std::move(document_), queue()); }

    PrinterHandle printer_;
    StartedDocument document_;  // destroyed before the printer handle it uses
};

}  // namespace

// The local printers and the connections to shared ones, in the spooler's own order. A spooler that is not
// running lists nothing.
std::vector<Text> installedQueues() {
    constexpr DWORD which = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
    DWORD needed = 0;
    DWORD count = 0;
    ::EnumPrintersW(which, nullptr, 4, nullptr, 0, &needed, &count);
    std::vector<Text> names;
    if (needed == 0) return names;
    // PRINTER_INFO_4W holds pointers, so the buffer is of them to keep its alignment.
    std::vector<PRINTER_INFO_4W> buffer(needed / sizeof(PRINTER_INFO_4W) + 1);
    if (!::EnumPrintersW(which, nullptr, 4, reinterpret_cast<BYTE*>(buffer.data()),
                         static_cast<DWORD>(buffer.size() * sizeof(PRINTER_INFO_4W)), &needed, &count)) {
        return names;
    }
    for (DWORD index = 0; index < count; ++index) {
        names.emplace_back(reinterpret_cast<const char16_t*>(buffer[index].pPrinterName));
    }
    return names;
}

std::unique_ptr<Port> openNamedQueue(const std::string& queue) {
    std::wstring wide = wideFromUtf8(queue);
    HANDLE printer = nullptr;
    if (!::OpenPrinterW(wide.data(), &printer, nullptr)) {
        throw systemFailure("open printer queue", quoted(queue), ::GetLastError());
    }
    return std::make_unique<SpoolerQueue>(PrinterHandle{printer}, queue);
}

}  // namespace setip::builtin
