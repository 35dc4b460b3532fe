#include "printer/builtin/serial_port.h"

#include <sys/ioctl.h>
#include <termios.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <optional>

namespace setip::builtin {
namespace {

struct BaudRate {
    std::int32_t bitsPerSecond;
    speed_t speed;
};

constexpr std::array baudRates{
    BaudRate{50, B50},         BaudRate{75, B75},         BaudRate{110, B110},       BaudRate{134, B134},
    BaudRate{150, B150},       BaudRate{200, B200},       BaudRate{300, B300},       BaudRate{600, B600},
    BaudRate{1200, B1200},     BaudRate{1800, B1800},     BaudRate{2400, B2400},     BaudRate{4800, B4800},
    BaudRate{9600, B9600},     BaudRate{19200, B19200},   BaudRate{38400, B38400},   BaudRate{57600, B57600},
    BaudRate{115200, B115200}, BaudRate{230400, B230400}, BaudRate{460800, B460800}, BaudRate{921600, B921600},
};

std::optional<speed_t> speedOf(std::int32_t bitsPerSecond) {
    const auto found = std::find_if(baudRates.begin(), baudRates.end(),
                                    [&](const BaudRate& rate) { return rate.bitsPerSecond == bitsPerSecond; });
    if (found == baudRates.end()) return std::nullopt;
    return found->speed;
}

termios lineSettings(termios settings, const LineSettings& wanted, const std::string& path) {
    const auto speed = speedOf(wanted.baudRate);
    if (!speed) {
        throw PrinterFailure("cannot open " + path + ": " + std::to_string(wanted.baudRate) +
                          " is not a baud rate a serial port takes");
    }
    ::cfmakeraw(&settings);
    settings.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    settings.c_cflag &= ~static_cast<tcflag_t>(CSIZE | CSTOPB | PARENB | PARODD | CRTSCTS | HUPCL);
    settings.c_cflag |= CLOCAL | CREAD;
    switch (wanted.dataBits) {
        case 5: settings.c_cflag |= CS5; break;
        case 6: settings.c_cflag |= CS6; break;
        case 7: settings.c_cflag |= CS7; break;
        case 8: settings.c_cflag |= CS8; break;
        default:
            throw PrinterFailure("cannot open " + path + ": " + std::to_string(wanted.dataBits) +
                              " data bits is not a setting a serial port takes");
    }
    checkStopBitsAndParity(wanted, path);
    if (wanted.stopBits == 2) settings.c_cflag |= CSTOPB;
    if (wanted.parity == 1) settings.c_cflag |= PARENB | PARODD;
    if (wanted.parity == 2) settings.c_cflag |= PARENB;
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = 0;
    ::cfsetispeed(&settings, *speed);
    ::cfsetospeed(&settings, *speed);
    return settings;
}

}  // namespace

void setUpLine(const DeviceFile& line, const LineSettings& settings, const std::string& path) {
    termios current{};
    if (::tcgetattr(line.get(), &current) != 0) throw systemFailure("use", path + " as a serial port", lastSystemError());
    if (::ioctl(line.get(), TIOCEXCL) != 0) throw systemFailure("take exclusive use of", path, lastSystemError());

    const termios wanted = lineSettings(current, settings, path);
    if (::tcsetattr(line.get(), TCSANOW, &wanted) != 0) throw systemFailure("set up", path, lastSystemError());
    // tcsetattr succeeds when any one setting took, so read back what the port really does now.
    termios applied{};
    if (::tcgetattr(line.get(), &applied) != 0) throw systemFailure("set up", path, lastSystemError());
    constexpr tcflag_t frame = CSIZE | CSTOPB | PARENB | PARODD;
    if (::cfgetospeed(&applied) != ::cfgetospeed(&wanted) || (applied.c_cflag & frame) != (wanted.c_cflag & frame)) {
        throw PrinterFailure("cannot set up " + path + ": it does not take " + std::to_string(settings.baudRate) +
                          " baud with these line settings");
    }
    ::tcflush(line.get(), TCIOFLUSH);
}

std::size_t pendingOutput(const DeviceFile& line, const std::string& path) {
    int pending = 0;
    if (::ioctl(line.get(), TIOCOUTQ, &pending) != 0) throw systemFailure("drain", path, lastSystemError());
    return pending > 0 ? static_cast<std::size_t>(pending) : 0;
}

void discardOutput(const DeviceFile& line) { ::tcflush(line.get(), TCOFLUSH); }

void releaseLine(DeviceFile& line) {
    ::ioctl(line.get(), TIOCNXCL);
    line.reset();
}

}  // namespace setip::builtin
