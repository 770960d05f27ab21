// The nine colour tables of palettes 1 to 9, built at compile time from the entries
// where their linear ramps meet.
#include "render/palettes.h"

#include <cstddef>

namespace {

struct RampEnd {
    int entry;
    Rgb color;
};

// The value of the ramp from `from` (at step 0) to `to` (at step `steps`) at `step`,
// rounded to the nearest multiple of 4 (halves up). That keeps every channel within 2
// of the straight line and lands exactly on both ends, which are multiples of 4.
constexpr uint8_t rampValue(int from, int to, int step, int steps)
{
    const int scaledValue = from * steps + (to - from) * step;  // value x steps, >= 0
    return uint8_t((scaledValue + 2 * steps) / (4 * steps) * 4);
}

// Entries past 255 are dropped, so a last ramp may run on beyond the table.
template <size_t N>
constexpr Palette paletteFromRamps(const RampEnd (&ends)[N])
{
    Palette palette{};
    for (size_t k = 0; k + 1 < N; ++k) {
        const RampEnd a = ends[k];
        const RampEnd b = ends[k + 1];
        const int steps = b.entry - a.entry;
        for (int entry = a.entry; entry <= b.entry && entry < 256; ++entry) {
            const int step = entry - a.entry;
            palette.entries[entry] = {rampValue(a.color.red, b.color.red, step, steps),
                                      rampValue(a.color.green, b.color.green, step, steps),
                                      rampValue(a.color.blue, b.color.blue, step, steps)};
        }
    }
    return palette;
}

// Blues and greens stay black at entries 1 and 254, ice and phong at entry 1, one entry
// longer than rounding alone gives: those entries are ramp ends of their own.
constexpr RampEnd BLUES[] = {
    {0, {0, 0, 0}},       {1, {0, 0, 0}},         {4, {0, 0, 16}},      {32, {0, 0, 200}},
    {64, {0, 200, 252}},  {96, {252, 252, 252}},  {144, {0, 252, 252}}, {192, {0, 0, 252}},
    {254, {0, 0, 0}},     {255, {0, 0, 0}},
};

constexpr RampEnd GOLD[] = {
    {0, {252, 252, 128}}, {16, {240, 224, 96}}, {56, {200, 140, 0}},
    {197, {56, 0, 0}},    {255, {0, 0, 0}},
};

// Blues with its channels rotated: entry e is (green, blue, red) of blues' entry e.
constexpr RampEnd GREENS[] = {
    {0, {0, 0, 0}},       {1, {0, 0, 0}},         {4, {0, 16, 0}},      {32, {0, 200, 0}},
    {64, {200, 252, 0}},  {96, {252, 252, 252}},  {144, {252, 252, 0}}, {192, {0, 252, 0}},
    {254, {0, 0, 0}},     {255, {0, 0, 0}},
};

constexpr RampEnd ICE[] = {
    {0, {0, 0, 0}},       {1, {0, 0, 0}},      {2, {0, 0, 8}},       {32, {0, 0, 252}},
    {64, {0, 252, 252}},  {129, {0, 0, 252}},  {144, {0, 236, 252}}, {192, {128, 0, 252}},
    {255, {4, 0, 4}},
};

constexpr RampEnd JUTEBLUE[] = {
    {0, {144, 152, 208}},  {25, {44, 56, 160}},   {56, {40, 40, 80}},    {72, {192, 232, 48}},
    {88, {40, 40, 80}},    {104, {252, 0, 0}},    {120, {252, 252, 252}}, {134, {160, 0, 80}},
    {149, {252, 80, 40}},  {165, {252, 252, 120}}, {181, {36, 48, 148}},  {184, {48, 60, 160}},
    {231, {252, 252, 252}}, {255, {148, 156, 208}},
};

// From 178 on jutemap repeats mandmap from 55 on: its last ramp is mandmap's ramp
// from 118 to 134, shifted by 123, cut off at 255 where it reaches (84, 84, 180).
constexpr RampEnd JUTEMAP[] = {
    {0, {88, 88, 184}},    {2, {96, 92, 192}},    {18, {252, 252, 252}}, {34, {252, 0, 92}},
    {49, {0, 0, 0}},       {64, {56, 132, 84}},   {66, {40, 144, 80}},   {81, {252, 248, 248}},
    {83, {252, 248, 252}}, {114, {192, 80, 192}}, {130, {212, 252, 100}}, {154, {88, 0, 76}},
    {175, {12, 0, 228}},   {176, {0, 0, 236}},    {178, {0, 0, 252}},    {208, {100, 232, 252}},
    {241, {0, 36, 100}},   {257, {96, 92, 192}},
};

constexpr RampEnd MANDMAP[] = {
    {0, {224, 224, 224}},  {2, {216, 216, 216}},  {22, {56, 56, 56}},    {29, {0, 0, 60}},
    {55, {0, 0, 252}},     {85, {100, 232, 252}}, {118, {0, 36, 100}},   {134, {96, 92, 192}},
    {150, {252, 252, 252}}, {166, {252, 0, 92}},  {176, {132, 20, 60}},  {186, {16, 44, 28}},
    {196, {56, 132, 84}},  {198, {40, 144, 80}},  {213, {252, 248, 248}}, {214, {252, 252, 252}},
    {234, {232, 232, 0}},  {252, {252, 252, 252}}, {255, {232, 232, 232}},
};

constexpr RampEnd PHONG[] = {
    {0, {0, 0, 0}},         {1, {0, 0, 0}},      {64, {0, 4, 168}},   {95, {0, 168, 168}}, {128, {84, 252, 252}},
    {191, {252, 252, 84}},  {223, {0, 0, 168}},  {255, {0, 0, 0}},
};

constexpr RampEnd ROSE[] = {
    {0, {124, 192, 208}},  {3, {124, 204, 208}},  {5, {128, 220, 212}},  {6, {128, 192, 204}},
    {19, {180, 32, 112}},  {20, {172, 48, 112}},  {31, {96, 52, 4}},     {32, {116, 48, 36}},
    {75, {68, 0, 4}},      {141, {216, 16, 136}}, {143, {208, 24, 120}}, {168, {236, 200, 12}},
    {238, {116, 156, 152}}, {239, {112, 72, 208}}, {255, {124, 184, 208}},
};

}  // namespace

constinit const Palette paletteTables[PALETTE_COUNT - 1] = {
    paletteFromRamps(BLUES),    paletteFromRamps(GOLD),    paletteFromRamps(GREENS),
    paletteFromRamps(ICE),      paletteFromRamps(JUTEBLUE), paletteFromRamps(JUTEMAP),
    paletteFromRamps(MANDMAP),  paletteFromRamps(PHONG),   paletteFromRamps(ROSE),
};
