// The nine colour tables against their ramp ends, the facts that tie tables together,
// the palette names, and colorForCount for every palette.
#include "render/escape_time.h"
#include "render/palettes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

struct ListedEnd {
    int entry;
    int rgb[3];
};

struct ListedRamps {
    uint32_t paletteIndex;
    std::vector<ListedEnd> ends;
};

// The ramp ends of every table as listed for the palettes, entry (red, green, blue).
const ListedRamps LISTED_RAMPS[] = {
    {1, {{0, {0, 0, 0}}, {4, {0, 0, 16}}, {32, {0, 0, 200}}, {64, {0, 200, 252}}, {96, {252, 252, 252}}, {144, {0, 252, 252}}, {192, {0, 0, 252}}, {255, {0, 0, 0}}}},  // blues
    {2, {{0, {252, 252, 128}}, {16, {240, 224, 96}}, {56, {200, 140, 0}}, {197, {56, 0, 0}}, {255, {0, 0, 0}}}},  // gold
    {3, {{0, {0, 0, 0}}, {4, {0, 16, 0}}, {32, {0, 200, 0}}, {64, {200, 252, 0}}, {96, {252, 252, 252}}, {144, {252, 252, 0}}, {192, {0, 252, 0}}, {255, {0, 0, 0}}}},  // greens
    {4, {{0, {0, 0, 0}}, {2, {0, 0, 8}}, {32, {0, 0, 252}}, {64, {0, 252, 252}}, {129, {0, 0, 252}}, {144, {0, 236, 252}}, {192, {128, 0, 252}}, {255, {4, 0, 4}}}},  // ice
    {5, {{0, {144, 152, 208}}, {25, {44, 56, 160}}, {56, {40, 40, 80}}, {72, {192, 232, 48}}, {88, {40, 40, 80}}, {104, {252, 0, 0}}, {120, {252, 252, 252}}, {134, {160, 0, 80}}, {149, {252, 80, 40}}, {165, {252, 252, 120}}, {181, {36, 48, 148}}, {184, {48, 60, 160}}, {231, {252, 252, 252}}, {255, {148, 156, 208}}}},  // juteblue
    {6, {{0, {88, 88, 184}}, {2, {96, 92, 192}}, {18, {252, 252, 252}}, {34, {252, 0, 92}}, {49, {0, 0, 0}}, {64, {56, 132, 84}}, {66, {40, 144, 80}}, {81, {252, 248, 248}}, {83, {252, 248, 252}}, {114, {192, 80, 192}}, {130, {212, 252, 100}}, {154, {88, 0, 76}}, {175, {12, 0, 228}}, {176, {0, 0, 236}}, {178, {0, 0, 252}}, {208, {100, 232, 252}}, {241, {0, 36, 100}}, {255, {84, 84, 180}}}},  // jutemap
    {7, {{0, {224, 224, 224}}, {2, {216, 216, 216}}, {22, {56, 56, 56}}, {29, {0, 0, 60}}, {55, {0, 0, 252}}, {85, {100, 232, 252}}, {118, {0, 36, 100}}, {134, {96, 92, 192}}, {150, {252, 252, 252}}, {166, {252, 0, 92}}, {176, {132, 20, 60}}, {186, {16, 44, 28}}, {196, {56, 132, 84}}, {198, {40, 144, 80}}, {213, {252, 248, 248}}, {214, {252, 252, 252}}, {234, {232, 232, 0}}, {252, {252, 252, 252}}, {255, {232, 232, 232}}}},  // mandmap
    {8, {{0, {0, 0, 0}}, {64, {0, 4, 168}}, {95, {0, 168, 168}}, {128, {84, 252, 252}}, {191, {252, 252, 84}}, {223, {0, 0, 168}}, {255, {0, 0, 0}}}},  // phong
    {9, {{0, {124, 192, 208}}, {3, {124, 204, 208}}, {5, {128, 220, 212}}, {6, {128, 192, 204}}, {19, {180, 32, 112}}, {20, {172, 48, 112}}, {31, {96, 52, 4}}, {32, {116, 48, 36}}, {75, {68, 0, 4}}, {141, {216, 16, 136}}, {143, {208, 24, 120}}, {168, {236, 200, 12}}, {238, {116, 156, 152}}, {239, {112, 72, 208}}, {255, {124, 184, 208}}}},  // rose
};

int channel(const Rgb &color, int c)
{
    return c == 0 ? color.red : c == 1 ? color.green : color.blue;
}

const Palette &table(uint32_t paletteIndex) { return paletteTables[paletteIndex - 1]; }

}  // namespace

