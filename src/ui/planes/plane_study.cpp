#include "ui/planes/plane_study.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <numeric>
#include <thread>

#include "text/shown_fields.h"

#include "engine/shares.h"
#include "numeric/extended_math.h"
#include "numeric/same_bits.h"
#include "projection/equal_area.h"
#include "study/edits.h"

namespace ui {
namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

using numeric::SameBits;

/// Whether two passes read the same inputs: their results are then the same.
bool SameInputs(const engine::PassResults& a, const engine::PassResults& b) {
  return SameBits(a.state, b.state) && SameBits(a.joint, b.joint) &&
         SameBits(std::optional<double>(a.porePressure), std::optional<double>(b.porePressure)) &&
         a.jointActive == b.jointActive && a.azimuth == b.azimuth && !a.stop && !b.stop;
}

/// Whether two uncertainties are the same settings (both none counts as same).
bool SameSettings(const std::optional<engine::UncertaintySettings>& a,
                  const std::optional<engine::UncertaintySettings>& b) {
  return a.has_value() == b.has_value() && (!a || engine::SameSettings(*a, *b));
}

bool SameDefaults(const engine::PlaneDefaults& a, const engine::PlaneDefaults& b) {
  return SameBits(a.phi, b.phi) && SameBits(a.cohesion, b.cohesion);
}

/// Below this many planes one thread assesses them all.
constexpr std::size_t kPlanesPerTask = 8192;

}  // namespace

PlaneStudy::PlaneStudy(std::shared_ptr<study::StudyModel> model, QObject* parent)
    : QObject(parent), model_(std::move(model)) {
  setObjectName(QStringLiteral("PlaneStudy"));
  connect(&oddsJob_, &LatestJob::Progress, this, &PlaneStudy::OddsProgress);
  // Out of memory: the odds shown stay.
  oddsJob_.SetErrorHandler([](std::exception_ptr) {});
  observer_ = model_->Observe([this](study::Changes changes) { StudyChanged(changes); });
  StudyChanged(study::kEverything);
}

PlaneStudy::~PlaneStudy() {
  model_->Forget(observer_);
}

void PlaneStudy::SetColouring(figures::DotQuantity quantity) {
  if (quantity != colouring_)
    model_->Do(study::SetColouring(figures::DotQuantityKey(quantity)));
}

// The settings first: the planes' results and odds are worked out under them.
void PlaneStudy::StudyChanged(study::Changes changes) {
  const study::Study& now = model_->Now();
  bool recoloured = false;
  if ((changes & study::kColouring) != 0) {
    const figures::DotQuantity quantity =
        figures::DotQuantityOfKey(now.dotColouring)
            .value_or(figures::DotQuantity::kNormalizedSlipTendency);
    recoloured = quantity != colouring_;
    colouring_ = quantity;
  }
  const bool oddsChanged =
      (changes & study::kUncertainty) != 0 && !SameSettings(uncertainty_, now.uncertainty);
  if (oddsChanged)
    uncertainty_ = now.uncertainty;
  if ((changes & study::kPlanes) != 0) {
    PlanesChanged();  // the odds start again with the set
  } else if (oddsChanged && uncertainty_) {
    // The odds shown stay until the run under the new settings ends: they
    // are of the same state and set, and say how many realizations they had.
    StartOddsRun();
    if (recoloured) {
      Recolour();
      emit ResultsChanged();
    }
  } else if (oddsChanged) {
    RestartOdds();
    Recolour();
    emit ResultsChanged();
  } else if (recoloured) {
    Recolour();
    emit ResultsChanged();
  }
  if (recoloured)
    emit ColouringChanged();
}

void PlaneStudy::Assess(const engine::PassResults& pass, const engine::PlaneDefaults& defaults) {
  const bool sameState = SameInputs(pass_, pass) && SameDefaults(defaults_, defaults);
  pass_ = pass;
  defaults_ = defaults;
  ++generation_;
  Reassess(sameState);
  emit ResultsChanged();
}

void PlaneStudy::Edit(std::unique_ptr<study::Command> edit, std::size_t at, bool whole,
                      std::optional<Prepared> prepared) {
  if (prepared)
    waiting_ = Waiting{at, whole, std::move(*prepared)};
  model_->Do(std::move(edit));
  waiting_.reset();  // it serves this edit only
}

void PlaneStudy::Replace(engine::PlaneSet set, const QString& what,
                         std::optional<Prepared> prepared,
                         std::optional<tables::PlaneReading> reading) {
  if (!reading)
    reading = ImportReading();
  Edit(study::ReplacePlanes(what.toStdString(), std::move(set), std::move(reading)), 0, true,
       std::move(prepared));
}

