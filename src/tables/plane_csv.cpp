#include "tables/plane_csv.h"

#include <cmath>

#include "tables/csv.h"

namespace tables {
namespace {

void AppendValue(std::string& out, double value) {
  out += ',';
  if (!std::isnan(value))
    AppendNumber(out, value);
}

}  // namespace

std::string_view PlaneCsvHeader() {
  return "id,dip_direction,dip,phi,c,sigma,tau,sigma_eff,tau_lim,slip_tendency,"
         "slip_tendency_normalized,dilation_tendency,factor_of_safety,cff,delta_pc,rake,"
         "slip_trend,slip_plunge,state";
}

std::string_view OddsCsvHeader() {
  return "p_slip,delta_pc_p10,delta_pc_p50,delta_pc_p90,p_open";
}

void AppendOddsCsvFields(std::string& out, const engine::SlipOdds& odds) {
  for (const double value :
       {odds.pSlip, odds.deltaPcP10, odds.deltaPcP50, odds.deltaPcP90, odds.pOpen}) {
    out += ',';
    AppendNumber(out, value);
  }
}

std::string_view StateName(engine::PlaneState state) {
  switch (state) {
    case engine::PlaneState::kSlips:
      return "slips";
    case engine::PlaneState::kStable:
      return "stable";
    case engine::PlaneState::kOpens:
      return "opens";
    case engine::PlaneState::kNone:
      break;
  }
  return "";
}

void AppendPlaneCsvRow(std::string& out, std::string_view id, const engine::Plane& plane,
                       const engine::PlaneDefaults& defaults, const engine::PlaneResult& r) {
  AppendCsvField(out, id);
  for (const double value : {plane.dipDirection, plane.dip, engine::FrictionOf(plane, defaults),
                             engine::CohesionOf(plane, defaults), r.sigma, r.tau, r.sigmaEff,
                             r.tauLimEff, r.ts, r.tsNormalized, r.td, r.factorOfSafety, r.cff,
                             r.deltaPc, r.rake, r.slipTrend, r.slipPlunge})
    AppendValue(out, value);
  out += ',';
  out += StateName(r.state);
}

}  // namespace tables
