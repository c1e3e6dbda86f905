// kelvane-cli polygon: the stress polygon at one depth, and where a state's
// horizontal stresses stand against it.

#include <cmath>
#include <cstdio>
#include <string>

#include "analysis/stress_polygon.h"
#include "cli/commands.h"
#include "cli/options.h"
#include "tables/csv.h"

namespace cli {
namespace {

const char* FieldName(analysis::AndersonRegime regime) {
  switch (regime) {
    case analysis::AndersonRegime::kNormal:
      return "NF";
    case analysis::AndersonRegime::kStrikeSlip:
      return "SS";
    case analysis::AndersonRegime::kReverse:
      return "RF";
  }
  return "";
}

}  // namespace

int RunPolygon(const Options& options) {
  if (options.fileGiven)
    return Fail("polygon reads no file");
  if (!options.sv.has_value())
    return Fail("polygon needs --sv SV and --pp PP");
  if (!options.porePressureGiven)
    return Fail("polygon needs --sv SV and --pp PP");
  // --phi stands for its coefficient when --mu is not given.
  const double mu = options.mu.has_value() ? *options.mu
                    : options.defaults.phi.has_value()
                        ? std::tan(*options.defaults.phi * 3.14159265358979323846 / 180.0)
                        : 0.6;
  const analysis::BuiltPolygon built =
      analysis::BuildStressPolygon(*options.sv, options.porePressure, mu);
  std::string out = "sv,pp,mu,f,shmin_min,shmax_max";
  if (options.stress)
    out += ",shmin,shmax,regime,inside,excess";
  out += '\n';
  if (!built.polygon) {
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
    std::fprintf(stderr, "%s: %s\n", kProgram, built.problem.c_str());
    return 1;
  }
  const analysis::StressPolygon& p = *built.polygon;
  bool first = true;
  const auto number = [&](double value) {
    if (!first)
      out += ',';
    first = false;
    tables::AppendNumber(out, value);
  };
  for (const double value : {p.sv, p.porePressure, p.mu, p.ratio, p.shMinLowest, p.shMaxHighest})
    number(value);
  if (options.stress) {
    const analysis::PolygonPoint point = analysis::HorizontalPoint(*options.stress);
    const analysis::PolygonStanding standing = analysis::StandingOf(p, point);
    number(point.shMin);
    number(point.shMax);
    ((out += ',') += FieldName(standing.field)) += standing.inside ? ",yes" : ",no";
    number(standing.excess);
  }
  out += '\n';
  std::fwrite(out.data(), 1, out.size(), stdout);
  if (std::fflush(stdout) != 0 || std::ferror(stdout))
    return Fail("standard output: the row could not be written");
  return 0;
}

}  // namespace cli
