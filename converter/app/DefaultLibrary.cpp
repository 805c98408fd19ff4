// Draws the graphics library a fresh build offers: a few small pictures of our own, packed as
// "Graphics/default.tgl" beside the program. Run by the build with the library's path.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/Bmp.h"
#include "platform/Colour.h"
#include "platform/Picture.h"
#include "platform/Text.h"
#include "projects/GraphicsLibrary.h"

namespace {

using tess::Colour;
using tess::Picture;
using tess::rgb;

Picture skyBlue() {
    Picture p(40, 32);
    for (int y = 0; y < 32; ++y)
        p.fillBox(0, y, 39, y, rgb(90 + y * 3, 150 + y * 2, 255));
    for (int r = 0; r <= 6; ++r)
        p.circle(30, 8, r, rgb(255, 220, 60));
    p.fillBox(0, 27, 39, 31, rgb(60, 150, 60));
    return p;
}

Picture checkers() {
    Picture p(48, 48);
    for (int y = 0; y < 48; y += 8) {
        for (int x = 0; x < 48; x += 8) {
            const bool dark = (x / 8 + y / 8) % 2 == 1;
            p.fillBox(x, y, x + 7, y + 7, dark ? rgb(40, 40, 40) : rgb(230, 230, 230));
        }
    }
    return p;
}

Picture smiley() {
    Picture p(36, 36, rgb(255, 255, 255));
    for (int r = 0; r <= 16; ++r)
        p.circle(18, 18, r, rgb(255, 210, 0));
    p.circle(18, 18, 17, rgb(120, 80, 0));
    p.fillBox(11, 11, 13, 14, rgb(40, 30, 0));
    p.fillBox(22, 11, 24, 14, rgb(40, 30, 0));
    for (int x = 10; x <= 26; ++x) {
        const int d = x - 18;
        p.setPixel(x, 22 + (64 - d * d) / 16, rgb(120, 40, 0));
    }
    return p;
}

// Wider than a thumbnail: the browser shows it squeezed to 48 x 48.
Picture rainbow() {
    const Colour bands[] = {rgb(230, 40, 40), rgb(250, 150, 30), rgb(250, 230, 40),
                            rgb(60, 190, 70), rgb(50, 110, 230), rgb(130, 60, 200)};
    Picture p(72, 30);
    for (int i = 0; i < 6; ++i)
        p.fillBox(0, i * 5, 71, i * 5 + 4, bands[i]);
    return p;
}

Picture target() {
    Picture p(44, 44, rgb(255, 255, 255));
    for (int r = 0; r <= 20; ++r)
        p.circle(22, 22, r, (r / 4) % 2 == 0 ? rgb(210, 30, 30) : rgb(255, 255, 255));
    return p;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <library path>\n", argv[0]);
        return 2;
    }
    const std::vector<tess::LibraryRecord> records = {
        {"sky_blue.bmp", tess::encodeBmp24(skyBlue())},
        {"checkers.bmp", tess::encodeBmp24(checkers())},
        {"smiley.bmp", tess::encodeBmp24(smiley())},
        {"rainbow.bmp", tess::encodeBmp24(rainbow())},
        {"target.bmp", tess::encodeBmp24(target())},
    };
    const tess::Result<std::string> library = tess::writeLibrary(records);
    if (!library) {
        std::fprintf(stderr, "%s\n", library.error().reason.c_str());
        return 1;
    }
    const std::filesystem::path path(argv[1]);
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    const tess::Status written = tess::writeFileAtomic(path.string(), *library);
    if (!written) {
        std::fprintf(stderr, "%s\n", written.error().reason.c_str());
        return 1;
    }
    return 0;
}
