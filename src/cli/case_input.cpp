#include "cli/case_input.h"

#include <QByteArray>
#include <array>

#include "cli/options.h"
#include "files/case_file.h"
#include "files/source_file.h"

namespace cli {

bool TakeCase(Options& options, std::optional<engine::PlaneSet>& planes, std::string& error) {
  QByteArray bytes;
  const QString problem =
      files::ReadSource(QString::fromStdString(options.casePath), files::kCaseLimit, bytes);
  if (!problem.isEmpty()) {
    error = options.casePath + ": " + problem.toStdString();
    return false;
  }
  files::Case c;
  try {
    c = files::ReadCase(bytes);
  } catch (const files::CaseError& e) {
    error = options.casePath + ": " + e.what();
    return false;
  }
  std::array<double, 6> s{};
  for (int k = 0; k < 6; ++k) {
    const auto& value = c.values[static_cast<int>(engine::Input::kSx) + k];
    if (!value) {
      error = options.casePath + ": the case's stress component " + std::to_string(k + 1) +
              " is no number";
      return false;
    }
    s[k] = *value;
  }
  options.stress = stress::StressState{s[0], s[1], s[2], s[3], s[4], s[5]};
  options.porePressure = c.porePressure;
  options.defaults = {c.values[static_cast<int>(engine::Input::kJointFriction)],
                      c.values[static_cast<int>(engine::Input::kJointCohesion)]};
  if (c.uncertainty && !options.uncertainty)
    options.uncertainty = c.uncertainty;
  planes = std::move(c.planes);
  return true;
}

}  // namespace cli
