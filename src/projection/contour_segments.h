#pragma once
// Level curves of a field sampled on a grid, as straight segments (marching
// squares). Grid coordinates: sample (i, j) of a row-major width x height
// field stands at (i, j); a curve crosses a cell edge where the linear
// interpolation between the edge's two samples equals the level.

#include <vector>

namespace projection {

struct GridSegment {
  float x0 = 0.0F;
  float y0 = 0.0F;
  float x1 = 0.0F;
  float y1 = 0.0F;
};

/// Appends to `out` the segments of the curve value == `level` through every
/// cell whose four samples are finite; a cell with a NaN or an infinity
/// among them has none. A sample equal to the level counts as above it. The
/// two curves through a saddle cell are joined as its centre's mean says.
void AddContourSegments(const float* values, int width, int height, float level,
                        std::vector<GridSegment>& out);

}  // namespace projection
