#include "workspace/Resample.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "platform/Parallel.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define TESS_RESAMPLE_AVX2 1
#endif

namespace tess {

namespace {

// Where one target column (or row) samples: the lower source index and the weights of it and of
// the next index. ratio = float32((sourceSide - 1) / targetSide), position = float32(i * ratio),
// index = floor(position), d = position - index.
struct Sample {
    int index;
    double lowWeight;   // 1 - d
    double highWeight;  // d
};

std::vector<Sample> samples(int sourceSide, int targetSide) {
    const auto ratio = static_cast<float>(static_cast<double>(sourceSide - 1) / targetSide);
    std::vector<Sample> out(static_cast<std::size_t>(targetSide));
    for (int i = 0; i < targetSide; ++i) {
        const auto position = static_cast<float>(static_cast<double>(i) * ratio);
        const float low = std::floor(position);
        const float d = position - low;
        out[static_cast<std::size_t>(i)] = {static_cast<int>(low), 1.0 - d, static_cast<double>(d)};
    }
    return out;
}

// The scheme splits a colour c into red = c AND 255, green = (c \ 256) AND 255 and
// blue = (c AND &HFF0000) / 65536. For a stored colour those are its three bytes; for the invalid
// colour -1 that a read outside the picture gives they are red 255, green 0 (-1 \ 256 is 0) and
// blue 255: the bytes of this colour.
constexpr std::uint32_t kOutsideChannels = 0x00FF00FF;

// Every product and sum below is exact in double precision: a weight d is a float32 fraction
// whose lowest bit is at least 2^-38 (a position is 0 or at least 1/32767, and a float32 holds
// 24 bits), a channel has 8 bits, so each product and their sum need fewer than 53 bits. The one
// rounding is therefore that of the exact mean, whichever order the terms are added in, and that
// mean of two values within 0..255 stays within 0..255.

// A weight d that is a whole number D of 2^-23 steps (every d of a position of at least 1, as a
// float32 holds 24 bits) lets the vertical pass (1 - d) * a + d * b be worked out as the integer
// (2^23 - D) * a + D * b, below 2^31, divided by 2^23: the same exact value, rounded on the
// integer.
constexpr int kFixedShift = 23;

// A vertical result: the rounded red, green, blue and an unused lane.
struct alignas(16) Lanes {
    std::int32_t channel[4];
};

// One target row's vertical pass over the source columns its pixels take (each column once,
// however many target columns use it), then its horizontal pass over those results.
struct RowWork {
    // The source columns the target columns use, ascending and each once: for target column x,
    // columns[left[x]] is floor(fx) and columns[left[x] + 1] the column after it.
    std::vector<int> columns;
    std::vector<int> left;
    std::vector<double> lowWeight, highWeight;
    // Whether the passes run on AVX2.
    bool avx2 = false;
    // Whether `columns` runs on without gaps from columns[0]; then source rows are read in place.
    bool contiguous = false;
    // The colours of the two source rows at `columns` when they have gaps, and a row of
    // kOutsideChannels for the rows and columns beyond the picture.
    std::vector<std::uint32_t> top, bottom, outside;
    std::vector<Lanes> vertical;
};

inline std::uint32_t channelByte(double rounded) {
    return rounded < 0.0 ? 0u : (rounded > 255.0 ? 255u : static_cast<std::uint32_t>(rounded));
}

void verticalPortable(const std::uint32_t* top, const std::uint32_t* bottom, std::size_t n,
                      double low, double high, Lanes* out) {
    for (std::size_t k = 0; k < n; ++k) {
        for (int c = 0; c < 3; ++c) {
            const auto a = static_cast<double>((top[k] >> (8 * c)) & 255);
            const auto b = static_cast<double>((bottom[k] >> (8 * c)) & 255);
            out[k].channel[c] = static_cast<std::int32_t>(std::nearbyint(low * a + b * high));
        }
        out[k].channel[3] = 0;
    }
}

void horizontalPortable(const RowWork& work, std::uint32_t* out, int width) {
    for (int x = 0; x < width; ++x) {
        const auto i = static_cast<std::size_t>(x);
        const Lanes& l = work.vertical[static_cast<std::size_t>(work.left[i])];
        const Lanes& r = work.vertical[static_cast<std::size_t>(work.left[i]) + 1];
        std::uint32_t pixel = 0;
        for (int c = 0; c < 3; ++c) {
            const double v = work.lowWeight[i] * static_cast<double>(l.channel[c]) +
                             work.highWeight[i] * static_cast<double>(r.channel[c]);
            pixel |= channelByte(std::nearbyint(v)) << (8 * c);
        }
        out[x] = pixel;
    }
}

#ifdef TESS_RESAMPLE_AVX2
constexpr int kNearest = _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC;

[[gnu::target("avx2")]] inline __m256d channelsAvx2(const std::uint32_t* colour) {
    return _mm256_cvtepi32_pd(_mm_cvtepu8_epi32(_mm_cvtsi32_si128(static_cast<int>(*colour))));
}

[[gnu::target("avx2")]] void verticalAvx2(const std::uint32_t* top, const std::uint32_t* bottom,
                                          std::size_t n, double low, double high, Lanes* out) {
    const __m256d lowWeight = _mm256_set1_pd(low);
    const __m256d highWeight = _mm256_set1_pd(high);
    for (std::size_t k = 0; k < n; ++k) {
        const __m256d v = _mm256_add_pd(_mm256_mul_pd(lowWeight, channelsAvx2(top + k)),
                                        _mm256_mul_pd(channelsAvx2(bottom + k), highWeight));
        _mm_store_si128(reinterpret_cast<__m128i*>(out[k].channel),
                        _mm256_cvttpd_epi32(_mm256_round_pd(v, kNearest)));
    }
}

// The same pass where the weight d is a whole number D of 2^-23 steps (see kFixedShift). Two
// columns at a time.

[[gnu::target("avx2")]] void verticalFixedAvx2(const std::uint32_t* top,
                                               const std::uint32_t* bottom, std::size_t n,
                                               std::int32_t lowWeight, std::int32_t highWeight,
                                               Lanes* out) {
    const __m256i low = _mm256_set1_epi32(lowWeight);
    const __m256i high = _mm256_set1_epi32(highWeight);
    const __m256i halfLessOne = _mm256_set1_epi32((1 << (kFixedShift - 1)) - 1);
    const __m256i one = _mm256_set1_epi32(1);
    std::size_t k = 0;
    for (; k + 2 <= n; k += 2) {
        const __m256i a =
            _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(top + k)));
        const __m256i b =
            _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(bottom + k)));
        const __m256i sum =
            _mm256_add_epi32(_mm256_mullo_epi32(a, low), _mm256_mullo_epi32(b, high));
        // Half to even: add one less than a half, plus one when the whole part is odd.
        const __m256i odd = _mm256_and_si256(_mm256_srli_epi32(sum, kFixedShift), one);
        const __m256i rounded = _mm256_srli_epi32(
            _mm256_add_epi32(_mm256_add_epi32(sum, halfLessOne), odd), kFixedShift);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out[k].channel), rounded);
    }
    for (; k < n; ++k) {
        const __m128i a = _mm_cvtepu8_epi32(_mm_cvtsi32_si128(static_cast<int>(top[k])));
        const __m128i b = _mm_cvtepu8_epi32(_mm_cvtsi32_si128(static_cast<int>(bottom[k])));
        const __m128i sum = _mm_add_epi32(_mm_mullo_epi32(a, _mm256_castsi256_si128(low)),
                                          _mm_mullo_epi32(b, _mm256_castsi256_si128(high)));
        const __m128i odd =
            _mm_and_si128(_mm_srli_epi32(sum, kFixedShift), _mm256_castsi256_si128(one));
        const __m128i rounded = _mm_srli_epi32(
            _mm_add_epi32(_mm_add_epi32(sum, _mm256_castsi256_si128(halfLessOne)), odd),
            kFixedShift);
        _mm_store_si128(reinterpret_cast<__m128i*>(out[k].channel), rounded);
    }
}

