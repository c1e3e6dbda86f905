#include "ui/planes/plane_table_model.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <algorithm>
#include <cmath>
#include <numeric>

#include "tables/csv.h"
#include "tables/plane_csv.h"
#include "tables/plane_reader.h"
#include "text/shown_fields.h"
#include "ui/planes/plane_study.h"

namespace ui {
namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

struct ColumnInfo {
  const char* title;
  int decimals;
  const char* description;  ///< the header's tool tip
};

constexpr ColumnInfo kColumns[PlaneTableModel::kColumnCount] = {
    {"ID", 0, "The plane's name"},
    {"Dip direction", text::kAngleDecimals,
     "Azimuth of steepest descent, degrees clockwise from North"},
    {"Dip", text::kAngleDecimals, "Dip below the horizontal, degrees"},
    {"\u03c6", text::kAngleDecimals, "Friction angle, degrees (grey: the joint's)"},
    {"c", text::kStressDecimals, "Cohesion (grey: the joint's)"},
    {"\u03c3", text::kStressDecimals, "Normal stress, total"},
    {"\u03c4", text::kStressDecimals, "Shear stress"},
    {"\u03c3\u2032", text::kStressDecimals, "Effective normal stress, \u03c3 \u2212 Pp"},
    {"\u03c4lim\u2032", text::kStressDecimals, "Limiting shear stress c + \u03c3\u2032 tan \u03c6"},
    {"Ts", text::kRatioDecimals, "Slip tendency \u03c4/\u03c3\u2032"},
    {"Ts/Ts,max", text::kRatioDecimals, "Slip tendency over the largest of any plane"},
    {"Td", text::kRatioDecimals, "Dilation tendency (s1 \u2212 \u03c3)/(s1 \u2212 s3)"},
    {"F", text::kRatioDecimals, "Factor of safety \u03c4lim\u2032/\u03c4"},
    {"CFF", text::kStressDecimals, "Coulomb failure function \u03c4 \u2212 \u03c4lim\u2032"},
    {"\u0394Pc", text::kStressDecimals, "Pore-pressure increase that brings the plane to slip"},
    {"Rake", text::kAngleDecimals,
     "Aki-Richards rake: 0 left-lateral, 90 reverse, \u221290 normal, 180 right-lateral"},
    {"Slip trend", text::kAngleDecimals, "Azimuth of the hanging wall's motion"},
    {"Slip plunge", text::kAngleDecimals, "Plunge of the hanging wall's motion (negative: upward)"},
    {"State", 0, "slips, stable or opens (\u03c3\u2032 < 0)"},
    {"P(slip)", text::kRatioDecimals,
     "Share of the Monte Carlo realizations in which \u0394Pc \u2264 0 (at or past the "
     "Coulomb line)"},
    {"\u0394Pc P10", text::kStressDecimals, "10th percentile of \u0394Pc over the realizations"},
    {"\u0394Pc P50", text::kStressDecimals, "Median of \u0394Pc over the realizations"},
    {"\u0394Pc P90", text::kStressDecimals, "90th percentile of \u0394Pc over the realizations"},
    {"P(open)", text::kRatioDecimals,
     "Share of the Monte Carlo realizations in which the plane opens (\u03c3\u2032 < 0)"},
};

const QColor kPastLimit(255, 214, 214);
const QColor kGroupValue(128, 128, 128);

}  // namespace