void PlaneStudy::Append(const engine::PlaneSet& planes, const QString& what,
                        std::optional<Prepared> prepared,
                        std::optional<tables::PlaneReading> reading) {
  const std::size_t at = Set().size();
  std::unique_ptr<study::Command> insert = study::InsertPlanes(what.toStdString(), at, planes);
  if (reading) {
    std::vector<std::unique_ptr<study::Command>> both;
    both.push_back(std::move(insert));
    both.push_back(study::SetImportReading(std::move(reading)));
    insert = study::Group(what.toStdString(), std::move(both));
  }
  Edit(std::move(insert), at, false, std::move(prepared));
}

void PlaneStudy::Insert(std::size_t at, const engine::PlaneSet& planes, const QString& what) {
  Edit(study::InsertPlanes(what.toStdString(), std::min(at, Set().size()), planes), 0, false,
       std::nullopt);
}

void PlaneStudy::SetRow(std::size_t row, const engine::Plane& plane, const std::string& id) {
  if (row < Set().size())
    Edit(study::EditPlane(row, plane, id), 0, false, std::nullopt);
}

void PlaneStudy::Remove(std::vector<std::size_t> rows) {
  rows.erase(std::remove_if(rows.begin(), rows.end(),
                            [this](std::size_t row) { return row >= Set().size(); }),
             rows.end());
  if (!rows.empty())
    Edit(study::RemovePlanes(std::move(rows)), 0, false, std::nullopt);
}

void PlaneStudy::PlanesChanged() {
  if (waiting_) {
    Waiting waiting = std::move(*waiting_);
    waiting_.reset();
    SetEdited(waiting.at, waiting.whole, std::move(waiting.prepared));
  } else {
    SetEdited();
  }
}

void PlaneStudy::ForEachShare(const std::function<void(std::size_t, std::size_t)>& work) const {
  // Contiguous shares; each writes its own planes' entries.
  engine::ForEachShare(Set().size(), kPlanesPerTask, 0, work);
}

void PlaneStudy::SetEdited() {
  const engine::PlaneSet& set = Set();
  poles_.resize(set.size());
  ForEachShare([this, &set](std::size_t first, std::size_t last) {
    for (std::size_t i = first; i < last; ++i)
      poles_[i] = figures::PoleDotOf(set.planes[i]);
  });
  Reassess();
  emit SetChanged();
}

PlaneStudy::Prepared PlaneStudy::Prepare(const engine::PlaneSet& planes, const Work& work,
                                         const std::function<bool()>& keepGoing) {
  Prepared prepared;
  prepared.generation = work.generation;
  prepared.poles.resize(planes.size());
  const bool assess = !planes.empty() && engine::CanAssessPlanes(work.pass);
  if (assess)
    prepared.results.resize(planes.size());
  engine::ForEachShare(planes.size(), kPlanesPerTask, 0, [&](std::size_t first, std::size_t last) {
    if (keepGoing && !keepGoing())
      return;
    for (std::size_t i = first; i < last; ++i)
      prepared.poles[i] = figures::PoleDotOf(planes.planes[i]);
    if (assess)
      engine::AssessPlanes(work.pass, planes, work.defaults, first, last, prepared.results.data());
  });
  return prepared;
}

void PlaneStudy::SetEdited(std::size_t at, bool whole, Prepared prepared) {
  const std::size_t added = prepared.poles.size();
  const std::size_t before = whole ? 0 : Set().size() - added;
  const bool current = prepared.generation == generation_ &&
                       !prepared.results.empty() == engine::CanAssessPlanes(pass_) &&
                       (whole || results_.size() == before);
  if (whole) {
    poles_ = std::move(prepared.poles);
  } else {
    poles_.insert(poles_.begin() + static_cast<std::ptrdiff_t>(at), prepared.poles.begin(),
                  prepared.poles.end());
  }
  if (!current) {
    Reassess();
  } else {
    if (whole)
      results_ = std::move(prepared.results);
    else
      results_.insert(results_.begin() + static_cast<std::ptrdiff_t>(at), prepared.results.begin(),
                      prepared.results.end());
    if (Set().empty() || !engine::CanAssessPlanes(pass_))
      results_.clear();
    RestartOdds();
    Recolour();
  }
  emit SetChanged();
}

void PlaneStudy::Reassess(bool sameState) {
  if (Set().empty() || !engine::CanAssessPlanes(pass_)) {
    results_.clear();
  } else {
    results_.resize(Set().size());
    ForEachShare([this](std::size_t first, std::size_t last) {
      engine::AssessPlanes(pass_, Set(), defaults_, first, last, results_.data());
    });
  }
  if (!sameState)
    RestartOdds();
  Recolour();
}

void PlaneStudy::Recolour() {
  range_ = figures::RangeOf(colouring_, results_);
  colours_.resize(results_.size());
  const bool byOdds = colouring_ == figures::DotQuantity::kSlipProbability;
  for (std::size_t i = 0; i < results_.size(); ++i) {
    const double value = byOdds ? (i < odds_.size() ? odds_[i].pSlip : kNone)
                                : figures::DotValue(colouring_, results_[i]);
    colours_[i] = figures::DotColour(colouring_, value, range_);
  }
}

