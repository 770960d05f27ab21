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

constexpr size_t MAX_LANES = HWY_MAX_BYTES / sizeof(double);
// From this limit on, the steps skip the counting and a block in which a lane
// escaped is run again with counting; below it, escapes are too frequent for that.
// (Measured: counting costs a tenth more per step, a recount a block per pixel.)
constexpr int RECOUNT_MIN_LIMIT = 256;
// Steps between two looks at the lanes, with and without recounting: long enough
// that the look costs little beside the steps, short enough that finished lanes do
// not idle for long (at low limits most pixels escape within a few steps).
constexpr int RECOUNT_BLOCK_STEPS = 8;
constexpr int COUNT_BLOCK_STEPS = 4;
// The look for a repeated state, from the limit at which it pays: below it nearly
// every pixel escapes or ends before a cycle shows. At the limit 4096 it makes the
// start view three times faster. After every block the lanes' x is compared with that
// of their reference state (one compare per vector); the full comparison, and the
// renewal of the references, follow on a match and every CYCLE_CHECK_BLOCKS blocks.
// A cycle of period p shows lcm(8, p) steps after a reference state taken in it, where
// a look every 32 steps needed lcm(32, p): on the deep boundary view a tenth fewer steps.
constexpr int CYCLE_CHECK_BLOCKS = 16;
constexpr int CYCLE_CHECK_MIN_LIMIT = 256;
// The start step of an idle lane: its count (steps - start) never reaches a limit.
constexpr int64_t IDLE_START = INT64_MAX / 4;

// The escape test of a step: a lane stays active while not (x^2 + y^2 > 4), so a NaN
// sum stays active as in the plain loop; an escaped lane stays escaped.
HWY_INLINE M stillActive(const V sum, const V four, const M active)
{
#if HWY_TARGET == HWY_AVX3 || HWY_TARGET == HWY_AVX3_DL
    // One masked, unordered compare instead of a compare and a mask operation.
    M result;
    result.raw = _mm512_mask_cmp_pd_mask(active.raw, sum.raw, four.raw, _CMP_NGT_UQ);
    return result;
#else
    return hn::AndNot(hn::Gt(sum, four), active);
#endif
}

// A copy of a mask kept over a block. AVX-512 has only seven mask registers, fewer
// than the active masks and their copies, so the copy lives in a general register.
#if HWY_TARGET == HWY_AVX3 || HWY_TARGET == HWY_AVX3_DL
using MaskCopy = unsigned;
// GCC 12 may spill an eight-lane mask as a byte and reload it as a word, leaving
// junk above the lane bits; the barrier keeps the clearing from being dropped.
HWY_INLINE MaskCopy copyOf(const M m)
{
    unsigned bits = _cvtmask8_u32(m.raw);
    asm("" : "+r"(bits));
    return bits & 0xFFu;
}
HWY_INLINE M maskOf(const MaskCopy bits)
{
    M m;
    m.raw = _cvtu32_mask8(bits);
    return m;
}
HWY_INLINE bool changed(const M m, const MaskCopy before) { return copyOf(m) != before; }
HWY_INLINE int laneCount(const M m) { return __builtin_popcount(copyOf(m)); }
#else
using MaskCopy = M;
HWY_INLINE MaskCopy copyOf(const M m) { return m; }
HWY_INLINE M maskOf(const MaskCopy m) { return m; }
HWY_INLINE bool changed(const M m, const MaskCopy before)
{
    return !hn::AllFalse(D(), hn::Xor(m, before));
}
HWY_INLINE int laneCount(const M m) { return int(hn::CountTrue(D(), m)); }
#endif

// Blocks without escape tests. With |c| <= 2 an orbit that escaped cannot come back
// (below): while every lane's c has c.re^2 + c.im^2 <= SAFE_MODULUS_2 and its z at
// the block start has x^2 + y^2 <= SAFE_MODULUS_2 (so step 0 passes), a block runs
// its steps untested, and a lane whose end state has not (x^2 + y^2 <= SAFE_MODULUS_2)
// (larger, or NaN) may have escaped: its vector runs the block again with counting.
// A block without such a lane escaped at none of its steps, so the tests are saved.
//
// Why: a computed x^2 + y^2 > 4 means |z| >= 2(1 - u) (u = 2^-53). A step computes
// z^2 + c + e with |e| <= 5u|z|^2 + 2u|c| (five roundings, the doubling is exact), so
// |z'| >= |z|^2 - |c| - |e|. The computed bound on |c|^2 gives |c| <= 1.99750, and
// for |z| >= 2(1 - u), |z|^2 - |z| - |c| - |e| >= 0.0025 - 40u > 0 (it grows with |z|):
// |z| never decreases after an escape, so the block's end state has computed
// x^2 + y^2 >= 4(1 - 4u) > SAFE_MODULUS_2; or a part overflowed, after which every
// later sum is +inf or NaN. Underflow adds errors near 1e-308, far below the margin.
constexpr double SAFE_MODULUS_2 = 3.99;

