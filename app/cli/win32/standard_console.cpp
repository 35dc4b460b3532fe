#include "app/cli/standard_console.h"

#include "common/unique_resource.h"
#include "common/win32/wide_text.h"

#include <windows.h>
#include <shellapi.h>

#include <ostream>
#include <streambuf>

namespace setip::cli {
namespace {

// A stream buffer over a standard handle. A console takes whole UTF-8 sequences as UTF-16 through WriteConsoleW; a
// file or a pipe takes the UTF-8 bytes as they are.
class HandleBuffer final : public std::streambuf {
public:
    explicit HandleBuffer(DWORD which) : handle_(::GetStdHandle(which)) {
        DWORD mode = 0;
        console_ = handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE && ::GetConsoleMode(handle_, &mode);
        setp(buffer_, buffer_ + sizeof buffer_);
    }
    ~HandleBuffer() override { sync(); }

    bool isConsole() const { return console_; }

protected:
    int overflow(int character) override {
        if (sync() != 0) return traits_type::eof();
        if (character != traits_type::eof()) sputc(static_cast<char>(character));
        return traits_type::not_eof(character);
    }

    int sync() override {
        std::size_t length = static_cast<std::size_t>(pptr() - pbase());
        // A sequence cut at the buffer's end waits for the rest of its bytes.
        std::size_t whole = length;
        if (console_) {
            std::size_t start = length;
            while (start > 0 && (static_cast<unsigned char>(buffer_[start - 1]) & 0xC0) == 0x80) --start;
            if (start > 0 && static_cast<unsigned char>(buffer_[start - 1]) >= 0xC0) whole = start - 1;
        }
        const bool written = console_ ? writeConsole({buffer_, whole}) : writeFile({buffer_, whole});
        std::char_traits<char>::move(buffer_, buffer_ + whole, length - whole);
        setp(buffer_, buffer_ + sizeof buffer_);
        pbump(static_cast<int>(length - whole));
        return written ? 0 : -1;
    }

private:
    bool writeConsole(std::string_view text) const {
        const std::wstring wide = wideFromUtf8(text);
        DWORD written = 0;
        return wide.empty() || ::WriteConsoleW(handle_, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    }
    bool writeFile(std::string_view bytes) const {
        DWORD written = 0;
        return bytes.empty() || ::WriteFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    }

    HANDLE handle_;
    bool console_ = false;
    char buffer_[4096];
};

}  // namespace

struct StandardConsole::Streams {
    HandleBuffer outBuffer{STD_OUTPUT_HANDLE};
    HandleBuffer errBuffer{STD_ERROR_HANDLE};
    std::ostream out{&outBuffer};
    std::ostream err{&errBuffer};
};

StandardConsole::StandardConsole()
    : streams_(std::make_unique<Streams>()),
      console_(std::make_unique<Console>(Console{streams_->out, streams_->err, streams_->errBuffer.isConsole()})) {}

StandardConsole::~StandardConsole() {
    streams_->out.flush();
    streams_->err.flush();
}

// From the wide command line: the narrow argv is in the ANSI code page, which loses what it lacks.
std::vector<std::string> argumentsOf(int, char**) {
    int count = 0;
    const UniqueResource<PointerHandleTraits<LPWSTR*, ::LocalFree>> arguments{
        ::CommandLineToArgvW(::GetCommandLineW(), &count)};
    std::vector<std::string> utf8;
    for (int index = 1; arguments && index < count; ++index) utf8.push_back(utf8FromWide(arguments.get()[index]));
    return utf8;
}

}  // namespace setip::cli