double ColumnValue(const PlaneStudy& study, std::size_t plane, int column) {
  const engine::Plane& p = study.Set().planes[plane];
  switch (column) {
    case PlaneTableModel::kDipDirection:
      return p.dipDirection;
    case PlaneTableModel::kDip:
      return p.dip;
    case PlaneTableModel::kPhi:
      return engine::FrictionOf(p, study.Defaults());
    case PlaneTableModel::kCohesion:
      return engine::CohesionOf(p, study.Defaults());
    case PlaneTableModel::kPSlip:
    case PlaneTableModel::kDeltaPcP10:
    case PlaneTableModel::kDeltaPcP50:
    case PlaneTableModel::kDeltaPcP90:
    case PlaneTableModel::kPOpen: {
      if (plane >= study.Odds().size())
        return kNone;
      const engine::SlipOdds& o = study.Odds()[plane];
      return column == PlaneTableModel::kPSlip        ? o.pSlip
             : column == PlaneTableModel::kDeltaPcP10 ? o.deltaPcP10
             : column == PlaneTableModel::kDeltaPcP50 ? o.deltaPcP50
             : column == PlaneTableModel::kDeltaPcP90 ? o.deltaPcP90
                                                      : o.pOpen;
    }
    default:
      break;
  }
  if (study.Results().empty())
    return kNone;
  const engine::PlaneResult& r = study.Results()[plane];
  switch (column) {
    case PlaneTableModel::kSigma:
      return r.sigma;
    case PlaneTableModel::kTau:
      return r.tau;
    case PlaneTableModel::kSigmaEff:
      return r.sigmaEff;
    case PlaneTableModel::kTauLim:
      return r.tauLimEff;
    case PlaneTableModel::kTs:
      return r.ts;
    case PlaneTableModel::kTsNormalized:
      return r.tsNormalized;
    case PlaneTableModel::kTd:
      return r.td;
    case PlaneTableModel::kFactorOfSafety:
      return r.factorOfSafety;
    case PlaneTableModel::kCff:
      return r.cff;
    case PlaneTableModel::kDeltaPc:
      return r.deltaPc;
    case PlaneTableModel::kRake:
      return r.rake;
    case PlaneTableModel::kSlipTrend:
      return r.slipTrend;
    case PlaneTableModel::kSlipPlunge:
      return r.slipPlunge;
    default:
      return kNone;
  }
}

PlaneTableModel::PlaneTableModel(PlaneStudy& study, QObject* parent)
    : QAbstractTableModel(parent), study_(study) {
  connect(&study_, &PlaneStudy::SetChanged, this, &PlaneTableModel::SetChanged);
  connect(&study_, &PlaneStudy::ResultsChanged, this, &PlaneTableModel::ResultsChanged);
}

void PlaneTableModel::SetSeparators(const text::Separators& separators) {
  separators_ = separators;
  ResultsChanged();
}

std::size_t PlaneTableModel::PlaneOf(int row) const {
  return order_.empty() ? static_cast<std::size_t>(row) : order_[static_cast<std::size_t>(row)];
}

int PlaneTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(study_.Set().size());
}

int PlaneTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumnCount;
}

QString PlaneTableModel::Number(double value, int decimals) const {
  if (std::isnan(value))
    return QStringLiteral("\u2014");
  if (std::isinf(value))
    return value > 0 ? QStringLiteral("\u221e") : QStringLiteral("-\u221e");
  return text::FormatNumber(value, decimals, separators_);
}

QVariant PlaneTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount())
    return {};
  const std::size_t plane = PlaneOf(index.row());
  const int column = index.column();
  const engine::Plane& p = study_.Set().planes[plane];
  const bool ownValue =
      (column == kPhi && p.HasOwnPhi()) || (column == kCohesion && p.HasOwnCohesion());
  switch (role) {
    case Qt::DisplayRole:
      if (column == kId)
        return QString::fromUtf8(study_.Set().ids[plane]);
      if (column == kState)
        return study_.Results().empty()
                   ? QString()
                   : QString::fromUtf8(tables::StateName(study_.Results()[plane].state).data());
      if (column == kPSlip || column == kPOpen) {
        const double p = ColumnValue(study_, plane, column);
        return std::isnan(p) ? Number(p, kColumns[column].decimals)
                             : text::FormatProbability(p, kColumns[column].decimals, separators_);
      }
      return Number(ColumnValue(study_, plane, column), kColumns[column].decimals);
    case Qt::EditRole:
      if (column == kId)
        return QString::fromUtf8(study_.Set().ids[plane]);
      if ((column == kPhi || column == kCohesion) && !ownValue)
        return QString();
      if (column <= kCohesion)
        return text::ExactText(ColumnValue(study_, plane, column), separators_);
      return {};
    case Qt::TextAlignmentRole:
      return column == kId || column == kState ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                               : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::ForegroundRole:
      // A friction or cohesion taken from the joint group is grey.
      if ((column == kPhi || column == kCohesion) && !ownValue)
        return QBrush(kGroupValue);
      return {};
    case Qt::BackgroundRole:
      if (!study_.Results().empty() && study_.Results()[plane].state == engine::PlaneState::kSlips)
        return QBrush(kPastLimit);
      return {};
    case Qt::ToolTipRole:
      if ((column == kPhi || column == kCohesion) && !ownValue)
        return QStringLiteral("The joint's value; type one to give this plane its own");
      return {};
    default:
      return {};
  }
}

