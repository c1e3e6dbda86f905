#pragma once
// The plane set of the study (study/study.h) with its results under the last
// pass: one view that the Planes window, the net, the Mohr window and the
// export all read. The set itself lives in the study and changes only through
// its list of edits (undoable); this view follows every change. The results
// always belong to the set and the pass they were computed from (never
// another state's).
// Angles in degrees clockwise from North; stresses in the user's unit.

#include <QObject>
#include <QPointF>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "engine/pass_results.h"
#include "engine/plane_results.h"
#include "engine/plane_set.h"
#include "engine/slip_probability.h"
#include "figures/plane_dots.h"
#include "study/history.h"
#include "tables/plane_reader.h"
#include "text/number_text.h"
#include "ui/common/latest_job.h"

namespace ui {

class PlaneStudy : public QObject {
  Q_OBJECT

 public:
  /// A view of `model`'s plane set (kept alive as long as this view).
  explicit PlaneStudy(std::shared_ptr<study::StudyModel> model, QObject* parent = nullptr);
  ~PlaneStudy() override;

  const engine::PlaneSet& Set() const { return model_->Now().planes; }
  /// One per plane of Set(), or empty when the last pass did not reach the
  /// principal axes.
  const std::vector<engine::PlaneResult>& Results() const { return results_; }
  /// The poles of Set() in net coordinates (x East, y North, unit circle).
  const std::vector<figures::DotPoint>& Poles() const { return poles_; }
  const engine::PlaneDefaults& Defaults() const { return defaults_; }
  /// How the set was last imported, when it was.
  const std::optional<tables::PlaneReading>& ImportReading() const {
    return model_->Now().importReading;
  }
  /// The study's Undo and Redo.
  void Undo() { model_->Undo(); }
  void Redo() { model_->Redo(); }

  /// The quantity the dots are coloured by, and its range over Results().
  figures::DotQuantity Colouring() const { return colouring_; }
  void SetColouring(figures::DotQuantity quantity);
  figures::DotRange ColourRange() const { return range_; }
  /// Each plane's dot colour (one per plane when Results() is not empty).
  const std::vector<QRgb>& Colours() const { return colours_; }

  // Slip odds by Monte Carlo (engine/slip_probability.h). Once settings are
  // given they are worked out again, off the GUI thread on every core, after
  // every pass and edit; until then the odds of another state or set are
  // gone (empty), never shown.

  /// The settings, once given.
  const std::optional<engine::UncertaintySettings>& Uncertainty() const { return uncertainty_; }
  /// Keeps `settings` and starts a run under them; the odds shown stay until
  /// it ends (they are of the same state and set).
  void SetUncertainty(const engine::UncertaintySettings& settings);
  /// Forgets the settings (a new or opened case without them): the odds go.
  void ClearUncertainty();
  /// One per plane of Set(), of the last pass and settings; empty while none.
  const std::vector<engine::SlipOdds>& Odds() const { return odds_; }
  /// The joint's, when the pass had the joint active and the odds are shown.
  const std::optional<engine::SlipOdds>& JointOdds() const { return jointOdds_; }
  /// The run's realizations, for the curves of planes on show; null while
  /// Odds() is empty.
  std::shared_ptr<const engine::SlipSampler> Sampler() const { return sampler_; }
  /// The joint as a plane, and the stream its draws come from.
  std::optional<engine::Plane> JointPlane() const;
  static constexpr std::size_t kJointStream = ~std::size_t{0} - 1;
  bool OddsRunning() const { return oddsJob_.Busy(); }
  /// Stops the run (within a plane's realizations); the odds shown stay.
  void CancelOdds();

  /// Assesses every plane under `pass` (its pore pressure included) with
  /// `defaults` for planes without their own friction or cohesion; keeps
  /// both for later edits. Results are computed on every core.
  void Assess(const engine::PassResults& pass, const engine::PlaneDefaults& defaults);

  /// What a worker thread needs to prepare planes as Assess would: a copy of
  /// the last pass and defaults, and which pass that was.
  struct Work {
    engine::PassResults pass;
    engine::PlaneDefaults defaults;
    std::uint64_t generation = 0;
  };
  Work WorkNow() const { return {pass_, defaults_, generation_}; }

