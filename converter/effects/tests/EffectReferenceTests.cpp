#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "EffectsTestSupport.h"
#include "platform/Blit.h"
#include "platform/DefaultRandom.h"

// The effects whose loops are restructured for speed (cells drawn row by row, passes fused,
// neighbours taken by whole rows), against their recipes written as plain loops over the drawing
// calls, on random pictures of sizes that cut cells and grids short.

namespace tess::fx {
namespace {

using testing::entryNamed;

// A literal run of an effect: it draws on `picture` and `scratch` (cleared to its background)
// and gives the result.
using Reference =
    std::function<Picture(Picture picture, Picture scratch, Random& random, const Clock& clock)>;

// The split of the effects' pixel reads: red = c And 255, green = (c \ 256) And 255, blue =
// (c And &HFF0000) / 65536.
struct Split {
    int r;
    int g;
    int b;
    explicit Split(Colour c) : r(c & 255), g((c / 256) & 255), b((c & 0xFF0000) / 0x10000) {}
};

std::int64_t nearest(double v) {
    return static_cast<std::int64_t>(std::nearbyint(v));
}

int darkened(int component, int darkening) {
    return component > darkening ? component - darkening : component;
}

Reference flatTiles(int cell, int darkening, int outer, int face) {
    return [=](Picture source, Picture target, Random&, const Clock&) {
        for (int x = 0; x <= source.width() - 1; x += cell) {
            for (int y = 0; y <= source.height() - 1; y += cell) {
                const Colour c = source.pixel(x, y);
                const Colour grout =
                    rgb(darkened(redOf(c), darkening), darkened(greenOf(c), darkening),
                        darkened(blueOf(c), darkening));
                target.box(x, y, x + outer, y + outer, grout);
                target.box(x, y, x + outer - 1, y + outer - 1, grout);
                target.fillBox(x + 1, y + 1, x + face, y + face, c);
            }
        }
        return target;
    };
}

Reference tiles3D() {
    return [](Picture source, Picture target, Random&, const Clock&) {
        auto light = [](int v) { return v < 235 ? std::min(2 * v, 255) : v; };
        auto face = [](int v) { return std::min(4 * v / 3, 255); };
        for (int x = 0; x <= source.width() - 1; x += 8) {
            for (int y = 0; y <= source.height() - 1; y += 8) {
                const Colour c = source.pixel(x, y);
                const Colour edge = rgb(light(redOf(c)), light(greenOf(c)), light(blueOf(c)));
                const Colour inside = rgb(face(redOf(c)), face(greenOf(c)), face(blueOf(c)));
                target.line(x, y, x, y + 8, edge);
                target.line(x, y, x + 8, y, edge);
                target.fillBox(x + 1, y + 1, x + 6, y + 6, inside);
            }
        }
        return target;
    };
}

Reference squares(int step, int extent, bool filled) {
    return [=](Picture source, Picture target, Random&, const Clock&) {
        for (int x = 0; x <= source.width() - 1; x += step) {
            for (int y = 0; y <= source.height() - 1; y += step) {
                const Colour c = source.pixel(x, y);
                if (filled) {
                    target.fillBox(x, y, x + extent, y + extent, c);
                } else {
                    target.box(x, y, x + extent, y + extent, c);
                }
            }
        }
        return target;
    };
}

// Rows outer, columns inner, each pixel averaged with the inverted neighbour `neighbour` gives.
Reference emboss(int (*neighbour)(int at, int size)) {
    return [=](Picture picture, Picture scratch, Random&, const Clock&) {
        const int w = picture.width();
        const int h = picture.height();
        bitBlt(scratch, 0, 0, w, h, picture, 0, 0, RasterOp::SrcInvert);
        for (int y = 0; y <= h - 1; ++y) {
            for (int x = 0; x <= w - 1; ++x) {
                const Split c(picture.pixel(x, y));
                const Split n(scratch.pixel(neighbour(x, w), neighbour(y, h)));
                picture.setPixel(
                    x, y, (c.r + n.r) / 2 + 256 * ((c.g + n.g) / 2) + 65536 * ((c.b + n.b) / 2));
            }
        }
        return picture;
    };
}

Picture outline(Picture picture, Picture scratch, Random&, const Clock&) {
    const int w = picture.width();
    const int h = picture.height();
    scratch.line(0, 0, w, 0, 0xFFFFFF);
    scratch.line(0, 0, 0, h, 0xFFFFFF);
    for (int x = 1; x <= w; ++x) {
        for (int y = 1; y <= h; ++y) {
            const Colour c = picture.pixel(x, y);
            const bool same = c == picture.pixel(x - 1, y) && c == picture.pixel(x, y - 1);
            scratch.setPixel(x, y, same ? 0xFFFFFF : 0);
        }
    }
    return scratch;
}

Picture infrared(Picture picture, Picture scratch, Random&, const Clock&) {
    const int w = picture.width();
    const int h = picture.height();
    for (int y = 0; y <= h - 1; ++y) {
        for (int x = 0; x <= w - 1; ++x) {
            Split c(picture.pixel(x, y));
            if (c.b > c.r)
                c.b -= c.r;
            if (c.g > c.r)
                c.g -= c.r;
            picture.setPixel(x, y, 255 + 256 * c.g + 65536 * c.b);
        }
    }
    bitBlt(scratch, 0, 0, w, h, picture, 0, 0, RasterOp::SrcInvert);
    picture = scratch;
    for (int y = 0; y <= h - 1; ++y) {
        for (int x = 0; x <= w - 1; ++x) {
            const Split c(picture.pixel(x, y));
            const int m = std::max({c.r, c.g, c.b});
            picture.setPixel(x, y, m + 256 * m + 65536 * m);
        }
    }
    return picture;
}

Picture corruption(Picture picture, Picture, Random&, const Clock&) {
    for (int x = 0; x <= picture.width() - 1; ++x) {
        for (int y = 0; y <= picture.height() - 1; ++y)
            picture.setPixelValue(x, y, nearest(picture.pixel(x, y) / 3.14));
    }
    return picture;
}

Picture corruptionBars(Picture picture, Picture, Random&, const Clock&) {
    const auto n = static_cast<std::int64_t>(std::floor(picture.height() / 255.0 - 0.5));
    std::int64_t offset = 0;
    for (int x = 0; x <= picture.width() - 1; ++x) {
        for (int y = 0; y <= picture.height() - 1; ++y) {
            if (n <= 0 || x % n == 0)
                offset += 10;
            picture.setPixelValue(x, y, picture.pixel(x, y) + offset);
        }
    }
    return picture;
}

Picture tv(Picture picture, Picture, Random& random, const Clock& clock) {
    random.reseed(clock.tickCount());
    for (int y = 0; y <= picture.height() - 1; ++y) {
        const auto k = static_cast<int>(std::floor(random.next() * 3.0));
        for (int x = 0; x <= picture.width() - 1; ++x) {
            Split c(picture.pixel(x, y));
            if (k == 0)
                c.r += 40;
            if (k == 1)
                c.g += 40;
            if (k == 2)
                c.b += 40;
            picture.setPixel(x, y, rgb(c.r, c.g, c.b));
        }
    }
    return picture;
}

// Columns outer, rows inner; even columns take `even` of the pixel one down and one right, odd
// ones `odd` of their own pixel.
Reference columns(std::int64_t (*even)(Colour), std::int64_t (*odd)(Colour, Random&)) {
    return [=](Picture picture, Picture scratch, Random& random, const Clock&) {
        for (int x = 0; x <= picture.width() - 1; ++x) {
            for (int y = 0; y <= picture.height() - 1; ++y) {
                scratch.setPixelValue(x, y,
                                      x % 2 == 0 ? even(picture.pixel(x + 1, y + 1))
                                                 : odd(picture.pixel(x, y), random));
            }
        }
        return scratch;
    };
}

// Rings of `radii` around every grid point, columns outer, in the colour of the centre.
Reference ringGrid(int step, std::vector<int> radii) {
    return [=](Picture source, Picture target, Random&, const Clock&) {
        for (int x = 0; x <= source.width() - 1; x += step) {
            for (int y = 0; y <= source.height() - 1; y += step) {
                for (const int radius : radii)
                    target.circle(x, y, radius, source.pixel(x, y));
            }
        }
        return target;
    };
}

struct ReferenceCase {
    const char* effect;
    Reference reference;
};

const std::vector<ReferenceCase>& referenceCases() {
    static const std::vector<ReferenceCase> cases = {
        {"Bathroom Tiles", flatTiles(8, 10, 6, 4)},
        {"Mosaic Tiles", flatTiles(8, 20, 8, 6)},
        {"Pool Tiles", flatTiles(6, 10, 6, 4)},
        {"3D Tiles", tiles3D()},
        {"Blur", squares(2, 1, true)},
        {"Boxes", squares(5, 3, false)},
        {"Mosaic", squares(4, 4, true)},
        {"Eyes", ringGrid(6, {1, 3, 5})},
        {"Targets", ringGrid(11, {1, 3, 5})},
        {"X-Files", ringGrid(6, {1, 2, 4})},
        {"CircleWorm", ringGrid(6, {2, 4})},
        {"Circular", ringGrid(4, {4})},
        {"Inner Emboss", emboss([](int at, int) { return at < 3 ? 1 : at - 2; })},
        {"Outer Emboss",
         emboss([](int at, int size) { return at > size - 3 ? size - 1 : at + 2; })},
        {"Outline", outline},
        {"Infrared (Slow)", infrared},
        {"Corruption", corruption},
        {"Corruption Bars", corruptionBars},
        {"TV", tv},
        {"InversionScape", columns([](Colour c) { return std::int64_t{c}; },
                                   [](Colour c, Random&) { return -std::int64_t{c}; })},
        {"StereoGraph", columns([](Colour c) { return nearest(c / 3.14); },
                                [](Colour c, Random&) { return nearest(c / 3.14); })},
        {"Night Cam", columns([](Colour c) { return std::int64_t{c}; },
                              [](Colour c, Random& random) {
                                  return nearest(static_cast<double>(c) * random.next());
                              })},
    };
    return cases;
}

// Random colours, with runs of one colour and values next to every threshold the effects test.
Picture randomPicture(std::mt19937& generator, int width, int height) {
    std::uniform_int_distribution<int> any(0, 0xFFFFFF);
    std::uniform_int_distribution<int> pick(0, 3);
    const int edges[] = {0, 9, 10, 20, 21, 127, 128, 234, 235, 245, 246, 255};
    std::uniform_int_distribution<std::size_t> edge(0, std::size(edges) - 1);
    Picture picture(width, height);
    Colour previous = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            Colour c = any(generator);
            switch (pick(generator)) {
                case 0:
                    c = previous;
                    break;
                case 1:
                    c = rgb(edges[edge(generator)], edges[edge(generator)], edges[edge(generator)]);
                    break;
                default:
                    break;
            }
            picture.setPixel(x, y, c);
            previous = c;
        }
    }
    return picture;
}

