#include "platform/RowExpansion.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define QUILLON_ROW_SHUFFLES 1
#endif

namespace {

#ifdef QUILLON_ROW_SHUFFLES
// Sixteen grey bytes make 48 RGB bytes: three shuffles of the same sixteen,
// each picking the grey byte every output byte repeats.
__attribute__((target("ssse3"))) void greyToRgbShuffled(const uint8_t* grey, std::size_t count,
                                                        uint8_t* rgb)
{
    const __m128i first = _mm_setr_epi8(0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5);
    const __m128i second = _mm_setr_epi8(5, 5, 6, 6, 6, 7, 7, 7, 8, 8, 8, 9, 9, 9, 10, 10);
    const __m128i third =
        _mm_setr_epi8(10, 11, 11, 11, 12, 12, 12, 13, 13, 13, 14, 14, 14, 15, 15, 15);
    std::size_t x = 0;
    for (; x + 16 <= count; x += 16, rgb += 48) {
        const __m128i g = _mm_loadu_si128(reinterpret_cast<const __m128i*>(grey + x));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(rgb), _mm_shuffle_epi8(g, first));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(rgb + 16), _mm_shuffle_epi8(g, second));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(rgb + 32), _mm_shuffle_epi8(g, third));
    }
    RowExpansion::greyToRgbPlain(grey + x, count - x, rgb);
}

bool hasShuffles()
{
    static const bool has = __builtin_cpu_supports("ssse3");
    return has;
}
#endif

} // namespace

void RowExpansion::greyToRgbPlain(const uint8_t* grey, std::size_t count, uint8_t* rgb)
{
    for (std::size_t x = 0; x < count; ++x, rgb += 3)
        rgb[0] = rgb[1] = rgb[2] = grey[x];
}

void RowExpansion::greyToRgb(const uint8_t* grey, std::size_t count, uint8_t* rgb)
{
#ifdef QUILLON_ROW_SHUFFLES
    if (hasShuffles()) {
        greyToRgbShuffled(grey, count, rgb);
        return;
    }
#endif
    greyToRgbPlain(grey, count, rgb);
}

void RowExpansion::bgrxToRgb(const uint8_t* bgrx, std::size_t count, uint8_t* rgb)
{
    for (std::size_t x = 0; x < count; ++x, bgrx += 4, rgb += 3) {
        rgb[0] = bgrx[2];
        rgb[1] = bgrx[1];
        rgb[2] = bgrx[0];
    }
}
