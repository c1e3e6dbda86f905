#pragma once
// Plane results as CSV: the columns the export and `kelvane-cli planes` write.
// Numbers are the shortest text that reads back to the stored double (C
// locale); a quantity without a value is an empty field, infinity "inf".

#include <string>
#include <string_view>

#include "engine/plane_results.h"
#include "engine/plane_set.h"
#include "engine/slip_probability.h"

namespace tables {

/// id,dip_direction,dip,phi,c,sigma,tau,sigma_eff,tau_lim,slip_tendency,
/// slip_tendency_normalized,dilation_tendency,factor_of_safety,cff,delta_pc,
/// rake,slip_trend,slip_plunge,state (no line end).
std::string_view PlaneCsvHeader();

/// "slips", "stable", "opens", or "" without a limit.
std::string_view StateName(engine::PlaneState state);

/// Appends the fields of one plane under PlaneCsvHeader (no line end): phi and
/// c are those the plane was assessed with.
void AppendPlaneCsvRow(std::string& out, std::string_view id, const engine::Plane& plane,
                       const engine::PlaneDefaults& defaults, const engine::PlaneResult& result);

/// The Monte Carlo columns that follow a plane's when its slip odds are
/// known: "p_slip,delta_pc_p10,delta_pc_p50,delta_pc_p90,p_open" (no comma
/// before, no line end).
std::string_view OddsCsvHeader();

/// Appends the odds under OddsCsvHeader, each field after a comma.
void AppendOddsCsvFields(std::string& out, const engine::SlipOdds& odds);

}  // namespace tables