// One untested step; x2 and y2 hold the squares of x and y and become those of the
// new x and y, so that the sum at the block end costs one addition.
HWY_INLINE void untestedStep(V &x, V &y, V &x2, V &y2, const V cx, const V cy)
{
    const V newY = hn::Add(hn::Mul(hn::Add(x, x), y), cy);
    x = hn::Add(hn::Sub(x2, y2), cx);
    y = newY;
    x2 = hn::Mul(x, x);
    y2 = hn::Mul(y, y);
}

// One step of z <- z^2 + c in every lane, the escape test of the old z first.
HWY_INLINE void step(V &x, V &y, const V cx, const V cy, M &active, const V four)
{
    const V x2 = hn::Mul(x, x);
    const V y2 = hn::Mul(y, y);
    active = stillActive(hn::Add(x2, y2), four, active);
    // x + x is 2x exactly, so (x + x) * y rounds like 2 * x * y.
    const V newY = hn::Add(hn::Mul(hn::Add(x, x), y), cy);
    x = hn::Add(hn::Sub(x2, y2), cx);
    y = newY;
}

// A step that also counts each lane's passed tests.
HWY_INLINE void countedStep(V &x, V &y, const V cx, const V cy, M &active, VI &passed,
                            const V four)
{
    const DI di;
    step(x, y, cx, cy, active, four);
    passed = hn::IfThenElse(hn::RebindMask(di, active), hn::Add(passed, hn::Set(di, 1)), passed);
}

// Lanes whose state equals, bit for bit, an earlier state of their own orbit: the
// orbit repeats from there on and never escapes. The reference state is renewed at
// doubling counts, so that a cycle of any length is eventually caught, but at most
// maxGap steps apart, so that an orbit that settles late in a long run is still caught
// well before the limit.
HWY_INLINE M repeatedState(const V x, const V y, V &refX, V &refY, VI &nextRef, const VI start,
                           const M active, const VI steps, const VI maxGap)
{
    const D d;
    const DI di;
    const auto same = hn::And(hn::Eq(hn::BitCast(di, x), hn::BitCast(di, refX)),
                              hn::Eq(hn::BitCast(di, y), hn::BitCast(di, refY)));
    const M cycled = hn::And(hn::RebindMask(d, same), active);
    const VI count = hn::Sub(steps, start);
    const auto renew = hn::Not(hn::Gt(nextRef, count));
    refX = hn::IfThenElse(hn::RebindMask(d, renew), x, refX);
    refY = hn::IfThenElse(hn::RebindMask(d, renew), y, refY);
    nextRef = hn::IfThenElse(renew, hn::Add(count, hn::Min(count, maxGap)), nextRef);
    return cycled;
}

// The columns of a run, handed out to the lanes in order.
struct RowSource {
    const double *re;  // the plane coordinate of each column of the run
    int width;
    int next;          // the next column to hand out, relative to the run's first
};