TEST(PaletteTablesTest, NineTablesOf256ColoursIn6912Bytes)
{
    static_assert(sizeof(Rgb) == 3);
    static_assert(sizeof(paletteTables) == 6912);
    for (uint32_t p = 1; p < PALETTE_COUNT; ++p) {
        for (int e = 0; e < 256; ++e) {
            for (int c = 0; c < 3; ++c) {
                const int value = channel(table(p).entries[e], c);
                ASSERT_EQ(value % 4, 0) << "palette " << p << " entry " << e;
                ASSERT_LE(value, 252) << "palette " << p << " entry " << e;
            }
        }
    }
}

TEST(PaletteTablesTest, ListedRampEndsExactly)
{
    for (const ListedRamps &ramps : LISTED_RAMPS) {
        for (const ListedEnd &end : ramps.ends) {
            const Rgb got = table(ramps.paletteIndex).entries[end.entry];
            for (int c = 0; c < 3; ++c) {
                EXPECT_EQ(channel(got, c), end.rgb[c])
                    << "palette " << ramps.paletteIndex << " entry " << end.entry << " channel " << c;
            }
        }
    }
}

// Between two listed ends every channel moves one way only and stays within 4 of the
// straight line between them (checked in integers: |v x steps - line x steps| <= 4 x steps).
TEST(PaletteTablesTest, MonotoneLinearRunsWithinFourOfTheLine)
{
    for (const ListedRamps &ramps : LISTED_RAMPS) {
        const Palette &palette = table(ramps.paletteIndex);
        for (size_t k = 0; k + 1 < ramps.ends.size(); ++k) {
            const ListedEnd &a = ramps.ends[k];
            const ListedEnd &b = ramps.ends[k + 1];
            const int steps = b.entry - a.entry;
            ASSERT_GT(steps, 0);
            for (int c = 0; c < 3; ++c) {
                const bool rising = b.rgb[c] >= a.rgb[c];
                int previous = a.rgb[c];
                for (int e = a.entry; e <= b.entry; ++e) {
                    const int value = channel(palette.entries[e], c);
                    const int line = a.rgb[c] * steps + (b.rgb[c] - a.rgb[c]) * (e - a.entry);
                    EXPECT_LE(std::abs(value * steps - line), 4 * steps)
                        << "palette " << ramps.paletteIndex << " entry " << e << " channel " << c;
                    if (rising) {
                        EXPECT_GE(value, previous) << "palette " << ramps.paletteIndex << " entry " << e;
                    } else {
                        EXPECT_LE(value, previous) << "palette " << ramps.paletteIndex << " entry " << e;
                    }
                    previous = value;
                }
            }
        }
    }
}

TEST(PaletteTablesTest, GreensIsBluesWithItsChannelsRotated)
{
    for (int e = 0; e < 256; ++e) {
        const Rgb blues = table(1).entries[e];
        const Rgb greens = table(3).entries[e];
        EXPECT_EQ(greens.red, blues.green) << "entry " << e;
        EXPECT_EQ(greens.green, blues.blue) << "entry " << e;
        EXPECT_EQ(greens.blue, blues.red) << "entry " << e;
    }
}

TEST(PaletteTablesTest, JutemapFrom178RepeatsMandmapFrom55)
{
    for (int e = 178; e <= 255; ++e) {
        const Rgb jutemap = table(6).entries[e];
        const Rgb mandmap = table(7).entries[e - 123];
        EXPECT_EQ(jutemap.red, mandmap.red) << "jutemap entry " << e;
        EXPECT_EQ(jutemap.green, mandmap.green) << "jutemap entry " << e;
        EXPECT_EQ(jutemap.blue, mandmap.blue) << "jutemap entry " << e;
    }
}

// These entries make escaping points look like the inside of the set.
TEST(PaletteTablesTest, NamedBlackEntries)
{
    struct BlackEntry {
        uint32_t paletteIndex;
        int entry;
    };
    const BlackEntry blacks[] = {
        {1, 0}, {1, 1}, {1, 254}, {1, 255}, {3, 0}, {3, 1}, {3, 254}, {3, 255},
        {2, 253}, {2, 254}, {2, 255}, {4, 0}, {4, 1}, {8, 0}, {8, 1}, {6, 49},
    };
    for (const BlackEntry &black : blacks) {
        const Rgb color = table(black.paletteIndex).entries[black.entry];
        EXPECT_EQ(color.red + color.green + color.blue, 0)
            << "palette " << black.paletteIndex << " entry " << black.entry;
    }
    // Just past them the ramps have left black (gold is black only from 253 on).
    EXPECT_NE(table(1).entries[2].blue, 0);
    EXPECT_NE(table(1).entries[253].blue, 0);
    EXPECT_NE(table(2).entries[252].red, 0);
    EXPECT_NE(table(4).entries[2].blue, 0);
}

