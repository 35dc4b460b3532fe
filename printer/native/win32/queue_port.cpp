#include "printer/native/ports.h"
#include "printer/native/win32/system_failure.h"
#include "printer/native/win32/wide_text.h"

#include <windows.h>
#include <winspool.h>

#include <memory>
#include <utility>

namespace setip::native {
namespace {

std::string quoted(const std::string& queue) { return "\"" + queue + "\""; }

struct PrinterClose {
    void operator()(HANDLE printer) const { ::ClosePrinter(printer); }
};
using PrinterHandle = std::unique_ptr<void, PrinterClose>;

// A RAW document open on the queue, with its one page. Unless finished, it is aborted, so a failed press never
// leaves half a job in the spooler.
class Document {
public:
    Document(HANDLE printer, const std::string& queue) : printer_(printer) {
        DOC_INFO_1W info{};
        wchar_t documentName[] = L"setip set address";
        wchar_t dataType[] = L"RAW";
        info.pDocName = documentName;
        info.pDatatype = dataType;
        if (::StartDocPrinterW(printer_, 1, reinterpret_cast<BYTE*>(&info)) == 0) {
            throw systemFailure("start a document on printer queue", quoted(queue), ::GetLastError());
        }
        if (!::StartPagePrinter(printer_)) {
            const DWORD error = ::GetLastError();
            ::AbortPrinter(printer_);
            throw systemFailure("start a page on printer queue", quoted(queue), error);
        }
    }
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;
    ~Document() {
        if (printer_ != nullptr) ::AbortPrinter(printer_);
    }

    void finish(const std::string& queue) {
        HANDLE printer = std::exchange(printer_, nullptr);
        const bool pageEnded = ::EndPagePrinter(printer);
        const DWORD pageError = ::GetLastError();
        if (!::EndDocPrinter(printer)) throw systemFailure("finish the job on printer queue", quoted(queue), ::GetLastError());
        if (!pageEnded) throw systemFailure("finish the page on printer queue", quoted(queue), pageError);
    }

private:
    HANDLE printer_;
};

class QueuePort final : public Port {
public:
    QueuePort(PrinterHandle printer, std::string queue) : queue_(std::move(queue)), printer_(std::move(printer)) {}

    void startDoc() override {
        document_.reset();
        document_ = std::make_unique<Document>(printer_.get(), queue_);
    }

    void write(std::span<const std::uint8_t> bytes) override {
        if (!document_) throw PortFailure("cannot write to printer queue " + quoted(queue_) + ": no document is started");
        while (!bytes.empty()) {
            const auto piece = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 20));
            DWORD written = 0;
            if (!::WritePrinter(printer_.get(), const_cast<std::uint8_t*>(bytes.data()), piece, &written)) {
                throw systemFailure("send to printer queue", quoted(queue_), ::GetLastError());
            }
            if (written == 0) throw PortFailure("cannot send to printer queue " + quoted(queue_) + ": it took nothing");
            bytes = bytes.subspan(written);
        }
    }

    void endDoc() override {
        if (!document_) throw PortFailure("cannot finish on printer queue " + quoted(queue_) + ": no document is started");
        const std::unique_ptr<Document> document = std::move(document_);
        document->finish(queue_);
    }

    void close() override {
        document_.reset();
        printer_.reset();
    }

private:
    std::string queue_;
    PrinterHandle printer_;
    std::unique_ptr<Document> document_;  // destroyed before the printer handle it uses
};

}  // namespace

std::unique_ptr<Port> openQueuePort(std::string_view name) {
    const std::string queue{name};
    // An empty name would open the print server itself, not a queue.
    if (queue.empty()) throw PortFailure("no printer queue is chosen (is a printer installed?)");
    std::wstring wide = wideFromAnsi(queue);
    HANDLE printer = nullptr;
    if (!::OpenPrinterW(wide.data(), &printer, nullptr)) {
        throw systemFailure("open printer queue", quoted(queue), ::GetLastError());
    }
    return std::make_unique<QueuePort>(PrinterHandle{printer}, queue);
}

}  // namespace setip::native