QVariant PlaneTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role == Qt::ToolTipRole && orientation == Qt::Horizontal && section >= 0 &&
      section < kColumnCount)
    return QString::fromUtf8(kColumns[section].description);
  if (role != Qt::DisplayRole)
    return {};
  if (orientation == Qt::Vertical)
    return section + 1;
  if (section < 0 || section >= kColumnCount)
    return {};
  return QString::fromUtf8(kColumns[section].title);
}

Qt::ItemFlags PlaneTableModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags flags = QAbstractTableModel::flags(index);
  if (index.isValid() && index.column() <= kCohesion)
    flags |= Qt::ItemIsEditable;
  return flags;
}

bool PlaneTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole || index.column() > kCohesion)
    return false;
  const std::size_t plane = PlaneOf(index.row());
  engine::Plane p = study_.Set().planes[plane];
  std::string id(study_.Set().ids[plane]);
  const QString typed = value.toString().trimmed();
  const int column = index.column();
  if (column == kId) {
    id = typed.toStdString();
    if (const std::string problem = tables::IdProblem(id); !problem.empty()) {
      QString why = QString::fromStdString(problem);
      why[0] = why[0].toUpper();
      emit EditRefused(why);
      return false;
    }
  } else if (typed.isEmpty() && (column == kPhi || column == kCohesion)) {
    (column == kPhi ? p.phi : p.cohesion) = kNone;  // back to the joint's value
  } else {
    double number = 0.0;
    try {
      number = text::ReadNumber(typed, separators_);
    } catch (const std::exception& error) {
      emit EditRefused(QString::fromUtf8(error.what()));
      return false;
    }
    const QString name = headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    if ((column == kDip || column == kPhi) && !(number >= 0.0 && number <= 90.0)) {
      emit EditRefused(name + QStringLiteral(" ") + typed + QStringLiteral(" is outside 0 to 90"));
      return false;
    }
    if (column == kDipDirection)
      number = tables::DirectionModulo360(number);
    (column == kDipDirection ? p.dipDirection
     : column == kDip        ? p.dip
     : column == kPhi        ? p.phi
                             : p.cohesion) = number;
  }
  study_.SetRow(plane, p, id);
  return true;
}

void PlaneTableModel::sort(int column, Qt::SortOrder order) {
  sortColumn_ = column;
  sortOrder_ = order;
  emit layoutAboutToBeChanged();
  Resort();
  emit layoutChanged();
}

void PlaneTableModel::Resort() {
  const std::size_t n = study_.Set().size();
  if (sortColumn_ < 0 || n == 0) {
    order_.clear();
    return;
  }
  order_.resize(n);
  std::iota(order_.begin(), order_.end(), std::size_t{0});
  const bool descending = sortOrder_ == Qt::DescendingOrder;
  if (sortColumn_ == kId || sortColumn_ == kState) {
    std::vector<std::string> keys(n);
    for (std::size_t i = 0; i < n; ++i)
      keys[i] = sortColumn_ == kId
                    ? std::string(study_.Set().ids[i])
                    : std::string(study_.Results().empty()
                                      ? ""
                                      : tables::StateName(study_.Results()[i].state));
    std::stable_sort(order_.begin(), order_.end(), [&](std::size_t a, std::size_t b) {
      return descending ? keys[b] < keys[a] : keys[a] < keys[b];
    });
    return;
  }
  std::vector<double> keys(n);
  for (std::size_t i = 0; i < n; ++i)
    keys[i] = ColumnValue(study_, i, sortColumn_);
  // Planes without a value go last either way.
  std::stable_sort(order_.begin(), order_.end(), [&](std::size_t a, std::size_t b) {
    const double x = keys[a];
    const double y = keys[b];
    if (std::isnan(x) || std::isnan(y))
      return !std::isnan(x) && std::isnan(y);
    return descending ? y < x : x < y;
  });
}

void PlaneTableModel::SetChanged() {
  beginResetModel();
  Resort();
  endResetModel();
}

void PlaneTableModel::ResultsChanged() {
  if (sortColumn_ > kCohesion || sortColumn_ == kPhi || sortColumn_ == kCohesion) {
    emit layoutAboutToBeChanged();
    Resort();
    emit layoutChanged();
  }
  if (rowCount() > 0)
    emit dataChanged(index(0, 0), index(rowCount() - 1, kColumnCount - 1));
}

}  // namespace ui
