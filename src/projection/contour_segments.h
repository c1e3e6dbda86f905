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

/// Appends to out[k] the segments of the curve value == levels[k] through
/// every cell whose four samples are finite, for each k at once (a cell is
/// read once, whatever the number of levels); a cell with a NaN or an
/// infinity among them has none. A sample equal to a level counts as above
/// it. The two curves through a saddle cell are joined as its centre's mean
/// says. `out` is resized to the number of levels.
void AddContourSegments(const float* values, int width, int height,
                        const std::vector<float>& levels,
                        std::vector<std::vector<GridSegment>>& out);

}  // namespace projection
