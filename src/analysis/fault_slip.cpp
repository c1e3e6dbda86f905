#include "analysis/fault_slip.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "numeric/extended_math.h"
#include "stress/joint_stresses.h"
#include "stress/long_vector.h"
#include "stress/principal_axes.h"

namespace analysis {

using numeric::Extended;
// The stress library's extended-precision vectors serve here as well.
using stress::detail::Dot;
using stress::detail::LongVector;
using stress::detail::Norm;
using stress::detail::Scaled;

namespace {

/// A component below which a line counts as at right angles to a direction:
/// far below any angle a compass reads, far above rounding.
constexpr Extended kAcross = 1e-9L;

LongVector Extend(const stress::Vector3& v) {
  return {v.x, v.y, v.z};
}

stress::Vector3 Store(const LongVector& v) {
  return {static_cast<double>(v[0]), static_cast<double>(v[1]), static_cast<double>(v[2])};
}

LongVector Combined(Extended a, const LongVector& u, Extended b, const LongVector& v) {
  return {a * u[0] + b * v[0], a * u[1] + b * v[1], a * u[2] + b * v[2]};
}

double Degrees(Extended radians) {
  return static_cast<double>(numeric::RadiansToDegrees(radians));
}

numeric::SineCosine SinCosDegrees(double degrees) {
  return numeric::SinCos(numeric::DegreesToRadians(degrees));
}

/// The angle between two azimuths, [0, 180].
double AzimuthDistance(double a, double b) {
  const double d = Azimuth360(a - b);
  return d > 180.0 ? 360.0 - d : d;
}

/// The shortest text that reads back to `value`.
std::string Shortest(double value) {
  std::array<char, 32> buffer;
  const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  return std::string(buffer.data(), written.ptr);
}

FaultSlipOutcome Refused(std::string problem) {
  return {std::nullopt, std::move(problem)};
}

/// Why the plane's angles are no plane; empty when they are one.
std::string PlaneProblem(double direction, const char* directionName, double dip) {
  if (!std::isfinite(direction))
    return std::string(directionName) + " is not a finite number";
  if (!(dip >= 0.0 && dip <= 90.0))
    return "dip " + Shortest(dip) + " is outside 0 to 90";
  return {};
}

FaultSlip Datum(double dipDirection, double dip, const LongVector& slip) {
  FaultSlip fault;
  fault.dipDirection = Azimuth360(dipDirection);
  fault.dip = dip;
  fault.slip = Store(Scaled(slip, 1.0L / Norm(slip)));
  return fault;
}

struct LongFrame {
  LongVector normal;
  LongVector strike;
  LongVector upDip;
};

LongFrame LongFrameOf(double dipDirection, double dip) {
  const stress::PlaneTerms t = stress::PlaneTermsOf(dipDirection, dip);
  // The normal as the joint's stresses form it, so that both describe the
  // same plane to the bit.
  return {Extend(stress::NormalOf(t)),
          {-t.cosBeta, t.sinBeta, 0},
          {-t.sinBeta * t.cosPsi, -t.cosBeta * t.cosPsi, t.sinPsi}};
}

/// The line `line` in the plane of `frame` pointed as `sense` says, or why
/// the sense cannot point it.
FaultSlipOutcome Pointed(double dipDirection, double dip, const LongFrame& frame,
                         const LongVector& line, SlipSense sense) {
  const Extended alongStrike = Dot(line, frame.strike) / Norm(line);
  const Extended upward = Dot(line, frame.upDip) / Norm(line);
  const bool dipSense = sense == SlipSense::kNormal || sense == SlipSense::kReverse;
  const Extended decisive = dipSense ? upward : alongStrike;
  if (std::fabs(decisive) < kAcross)
    return Refused(dipSense ? "the striae lie along the strike: a normal or reverse sense "
                              "cannot orient them"
                            : "the striae lie down the dip: a dextral or sinistral sense "
                              "cannot orient them");
  // Normal and dextral motions point down the dip and against the strike.
  const bool negative = sense == SlipSense::kNormal || sense == SlipSense::kDextral;
  const Extended sign = (decisive < 0) == negative ? 1.0L : -1.0L;
  return {Datum(dipDirection, dip, Scaled(line, sign)), {}};
}

std::string Trimmed(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
    text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
    text.remove_suffix(1);
  std::string upper(text);
  for (char& c : upper)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

/// A number at the start of `text` and the letters after it (blanks
/// between them dropped).
struct NumberText {
  double value = 0.0;
  std::string letters;
};
std::optional<NumberText> SplitNumber(std::string_view text) {
  NumberText split;
  const char* begin = text.data();
  if (!text.empty() && text.front() == '+')
    ++begin;
  const auto [end, error] =
      std::from_chars(begin, text.data() + text.size(), split.value, std::chars_format::fixed);
  if (error != std::errc() || !std::isfinite(split.value))
    return std::nullopt;
  for (const char* c = end; c != text.data() + text.size(); ++c)
    if (*c != ' ' && *c != '\t')
      split.letters += *c;
  return split;
}

/// The azimuth of a compass quadrant: N, NE, E, SE, S, SW, W, NW.
std::optional<double> QuadrantAzimuth(const std::string& letters) {
  static constexpr std::array<const char*, 8> kNames = {"N", "NE", "E", "SE", "S", "SW", "W", "NW"};
  for (std::size_t i = 0; i < kNames.size(); ++i)
    if (letters == kNames[i])
      return 45.0 * static_cast<double>(i);
  return std::nullopt;
}

/// Of `azimuth` and `azimuth` + 180, the one nearer the quadrant `letters`;
/// empty when neither is.
std::optional<double> NearerEnd(double azimuth, double quadrant) {
  const double distance = AzimuthDistance(azimuth, quadrant);
  if (std::fabs(distance - 90.0) < 1e-9)
    return std::nullopt;
  return Azimuth360(distance < 90.0 ? azimuth : azimuth + 180.0);
}

/// A strike as an azimuth ("045") or a quadrant bearing ("N45E").
std::optional<double> ReadStrike(const std::string& text) {
  if (text.size() >= 3 && (text.front() == 'N' || text.front() == 'S') &&
      (text.back() == 'E' || text.back() == 'W')) {
    const std::optional<NumberText> angle =
        SplitNumber(std::string_view(text).substr(1, text.size() - 2));
    if (!angle || !angle->letters.empty() || !(angle->value >= 0.0 && angle->value <= 90.0))
      return std::nullopt;
    const double a = angle->value;
    if (text.front() == 'N')
      return Azimuth360(text.back() == 'E' ? a : 360.0 - a);
    return text.back() == 'E' ? 180.0 - a : 180.0 + a;
  }
  const std::optional<NumberText> azimuth = SplitNumber(text);
  if (!azimuth || !azimuth->letters.empty())
    return std::nullopt;
  return azimuth->value;
}

}  // namespace

PlaneFrame PlaneFrameOf(double dipDirection, double dip) {
  const LongFrame f = LongFrameOf(dipDirection, dip);
  return {Store(f.normal), Store(f.strike), Store(f.upDip)};
}

FaultSlipOutcome FaultFromDipDirectionDipRake(double dipDirection, double dip, double rake) {
  if (std::string problem = PlaneProblem(dipDirection, "dip direction", dip); !problem.empty())
    return Refused(std::move(problem));
  if (!(rake >= -180.0 && rake <= 360.0))
    return Refused("rake " + Shortest(rake) + " is outside -180 to 360");
  dipDirection = Azimuth360(dipDirection);
  const LongFrame frame = LongFrameOf(dipDirection, dip);
  const numeric::SineCosine r = SinCosDegrees(rake);
  return {Datum(dipDirection, dip, Combined(r.cos, frame.strike, r.sin, frame.upDip)), {}};
}

FaultSlipOutcome FaultFromStrikeDipRake(double strike, double dip, double rake) {
  if (!std::isfinite(strike))
    return Refused("strike is not a finite number");
  return FaultFromDipDirectionDipRake(Azimuth360(Azimuth360(strike) + 90.0), dip, rake);
}

std::optional<SlipSense> ReadSlipSense(std::string_view text) {
  std::string key = Trimmed(text);
  std::erase_if(key, [](char c) { return c == '-' || c == '_' || c == ' '; });
  if (key == "N" || key == "NORMAL")
    return SlipSense::kNormal;
  if (key == "R" || key == "I" || key == "REVERSE" || key == "INVERSE" || key == "THRUST")
    return SlipSense::kReverse;
  if (key == "D" || key == "DEXTRAL" || key == "RIGHTLATERAL")
    return SlipSense::kDextral;
  if (key == "S" || key == "SINISTRAL" || key == "LEFTLATERAL")
    return SlipSense::kSinistral;
  return std::nullopt;
}

FaultSlipOutcome FaultFromStriae(double dipDirection, double dip, double trend, double plunge,
                                 SlipSense sense, double tolerance) {
  if (std::string problem = PlaneProblem(dipDirection, "dip direction", dip); !problem.empty())
    return Refused(std::move(problem));
  if (!std::isfinite(trend))
    return Refused("trend is not a finite number");
  if (!(plunge >= -90.0 && plunge <= 90.0))
    return Refused("plunge " + Shortest(plunge) + " is outside -90 to 90");
  dipDirection = Azimuth360(dipDirection);
  const LongFrame frame = LongFrameOf(dipDirection, dip);
  const numeric::SineCosine t = SinCosDegrees(trend);
  const numeric::SineCosine p = SinCosDegrees(plunge);
  const LongVector line{t.sin * p.cos, t.cos * p.cos, -p.sin};
  const Extended across = Dot(line, frame.normal);
  const LongVector inPlane = Combined(1.0L, line, -across, frame.normal);
  const double residual = Degrees(std::atan2(std::fabs(across), Norm(inPlane)));
  if (!(residual <= tolerance) || Norm(inPlane) < kAcross) {
    char text[120];
    std::snprintf(text, sizeof text,
                  "the striae lie %.1f\u00b0 off the plane; at most %g\u00b0 is accepted", residual,
                  tolerance);
    return Refused(text);
  }
  FaultSlipOutcome outcome = Pointed(dipDirection, dip, frame, inPlane, sense);
  if (outcome.fault)
    outcome.fault->striaeResidual = residual;
  return outcome;
}

FaultSlipOutcome FaultFromQuadrant(std::string_view strikeText, std::string_view dipText,
                                   std::string_view rakeText, SlipSense sense) {
  const std::string strikeField = Trimmed(strikeText);
  const std::optional<double> strike = ReadStrike(strikeField);
  if (!strike)
    return Refused("strike '" + std::string(strikeText) + "' is not an azimuth or a bearing");

  const std::optional<NumberText> dip = SplitNumber(Trimmed(dipText));
  std::optional<double> dipQuadrant;
  if (dip && !dip->letters.empty())
    dipQuadrant = QuadrantAzimuth(dip->letters);
  if (!dip || (!dip->letters.empty() && !dipQuadrant))
    return Refused("dip '" + std::string(dipText) + "' is not a dip with its quadrant (61S)");
  double dipDirection = Azimuth360(*strike + 90.0);
  if (dipQuadrant) {
    const std::optional<double> side = NearerEnd(dipDirection, *dipQuadrant);
    if (!side)
      return Refused("dip quadrant " + dip->letters + " lies along the strike " + strikeField);
    dipDirection = *side;
  }
  if (std::string problem = PlaneProblem(dipDirection, "dip direction", dip->value);
      !problem.empty())
    return Refused(std::move(problem));
  const LongFrame frame = LongFrameOf(dipDirection, dip->value);

  const std::optional<NumberText> rake = SplitNumber(Trimmed(rakeText));
  std::optional<double> rakeQuadrant;
  if (rake && !rake->letters.empty())
    rakeQuadrant = QuadrantAzimuth(rake->letters);
  if (!rake || (!rake->letters.empty() && !rakeQuadrant))
    return Refused("rake '" + std::string(rakeText) +
                   "' is not a pitch with the end it is measured from (80E) or an azimuth");
  LongVector line;
  if (rakeQuadrant) {
    if (!(rake->value >= 0.0 && rake->value <= 90.0))
      return Refused("pitch " + Shortest(rake->value) + " is outside 0 to 90");
    const std::optional<double> end = NearerEnd(Azimuth360(dipDirection - 90.0), *rakeQuadrant);
    if (!end)
      return Refused("rake end " + rake->letters + " lies across the strike " + strikeField);
    const numeric::SineCosine e = SinCosDegrees(*end);
    const numeric::SineCosine p = SinCosDegrees(rake->value);
    // From the horizontal end of the strike line down into the plane.
    line = Combined(p.cos, LongVector{e.sin, e.cos, 0}, -p.sin, frame.upDip);
  } else {
    // The line of the plane above the azimuth: h + k z with n.(h + k z) = 0.
    const numeric::SineCosine a = SinCosDegrees(rake->value);
    const LongVector h{a.sin, a.cos, 0};
    const Extended across = Dot(h, frame.normal);
    if (frame.normal[2] < kAcross) {
      if (std::fabs(across) >= kAcross)
        return Refused("striae azimuth " + Shortest(rake->value) +
                       " is not the strike of the vertical plane");
      line = h;
    } else {
      line = {h[0], h[1], -across / frame.normal[2]};
    }
  }
  return Pointed(dipDirection, dip->value, frame, line, sense);
}

double Azimuth360(double azimuth) {
  double reduced = std::fmod(azimuth, 360.0);
  if (reduced < 0.0)
    reduced += 360.0;
  return reduced >= 360.0 ? 0.0 : reduced;
}

stress::Vector3 NormalOf(const FaultSlip& fault) {
  return stress::JointNormal(fault.dipDirection, fault.dip);
}

double RakeOf(const FaultSlip& fault) {
  const LongFrame frame = LongFrameOf(fault.dipDirection, fault.dip);
  const LongVector u = Extend(fault.slip);
  double rake = Degrees(std::atan2(Dot(u, frame.upDip), Dot(u, frame.strike)));
  if (rake <= -180.0)
    rake = 180.0;
  return rake + 0.0;  // no -0
}

std::string FaultSlipProblem(const FaultSlip& fault) {
  if (std::string problem = PlaneProblem(fault.dipDirection, "dip direction", fault.dip);
      !problem.empty())
    return problem;
  const LongVector u = Extend(fault.slip);
  const Extended length = Norm(u);
  if (!std::isfinite(static_cast<double>(length)) || std::fabs(length - 1.0L) > 1e-6L)
    return "the slip is not a unit vector";
  if (std::fabs(Dot(u, Extend(NormalOf(fault)))) > 1e-6L)
    return "the slip is not in the plane";
  return {};
}

FaultSlip AuxiliaryPlane(const FaultSlip& fault) {
  const LongVector n = Extend(NormalOf(fault));
  const LongVector u = Extend(fault.slip);
  const Extended sign = u[2] < -1e-12L ? -1.0L : 1.0L;
  const LongVector normal = Scaled(u, sign);
  FaultSlip auxiliary;
  auxiliary.id = fault.id;
  const Extended horizontal = std::hypot(normal[0], normal[1]);
  auxiliary.dipDirection = Azimuth360(Degrees(std::atan2(normal[0], normal[1])));
  auxiliary.dip = Degrees(std::atan2(horizontal, std::fabs(normal[2])));
  auxiliary.slip = Store(Scaled(n, sign / Norm(n)));
  return auxiliary;
}

AxisDirection AxisDirectionOf(const stress::Vector3& axis) {
  const stress::AxisAngles angles =
      stress::AxisOrientation(axis, stress::Azimuth::kClockwiseFromNorth);
  AxisDirection direction;
  direction.vector = angles.lower;
  direction.azimuth = Degrees(angles.azimuth);
  if (direction.azimuth >= 360.0)
    direction.azimuth = 0.0;
  direction.dip = Degrees(angles.dip);
  return direction;
}

MechanismAxes PressureTensionAxes(const FaultSlip& fault) {
  const LongVector n = Extend(NormalOf(fault));
  const LongVector u = Extend(fault.slip);
  const LongVector p = Combined(1.0L, n, -1.0L, u);
  const LongVector t = Combined(1.0L, n, 1.0L, u);
  return {AxisDirectionOf(Store(Scaled(p, 1.0L / Norm(p)))),
          AxisDirectionOf(Store(Scaled(t, 1.0L / Norm(t))))};
}

}  // namespace analysis