// Target pixel x, rounded, as four 32-bit channels.
[[gnu::target("avx2")]] inline __m128i pixelAvx2(const RowWork& work, int x) {
    const auto i = static_cast<std::size_t>(x);
    const Lanes* l = work.vertical.data() + work.left[i];
    const __m256d v = _mm256_add_pd(
        _mm256_mul_pd(
            _mm256_set1_pd(work.lowWeight[i]),
            _mm256_cvtepi32_pd(_mm_load_si128(reinterpret_cast<const __m128i*>(l[0].channel)))),
        _mm256_mul_pd(
            _mm256_set1_pd(work.highWeight[i]),
            _mm256_cvtepi32_pd(_mm_load_si128(reinterpret_cast<const __m128i*>(l[1].channel)))));
    return _mm256_cvttpd_epi32(_mm256_round_pd(v, kNearest));
}

[[gnu::target("avx2")]] inline std::uint32_t packedPixel(__m128i whole) {
    const __m128i bytes = _mm_packus_epi16(_mm_packus_epi32(whole, whole), whole);
    return static_cast<std::uint32_t>(_mm_cvtsi128_si32(bytes));
}

[[gnu::target("avx2")]] void horizontalAvx2(const RowWork& work, std::uint32_t* out, int width) {
    // Four pixels at a time, packed to bytes with saturation: the clamp to 0..255.
    int x = 0;
    for (; x + 4 <= width; x += 4) {
        const __m128i first = _mm_packus_epi32(pixelAvx2(work, x), pixelAvx2(work, x + 1));
        const __m128i second = _mm_packus_epi32(pixelAvx2(work, x + 2), pixelAvx2(work, x + 3));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), _mm_packus_epi16(first, second));
    }
    for (; x < width; ++x)
        out[x] = packedPixel(pixelAvx2(work, x));
}

