// Draws setip's icon: the .ico with the eight images the program carries, and PNGs of the same art for the
// Linux desktop. Run it after changing the art, into app/icon, and commit what it writes.
#include "tools/draw-icon/art.h"
#include "tools/draw-icon/ico_writer.h"
#include "tools/draw-icon/palette.h"
#include "tools/draw-icon/png_writer.h"

#include <filesystem>
#include <fstream>
#include <iostream>

namespace {

using namespace setip::icon;

bool writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) std::cerr << "draw-icon: cannot write " << path << '\n';
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: draw-icon OUTPUT-DIRECTORY\n";
        return 2;
    }
    const std::filesystem::path directory = argv[1];
    std::error_code error;
    std::filesystem::create_directories(directory, error);

    const auto palette256 = standardPalette(256);
    std::vector<IconImage> images;
    for (const int size : {16, 32, 48}) images.emplace_back(toIndexed(drawReceiptPrinter(size), palette256));
    for (const int size : {16, 32, 48}) images.emplace_back(drawReceiptPrinter(size));
    images.emplace_back(toIndexed(drawReceiptPrinter(32), standardPalette(2)));
    images.emplace_back(toIndexed(drawReceiptPrinter(48), standardPalette(16)));

    bool written = writeFile(directory / "setip.ico", icoFile(images));
    for (const int size : {16, 32, 48, 64, 128}) {
        written = writeFile(directory / ("setip-" + std::to_string(size) + ".png"), pngFile(drawReceiptPrinter(size))) &&
                  written;
    }
    return written ? 0 : 1;
}
