#include "analysis/stress_profile.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>

#include "numeric/extended.h"

namespace analysis {

using numeric::Extended;

namespace {

std::string Shortest(double value) {
  std::array<char, 32> buffer;
  const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  return std::string(buffer.data(), written.ptr);
}

double Rounded(const std::optional<double>& atReference, Extended fromReference,
               Extended fromSurface) {
  return static_cast<double>(atReference ? *atReference + fromReference : fromSurface);
}

/// a + t (b - a).
double Between(double a, double b, Extended t) {
  return static_cast<double>(a + t * (static_cast<Extended>(b) - a));
}

/// The azimuth a turned by t of the shorter turn of the axis towards b, in [0, 360).
double AzimuthBetween(double a, double b, Extended t) {
  Extended turn = std::fmod(static_cast<Extended>(b) - a, 180.0L);
  if (turn > 90.0L)
    turn -= 180.0L;
  else if (turn <= -90.0L)
    turn += 180.0L;
  Extended azimuth = std::fmod(a + t * turn, 360.0L);
  if (azimuth < 0.0L)
    azimuth += 360.0L;
  const double rounded = static_cast<double>(azimuth);
  return rounded >= 360.0 ? 0.0 : rounded;
}

bool AllFinite(const ProfileRow& r) {
  return std::isfinite(r.depth) && std::isfinite(r.sv) && std::isfinite(r.shMax) &&
         std::isfinite(r.shMin) && std::isfinite(r.porePressure) && std::isfinite(r.shMaxAzimuth);
}

}  // namespace

StressProfile StressProfile::FromGradients(const GradientProfile& gradients) {
  StressProfile p;
  p.units_ = gradients.gradients.units;
  p.gradients_ = gradients;
  return p;
}

BuiltProfile StressProfile::FromTable(UnitSystem units, std::vector<ProfileRow> rows) {
  if (rows.empty())
    return {std::nullopt, "The table has no rows"};
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const ProfileRow& r = rows[i];
    const std::string row = "row " + std::to_string(i + 1) + ": ";
    const std::pair<const char*, double> values[] = {
        {"depth", r.depth}, {"sv", r.sv},           {"shmax", r.shMax},
        {"shmin", r.shMin}, {"pp", r.porePressure}, {"shmax_azimuth", r.shMaxAzimuth}};
    for (const auto& [name, value] : values)
      if (!std::isfinite(value))
        return {std::nullopt, row + name + " is not a number"};
    if (i > 0 && !(r.depth > rows[i - 1].depth))
      return {std::nullopt, row + "depth " + Shortest(r.depth) + " is not below the row before (" +
                                Shortest(rows[i - 1].depth) + ")"};
    if (r.shMax < r.shMin)
      return {std::nullopt,
              row + "shmax " + Shortest(r.shMax) + " is below shmin " + Shortest(r.shMin)};
  }
  StressProfile p;
  p.units_ = units;
  p.rows_ = std::move(rows);
  return {std::move(p), {}};
}

std::optional<double> StressProfile::Top() const {
  if (gradients_)
    return 0.0;
  if (rows_.empty())
    return std::nullopt;
  return rows_.front().depth;
}

std::optional<double> StressProfile::Bottom() const {
  if (gradients_)
    return std::numeric_limits<double>::infinity();
  if (rows_.empty())
    return std::nullopt;
  return rows_.back().depth;
}

ProfileValue StressProfile::At(double depth) const {
  if (!std::isfinite(depth))
    return {std::nullopt, "the depth is not a number"};
  if (gradients_) {
    if (depth < 0.0)
      return {std::nullopt, "depth " + Shortest(depth) + " is above the surface"};
    const GradientProfile& g = *gradients_;
    const StressIncrease fromSurface = IncreaseOver(g.gradients, depth);
    const StressIncrease fromReference =
        IncreaseOver(g.gradients, static_cast<Extended>(depth) - g.referenceDepth);
    ProfileRow r;
    r.depth = depth;
    r.sv = Rounded(g.svAtReference, fromReference.sv, fromSurface.sv);
    r.shMax = Rounded(g.shMaxAtReference, fromReference.shMax, fromSurface.shMax);
    r.shMin = Rounded(g.shMinAtReference, fromReference.shMin, fromSurface.shMin);
    r.porePressure =
        Rounded(g.porePressureAtReference, fromReference.porePressure, fromSurface.porePressure);
    r.shMaxAzimuth = g.gradients.shMaxAzimuth;
    if (!AllFinite(r))
      return {std::nullopt, "the stresses at depth " + Shortest(depth) + " are not numbers"};
    return {r, {}};
  }
  if (rows_.empty())
    return {std::nullopt, "there is no profile"};
  if (depth < rows_.front().depth)
    return {std::nullopt, "depth " + Shortest(depth) + " is above the table's first row (" +
                              Shortest(rows_.front().depth) + ")"};
  if (depth > rows_.back().depth)
    return {std::nullopt, "depth " + Shortest(depth) + " is below the table's last row (" +
                              Shortest(rows_.back().depth) + ")"};
  const auto below =
      std::lower_bound(rows_.begin(), rows_.end(), depth,
                       [](const ProfileRow& row, double value) { return row.depth < value; });
  if (below->depth == depth)
    return {*below, {}};
  const ProfileRow& a = *(below - 1);
  const ProfileRow& b = *below;
  const Extended t =
      (static_cast<Extended>(depth) - a.depth) / (static_cast<Extended>(b.depth) - a.depth);
  ProfileRow r;
  r.depth = depth;
  r.sv = Between(a.sv, b.sv, t);
  r.shMax = Between(a.shMax, b.shMax, t);
  r.shMin = Between(a.shMin, b.shMin, t);
  r.porePressure = Between(a.porePressure, b.porePressure, t);
  r.shMaxAzimuth = AzimuthBetween(a.shMaxAzimuth, b.shMaxAzimuth, t);
  return {r, {}};
}

DepthStresses StressesOf(const ProfileRow& row) {
  return {row.sv, row.shMax, row.shMin, row.porePressure,
          AndersonRegimeOf(row.sv, row.shMax, row.shMin)};
}

stress::StressState TensorOf(const ProfileRow& row) {
  return HorizontalTensor(row.sv, row.shMax, row.shMin, row.shMaxAzimuth);
}

}  // namespace analysis
