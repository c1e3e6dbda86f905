#include "study/edits.h"

#include <algorithm>
#include <functional>
#include <utility>

namespace study {
namespace {

/// An edit that exchanges a part of the study with the value it holds: doing
/// and undoing are the same exchange.
template <typename Part>
class Exchange final : public Command {
 public:
  using Access = std::function<Part&(Study&)>;
  Exchange(std::string name, Changes changes, Access access, Part value, std::size_t extraBytes = 0)
      : name_(std::move(name)),
        changes_(changes),
        access_(std::move(access)),
        value_(std::move(value)),
        extraBytes_(extraBytes) {}
  std::string Name() const override { return name_; }
  Changes Redo(Study& study) override { return Swap(study); }
  Changes Undo(Study& study) override { return Swap(study); }
  std::size_t Bytes() const override { return sizeof(*this) + extraBytes_; }

 private:
  Changes Swap(Study& study) {
    using std::swap;
    swap(access_(study), value_);
    return changes_;
  }
  std::string name_;
  Changes changes_;
  Access access_;
  Part value_;
  std::size_t extraBytes_;
};

template <typename Part>
std::unique_ptr<Command> MakeExchange(std::string name, Changes changes,
                                      typename Exchange<Part>::Access access, Part value,
                                      std::size_t extraBytes = 0) {
  return std::make_unique<Exchange<Part>>(std::move(name), changes, std::move(access),
                                          std::move(value), extraBytes);
}

/// The inputs as one part: exchanged member by member.
struct InputsExchange final : public Command {
  explicit InputsExchange(Inputs inputs) : inputs(std::move(inputs)) {}
  std::string Name() const override { return "Calculate"; }
  Changes Redo(Study& study) override { return Swap(study); }
  Changes Undo(Study& study) override { return Swap(study); }
  std::size_t Bytes() const override { return sizeof(*this); }
  Changes Swap(Study& study) {
    std::swap(study.texts, inputs.texts);
    std::swap(study.values, inputs.values);
    std::swap(study.azimuth, inputs.azimuth);
    std::swap(study.jointActive, inputs.jointActive);
    std::swap(study.cosinesShown, inputs.cosinesShown);
    return kInputs;
  }
  Inputs inputs;
};

struct Builders {
  BuilderTexts depth;
  bool depthInPsi = false;
  bool svFromDensity = false;
  BuilderTexts principal;
};

class BuildersExchange final : public Command {
 public:
  explicit BuildersExchange(Builders builders) : builders_(std::move(builders)) {}
  std::string Name() const override { return "Stress builder"; }
  Changes Redo(Study& study) override { return Swap(study); }
  Changes Undo(Study& study) override { return Swap(study); }
  std::size_t Bytes() const override { return sizeof(*this); }

 private:
  Changes Swap(Study& study) {
    std::swap(study.depth, builders_.depth);
    std::swap(study.depthInPsi, builders_.depthInPsi);
    std::swap(study.svFromDensity, builders_.svFromDensity);
    std::swap(study.principal, builders_.principal);
    return kBuilders;
  }
  Builders builders_;
};

class PorePressureExchange final : public Command {
 public:
  PorePressureExchange(std::string text, double value) : text_(std::move(text)), value_(value) {}
  std::string Name() const override { return "Pore pressure"; }
  Changes Redo(Study& study) override { return Swap(study); }
  Changes Undo(Study& study) override { return Swap(study); }
  std::size_t Bytes() const override { return sizeof(*this); }

 private:
  Changes Swap(Study& study) {
    std::swap(study.porePressureText, text_);
    std::swap(study.porePressure, value_);
    return kPorePressure;
  }
  std::string text_;
  double value_;
};

class ReplaceSet final : public Command {
 public:
  ReplaceSet(std::string name, engine::PlaneSet planes, std::optional<tables::PlaneReading> reading)
      : name_(std::move(name)), planes_(std::move(planes)), reading_(std::move(reading)) {}
  std::string Name() const override { return name_; }
  Changes Redo(Study& study) override { return Swap(study); }
  Changes Undo(Study& study) override { return Swap(study); }
  std::size_t Bytes() const override { return sizeof(*this) + BytesOf(planes_); }

