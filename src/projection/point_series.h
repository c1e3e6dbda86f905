#pragma once
// The series that the net geometry writes its points to.
// Net coordinates: x East (right), y North (up); the unit circle is the
// horizon, the origin the vertical.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "projection/colour.h"

namespace projection {

/// One point of a series with its own label and colour.
struct NetPoint {
  double x = 0.0;
  double y = 0.0;
  std::string label;
  Colour colour = kBlack;
};

/// How a series orders the points it is given.
enum class PointOrder {
  Insertion,   ///< points stay in the order added (a line is drawn in that order)
  AscendingX,  ///< a point goes after the last stored point whose x is not greater
};

/// The operations the geometry relies on.
class PointSeries {
 public:
  virtual ~PointSeries() = default;
  /// Removes every point with its label and colour.
  virtual void ClearPoints() = 0;
  /// Stores a point with its label and colour, placed by the series' order.
  virtual void AddPoint(double x, double y, std::string_view label, Colour colour) = 0;
  /// Sets how later points are placed.
  virtual void SetOrder(PointOrder order) = 0;
  /// Names the stored points as they are now: a new value after every
  /// ClearPoints and AddPoint, never one that another series or another state
  /// of this one had, so an unchanged revision means unchanged points.
  virtual std::uint64_t Revision() const = 0;
};

/// An in-memory series: the store behind every chart series, and a test double.
class PointList : public PointSeries {
 public:
  explicit PointList(PointOrder order = PointOrder::Insertion) : order_(order) {}
  /// A copy holds the same points under a revision of its own.
  PointList(const PointList& other) : order_(other.order_), points_(other.points_) {}
  PointList& operator=(const PointList& other);

  void ClearPoints() override;
  void AddPoint(double x, double y, std::string_view label, Colour colour) override;
  void SetOrder(PointOrder order) override { order_ = order; }
  std::uint64_t Revision() const override { return revision_; }

  PointOrder Order() const { return order_; }
  const std::vector<NetPoint>& Points() const { return points_; }

 private:
  PointOrder order_;
  std::vector<NetPoint> points_;
  std::uint64_t revision_ = NewRevision();

  static std::uint64_t NewRevision();
};

}  // namespace projection