TEST(EffectReference, RestructuredEffectsDrawWhatTheirLoopsDraw) {
    std::mt19937 generator(20261210);
    std::uniform_int_distribution<int> side(1, 70);
    // Sides around the widths the effects take in whole vectors and bands, and some at random.
    std::vector<std::pair<int, int>> sizes = {{1, 1},   {1, 17},  {17, 1},   {2, 2},
                                              {48, 40}, {16, 3},  {17, 4},   {33, 2},
                                              {257, 3}, {300, 2}, {100, 90}, {99, 67}};
    for (int k = 0; k < 12; ++k)
        sizes.emplace_back(side(generator), side(generator));
    tess::testing::FixedClock clock(DateTime{}, 4321);
    for (const auto& [w, h] : sizes) {
        const Picture picture = randomPicture(generator, w, h);
        for (const ReferenceCase& c : referenceCases()) {
            const EffectEntry& entry = entryNamed(c.effect);
            for (const Colour back : {kMainScratchBack, kPreviewScratchBack}) {
                DefaultRandom forReference(w * 1000 + h);
                const Picture expected =
                    c.reference(picture, Picture(w, h, back), forReference, clock);
                DefaultRandom forEffect(w * 1000 + h);
                Result<Picture> result =
                    applyEffect(entry.style, entry.apply, picture, back, forEffect, clock);
                ASSERT_TRUE(result.ok());
                ASSERT_EQ(*result, expected) << c.effect << " on " << w << " x " << h;
            }
        }
    }
}

}  // namespace
}  // namespace tess::fx
