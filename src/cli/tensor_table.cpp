#include "cli/tensor_table.h"

#include <charconv>

#include "cli/number_field.h"
#include "engine/derived.h"
#include "engine/pass.h"
#include "tables/csv.h"

namespace cli {
namespace {

using engine::Input;

struct NamedInput {
  const char* name;
  Input input;
};
constexpr std::array<NamedInput, 6> kStressColumns = {{
    {"sx", Input::kSx},
    {"sy", Input::kSy},
    {"sz", Input::kSz},
    {"txy", Input::kTxy},
    {"tyz", Input::kTyz},
    {"tzx", Input::kTzx},
}};
constexpr std::array<NamedInput, 4> kJointColumns = {{
    {"beta", Input::kJointDipDirection},
    {"psi", Input::kJointDip},
    {"phi", Input::kJointFriction},
    {"c", Input::kJointCohesion},
}};

// Fields of the output after the id, before the error.
constexpr int kBaseResults = 18;  // s1..s3, 3 x (azimuth, dip), 9 cosines
constexpr int kJointResults = 3;  // sigma, tau, tau_lim
constexpr int kMeasures = 10;     // mean .. regime
constexpr int kAssessments = 9;   // slip, dilation, safety, then the effective six

int ResultFieldCount(const TensorColumns& columns) {
  return kBaseResults + kMeasures + (columns.HasJoint() ? kJointResults + kAssessments : 0);
}

void AppendOptional(std::string& out, const std::optional<double>& value) {
  out += ',';
  if (value.has_value())
    tables::AppendNumber(out, *value);
}

const char* RegimeCode(analysis::FaultingRegime regime) {
  switch (regime) {
    case analysis::FaultingRegime::kNormal:
      return "NF";
    case analysis::FaultingRegime::kNormalStrikeSlip:
      return "NS";
    case analysis::FaultingRegime::kStrikeSlip:
      return "SS";
    case analysis::FaultingRegime::kThrustStrikeSlip:
      return "TS";
    case analysis::FaultingRegime::kThrust:
      return "TF";
    case analysis::FaultingRegime::kUnknown:
      break;
  }
  return "U";
}

/// The row's id, or its data row number without an id column or when the
/// id cannot be written (`numbered`).
void AppendId(const TensorColumns& columns, const std::vector<std::string_view>& fields,
              unsigned long long row, bool numbered, std::string& out) {
  if (!columns.id.has_value() || numbered) {
    std::array<char, 24> buffer;
    out.append(buffer.data(), std::to_chars(buffer.data(), buffer.data() + buffer.size(), row).ptr);
  } else if (*columns.id < fields.size()) {
    tables::AppendCsvField(out, fields[*columns.id]);
  }
}

void AppendEnd(std::string_view error, std::string& out) {
  out += ',';
  tables::AppendCsvField(out, error);
  out += '\n';
}

}  // namespace

std::optional<TensorColumns> ReadHeader(const std::vector<std::string_view>& fields,
                                        std::string& error) {
  TensorColumns columns;
  columns.count = fields.size();
  const auto take = [&](std::string_view name, std::optional<std::size_t>& slot,
                        std::size_t index) {
    if (slot.has_value()) {
      error = "column " + std::string(name) + " is named twice in the header";
      return false;
    }
    slot = index;
    return true;
  };
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const std::string_view name = tables::TrimBlanks(fields[i]);
    bool ok = true;
    if (name == "id")
      ok = take(name, columns.id, i);
    if (name == "pp")
      ok = take(name, columns.porePressure, i);
    for (const auto& column : kStressColumns) {
      if (name == column.name)
        ok = take(name, columns.inputs[static_cast<int>(column.input)], i);
    }
    for (const auto& column : kJointColumns) {
      if (name == column.name)
        ok = take(name, columns.inputs[static_cast<int>(column.input)], i);
    }
    if (!ok)
      return std::nullopt;
  }
  for (const auto& column : kStressColumns) {
    if (!columns.inputs[static_cast<int>(column.input)].has_value()) {
      error = std::string("no column ") + column.name + " in the header";
      return std::nullopt;
    }
  }
  int joint = 0;
  for (const auto& column : kJointColumns)
    joint += columns.inputs[static_cast<int>(column.input)].has_value() ? 1 : 0;
  if (joint != 0 && joint != 4) {
    for (const auto& column : kJointColumns) {
      if (!columns.inputs[static_cast<int>(column.input)].has_value()) {
        error = std::string("no column ") + column.name +
                " in the header (a joint needs beta, psi, phi and c)";
        return std::nullopt;
      }
    }
  }
  return columns;
}

