#pragma once

#include "platform/Parallel.h"
#include "platform/Picture.h"

namespace tess {

// The bilinear resampling of every resize the user asks to "resample": draws every pixel of
// `target` (newW x newH, its own size) from `source` (W x H).
//
// The mapping is corner-anchored: target column x samples source position
// fx = float32(x * float32((W - 1) / newW)), so column 0 is source column 0 and the last column
// stops one step short of the last source column; rows likewise. The four pixels around
// (floor(fx), floor(fy)) are split into red, green and blue; each channel is interpolated
// vertically first (left and right, each rounded to a whole number) and then horizontally, every
// product-and-sum in double precision and rounded once, a half going to the even neighbour. The
// result is clamped to 0..255 a channel.
//
// A neighbour outside the source reads as the invalid colour -1 (red 255, green 0, blue 255) and
// carries weight 0 whenever the source has at least one pixel: a one-pixel-wide source keeps its
// column in every target column. A source without pixels gives those channels everywhere. The
// source is sampled where it lies, with no table of its size.
//
// The work runs on the processor's vector units where it has them (AVX2); `code` can ask for the
// portable code instead, which gives the same pixels. `finished` is told of each target row once
// it is written.
enum class ResampleCode { Fastest, Portable };
void drawBilinear(const Picture& source, Picture& target, ResampleCode code = ResampleCode::Fastest,
                  const RowFinished& finished = {});

}  // namespace tess