// Puts the run's next columns into the lanes of `taken`, in lane order, as far as
// there are columns left; returns the lanes that got one (the others go idle), with
// their coordinates in re and their column in column.
HWY_INLINE M takeColumns(RowSource &source, const M taken, V &re, VI &column)
{
    const D d;
    const DI di;
#if HWY_TARGET == HWY_AVX3 || HWY_TARGET == HWY_AVX3_DL
    const unsigned bits = copyOf(taken);
    const int left = source.width - source.next;
    const int wanted = __builtin_popcount(bits);
    M got;
    got.raw = wanted <= left ? __mmask8(bits) : __mmask8(_pdep_u32((1u << left) - 1u, bits));
    re.raw = _mm512_maskz_expandloadu_pd(got.raw, source.re + source.next);
    column.raw = _mm512_maskz_expand_epi64(got.raw, hn::Iota(di, source.next).raw);
    source.next += __builtin_popcount(copyOf(got));
    return got;
#else
    const size_t lanes = hn::Lanes(d);
    uint8_t takenBits[MAX_LANES / 8 + 8] = {};
    uint8_t gotBits[MAX_LANES / 8 + 8] = {};
    HWY_ALIGN double reLanes[MAX_LANES];
    HWY_ALIGN int64_t columnLanes[MAX_LANES];
    hn::StoreMaskBits(d, taken, takenBits);
    for (size_t j = 0; j < lanes; ++j) {
        reLanes[j] = 0.0;
        columnLanes[j] = 0;
        if ((takenBits[j / 8] >> (j % 8) & 1) != 0 && source.next < source.width) {
            gotBits[j / 8] = uint8_t(gotBits[j / 8] | 1 << (j % 8));
            reLanes[j] = source.re[source.next];
            columnLanes[j] = source.next;
            ++source.next;
        }
    }
    re = hn::Load(d, reLanes);
    column = hn::Load(di, columnLanes);
    return hn::LoadMaskBits(d, gotBits);
#endif
}

// Independent vectors in flight: one step is a chain of dependent operations about
// three times as long as the step's share of the two vector ports, so four vectors
// keep the ports busy (five and six measured no faster). Each vector's state is a
// set of named variables, suffixed by its digit, rather than an array, because
// scalable vector types cannot be array elements.
#define MJ_EACH_VECTOR(X) X(0) X(1) X(2) X(3)

// The state of one vector of lanes.
#define MJ_LANE_STATE(v)                                                                   \
    V x##v = hn::Zero(d), y##v = hn::Zero(d), cx##v = hn::Zero(d), cy##v = hn::Zero(d);   \
    V refX##v = one, refY##v = one;                                                        \
    VI start##v = idleStart, column##v = hn::Zero(di), nextRef##v = firstRef;              \
    VI passed##v = hn::Zero(di);                                                           \
    V x2##v = hn::Zero(d), y2##v = hn::Zero(d);                                            \
    bool cSafe##v = true;                                                                  \
    M a##v = allLanes;

