#include "engine/plane_results.h"

#include <limits>

#include "analysis/effective_stress.h"
#include "analysis/slip_direction.h"
#include "analysis/stress_measures.h"
#include "numeric/floating_point_error.h"
#include "stress/joint_stresses.h"

namespace engine {
namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

double Or(const std::optional<double>& value) {
  return value.value_or(kNone);
}

PlaneState StateOf(const std::optional<analysis::JointState>& state) {
  if (!state)
    return PlaneState::kNone;
  switch (*state) {
    case analysis::JointState::kOpens:
      return PlaneState::kOpens;
    case analysis::JointState::kSlips:
      return PlaneState::kSlips;
    case analysis::JointState::kStable:
      return PlaneState::kStable;
  }
  return PlaneState::kNone;
}

}  // namespace

double FrictionOf(const Plane& plane, const PlaneDefaults& defaults) {
  return plane.HasOwnPhi() ? plane.phi : defaults.phi.value_or(kNone);
}

double CohesionOf(const Plane& plane, const PlaneDefaults& defaults) {
  return plane.HasOwnCohesion() ? plane.cohesion : defaults.cohesion.value_or(kNone);
}

bool CanAssessPlanes(const PassResults& results) {
  return results.state.has_value() && results.values.has_value() && results.HasDirections();
}

PlaneAssessor::PlaneAssessor(const PassResults& results, const PlaneDefaults& defaults)
    : results_(results),
      defaults_(defaults),
      lowerAxes_{results.directions[0]->lower, results.directions[1]->lower,
                 results.directions[2]->lower},
      zeroShear_(analysis::AgreementBound(analysis::ScaleOf(*results.values))) {}

PlaneResult PlaneAssessor::operator()(const Plane& plane) const {
  const stress::PrincipalValues& values = *results_.values;
  PlaneResult r{kNone, kNone, kNone, kNone, kNone, kNone, kNone,
                kNone, kNone, kNone, kNone, kNone, kNone, PlaneState::kNone};
  const stress::JointPlane joint{plane.dipDirection, plane.dip, FrictionOf(plane, defaults_),
                                 CohesionOf(plane, defaults_)};
  try {
    // Each angle's sine and cosine once, for the normal and the slip.
    const stress::PlaneTerms terms = stress::PlaneTermsOf(plane.dipDirection, plane.dip);
    const stress::JointStresses stresses =
        stress::StressesOnPlane(values, lowerAxes_, stress::NormalOf(terms));
    r.sigma = stresses.sigma;
    r.tau = stresses.tau;
    const analysis::EffectiveJoint e =
        analysis::AssessEffective(values, stresses, joint, results_.porePressure);
    r.sigmaEff = Or(e.sigma);
    r.tauLimEff = Or(e.tauLim);
    r.ts = Or(e.slipTendency);
    r.tsNormalized = Or(e.normalizedSlipTendency);
    r.td = Or(e.dilationTendency);
    r.factorOfSafety = Or(e.factorOfSafety);
    r.cff = Or(e.coulombFailure);
    r.deltaPc = Or(e.porePressureToSlip);
    r.state = StateOf(e.state);
    // A shear within rounding of the values counts as 0, as for the joint:
    // such a plane has no slip direction.
    const auto slip = stresses.tau > zeroShear_
                          ? analysis::ComputeSlipDirection(*results_.state, terms, 0.0)
                          : std::nullopt;
    if (slip) {
      r.rake = slip->rake;
      r.slipTrend = slip->trend;
      r.slipPlunge = slip->plunge;
    }
  } catch (const numeric::FloatingPointError&) {
    // Stresses beyond the double range: the plane keeps NaN throughout.
  }
  return r;
}

void AssessPlanes(const PassResults& results, const PlaneSet& planes, const PlaneDefaults& defaults,
                  std::size_t first, std::size_t last, PlaneResult* out) {
  const PlaneAssessor assess(results, defaults);
  for (std::size_t i = first; i < last; ++i)
    out[i] = assess(planes.planes[i]);
}

}  // namespace engine
