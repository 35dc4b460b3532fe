#include "common/win32/unique_handle.h"
#include "common/win32/wide_text.h"
#include "tests/native/silent_listeners.h"
#include "tests/support/table.h"
#include "tests/win32/winsock_peer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

namespace setip {
namespace {

using namespace std::chrono_literals;
using testing_support::WinsockListener;

// setip-cli.exe find, run as Windows runs a console program, against Winsock listeners on loopback at one port:
// listeners that take a connection and never answer, and silent ones whose backlog is full. "{port}" in a row stands
// for that port.
struct FindRun {
    const char* name;
    std::vector<std::string> listening;  // hosts with a listener at the port
    int silent;                          // 127.0.0.1 and on, this many, silent at the port
    std::string arguments;
    int exitCode;
    std::string out;  // the whole standard output
    std::chrono::milliseconds within;
    friend void PrintTo(const FindRun& row, std::ostream* out) {
        *out << row.name << ": setip-cli " << row.arguments << ", " << row.silent << " silent";
    }
};

std::string withPort(std::string text, std::uint16_t port) {
    for (std::size_t at; (at = text.find("{port}")) != std::string::npos;) text.replace(at, 6, std::to_string(port));
    return text;
}

std::string contents(const std::filesystem::path& path) {
    std::ostringstream text;
    text << std::ifstream{path, std::ios::binary}.rdbuf();
    return text.str();
}

struct Finished {
    DWORD exitCode = 0;
    std::string out;
    std::string err;
};

// setip-cli.exe, from its place in the build beside this test's, with its output in files; nothing if it runs a
// minute.
std::optional<Finished> runSetipCli(const std::string& arguments) {
    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    const auto exe = (std::filesystem::path{self}.parent_path() / SETIP_CLI_FROM_HERE).lexically_normal();
    const auto folder = std::filesystem::temp_directory_path();
    const auto outPath = folder / ("find-out-" + std::to_string(::GetCurrentProcessId()));
    const auto errPath = folder / ("find-err-" + std::to_string(::GetCurrentProcessId()));
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    const auto create = [&](const std::filesystem::path& path) {
        // Shared for deleting too: under Wine the child's console host has been seen to hold them a moment longer.
        return UniqueHandle{::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE |
                                          FILE_SHARE_DELETE, &inherited, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)};
    };
    Finished finished;
    {
        const UniqueHandle out = create(outPath), err = create(errPath);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = out.get();
        startup.hStdError = err.get();
        std::wstring commandLine = L"\"" + exe.wstring() + L"\" " + wideFromUtf8(arguments);
        PROCESS_INFORMATION process{};
        if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                              &startup, &process)) {
            ADD_FAILURE() << "cannot start " << exe << ": error " << ::GetLastError();
            return std::nullopt;
        }
        const UniqueHandle child{process.hProcess}, thread{process.hThread};
        if (::WaitForSingleObject(child.get(), 60'000) != WAIT_OBJECT_0) {
            ::TerminateProcess(child.get(), 1);
            return std::nullopt;
        }
        ::GetExitCodeProcess(child.get(), &finished.exitCode);
    }
    finished.out = contents(outPath);
    finished.err = contents(errPath);
    std::error_code ignored;
    std::filesystem::remove(outPath, ignored);
    std::filesystem::remove(errPath, ignored);
    return finished;
}

class SetipCliFind : public testing::TestWithParam<FindRun> {};

TEST_P(SetipCliFind, ExitsAndListsAsOnLinux) {
    const FindRun& row = GetParam();
    std::vector<std::string> silentHosts;
    for (int last = 1; last <= row.silent; ++last) silentHosts.push_back("127.0.0." + std::to_string(last));
    std::optional<testing_support::SilentListeners> silent;
    if (row.silent > 0) silent.emplace(silentHosts);
    const std::uint16_t port = silent ? silent->port() : WinsockListener{}.port();  // free, if only just
    std::vector<std::unique_ptr<WinsockListener>> listeners;
    for (const auto& host : row.listening) listeners.push_back(std::make_unique<WinsockListener>(16, host, port));

    const auto started = Clock::now();
    const auto finished = runSetipCli(withPort(row.arguments, port));
    const auto took = Clock::now() - started;
    ASSERT_TRUE(finished) << "setip-cli.exe ran for a minute";
    EXPECT_EQ(finished->exitCode, static_cast<DWORD>(row.exitCode)) << finished->err;
    EXPECT_EQ(finished->out, withPort(row.out, port)) << finished->err;
    EXPECT_LT(took, row.within);
}

INSTANTIATE_TEST_SUITE_P(Rows, SetipCliFind, testing::Values(
    FindRun{"two listeners of a /28 are listed by address", {"127.0.0.9", "127.0.0.3"}, 0,
            "find 127.0.0.0/28 --port {port}", 0, "ADDRESS          PORT\n127.0.0.3        {port}\n127.0.0.9        {port}\n",
            30s},
    FindRun{"nothing answering ends with 1 and no table", {}, 0, "find 127.0.0.0/28 --port {port}", 1, "", 30s},
    FindRun{"a listener that sends no status byte back shows none", {"127.0.0.9"}, 0,
            "find 127.0.0.9 --port {port} --identify --timeout 0.5", 0,
            "ADDRESS          PORT   STATUS\n127.0.0.9        {port}  none\n", 30s},
    // Winsock's select takes 64 sockets unless told more: a scan that waited on 64 at a time would take two deadlines
    // here, 6 s at the least. 5.5 s leaves 2.5 s for Wine to start the program.
    FindRun{"a /24 with a hundred silent hosts takes about one deadline and misses no listener past them",
            {"127.0.0.200"}, 100, "find 127.0.0.0/24 --port {port} --timeout 3", 0,
            "ADDRESS          PORT\n127.0.0.200      {port}\n", 5500ms}),
    testing_support::RowName{});

}  // namespace
}  // namespace setip
