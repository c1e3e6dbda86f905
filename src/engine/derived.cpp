#include "engine/derived.h"

namespace engine {

DerivedResults ComputeDerived(const PassResults& results) {
  DerivedResults d;
  if (results.values.has_value()) {
    const stress::PrincipalValues& v = *results.values;
    const analysis::StressMeasures m = analysis::ComputeStressMeasures(v);
    d.mean = m.meanStress;
    d.maxShear = m.maxShear;
    d.vonMises = m.vonMises;
    d.octahedralShear = m.octahedralShear;
    d.stressRatio = m.stressRatio;
    d.effectiveValues = analysis::EffectiveValues(v, results.porePressure);
    if (results.HasDirections()) {
      d.regime = analysis::RegimeOf(v, results.directions[0]->dip, results.directions[1]->dip,
                                    results.directions[2]->dip);
    }
    if (results.jointStresses.has_value() && results.joint.has_value()) {
      const analysis::EffectiveJoint e = analysis::AssessEffective(
          v, *results.jointStresses, *results.joint, results.porePressure);
      d.sigmaEffective = e.sigma;
      d.tauLimEffective = e.tauLim;
      d.slipTendency = e.slipTendency;
      d.slipTendencyMax = e.slipTendencyMax;
      d.normalizedSlipTendency = e.normalizedSlipTendency;
      d.dilationTendency = e.dilationTendency;
      d.factorOfSafety = e.factorOfSafety;
      d.coulombFailure = e.coulombFailure;
      d.porePressureToSlip = e.porePressureToSlip;
      d.jointState = e.state;
    }
  }
  if (results.state.has_value()) {
    const analysis::HorizontalStresses h =
        analysis::ComputeHorizontalStresses(*results.state, results.azimuth);
    d.sv = h.sv;
    d.shMax = h.shMax;
    d.shMin = h.shMin;
    d.shMaxAzimuth = h.shMaxAzimuth;
  }
  return d;
}

}  // namespace engine