bool haveAvx2() {
    static const bool have = __builtin_cpu_supports("avx2");
    return have;
}
#else
bool haveAvx2() {
    return false;
}
#endif

void verticalPass(bool avx2, const std::uint32_t* top, const std::uint32_t* bottom, std::size_t n,
                  double low, double high, Lanes* out) {
#ifdef TESS_RESAMPLE_AVX2
    if (avx2) {
        const double steps = high * (1 << kFixedShift);
        if (steps == std::floor(steps)) {
            const auto d = static_cast<std::int32_t>(steps);
            verticalFixedAvx2(top, bottom, n, (1 << kFixedShift) - d, d, out);
        } else {
            verticalAvx2(top, bottom, n, low, high, out);
        }
        return;
    }
#else
    (void)avx2;
#endif
    verticalPortable(top, bottom, n, low, high, out);
}

void horizontalPass(const RowWork& work, std::uint32_t* out, int width) {
#ifdef TESS_RESAMPLE_AVX2
    if (work.avx2) {
        horizontalAvx2(work, out, width);
        return;
    }
#endif
    horizontalPortable(work, out, width);
}

// The vertical pass of the target row that samples `s`.
void verticalRow(const Picture& source, const Sample& s, RowWork& work) {
    const std::size_t n = work.columns.size();
    const int width = source.width();
    auto rowAt = [&](int y) -> const std::uint32_t* {
        return y < source.height() ? source.row(y) : nullptr;
    };
    const std::uint32_t* top = rowAt(s.index);
    const std::uint32_t* bottom = rowAt(s.index + 1);
    if (!work.contiguous) {
        auto gather = [&](const std::uint32_t* row, std::vector<std::uint32_t>& into) {
            if (!row)
                return work.outside.data();
            for (std::size_t k = 0; k < n; ++k) {
                const int c = work.columns[k];
                into[k] = c < width ? row[c] : kOutsideChannels;
            }
            return into.data();
        };
        verticalPass(work.avx2, gather(top, work.top), gather(bottom, work.bottom), n, s.lowWeight,
                     s.highWeight, work.vertical.data());
        return;
    }
    // The columns inside the picture are read where they lie, the rest as outside.
    const int first = work.columns.front();
    const std::size_t inside = std::min(n, static_cast<std::size_t>(width - first));
    verticalPass(work.avx2, top ? top + first : work.outside.data(),
                 bottom ? bottom + first : work.outside.data(), inside, s.lowWeight, s.highWeight,
                 work.vertical.data());
    verticalPass(work.avx2, work.outside.data(), work.outside.data(), n - inside, s.lowWeight,
                 s.highWeight, work.vertical.data() + inside);
}

}  // namespace

void drawBilinear(const Picture& source, Picture& target, ResampleCode code,
                  const RowFinished& finished) {
    const int newW = target.width();
    const int newH = target.height();
    if (newW == 0 || newH == 0)
        return;
    // Every read of a source without pixels is the invalid colour, whose channels then carry all
    // the weight.
    if (source.empty()) {
        target.fill(static_cast<Colour>(kOutsideChannels));
        for (int y = 0; finished && y < newH; ++y)
            finished(y);
        return;
    }
    // With a side of at least 1 the ratios are 0 or more, so indices start at 0 and never fall.
    const std::vector<Sample> across = samples(source.width(), newW);
    const std::vector<Sample> down = samples(source.height(), newH);

    RowWork work;
    work.avx2 = code == ResampleCode::Fastest && haveAvx2();
    work.left.resize(static_cast<std::size_t>(newW));
    work.lowWeight.resize(static_cast<std::size_t>(newW));
    work.highWeight.resize(static_cast<std::size_t>(newW));
    for (int x = 0; x < newW; ++x) {
        const Sample& s = across[static_cast<std::size_t>(x)];
        // The list ends with the previous column's index + 1.
        if (work.columns.empty() || work.columns.back() < s.index)
            work.columns.push_back(s.index);
        if (work.columns.back() == s.index)
            work.columns.push_back(s.index + 1);
        work.left[static_cast<std::size_t>(x)] = static_cast<int>(work.columns.size()) - 2;
        work.lowWeight[static_cast<std::size_t>(x)] = s.lowWeight;
        work.highWeight[static_cast<std::size_t>(x)] = s.highWeight;
    }
    const std::size_t n = work.columns.size();
    work.contiguous = work.columns.back() - work.columns.front() + 1 == static_cast<int>(n);
    if (!work.contiguous) {
        work.top.resize(n);
        work.bottom.resize(n);
    }
    work.outside.assign(n, kOutsideChannels);
    work.vertical.resize(n);

    // Target rows are independent; each band works in its own copy of the row buffers.
    inRowBands(newH, static_cast<std::size_t>(newW), [&](int firstRow, int endRow) {
        RowWork band = work;
        for (int y = firstRow; y < endRow; ++y) {
            verticalRow(source, down[static_cast<std::size_t>(y)], band);
            horizontalPass(band, target.row(y), newW);
            if (finished)
                finished(y);
        }
    });
}

}  // namespace tess
