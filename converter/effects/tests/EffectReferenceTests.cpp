#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "EffectsTestSupport.h"

// The effects whose loops are restructured for speed (cells drawn row by row, passes fused,
// neighbours taken by whole rows), against their recipes written as plain loops over the drawing
// calls, on random pictures of sizes that cut cells and grids short.

namespace tess::fx {
namespace {

using testing::EffectRunner;
using testing::entryNamed;

// A literal run of an effect: it draws on `picture` and `scratch` (cleared to its background)
// and gives the result.
using Reference = std::function<Picture(Picture picture, Picture scratch)>;

int darkened(int component, int darkening) {
    return component > darkening ? component - darkening : component;
}

Reference flatTiles(int cell, int darkening, int outer, int face) {
    return [=](Picture source, Picture target) {
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
    return [](Picture source, Picture target) {
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
    return [=](Picture source, Picture target) {
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
    std::vector<std::pair<int, int>> sizes = {{1, 1}, {1, 17}, {17, 1}, {2, 2}, {48, 40}};
    for (int k = 0; k < 12; ++k)
        sizes.emplace_back(side(generator), side(generator));
    EffectRunner runner;
    for (const auto& [w, h] : sizes) {
        const Picture picture = randomPicture(generator, w, h);
        for (const ReferenceCase& c : referenceCases()) {
            const EffectEntry& entry = entryNamed(c.effect);
            for (const Colour back : {kMainScratchBack, kPreviewScratchBack}) {
                const Picture expected = c.reference(picture, Picture(w, h, back));
                ASSERT_EQ(runner.apply(entry, picture, back), expected)
                    << c.effect << " on " << w << " x " << h;
            }
        }
    }
}

}  // namespace
}  // namespace tess::fx
