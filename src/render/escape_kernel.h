// The row kernels of the renderer: the plain per-pixel escape loop and the vector
// kernel that computes the same counts several pixels at a time.
#pragma once

#include "app/viewer_state.h"

#include <cstdint>

// The pixels [first, end) of one image row, with everything needed to map a column
// to the plane: re = planeCoordinate(centerX, column, halfWidth, scale), im is the row's.
struct RowPixels {
    bool julia;  // false: z0 = 0, c = pixel; true: z0 = pixel, c = the constant
    PlanePoint c;
    double centerX;
    double scale;
    int halfWidth;
    double im;
    int first;
    int end;
    int maxIterations;
    // re of each column of the run (columnRe[k] = planeCoordinate of column first + k,
    // shared by all rows of a render); null lets the vector kernel map the columns.
    const double *columnRe;
};

// The longest run the vector kernel takes at once; longer runs go in pieces.
constexpr int MAX_KERNEL_RUN = 4096;

// Writes escapeCount of column first + k into counts[k], pixel by pixel.
void escapeCountsPlain(const RowPixels &row, int *counts);

// The same counts from the vector kernel of the best instruction set this processor
// runs; equal to escapeCountsPlain's for every pixel.
void escapeCountsVector(const RowPixels &row, int *counts);

// The renderer's choice: the vector kernel, or the plain loop for runs too short to
// gain from it. Equal to escapeCountsPlain's counts.
void escapeCountsFast(const RowPixels &row, int *counts);

// Instruction sets the vector kernel was compiled for (a bit set of Highway targets),
// the one escapeCountsFast runs now, and a target's name.
int64_t compiledKernelTargets();
int64_t activeKernelTarget();
const char *kernelTargetName(int64_t target);
