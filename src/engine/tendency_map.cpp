#include "engine/tendency_map.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "analysis/stress_measures.h"

namespace engine {
namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
constexpr double kDegree = 57.295779513082320876798154814105;

double Dot(const stress::Vector3& a, const stress::Vector3& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}

}  // namespace

stress::Vector3 PoleNormalAt(double x, double y) {
  return analysis::NetPointAxis(x, y);
}

Plane PlaneWithPoleAt(double x, double y) {
  const double r2 = x * x + y * y;
  // The pole points away from the dip direction; the dip is 90 degrees less
  // the pole's plunge.
  double dipDirection = std::atan2(-x, -y) * kDegree;
  if (dipDirection < 0.0)
    dipDirection += 360.0;
  const double dip = std::acos(std::clamp(1.0 - r2, -1.0, 1.0)) * kDegree;
  return Plane{dipDirection, dip};
}

TendencyField::TendencyField(const PassResults& results, const PlaneDefaults& defaults,
                             MapQuantity quantity)
    : quantity_(quantity),
      axes_{results.directions[0]->axis, results.directions[1]->axis, results.directions[2]->axis},
      s_{results.values->s1, results.values->s2, results.values->s3},
      porePressure_(results.porePressure),
      tsMax_(kNone),
      tanPhi_(kNone),
      cohesion_(defaults.cohesion.value_or(kNone)),
      zeroShear_(analysis::AgreementBound(analysis::ScaleOf(*results.values))) {
  const double s1 = s_[0] - porePressure_;
  const double s3 = s_[2] - porePressure_;
  if (s3 > 0.0 && s1 > s3)
    tsMax_ = (s1 - s3) / (2.0 * std::sqrt(s1 * s3));
  // At 90 degrees and beyond a friction angle has no limit (as for the joint).
  if (defaults.phi && std::fabs(*defaults.phi) < 90.0)
    tanPhi_ = std::tan(*defaults.phi / kDegree);
  tdDefined_ = !analysis::Agree(s_[0], s_[2], analysis::ScaleOf(*results.values));
}

double TendencyField::At(const stress::Vector3& n) const {
  if (quantity_ == MapQuantity::kNone)
    return kNone;
  const double w1 = Dot(n, axes_[0]) * Dot(n, axes_[0]);
  const double w2 = Dot(n, axes_[1]) * Dot(n, axes_[1]);
  const double w3 = Dot(n, axes_[2]) * Dot(n, axes_[2]);
  const double sigma = s_[0] * w1 + s_[1] * w2 + s_[2] * w3;
  if (quantity_ == MapQuantity::kDilationTendency) {
    if (!tdDefined_)
      return kNone;
    return std::clamp((s_[0] - sigma) / (s_[0] - s_[2]), 0.0, 1.0);
  }
  // Every term positive: no cancellation near the principal planes.
  const double d12 = s_[0] - s_[1];
  const double d23 = s_[1] - s_[2];
  const double d13 = s_[0] - s_[2];
  double tau = std::sqrt(w1 * w2 * d12 * d12 + w2 * w3 * d23 * d23 + w1 * w3 * d13 * d13);
  if (tau <= zeroShear_)
    tau = 0.0;
  const double sigmaEff = sigma - porePressure_;
  switch (quantity_) {
    case MapQuantity::kSlipTendency:
      return sigmaEff > 0.0 && tsMax_ > 0.0 ? tau / sigmaEff / tsMax_ : kNone;
    case MapQuantity::kFactorOfSafety: {
      const double tauLim = sigmaEff < 0.0 ? 0.0 : cohesion_ + sigmaEff * tanPhi_;
      if (tau > 0.0)
        return tauLim / tau;
      return tauLim > 0.0 ? std::numeric_limits<double>::infinity() : kNone;
    }
    case MapQuantity::kPorePressureToSlip:
      return tanPhi_ != 0.0 ? sigmaEff - (tau - cohesion_) / tanPhi_ : kNone;
    default:
      return kNone;
  }
}

double TendencyField::AtNetPoint(double x, double y) const {
  if (!(x * x + y * y <= 1.0))
    return kNone;
  return At(PoleNormalAt(x, y));
}

void FillMapRows(const TendencyField& field, const MapGrid& grid, int firstRow, int lastRow,
                 float* out) {
  for (int j = firstRow; j < lastRow; ++j) {
    const double y = grid.Y(j);
    float* row = out + static_cast<std::ptrdiff_t>(j) * grid.width;
    for (int i = 0; i < grid.width; ++i)
      row[i] = static_cast<float>(field.AtNetPoint(grid.X(i), y));
  }
}

std::optional<std::array<NetPoint, 2>> MaxSlipTendencyPoles(const PassResults& results) {
  if (!CanAssessPlanes(results))
    return std::nullopt;
  const double s1 = results.values->s1 - results.porePressure;
  const double s3 = results.values->s3 - results.porePressure;
  if (!(s3 > 0.0) || !(s1 > s3))
    return std::nullopt;
  // cos 2 theta = -(s1' - s3') / (s1' + s3'), so cos^2 theta = s3' / (s1' + s3').
  const double c = std::sqrt(s3 / (s1 + s3));
  const double s = std::sqrt(s1 / (s1 + s3));
  const stress::Vector3& a1 = results.directions[0]->axis;
  const stress::Vector3& a3 = results.directions[2]->axis;
  std::array<NetPoint, 2> poles;
  for (int k = 0; k < 2; ++k) {
    const double sign = k == 0 ? 1.0 : -1.0;
    stress::Vector3 n{c * a1.x + sign * s * a3.x, c * a1.y + sign * s * a3.y,
                      c * a1.z + sign * s * a3.z};
    if (n.z > 0.0)
      n = {-n.x, -n.y, -n.z};  // the lower hemisphere
    // The inverse of PoleNormalAt: r^2 = 1 + n.z, and (x, y) = (n.x, n.y) / sqrt(2 - r^2).
    const double r2 = 1.0 + n.z;
    const double k2 = std::sqrt(std::max(0.0, 2.0 - r2));
    poles[k] = k2 > 0.0 ? NetPoint{n.x / k2, n.y / k2} : NetPoint{0.0, 0.0};
  }
  return poles;
}

}  // namespace engine
