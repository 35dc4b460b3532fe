#include "printer/builtin/queue_port.h"

#include "common/unique_resource.h"

#include <cups/cups.h>
#include <sys/socket.h>

#include <chrono>
#include <cstring>
#include <exception>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace setip::builtin {
namespace {

using Http = UniqueResource<PointerHandleTraits<http_t*, httpClose>>;
using Ipp = UniqueResource<PointerHandleTraits<ipp_t*, ippDelete>>;

// A press runs without a terminal, so libcups must never stop to ask for a password.
const char* noPassword(const char*, http_t*, const char*, const char*, void*) { return nullptr; }

bool succeeded(ipp_status_t status) { return status <= IPP_STATUS_OK_CONFLICTING; }

// libcups's words for a request that failed. A request the server never answered is told as an internal error whose
// words are those of no error at all.
std::string reasonFor(const Ipp& response) {
    const std::string said = cupsLastErrorString();
    if (!response && said == std::strerror(0)) {
        return "the print server gave no answer within " + std::to_string(writeBudget.count()) + " s";
    }
    return said;
}

std::string printerUri(const std::string& queue) {
    char uri[HTTP_MAX_URI];
    if (httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                         "/printers/%s", queue.c_str()) < HTTP_URI_STATUS_OK) {
        throw PrinterFailure(quoted(queue) + " cannot be the name of a printer queue");
    }
    return uri;
}