std::optional<engine::Plane> PlaneStudy::JointPlane() const {
  if (!pass_.joint.has_value())
    return std::nullopt;
  const stress::JointPlane& j = *pass_.joint;
  return engine::Plane{j.beta, j.psi, j.phi, j.c};
}

void PlaneStudy::SetUncertainty(const engine::UncertaintySettings& settings) {
  if (SameSettings(uncertainty_, settings)) {
    if (odds_.empty())
      StartOddsRun();  // asked again: the last run may have been cancelled
    return;
  }
  model_->Do(study::SetUncertainty(settings));
}

void PlaneStudy::ClearUncertainty() {
  if (uncertainty_)
    model_->Do(study::SetUncertainty(std::nullopt));
}

void PlaneStudy::RestartOdds() {
  const bool shown = !odds_.empty() || jointOdds_.has_value();
  odds_.clear();
  jointOdds_.reset();
  sampler_.reset();
  if (shown)
    emit OddsChanged();
  if (uncertainty_.has_value())
    StartOddsRun();
  else
    oddsJob_.Cancel();
}

void PlaneStudy::CancelOdds() {
  oddsJob_.Cancel();
}

void PlaneStudy::StartOddsRun() {
  if (!engine::CanAssessPlanes(pass_) || (Set().empty() && !pass_.joint.has_value())) {
    CancelOdds();
    return;
  }
  oddsJob_.Start(
      [set = Set(), pass = pass_, defaults = defaults_, settings = *uncertainty_,
       joint = JointPlane()](JobControl& control) {
        OddsRun run;
        const std::function<bool()> keepGoing = control.KeepGoing();
        const auto sampler =
            std::make_shared<engine::SlipSampler>(pass, defaults, settings, keepGoing);
        run.odds.resize(set.size());
        std::atomic<std::size_t> done{0};
        const double total = static_cast<double>(set.size() + 1);
        // Small shares, so that both cores stay busy to the end and Cancel
        // is heard within a plane's realizations.
        engine::ForEachShare(set.size(), 64, 0, [&](std::size_t first, std::size_t last) {
          engine::AssessSlipOdds(*sampler, set, first, last, run.odds.data(), [&] {
            control.SetProgress(static_cast<double>(done.fetch_add(1) + 1) / total);
            return !control.Cancelled();
          });
        });
        if (joint && !control.Cancelled()) {
          std::vector<double> scratch;
          run.joint = sampler->Odds(*joint, kJointStream, scratch);
        }
        run.sampler = sampler;
        return run;
      },
      [this](OddsRun run) { ShowOdds(std::move(run)); });
}

void PlaneStudy::ShowOdds(OddsRun run) {
  odds_ = std::move(run.odds);
  jointOdds_ = run.joint;
  sampler_ = std::move(run.sampler);
  Recolour();
  emit OddsChanged();
  emit ResultsChanged();
}

QString PlaneSummary(const PlaneStudy& study, const text::Separators& separators) {
  const std::size_t count = study.Set().size();
  if (count == 0)
    return QStringLiteral("No planes");
  const auto whole = [&separators](std::size_t n) {
    return text::FormatNumber(static_cast<double>(n), 0, separators);
  };
  QString summary =
      whole(count) + (count == 1 ? QStringLiteral(" plane") : QStringLiteral(" planes"));
  const std::vector<engine::PlaneResult>& results = study.Results();
  if (results.empty())
    return summary + QStringLiteral(", not assessed (the stress state has no principal axes)");
  std::size_t slipping = 0;
  std::size_t opening = 0;
  double largest = std::numeric_limits<double>::quiet_NaN();
  for (const engine::PlaneResult& r : results) {
    slipping += r.state == engine::PlaneState::kSlips ? 1 : 0;
    opening += r.state == engine::PlaneState::kOpens ? 1 : 0;
    if (!std::isnan(r.tsNormalized) && !(r.tsNormalized <= largest))
      largest = r.tsNormalized;
  }
  summary += QStringLiteral(", ") + whole(slipping) + QStringLiteral(" slip, ") + whole(opening) +
             QStringLiteral(" open");
  summary += QStringLiteral(", largest Ts/Ts,max ") +
             (std::isnan(largest) ? QStringLiteral("\u2014")
                                  : text::FormatNumber(largest, text::kRatioDecimals, separators));
  if (const auto sampler = study.Sampler()) {
    summary += QStringLiteral("; P(slip) from %1 realizations (seed %2, %3 re-sorted)")
                   .arg(whole(static_cast<double>(sampler->Realizations())),
                        QString::number(study.Uncertainty()->seed),
                        whole(static_cast<double>(sampler->Resorted())));
    if (study.JointOdds())
      summary +=
          QStringLiteral(", joint ") +
          text::FormatProbability(study.JointOdds()->pSlip, text::kRatioDecimals, separators);
  }
  return summary;
}

}  // namespace ui