TEST(PaletteNamesTest, TenNamesByIndex)
{
    const char *const expected[] = {"",        "blues",   "gold",    "greens", "ice",
                                    "juteblue", "jutemap", "mandmap", "phong",  "rose"};
    for (uint32_t p = 0; p < PALETTE_COUNT; ++p) {
        EXPECT_STREQ(paletteNames[p], expected[p]) << "palette " << p;
    }
}

TEST(ColorForCountTest, GreyscaleOfPaletteZero)
{
    struct Case {
        int count;
        int maxIterations;
        uint8_t grey;
    };
    const Case cases[] = {{0, 128, 0}, {128, 128, 255}, {64, 128, 127}, {1, 128, 1},
                          {2, 128, 3}, {127, 128, 253}, {1, 1, 255},    {0, -4, 0}};
    for (const Case &c : cases) {
        const Rgb color = colorForCount(c.count, c.maxIterations, 0);
        EXPECT_EQ(color.red, c.grey) << c.count << "/" << c.maxIterations;
        EXPECT_EQ(color.green, c.grey) << c.count << "/" << c.maxIterations;
        EXPECT_EQ(color.blue, c.grey) << c.count << "/" << c.maxIterations;
    }
}

TEST(ColorForCountTest, CountAtTheLimitIsBlackInEveryTable)
{
    const int limits[] = {1, 2, 128, 255, 256, 1000, 1 << 30};
    for (uint32_t p = 1; p < PALETTE_COUNT; ++p) {
        for (const int limit : limits) {
            const Rgb color = colorForCount(limit, limit, p);
            EXPECT_EQ(color.red + color.green + color.blue, 0) << "palette " << p << " limit " << limit;
        }
    }
    // Entry 255, which the limit's level would pick, is not black in most tables.
    EXPECT_NE(table(7).entries[255].red, 0);
}

TEST(ColorForCountTest, EscapingCountsShowTheEntryOfTheirLevel)
{
    struct Case {
        int count;
        int maxIterations;
        int entry;
    };
    const Case cases[] = {{0, 128, 0},   {1, 128, 1},  {2, 128, 3},      {64, 128, 127},
                          {127, 128, 253}, {0, 1, 0},  {999, 1000, 254}, {0, -7, 0}, {0, INT32_MIN, 0}};
    for (uint32_t p = 1; p < PALETTE_COUNT; ++p) {
        for (const Case &c : cases) {
            const Rgb color = colorForCount(c.count, c.maxIterations, p);
            const Rgb expected = table(p).entries[c.entry];
            EXPECT_EQ(color.red, expected.red) << "palette " << p << " count " << c.count;
            EXPECT_EQ(color.green, expected.green) << "palette " << p << " count " << c.count;
            EXPECT_EQ(color.blue, expected.blue) << "palette " << p << " count " << c.count;
        }
    }
    // In blues the neighbours of entries 3 and 253 differ, so an off-by-one level shows.
    EXPECT_EQ(colorForCount(2, 128, 1).blue, 12);
    EXPECT_NE(table(1).entries[2].blue, table(1).entries[3].blue);
    EXPECT_NE(table(1).entries[3].blue, table(1).entries[4].blue);
    EXPECT_EQ(colorForCount(127, 128, 1).blue, 4);
    EXPECT_NE(table(1).entries[252].blue, table(1).entries[253].blue);
    EXPECT_NE(table(1).entries[253].blue, table(1).entries[254].blue);
}

TEST(ColorForCountTest, LimitOneRendersAllBlackAndNegativeLimitEntryZero)
{
    // An odd, asymmetric image so that no pixel is skipped by accident.
    constexpr int width = 7;
    constexpr int height = 5;
    unsigned char pixels[width * height * 3];
    for (uint32_t p = 1; p < PALETTE_COUNT; ++p) {
        RenderJob job = {width, height, {-525.0, 0.0, 40.0}, false, {0.0, 0.0}, 1, p};
        std::fill(std::begin(pixels), std::end(pixels), 0x77);
        renderImage(job, FULL_RENDER, pixels);
        for (int i = 0; i < width * height * 3; ++i) {
            ASSERT_EQ(pixels[i], 0) << "palette " << p << " byte " << i;
        }

        job.maxIterations = -3;
        std::fill(std::begin(pixels), std::end(pixels), 0x77);
        renderImage(job, FULL_RENDER, pixels);
        const Rgb entry0 = table(p).entries[0];
        for (int i = 0; i < width * height; ++i) {
            ASSERT_EQ(pixels[3 * i], entry0.red) << "palette " << p << " pixel " << i;
            ASSERT_EQ(pixels[3 * i + 1], entry0.green) << "palette " << p << " pixel " << i;
            ASSERT_EQ(pixels[3 * i + 2], entry0.blue) << "palette " << p << " pixel " << i;
        }
    }
}
