#include "printer/builtin/queue_port.h"

#include "common/unique_resource.h"
#include "common/win32/wide_text.h"

#include <windows.h>
#include <winspool.h>

#include <algorithm>
#include <utility>

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

std::unique_ptr<Port> openNamedQueue(const std::string& queue) {
    std::wstring wide = wideFromUtf8(queue);
    HANDLE printer = nullptr;
    if (!::OpenPrinterW(wide.data(), &printer, nullptr)) {
        throw systemFailure("open printer queue", quoted(queue), ::GetLastError());
    }
    return std::make_unique<SpoolerQueue>(PrinterHandle{printer}, queue);
}

}  // namespace setip::builtin