// Connects to the print server this user's CUPS settings name, within the connect deadline. Every later wait on
// the connection is bounded by the write deadline.
Http connectToServer(const std::string& queue) {
    cupsSetPasswordCB2(noPassword, nullptr);
    const std::string server = cupsServer();
    Http http{httpConnect2(server.c_str(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                           static_cast<int>(std::chrono::milliseconds{connectBudget}.count()), nullptr)};
    if (!http) {
        // libcups keeps the OS's reason from the connect that failed; errno is overwritten by its clean-up.
        // A local socket is named by its path; a TCP server also by the port it was tried on.
        const std::string shown = server.starts_with('/') ? server : server + ":" + std::to_string(ippPort());
        throw PrinterFailure("cannot reach the print server " + shown + " for printer queue " + quoted(queue) + ": " +
                          cupsLastErrorString() + " (is cupsd running?)");
    }
    httpSetTimeout(http.get(), std::chrono::duration<double>{writeBudget}.count(), nullptr, nullptr);
    return http;
}

Ipp newRequest(ipp_op_t operation, const std::string& uri) {
    Ipp request{ippNewRequest(operation)};
    ippAddString(request.get(), IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri.c_str());
    ippAddString(request.get(), IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    return request;
}

// Asks for the queue by name. Only that queue will do: a missing one is an error, never the default queue.
void checkQueue(http_t* http, const std::string& queue, const std::string& uri) {
    Ipp request = newRequest(IPP_OP_GET_PRINTER_ATTRIBUTES, uri);
    ippAddString(request.get(), IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
                 "printer-is-accepting-jobs");
    const Ipp response{cupsDoRequest(http, request.release(), "/")};
    const ipp_status_t status = cupsLastError();
    if (status == IPP_STATUS_ERROR_NOT_FOUND) {
        throw PrinterFailure("there is no printer queue " + quoted(queue) + " on the print server " + cupsServer());
    }
    if (!succeeded(status) || !response) {
        throw PrinterFailure("cannot look up printer queue " + quoted(queue) + ": " + reasonFor(response));
    }
    ipp_attribute_t* accepting = ippFindAttribute(response.get(), "printer-is-accepting-jobs", IPP_TAG_BOOLEAN);
    if (accepting != nullptr && !ippGetBoolean(accepting, 0)) {
        throw PrinterFailure("printer queue " + quoted(queue) + " is not accepting jobs (cupsaccept " + queue +
                          " lets it)");
    }
}

// A job created on the server and not yet finished. Unless given up, it is cancelled over a connection of its
// own, because the one it was being sent on may be in the middle of a request.
struct Job {
    std::string queue;
    int id = 0;
};

struct UnfinishedJobTraits {
    using Handle = Job;
    static Job none() noexcept { return {}; }
    static bool valid(const Job& job) noexcept { return job.id != 0; }
    static void release(const Job& job) noexcept {
        try {
            const Http http = connectToServer(job.queue);
            cupsCancelJob2(http.get(), job.queue.c_str(), job.id, 0);
        } catch (const std::exception&) {
            // The server is gone, and the unfinished job with it.
        }
    }
};
using UnfinishedJob = UniqueResource<UnfinishedJobTraits>;

class CupsQueue final : public QueuePort {
public:
    CupsQueue(Http http, std::string queue, std::string uri)
        : QueuePort(std::move(queue)), uri_(std::move(uri)), http_(std::move(http)) {}

    ~CupsQueue() override { abandonJob(); }

    void startDoc() override {
        abandonJob();
        http_t* http = connection();
        Ipp request = newRequest(IPP_OP_CREATE_JOB, uri_);
        ippAddString(request.get(), IPP_TAG_OPERATION, IPP_TAG_NAME, "job-name", nullptr, "setip set address");
        const Ipp response{cupsDoRequest(http, request.release(), ("/printers/" + queue()).c_str())};
        ipp_attribute_t* idAttribute = ippFindAttribute(response.get(), "job-id", IPP_TAG_INTEGER);
        if (!succeeded(cupsLastError()) || idAttribute == nullptr) {
            throw PrinterFailure("cannot create a job on printer queue " + quoted(queue()) + ": " + reasonFor(response));
        }
        const int id = ippGetInteger(idAttribute, 0);
        job_.reset({queue(), id});
        if (cupsStartDocument(http, queue().c_str(), id, "set-address", CUPS_FORMAT_RAW, 1) != HTTP_STATUS_CONTINUE) {
            fail("cannot start the document on printer queue ");
        }
    }

    void close() override {
        abandonJob();
        http_.reset();
    }

private:
    bool hasDocument() const override { return static_cast<bool>(job_); }

    void writeDocument(std::span<const std::uint8_t> bytes) override {
        if (cupsWriteRequestData(http_.get(), reinterpret_cast<const char*>(bytes.data()), bytes.size()) !=
            HTTP_STATUS_CONTINUE) {
            fail("cannot send to printer queue ");
        }
    }

    void finishDocument() override {
        if (!succeeded(cupsFinishDocument(http_.get(), queue().c_str()))) fail("cannot finish the job on printer queue ");
        job_.release();  // the server has the whole document now; the job is its to print
    }

    http_t* connection() {
        if (!http_) http_ = connectToServer(queue());
        return http_.get();
    }

    // Drops the connection first, which stops an upload half way, and then cancels the job.
    void abandonJob() {
        if (!job_) return;
        http_.reset();
        job_.reset();
    }

    [[noreturn]] void fail(const std::string& what) {
        const std::string reason = cupsLastErrorString();
        abandonJob();
        throw PrinterFailure(what + quoted(queue()) + ": " + reason);
    }

    std::string uri_;
    UnfinishedJob job_;
    Http http_;
};

// Listing waits at most this long for the print server.
constexpr int listDeadlineMilliseconds = 2000;

int collectName(void* userData, unsigned flags, cups_dest_t* dest) {
    // An instance is a saved set of options for a queue listed on its own, not another printer.
    if ((flags & CUPS_DEST_FLAGS_REMOVED) == 0 && dest->instance == nullptr) {
        static_cast<std::vector<Text>*>(userData)->push_back(fromUtf8(dest->name));
    }
    return 1;
}

}  // namespace

std::vector<Text> installedQueues() {
    std::vector<Text> names;
    // Only queues that are set up on this machine: the mask leaves out printers merely found on the network,
    // which also keeps the list from waiting on network discovery. A server that is not running lists nothing.
    cupsEnumDests(CUPS_DEST_FLAGS_NONE, listDeadlineMilliseconds, nullptr, 0, CUPS_PRINTER_DISCOVERED,
                  &collectName, &names);
    return names;
}

std::unique_ptr<Port> openNamedQueue(const std::string& queue) {
    const std::string uri = printerUri(queue);
    Http http = connectToServer(queue);
    checkQueue(http.get(), queue, uri);
    return std::make_unique<CupsQueue>(std::move(http), queue, uri);
}

}  // namespace setip::builtin
