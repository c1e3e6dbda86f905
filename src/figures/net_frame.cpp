#include "figures/net_frame.h"

#include <algorithm>
#include <cmath>

namespace figures {

QRectF NetPlotSquare(const QRectF& room, double rimTopMin) {
  const double rimInset = (kNetRange - 1.0) / (2.0 * kNetRange);  // of the side, edge to rim
  const double largest =
      std::min({room.width(), room.height(), (room.bottom() - rimTopMin) / (1.0 - rimInset)});
  int side = static_cast<int>(std::floor(largest));
  if (side % 2 == 0)
    --side;
  const double topMin = std::max(room.top(), rimTopMin - side * rimInset);
  const double topMax = room.bottom() - side;
  const double top = std::max(std::ceil(topMin), std::floor((topMin + topMax) / 2));
  const double left = std::floor(room.left() + (room.width() - side) / 2);
  return QRectF(left, top, side, side);
}

}  // namespace figures