 private:
  Changes Swap(Study& study) {
    std::swap(study.planes, planes_);
    std::swap(study.importReading, reading_);
    return kPlanes;
  }
  std::string name_;
  engine::PlaneSet planes_;
  std::optional<tables::PlaneReading> reading_;
};

class InsertRows final : public Command {
 public:
  InsertRows(std::string name, std::size_t at, engine::PlaneSet planes)
      : name_(std::move(name)), at_(at), planes_(std::move(planes)) {}
  std::string Name() const override { return name_; }
  Changes Redo(Study& study) override {
    engine::PlaneSet& set = study.planes;
    at_ = std::min(at_, set.size());
    set.planes.insert(set.planes.begin() + static_cast<std::ptrdiff_t>(at_), planes_.planes.begin(),
                      planes_.planes.end());
    set.ids.Insert(at_, planes_.ids);
    return kPlanes;
  }
  Changes Undo(Study& study) override {
    engine::PlaneSet& set = study.planes;
    const auto from = static_cast<std::ptrdiff_t>(at_);
    const auto to = from + static_cast<std::ptrdiff_t>(planes_.size());
    set.planes.erase(set.planes.begin() + from, set.planes.begin() + to);
    set.ids.Erase(at_, at_ + planes_.size());
    return kPlanes;
  }
  std::size_t Bytes() const override { return sizeof(*this) + BytesOf(planes_); }

 private:
  std::string name_;
  std::size_t at_;
  engine::PlaneSet planes_;
};

class RemoveRows final : public Command {
 public:
  explicit RemoveRows(std::vector<std::size_t> rows) : rows_(std::move(rows)) {
    std::sort(rows_.begin(), rows_.end());
    rows_.erase(std::unique(rows_.begin(), rows_.end()), rows_.end());
  }
  std::string Name() const override { return "Delete"; }
  Changes Redo(Study& study) override {
    engine::PlaneSet& set = study.planes;
    rows_.erase(std::remove_if(rows_.begin(), rows_.end(),
                               [&set](std::size_t row) { return row >= set.size(); }),
                rows_.end());
    removed_ = {};
    std::vector<char> gone(set.size(), 0);
    for (const std::size_t row : rows_) {
      removed_.push_back(set.planes[row], set.ids[row]);
      gone[row] = 1;
    }
    engine::PlaneSet kept;
    kept.planes.reserve(set.size() - rows_.size());
    kept.ids.reserve(set.size() - rows_.size());
    for (std::size_t i = 0; i < set.size(); ++i)
      if (gone[i] == 0)
        kept.push_back(set.planes[i], set.ids[i]);
    set = std::move(kept);
    return kPlanes;
  }
  Changes Undo(Study& study) override {
    // The kept and the removed rows merged back in one sweep: rows_ are the
    // removed rows' places in the whole set, ascending.
    engine::PlaneSet& set = study.planes;
    const std::size_t total = set.size() + rows_.size();
    engine::PlaneSet whole;
    whole.planes.reserve(total);
    whole.ids.reserve(total);
    std::size_t kept = 0;
    std::size_t removed = 0;
    for (std::size_t i = 0; i < total; ++i) {
      if (removed < rows_.size() && rows_[removed] == i) {
        whole.push_back(removed_.planes[removed], removed_.ids[removed]);
        ++removed;
      } else {
        whole.push_back(set.planes[kept], set.ids[kept]);
        ++kept;
      }
    }
    set = std::move(whole);
    return kPlanes;
  }
  std::size_t Bytes() const override {
    return sizeof(*this) + rows_.size() * sizeof(std::size_t) + BytesOf(removed_);
  }

 private:
  std::vector<std::size_t> rows_;
  engine::PlaneSet removed_;
};

class EditRow final : public Command {
 public:
  EditRow(std::size_t row, const engine::Plane& plane, std::string id)
      : row_(row), plane_(plane), id_(std::move(id)) {}
  std::string Name() const override { return "Edit"; }
  Changes Redo(Study& study) override { return Swap(study); }
  Changes Undo(Study& study) override { return Swap(study); }
  std::size_t Bytes() const override { return sizeof(*this) + id_.size(); }