std::string OutputHeader(const TensorColumns& columns) {
  std::string header =
      "id,s1,s2,s3,s1_azimuth,s1_dip,s2_azimuth,s2_dip,s3_azimuth,s3_dip,"
      "l1,m1,n1,l2,m2,n2,l3,m3,n3";
  if (columns.HasJoint())
    header += ",sigma,tau,tau_lim";
  header +=
      ",mean,max_shear,von_mises,octahedral_shear,stress_ratio,sv,shmax,shmin,"
      "shmax_azimuth,regime";
  if (columns.HasJoint()) {
    header +=
        ",slip_tendency,dilation_tendency,factor_of_safety,sigma_eff,tau_lim_eff,"
        "slip_tendency_max,slip_tendency_normalized,cff,delta_pc";
  }
  header += ",error\n";
  return header;
}

bool AppendResultRow(const TensorColumns& columns, bool split,
                     const std::vector<std::string_view>& fields, RowPlace place,
                     stress::Azimuth azimuth, std::string& out) {
  // A line that is no row of the header's fields, or whose id would carry a
  // control character into the output: numbered, and named by its line.
  std::string unread;
  if (!split)
    unread = "a quoted field is not closed";
  else if (fields.size() != columns.count)
    unread = std::to_string(fields.size()) + " fields where the header has " +
             std::to_string(columns.count);
  else if (columns.id.has_value())
    unread = tables::IdProblem(fields[*columns.id]);
  AppendId(columns, fields, place.row, !unread.empty(), out);
  if (!unread.empty()) {
    out.append(static_cast<std::size_t>(ResultFieldCount(columns)), ',');
    AppendEnd("line " + std::to_string(place.line) + ": " + unread, out);
    return false;
  }

  engine::PassInputs inputs;
  inputs.azimuth = azimuth;
  inputs.jointActive = columns.HasJoint();
  // The message of each input that is no number, for the one the pass stops at.
  std::array<std::string, engine::kInputCount> inputErrors;
  for (int i = 0; i < engine::kInputCount; ++i) {
    if (!columns.inputs[i].has_value())
      continue;
    NumberField number = ReadNumberField(fields[*columns.inputs[i]]);
    inputs.values[i] = number.value;
    inputErrors[i] = std::move(number.error);
  }

  std::string porePressureError;
  if (columns.porePressure.has_value()) {
    NumberField number = ReadNumberField(fields[*columns.porePressure]);
    inputs.porePressure = number.value.value_or(0.0);
    porePressureError = std::move(number.error);
  }

  const engine::PassResults r = engine::RunPass(inputs);
  engine::DerivedResults d = engine::ComputeDerived(r);
  if (!porePressureError.empty()) {
    // Without its pore pressure, nothing on effective stress has a value.
    d.effectiveValues.reset();
    for (std::optional<double>* value :
         {&d.sigmaEffective, &d.tauLimEffective, &d.slipTendency, &d.slipTendencyMax,
          &d.normalizedSlipTendency, &d.factorOfSafety, &d.coulombFailure, &d.porePressureToSlip})
      value->reset();
    d.jointState.reset();
  }

  const auto value = [&](int i) -> std::optional<double> {
    if (!r.values.has_value())
      return std::nullopt;
    return (*r.values)[i];
  };
  for (int i = 0; i < 3; ++i)
    AppendOptional(out, value(i));
  for (int i = 0; i < 3; ++i) {
    const auto& direction = r.directions[i];
    AppendOptional(out, direction.has_value() ? std::optional(direction->azimuth) : std::nullopt);
    AppendOptional(out, direction.has_value() ? std::optional(direction->dip) : std::nullopt);
  }
  for (int i = 0; i < 3; ++i) {
    for (const auto member : {&stress::Vector3::x, &stress::Vector3::y, &stress::Vector3::z}) {
      AppendOptional(out,
                     r.cosines.has_value() ? std::optional((*r.cosines)[i].*member) : std::nullopt);
    }
  }
  if (columns.HasJoint()) {
    for (const auto member : {&stress::JointStresses::sigma, &stress::JointStresses::tau,
                              &stress::JointStresses::tauLim})
      AppendOptional(out, r.jointStresses.has_value() ? std::optional((*r.jointStresses).*member)
                                                      : std::nullopt);
  }
  for (const std::optional<double>* measure :
       {&d.mean, &d.maxShear, &d.vonMises, &d.octahedralShear, &d.stressRatio, &d.sv, &d.shMax,
        &d.shMin, &d.shMaxAzimuth})
    AppendOptional(out, *measure);
  out += ',';
  if (d.regime.has_value())
    out += RegimeCode(*d.regime);
  if (columns.HasJoint()) {
    for (const std::optional<double>* value :
         {&d.slipTendency, &d.dilationTendency, &d.factorOfSafety, &d.sigmaEffective,
          &d.tauLimEffective, &d.slipTendencyMax, &d.normalizedSlipTendency, &d.coulombFailure,
          &d.porePressureToSlip})
      AppendOptional(out, *value);
  }

  std::string_view error = porePressureError;
  if (r.stop.has_value())
    error = r.stop->unread.has_value() ? inputErrors[static_cast<int>(*r.stop->unread)]
                                       : r.stop->message;
  AppendEnd(error, out);
  return error.empty();
}

}  // namespace cli
