// The vector escape kernel, compiled once per instruction set and chosen at run time,
// and the plain per-pixel loop it must match.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "render/escape_kernel.cpp"
#include "hwy/foreach_target.h"  // IWYU pragma: keep
#include "hwy/highway.h"

#include "render/escape_kernel.h"
#include "render/escape_time.h"

#include <algorithm>
#include <bit>
#include <cstdint>

HWY_BEFORE_NAMESPACE();
namespace escape_kernel {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

using D = hn::ScalableTag<double>;
using DI = hn::RebindToSigned<D>;
using V = hn::Vec<D>;
using VI = hn::Vec<DI>;
using M = hn::Mask<D>;

// Steps between two looks at the lanes: long enough that the look costs little
// beside the steps, short enough that finished lanes do not idle for long.
constexpr int BLOCK_STEPS = 8;
// Independent vectors in flight: one step is a chain of dependent operations, so
// several vectors hide its latency.
constexpr int VECTORS = 4;
constexpr size_t MAX_LANES = HWY_MAX_BYTES / sizeof(double);
constexpr size_t MAX_SLOTS = VECTORS * MAX_LANES;

// A lane with no pixel left: z = c = 0 stays put and stays active, and its count
// never reaches a limit, so it never reports as finished.
constexpr int64_t IDLE_COUNT = INT64_MIN / 2;

// The lanes' state while they are held in memory for refilling.
struct Slots {
    HWY_ALIGN double x[MAX_SLOTS];
    HWY_ALIGN double y[MAX_SLOTS];
    HWY_ALIGN double cx[MAX_SLOTS];
    HWY_ALIGN double cy[MAX_SLOTS];
    HWY_ALIGN int64_t count[MAX_SLOTS];
    HWY_ALIGN double active[MAX_SLOTS];  // all bits set while the lane has not escaped
    int pixel[MAX_SLOTS];                // index into counts, -1 for an idle lane
};

// One step of z <- z^2 + c in every lane, with the escape test of the old z first:
// a lane stays active while not (x^2 + y^2 > 4), so a NaN sum stays active as in
// the plain loop, and the count grows by one for each passed test.
HWY_INLINE void step(V &x, V &y, const V cx, const V cy, M &active, VI &count, const V four,
                     const VI one)
{
    const DI di;
    const V x2 = hn::Mul(x, x);
    const V y2 = hn::Mul(y, y);
    active = hn::AndNot(hn::Gt(hn::Add(x2, y2), four), active);
    count = hn::IfThenElse(hn::RebindMask(di, active), hn::Add(count, one), count);
    // x + x is 2x exactly, so (x + x) * y rounds like 2 * x * y.
    const V newY = hn::Add(hn::Mul(hn::Add(x, x), y), cy);
    x = hn::Add(hn::Sub(x2, y2), cx);
    y = newY;
}

void EscapeCountsRow(const RowPixels &row, int *counts)
{
    const int width = row.end - row.first;
    if (width <= 0) {
        return;
    }
    const int limit = row.maxIterations;
    if (limit <= 0) {
        std::fill(counts, counts + width, 0);
        return;
    }

    const D d;
    const DI di;
    const size_t lanes = hn::Lanes(d);
    const size_t slots = VECTORS * lanes;
    Slots s;
    int next = row.first;
    int live = 0;

    // Puts the row's next pixel into a slot, or makes the slot idle.
    auto fill = [&](size_t k) {
        s.active[k] = std::bit_cast<double>(~uint64_t{0});
        if (next < row.end) {
            const double re = planeCoordinate(row.centerX, next, row.halfWidth, row.scale);
            if (row.julia) {
                s.x[k] = re;
                s.y[k] = row.im;
                s.cx[k] = row.c.re;
                s.cy[k] = row.c.im;
            } else {
                s.x[k] = 0.0;
                s.y[k] = 0.0;
                s.cx[k] = re;
                s.cy[k] = row.im;
            }
            s.count[k] = 0;
            s.pixel[k] = next - row.first;
            ++next;
            ++live;
        } else {
            s.x[k] = s.y[k] = s.cx[k] = s.cy[k] = 0.0;
            s.count[k] = IDLE_COUNT;
            s.pixel[k] = -1;
        }
    };
    for (size_t k = 0; k < slots; ++k) {
        fill(k);
    }

    const V four = hn::Set(d, 4.0);
    const VI one = hn::Set(di, 1);
    const VI belowLimit = hn::Set(di, limit - 1);
    while (live > 0) {
#define MJ_LOAD(v)                                                   \
    V x##v = hn::Load(d, s.x + v * lanes);                           \
    V y##v = hn::Load(d, s.y + v * lanes);                           \
    const V cx##v = hn::Load(d, s.cx + v * lanes);                   \
    const V cy##v = hn::Load(d, s.cy + v * lanes);                   \
    VI n##v = hn::Load(di, s.count + v * lanes);                     \
    M a##v = hn::MaskFromVec(hn::Load(d, s.active + v * lanes));
        MJ_LOAD(0)
        MJ_LOAD(1)
        MJ_LOAD(2)
        MJ_LOAD(3)
#undef MJ_LOAD
        for (;;) {
            for (int k = 0; k < BLOCK_STEPS; ++k) {
                step(x0, y0, cx0, cy0, a0, n0, four, one);
                step(x1, y1, cx1, cy1, a1, n1, four, one);
                step(x2, y2, cx2, cy2, a2, n2, four, one);
                step(x3, y3, cx3, cy3, a3, n3, four, one);
            }
            // A lane is finished once it escaped or its count reached the limit; a
            // count past the limit is cut back to it, which is the plain loop's count
            // for a pixel that had not escaped by then.
            const M done0 = hn::Or(hn::Not(a0), hn::RebindMask(d, hn::Gt(n0, belowLimit)));
            const M done1 = hn::Or(hn::Not(a1), hn::RebindMask(d, hn::Gt(n1, belowLimit)));
            const M done2 = hn::Or(hn::Not(a2), hn::RebindMask(d, hn::Gt(n2, belowLimit)));
            const M done3 = hn::Or(hn::Not(a3), hn::RebindMask(d, hn::Gt(n3, belowLimit)));
            if (!hn::AllFalse(d, hn::Or(hn::Or(done0, done1), hn::Or(done2, done3)))) {
                break;
            }
        }
#define MJ_STORE(v)                                                  \
    hn::Store(x##v, d, s.x + v * lanes);                             \
    hn::Store(y##v, d, s.y + v * lanes);                             \
    hn::Store(n##v, di, s.count + v * lanes);                        \
    hn::Store(hn::VecFromMask(d, a##v), d, s.active + v * lanes);
        MJ_STORE(0)
        MJ_STORE(1)
        MJ_STORE(2)
        MJ_STORE(3)
#undef MJ_STORE
        for (size_t k = 0; k < slots; ++k) {
            const bool escaped = std::bit_cast<uint64_t>(s.active[k]) == 0;
            if (s.pixel[k] >= 0 && (escaped || s.count[k] >= limit)) {
                counts[s.pixel[k]] = int(std::min<int64_t>(s.count[k], limit));
                --live;
                fill(k);
            }
        }
    }
}

int64_t ActiveTarget() { return HWY_TARGET; }

}  // namespace HWY_NAMESPACE
}  // namespace escape_kernel
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace escape_kernel {
HWY_EXPORT(EscapeCountsRow);
HWY_EXPORT(ActiveTarget);
}  // namespace escape_kernel

void escapeCountsVector(const RowPixels &row, int *counts)
{
    HWY_DYNAMIC_DISPATCH(escape_kernel::EscapeCountsRow)(row, counts);
}

// Below this many pixels the lanes' setup costs more than the vector steps save
// (a pan step's side strip is a few columns wide).
constexpr int NARROW_RUN = 16;

void escapeCountsFast(const RowPixels &row, int *counts)
{
    if (row.end - row.first < NARROW_RUN) {
        escapeCountsPlain(row, counts);
        return;
    }
    escapeCountsVector(row, counts);
}

void escapeCountsPlain(const RowPixels &row, int *counts)
{
    for (int column = row.first; column < row.end; ++column) {
        const PlanePoint point = {
            planeCoordinate(row.centerX, column, row.halfWidth, row.scale), row.im};
        counts[column - row.first] = row.julia ? escapeCount(point, row.c, row.maxIterations)
                                               : escapeCount({0.0, 0.0}, point, row.maxIterations);
    }
}

int64_t compiledKernelTargets() { return HWY_TARGETS; }

int64_t activeKernelTarget() { return HWY_DYNAMIC_DISPATCH(escape_kernel::ActiveTarget)(); }

const char *kernelTargetName(int64_t target) { return hwy::TargetName(target); }
#endif  // HWY_ONCE