  /// Planes' poles and results worked out ahead (off the GUI thread), for an
  /// edit to take instead of working them out itself.
  struct Prepared {
    std::vector<figures::DotPoint> poles;
    std::vector<engine::PlaneResult> results;  ///< empty when the pass had no axes
    std::uint64_t generation = 0;              ///< the pass they belong to
  };
  /// Prepares `planes` under `work` on the calling thread and threads of its
  /// own; any thread. Stops early (the result then incomplete) once
  /// `keepGoing` returns false.
  static Prepared Prepare(const engine::PlaneSet& planes, const Work& work,
                          const std::function<bool()>& keepGoing = {});

  // Edits, each one undoable step of the study named `what` ("Import",
  // "Paste"...). With `prepared` (for these planes, made by Prepare), their
  // poles and, when still of the last pass, their results are taken as they
  // are. With `reading`, how the planes were read is kept in the same step.
  void Replace(engine::PlaneSet set, const QString& what,
               std::optional<Prepared> prepared = std::nullopt,
               std::optional<tables::PlaneReading> reading = std::nullopt);
  void Append(const engine::PlaneSet& planes, const QString& what,
              std::optional<Prepared> prepared = std::nullopt,
              std::optional<tables::PlaneReading> reading = std::nullopt);
  void Insert(std::size_t at, const engine::PlaneSet& planes, const QString& what);
  void SetRow(std::size_t row, const engine::Plane& plane, const std::string& id);
  /// Removes the rows `rows` (any order, no repeats).
  void Remove(std::vector<std::size_t> rows);

 signals:
  /// Rows were added, removed, replaced or edited: the results too changed.
  void SetChanged();
  /// The same rows with new results (a pass, Pp, friction or cohesion).
  void ResultsChanged();
  /// Colouring() changed.
  void ColouringChanged();
  /// Odds() and JointOdds() changed (computed, or gone with their state).
  void OddsChanged();
  /// A run started (permille 0), went on, or ended (-1).
  void OddsProgress(int permille);

 private:
  /// Makes `edit` in the study; `prepared` serves the change it makes
  /// (planes added at `at`, or the whole set when `whole`).
  void Edit(std::unique_ptr<study::Command> edit, std::size_t at, bool whole,
            std::optional<Prepared> prepared);
  /// The study's plane set changed: poles and results computed again (or
  /// taken from the prepared work waiting for this change), signals sent.
  void PlanesChanged();
  /// After the set changed: poles and results computed again.
  void SetEdited();
  /// After the set changed by `prepared`'s planes at `at` (the whole set
  /// when `whole`): their poles taken, and their results when of the last
  /// pass.
  void SetEdited(std::size_t at, bool whole, Prepared prepared);
  /// With `sameState` (the pass read the same inputs as the last), the odds
  /// still hold and are kept.
  void Reassess(bool sameState = false);
  void Recolour();
  /// Drops the odds (they are of another state or set) and starts a run.
  void RestartOdds();
  void StartOddsRun();

  struct OddsRun {
    std::vector<engine::SlipOdds> odds;
    std::optional<engine::SlipOdds> joint;
    std::shared_ptr<const engine::SlipSampler> sampler;
  };
  void ShowOdds(OddsRun run);
  /// Runs `work(first, last)` over the set's planes in shares, on every core,
  /// and returns when all are done.
  void ForEachShare(const std::function<void(std::size_t, std::size_t)>& work) const;

  std::shared_ptr<study::StudyModel> model_;
  int observer_ = -1;
  /// Prepared work for the edit being made: where its planes go, and them.
  struct Waiting {
    std::size_t at = 0;
    bool whole = false;
    Prepared prepared;
  };
  std::optional<Waiting> waiting_;
  std::vector<engine::PlaneResult> results_;
  std::vector<figures::DotPoint> poles_;
  std::vector<QRgb> colours_;
  engine::PassResults pass_;
  engine::PlaneDefaults defaults_;
  std::uint64_t generation_ = 0;  ///< counts the passes assessed
  figures::DotQuantity colouring_ = figures::DotQuantity::kNormalizedSlipTendency;
  figures::DotRange range_;

  std::optional<engine::UncertaintySettings> uncertainty_;
  std::vector<engine::SlipOdds> odds_;
  std::optional<engine::SlipOdds> jointOdds_;
  std::shared_ptr<const engine::SlipSampler> sampler_;
  LatestJob oddsJob_;
};

/// The set in one line: "12 planes, 3 slip, largest Ts/Ts,max 0.873" (the
/// value with `separators`); "No planes" for none.
QString PlaneSummary(const PlaneStudy& study, const text::Separators& separators);

}  // namespace ui
