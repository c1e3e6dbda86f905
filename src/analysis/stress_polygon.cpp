#include "analysis/stress_polygon.h"

#include <algorithm>
#include <cmath>

#include "analysis/stress_measures.h"
#include "numeric/extended.h"

namespace analysis {

using numeric::Extended;

namespace {

Extended RatioOf(double mu) {
  const Extended m = mu;
  const Extended root = std::sqrt(m * m + 1.0L) + m;
  return root * root;
}

}  // namespace

double FrictionalRatio(double mu) {
  return static_cast<double>(RatioOf(mu));
}

BuiltPolygon BuildStressPolygon(double sv, double porePressure, double mu) {
  if (!std::isfinite(sv) || !std::isfinite(porePressure) || !std::isfinite(mu))
    return {std::nullopt, "Sv, Pp and mu must be numbers"};
  if (mu < 0.0)
    return {std::nullopt, "mu must not be negative"};
  if (!(sv > porePressure))
    return {std::nullopt, "Sv must exceed Pp"};
  const Extended f = RatioOf(mu);
  const Extended pp = porePressure;
  const Extended effective = static_cast<Extended>(sv) - pp;
  StressPolygon p;
  p.sv = sv;
  p.porePressure = porePressure;
  p.mu = mu;
  p.ratio = static_cast<double>(f);
  // Without friction both limits are Sv itself: keep it exact.
  p.shMinLowest = mu == 0.0 ? sv : static_cast<double>(pp + effective / f);
  p.shMaxHighest = mu == 0.0 ? sv : static_cast<double>(pp + f * effective);
  if (!std::isfinite(p.ratio) || !std::isfinite(p.shMinLowest) || !std::isfinite(p.shMaxHighest))
    return {std::nullopt, "The limits leave the range of numbers"};
  return {p, {}};
}

std::vector<PolygonPoint> PolygonCorners(const StressPolygon& p) {
  const double a = p.shMinLowest;
  const double b = p.shMaxHighest;
  return {{a, a}, {b, b}, {p.sv, b}, {a, p.sv}};
}

PolygonFields FieldsOf(const StressPolygon& p) {
  const double a = p.shMinLowest;
  const double b = p.shMaxHighest;
  const double v = p.sv;
  return {{{a, a}, {v, v}, {a, v}}, {{a, v}, {v, v}, {v, b}}, {{v, v}, {b, b}, {v, b}}};
}

PolygonPoint HorizontalPoint(const stress::StressState& state) {
  const HorizontalStresses h = ComputeHorizontalStresses(state);
  return {h.shMin, h.shMax};
}

AndersonRegime FieldOf(const StressPolygon& p, const PolygonPoint& point) {
  const double high = std::max(point.shMax, point.shMin);
  const double low = std::min(point.shMax, point.shMin);
  if (high < p.sv)
    return AndersonRegime::kNormal;
  if (low > p.sv)
    return AndersonRegime::kReverse;
  return AndersonRegime::kStrikeSlip;
}

PolygonStanding StandingOf(const StressPolygon& p, const PolygonPoint& point) {
  PolygonStanding s;
  s.field = FieldOf(p, point);
  const Extended high = std::max(point.shMax, point.shMin);
  const Extended low = std::min(point.shMax, point.shMin);
  const Extended sv = p.sv;
  const Extended pp = p.porePressure;
  const Extended f = RatioOf(p.mu);
  Extended violation = 0;
  switch (s.field) {
    case AndersonRegime::kNormal:
      violation = pp + (sv - pp) / f - low;
      break;
    case AndersonRegime::kStrikeSlip:
      violation = high - pp - f * (low - pp);
      break;
    case AndersonRegime::kReverse:
      violation = high - pp - f * (sv - pp);
      break;
  }
  violation = std::max(violation, static_cast<Extended>(point.shMin) - point.shMax);
  const double scale = std::max(
      {std::fabs(p.sv), std::fabs(p.porePressure), std::fabs(point.shMin), std::fabs(point.shMax)});
  const double excess = static_cast<double>(violation);
  if (excess > AgreementBound(p.ratio * scale)) {
    s.inside = false;
    s.excess = excess;
  }
  return s;
}

}  // namespace analysis
