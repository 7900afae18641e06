#include "analysis/detail/zqvcnv2dsel.h"

#include <algorithm>
#include <cstdlib>

#include "zqvp4.h"

namespace zqvcnv2d {

BlockAlloc blockAlloc = &zqvMalloc;
ScratchAlloc scratchAlloc = &std::malloc;

// The rules in order: small operands are summed directly, two single rows
// (or columns) go to the one-dimensional routine, an operand at least twice
// the other in one extent and not smaller in the other is tiled, anything
// else is one transform of the whole output.
Method chooseMethod(int64_t xCols, int64_t xRows, int64_t hCols, int64_t hRows) noexcept {
  const int64_t maxRows = std::max(xRows, hRows), maxCols = std::max(xCols, hCols);
  if ((maxRows <= 16 && maxCols <= 16) || (xCols < 8 && xRows < 8) || (hCols < 8 && hRows < 8))
    return Method::Direct;
  if ((xRows == 1 && hRows == 1) || (xCols == 1 && hCols == 1)) return Method::OneDim;
  if ((xRows >= 2 * hRows && xCols >= hCols) || (xRows >= hRows && xCols >= 2 * hCols) ||
      (2 * xRows <= hRows && xCols <= hCols) || (xRows <= hRows && 2 * xCols <= hCols))
    return Method::Tiled;
  return Method::Whole;
}

}  // namespace zqvcnv2d