// The counts of one run of columns. BLOCK_STEPS steps run between two looks at the
// lanes: long enough that the look costs little beside the steps, short enough that
// finished lanes do not idle for long. With `recount`, the steps skip the counting
// and a block in which a lane escaped runs again with counting.
template <int BLOCK_STEPS, bool recount>
void countRun(const RowPixels &row, int *counts)
{
    const int width = row.end - row.first;
    const int limit = row.maxIterations;
    const bool checkCycles = limit >= CYCLE_CHECK_MIN_LIMIT;

    const D d;
    const DI di;
    const size_t lanes = hn::Lanes(d);

    // The columns' plane coordinates, unless the caller has them.
    HWY_ALIGN double ownRe[MAX_KERNEL_RUN];
    const double *re = row.columnRe;
    if (re == nullptr) {
        for (int k = 0; k < width; ++k) {
            ownRe[k] = planeCoordinate(row.centerX, row.first + k, row.halfWidth, row.scale);
        }
        re = ownRe;
    }
    RowSource source = {re, width, 0};
    const bool julia = row.julia;

    const V four = hn::Set(d, 4.0);
    const V safe = hn::Set(d, SAFE_MODULUS_2);
    const V one = hn::Set(d, 1.0);
    const V imV = hn::Set(d, row.im);
    const V cReV = hn::Set(d, row.c.re);
    const V cImV = hn::Set(d, row.c.im);
    const VI idleStart = hn::Set(di, IDLE_START);
    const VI firstRef = hn::Set(di, BLOCK_STEPS * CYCLE_CHECK_BLOCKS);
    const VI blockSteps = hn::Set(di, BLOCK_STEPS);
    const VI limitV = hn::Set(di, limit);
    // A quarter of the limit: on the deep boundary view at 4096, half of the orbits that
    // repeat settle into their cycle between steps 1300 and 2700, around and past the
    // last doubling (2048).
    const VI maxRefGap = hn::Set(di, std::max(limit / 4, BLOCK_STEPS * CYCLE_CHECK_BLOCKS));
    const M allLanes = hn::Eq(one, one);
    int64_t steps = 0;
    int busy = 0;  // lanes holding a pixel

    // Writes the counts of the lanes of `done`: an escaped lane's count is that of the
    // steps before this block plus the tests it passed in it; a count past the limit
    // is cut back to it, which is the plain loop's count for a pixel that had not
    // escaped by then.
    auto finish = [&](const VI start, const VI column, const VI passed, const M escaped,
                      const M cycled, const M done) HWY_ATTR __attribute__((always_inline)) {
        VI count = hn::Sub(hn::Set(di, steps), start);
        count = hn::IfThenElse(hn::RebindMask(di, escaped),
                               hn::Add(hn::Sub(count, blockSteps), passed), count);
        count = hn::Min(count, limitV);
        count = hn::IfThenElse(hn::RebindMask(di, cycled), limitV, count);
#if HWY_TARGET == HWY_AVX3 || HWY_TARGET == HWY_AVX3_DL
        _mm512_mask_i64scatter_epi32(counts, done.raw, column.raw,
                                     _mm512_cvtepi64_epi32(count.raw), 4);
#else
        HWY_ALIGN int64_t countLanes[MAX_LANES];
        HWY_ALIGN int64_t columnLanes[MAX_LANES];
        uint8_t doneBits[MAX_LANES / 8 + 8] = {};
        hn::Store(count, di, countLanes);
        hn::Store(column, di, columnLanes);
        hn::StoreMaskBits(d, done, doneBits);
        for (size_t j = 0; j < lanes; ++j) {
            if ((doneBits[j / 8] >> (j % 8) & 1) != 0) {
                counts[columnLanes[j]] = int(countLanes[j]);
            }
        }
#endif
        busy -= laneCount(done);
    };
    // Refills the lanes of `done` with the next columns, or makes them idle: an idle
    // lane (z = c = 0) stays put, active and unlike its reference state, and its
    // count never reaches the limit.
    auto refill = [&](V &x, V &y, V &cx, V &cy, M &a, VI &start, VI &column, V &refX, V &refY,
                      VI &nextRef, bool &cSafe, const M done)
                      HWY_ATTR __attribute__((always_inline)) {
        const VI stepsV = hn::Set(di, steps);
        V reNew;
        VI columnNew;
        const M got = takeColumns(source, done, reNew, columnNew);
        busy += laneCount(got);
        const V xNew = julia ? reNew : hn::Zero(d);
        const V yNew = julia ? hn::IfThenElseZero(got, imV) : hn::Zero(d);
        const V cxNew = julia ? hn::IfThenElseZero(got, cReV) : reNew;
        const V cyNew = hn::IfThenElseZero(got, julia ? cImV : imV);
        x = hn::IfThenElse(done, xNew, x);
        y = hn::IfThenElse(done, yNew, y);
        cx = hn::IfThenElse(done, cxNew, cx);
        cy = hn::IfThenElse(done, cyNew, cy);
        refX = hn::IfThenElse(done, hn::IfThenElse(got, xNew, one), refX);
        refY = hn::IfThenElse(done, yNew, refY);
        const auto doneI = hn::RebindMask(di, done);
        const VI startNew = hn::IfThenElse(hn::RebindMask(di, got), stepsV, idleStart);
        start = hn::IfThenElse(doneI, startNew, start);
        nextRef = hn::IfThenElse(doneI, firstRef, nextRef);
        column = hn::IfThenElse(doneI, columnNew, column);
        a = hn::Or(a, done);
        cSafe = hn::AllTrue(d, hn::Le(hn::Add(hn::Mul(cx, cx), hn::Mul(cy, cy)), safe));
    };

    MJ_EACH_VECTOR(MJ_LANE_STATE)
    const M none = hn::Not(allLanes);
#define MJ_START(v) refill(x##v, y##v, cx##v, cy##v, a##v, start##v, column##v, refX##v, refY##v, \
                           nextRef##v, cSafe##v, allLanes);
    MJ_EACH_VECTOR(MJ_START)
#undef MJ_START
    // The step at which the first busy lane reaches the limit.
    auto limitStep = [&]() {
        VI first = idleStart;
#define MJ_MIN_START(v) first = hn::Min(first, start##v);
        MJ_EACH_VECTOR(MJ_MIN_START)
#undef MJ_MIN_START
        return hn::GetLane(hn::MinOfLanes(di, first)) + limit;
    };
    int64_t nextLimitStep = limitStep();
    int blocksToCheck = CYCLE_CHECK_BLOCKS;
    // Whether a lane's x equals that of its reference state, bit for bit: a cheap
    // sign of a possible cycle, looked at after every block.
    auto repeatedX = [&]() HWY_ATTR __attribute__((always_inline)) {
        M sameX = none;
#define MJ_SAME_X(v) \
    sameX = hn::Or(sameX, hn::RebindMask(d, hn::Eq(hn::BitCast(di, x##v), hn::BitCast(di, refX##v))));
        MJ_EACH_VECTOR(MJ_SAME_X)
#undef MJ_SAME_X
        return !hn::AllFalse(d, sameX);
    };
    // Whether the next block may run untested, and whether that is still to be found
    // (x2, y2 are the squares of the state whenever it is known).
    bool untested = false;
    bool lookAgain = true;

    while (busy > 0) {
        if (recount && lookAgain) {
            untested = true;
#define MJ_SAFE(v)                                                                   \
    x2##v = hn::Mul(x##v, x##v);                                                     \
    y2##v = hn::Mul(y##v, y##v);                                                     \
    untested = untested && cSafe##v && hn::AllTrue(d, hn::Le(hn::Add(x2##v, y2##v), safe));
            MJ_EACH_VECTOR(MJ_SAFE)
#undef MJ_SAFE
        }
#define MJ_SAVE(v)                                                                           \
    V x##v##Start = x##v, y##v##Start = y##v;                                                \
    const MaskCopy a##v##Start = copyOf(a##v);
        MJ_EACH_VECTOR(MJ_SAVE)
#undef MJ_SAVE
        bool xRepeated = false;
#define MJ_NOT_COUNTED(v) bool counted##v = false;
        MJ_EACH_VECTOR(MJ_NOT_COUNTED)
#undef MJ_NOT_COUNTED
        if (recount && untested) {
            // Untested blocks back to back until a lane may have escaped or a look for
            // the limit or a cycle is due.
#define MJ_SAFE(v) M safe##v = allLanes;
            MJ_EACH_VECTOR(MJ_SAFE)
#undef MJ_SAFE
            for (;;) {
                for (int k = 0; k < BLOCK_STEPS; ++k) {
#define MJ_STEP(v) untestedStep(x##v, y##v, x2##v, y2##v, cx##v, cy##v);
                    MJ_EACH_VECTOR(MJ_STEP)
#undef MJ_STEP
                }
                steps += BLOCK_STEPS;
                M allSafe = allLanes;
#define MJ_SAFE(v)                                                                   \
    safe##v = hn::Le(hn::Add(x2##v, y2##v), safe);                                   \
    allSafe = hn::And(allSafe, safe##v);
                MJ_EACH_VECTOR(MJ_SAFE)
#undef MJ_SAFE
                lookAgain = !hn::AllTrue(d, allSafe);
                xRepeated = checkCycles && repeatedX();
                if (lookAgain || xRepeated || steps >= nextLimitStep ||
                    (checkCycles && blocksToCheck == 1)) {
                    break;
                }
                if (checkCycles) {
                    --blocksToCheck;
                }
#define MJ_SAVE(v) x##v##Start = x##v, y##v##Start = y##v;
                MJ_EACH_VECTOR(MJ_SAVE)
#undef MJ_SAVE
            }
            if (lookAgain) {
                // The block again with tests and counting where a lane may have escaped;
                // it ends in the same state, and the next block starts with a look.
#define MJ_RECOUNT(v)                                                                \
    if (!hn::AllTrue(d, safe##v)) {                                                  \
        x##v = x##v##Start;                                                          \
        y##v = y##v##Start;                                                          \
        passed##v = hn::Zero(di);                                                    \
        for (int k = 0; k < BLOCK_STEPS; ++k) {                                      \
            countedStep(x##v, y##v, cx##v, cy##v, a##v, passed##v, four);            \
        }                                                                            \
        counted##v = true;                                                           \
    }
                MJ_EACH_VECTOR(MJ_RECOUNT)
#undef MJ_RECOUNT
            }
        } else if (recount) {
            lookAgain = true;
            for (int k = 0; k < BLOCK_STEPS; ++k) {
#define MJ_STEP(v) step(x##v, y##v, cx##v, cy##v, a##v, four);
                MJ_EACH_VECTOR(MJ_STEP)
#undef MJ_STEP
            }
            steps += BLOCK_STEPS;
            xRepeated = checkCycles && repeatedX();
        } else {
#define MJ_CLEAR(v) passed##v = hn::Zero(di);
            MJ_EACH_VECTOR(MJ_CLEAR)
#undef MJ_CLEAR
            for (int k = 0; k < BLOCK_STEPS; ++k) {
#define MJ_STEP(v) countedStep(x##v, y##v, cx##v, cy##v, a##v, passed##v, four);
                MJ_EACH_VECTOR(MJ_STEP)
#undef MJ_STEP
            }
            steps += BLOCK_STEPS;
        }
        // An escaped lane stays escaped, so a changed mask means an escape.
        bool anyEscaped = false;
#define MJ_ESCAPED(v) anyEscaped |= changed(a##v, a##v##Start);
        MJ_EACH_VECTOR(MJ_ESCAPED)
#undef MJ_ESCAPED
        const bool anyAtLimit = steps >= nextLimitStep;
#define MJ_NONE(v) M cycled##v = none;
        MJ_EACH_VECTOR(MJ_NONE)
#undef MJ_NONE
        bool anyCycled = false;
        if (checkCycles && (--blocksToCheck == 0 || xRepeated)) {
            blocksToCheck = CYCLE_CHECK_BLOCKS;
            const VI stepsV = hn::Set(di, steps);
#define MJ_CYCLED(v)                                                                           \
    cycled##v = repeatedState(x##v, y##v, refX##v, refY##v, nextRef##v, start##v, a##v, stepsV, \
                              maxRefGap);                                                    \
    anyCycled |= !hn::AllFalse(d, cycled##v);
            MJ_EACH_VECTOR(MJ_CYCLED)
#undef MJ_CYCLED
        }
        if (!anyEscaped && !anyAtLimit && !anyCycled) {
            continue;
        }
        lookAgain = true;
        const VI stepsV = hn::Set(di, steps);
        const VI belowLimit = hn::Set(di, limit - 1);
#define MJ_FINISH(v)                                                                         \
    const M escaped##v = hn::AndNot(a##v, maskOf(a##v##Start));                              \
    if (recount && !counted##v && !hn::AllFalse(d, escaped##v)) {                            \
        /* Find the escaped lanes' counts: the block again, with counting. */                \
        x##v = x##v##Start;                                                                  \
        y##v = y##v##Start;                                                                  \
        a##v = maskOf(a##v##Start);                                                          \
        passed##v = hn::Zero(di);                                                            \
        for (int k = 0; k < BLOCK_STEPS; ++k) {                                              \
            countedStep(x##v, y##v, cx##v, cy##v, a##v, passed##v, four);                    \
        }                                                                                    \
    }                                                                                        \
    {                                                                                        \
        const M atLimit = hn::RebindMask(d, hn::Gt(hn::Sub(stepsV, start##v), belowLimit));  \
        const M done = hn::Or(hn::Or(escaped##v, cycled##v), atLimit);                       \
        if (!hn::AllFalse(d, done)) {                                                        \
            finish(start##v, column##v, passed##v, escaped##v, cycled##v, done);             \
            refill(x##v, y##v, cx##v, cy##v, a##v, start##v, column##v, refX##v, refY##v,    \
                   nextRef##v, cSafe##v, done);                                              \
        }                                                                                    \
    }
        MJ_EACH_VECTOR(MJ_FINISH)
#undef MJ_FINISH
        if (anyAtLimit) {
            // Finished lanes can only move the first limit step later; a stale one
            // costs one look that finds nothing.
            nextLimitStep = limitStep();
        }
    }
}
#undef MJ_LANE_STATE

void EscapeCountsRow(const RowPixels &row, int *counts)
{
    const int width = row.end - row.first;
    if (width <= 0) {
        return;
    }
    if (row.maxIterations <= 0) {
        std::fill(counts, counts + width, 0);
        return;
    }
    if (row.maxIterations >= RECOUNT_MIN_LIMIT) {
        countRun<RECOUNT_BLOCK_STEPS, true>(row, counts);
    } else {
        countRun<COUNT_BLOCK_STEPS, false>(row, counts);
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
    for (int first = row.first; first < row.end; first += MAX_KERNEL_RUN) {
        RowPixels run = row;
        run.first = first;
        run.end = first + std::min(row.end - first, MAX_KERNEL_RUN);
        if (row.columnRe != nullptr) {
            run.columnRe = row.columnRe + (first - row.first);
        }
        HWY_DYNAMIC_DISPATCH(escape_kernel::EscapeCountsRow)(run, counts + (first - row.first));
    }
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
