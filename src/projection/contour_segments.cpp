#include "projection/contour_segments.h"

#include <algorithm>
#include <cmath>

namespace projection {
namespace {

struct Point {
  float x;
  float y;
};

}  // namespace

void AddContourSegments(const float* values, int width, int height,
                        const std::vector<float>& levels,
                        std::vector<std::vector<GridSegment>>& out) {
  out.resize(levels.size());
  // Edges of a cell by number: 0 top (v0-v1), 1 right (v1-v2), 2 bottom
  // (v2-v3), 3 left (v3-v0), corners v0 (i, j), v1 (i+1, j), v2 (i+1, j+1),
  // v3 (i, j+1). Each case's pair separates its corners above the level from
  // those below; a case and its complement share their edges.
  static constexpr int kEdges[16][4] = {
      {-1, -1, -1, -1}, {3, 0, -1, -1}, {0, 1, -1, -1}, {3, 1, -1, -1},
      {1, 2, -1, -1},   {3, 0, 1, 2},   {0, 2, -1, -1}, {3, 2, -1, -1},
      {2, 3, -1, -1},   {0, 2, -1, -1}, {0, 1, 2, 3},   {1, 2, -1, -1},
      {1, 3, -1, -1},   {0, 1, -1, -1}, {3, 0, -1, -1}, {-1, -1, -1, -1}};
  for (int j = 0; j + 1 < height; ++j) {
    const float* top = values + static_cast<std::ptrdiff_t>(j) * width;
    const float* bottom = top + width;
    for (int i = 0; i + 1 < width; ++i) {
      const float v[4] = {top[i], top[i + 1], bottom[i + 1], bottom[i]};
      if (!(std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]) &&
            std::isfinite(v[3])))
        continue;
      const float low = std::min(std::min(v[0], v[1]), std::min(v[2], v[3]));
      const float high = std::max(std::max(v[0], v[1]), std::max(v[2], v[3]));
      for (std::size_t n = 0; n < levels.size(); ++n) {
        const float level = levels[n];
        if (level <= low || level > high)
          continue;  // all four on one side
        const int c = (v[0] >= level ? 1 : 0) | (v[1] >= level ? 2 : 0) | (v[2] >= level ? 4 : 0) |
                      (v[3] >= level ? 8 : 0);
        if (c == 0 || c == 15)
          continue;
        const auto cross = [&](int edge) -> Point {
          const Point corners[4] = {{float(i), float(j)},
                                    {float(i + 1), float(j)},
                                    {float(i + 1), float(j + 1)},
                                    {float(i), float(j + 1)}};
          const int a = edge;
          const int b = (edge + 1) % 4;
          const float t = (level - v[a]) / (v[b] - v[a]);
          return {corners[a].x + t * (corners[b].x - corners[a].x),
                  corners[a].y + t * (corners[b].y - corners[a].y)};
        };
        // The table's saddles (cases 5 and 10) keep the corners above the
        // level apart, as when the centre lies below; above it they are joined
        // through the centre, which cuts off the other two corners instead.
        static constexpr int kAroundV1V3[4] = {0, 1, 2, 3};
        static constexpr int kAroundV0V2[4] = {3, 0, 1, 2};
        const int* edges = kEdges[c];
        if (edges[2] >= 0 && (v[0] + v[1] + v[2] + v[3]) / 4.0F >= level)
          edges = c == 5 ? kAroundV1V3 : kAroundV0V2;
        for (int k = 0; k < 4 && edges[k] >= 0; k += 2) {
          const Point p = cross(edges[k]);
          const Point q = cross(edges[k + 1]);
          out[n].push_back({p.x, p.y, q.x, q.y});
        }
      }
    }
  }
}

}  // namespace projection