 private:
  Changes Swap(Study& study) {
    engine::PlaneSet& set = study.planes;
    std::swap(set.planes[row_], plane_);
    std::string previous(set.ids[row_]);
    set.ids.Set(row_, id_);
    id_ = std::move(previous);
    return kPlanes;
  }
  std::size_t row_;
  engine::Plane plane_;
  std::string id_;
};

class Grouped final : public Command {
 public:
  Grouped(std::string name, std::vector<std::unique_ptr<Command>> edits)
      : name_(std::move(name)), edits_(std::move(edits)) {}
  std::string Name() const override { return name_; }
  Changes Redo(Study& study) override {
    Changes changes = 0;
    for (const auto& edit : edits_)
      changes |= edit->Redo(study);
    return changes;
  }
  Changes Undo(Study& study) override {
    Changes changes = 0;
    for (auto edit = edits_.rbegin(); edit != edits_.rend(); ++edit)
      changes |= (*edit)->Undo(study);
    return changes;
  }
  std::size_t Bytes() const override {
    std::size_t bytes = sizeof(*this);
    for (const auto& edit : edits_)
      bytes += edit->Bytes();
    return bytes;
  }

 private:
  std::string name_;
  std::vector<std::unique_ptr<Command>> edits_;
};

}  // namespace

Inputs InputsOf(const Study& study) {
  return {study.texts, study.values, study.azimuth, study.jointActive, study.cosinesShown};
}

std::unique_ptr<Command> SetInputs(Inputs inputs) {
  return std::make_unique<InputsExchange>(std::move(inputs));
}

std::unique_ptr<Command> SetPorePressure(std::string text, double value) {
  return std::make_unique<PorePressureExchange>(std::move(text), value);
}

std::unique_ptr<Command> SetStressUnit(std::string unit) {
  return MakeExchange<std::string>(
      "Stress unit", kStressUnit, [](Study& s) -> std::string& { return s.stressUnit; },
      std::move(unit));
}

std::unique_ptr<Command> SetBuilders(BuilderTexts depth, bool depthInPsi, bool svFromDensity,
                                     BuilderTexts principal) {
  return std::make_unique<BuildersExchange>(
      Builders{std::move(depth), depthInPsi, svFromDensity, std::move(principal)});
}

std::unique_ptr<Command> SetUncertainty(std::optional<engine::UncertaintySettings> settings) {
  return MakeExchange<std::optional<engine::UncertaintySettings>>(
      "Uncertainty", kUncertainty,
      [](Study& s) -> std::optional<engine::UncertaintySettings>& { return s.uncertainty; },
      std::move(settings));
}

std::unique_ptr<Command> SetMap(engine::MapQuantity map) {
  return MakeExchange<engine::MapQuantity>(
      "Tendency map", kMap, [](Study& s) -> engine::MapQuantity& { return s.map; }, map);
}

std::unique_ptr<Command> SetColouring(std::string name) {
  return MakeExchange<std::string>(
      "Colour by", kColouring, [](Study& s) -> std::string& { return s.dotColouring; },
      std::move(name));
}

std::unique_ptr<Command> ReplacePlanes(std::string name, engine::PlaneSet planes,
                                       std::optional<tables::PlaneReading> reading) {
  return std::make_unique<ReplaceSet>(std::move(name), std::move(planes), std::move(reading));
}

std::unique_ptr<Command> InsertPlanes(std::string name, std::size_t at, engine::PlaneSet planes) {
  return std::make_unique<InsertRows>(std::move(name), at, std::move(planes));
}

std::unique_ptr<Command> RemovePlanes(std::vector<std::size_t> rows) {
  return std::make_unique<RemoveRows>(std::move(rows));
}

std::unique_ptr<Command> EditPlane(std::size_t row, const engine::Plane& plane, std::string id) {
  return std::make_unique<EditRow>(row, plane, std::move(id));
}

std::unique_ptr<Command> SetImportReading(std::optional<tables::PlaneReading> reading) {
  return MakeExchange<std::optional<tables::PlaneReading>>(
      "Import", kPlanes,
      [](Study& s) -> std::optional<tables::PlaneReading>& { return s.importReading; },
      std::move(reading));
}

std::unique_ptr<Command> Group(std::string name, std::vector<std::unique_ptr<Command>> edits) {
  return std::make_unique<Grouped>(std::move(name), std::move(edits));
}

std::size_t BytesOf(const engine::PlaneSet& planes) {
  return planes.planes.capacity() * sizeof(engine::Plane) + planes.ids.Bytes();
}

}  // namespace study
