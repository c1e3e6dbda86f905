#pragma once
// The Planes window's table: one row per plane of a PlaneStudy, its inputs
// (editable) then its results, sortable by any column. Numbers in the user's
// format with the Mohr window's decimals; a plane past its limit has a red
// row. Rows are shown through a permutation, so sorting moves no plane.

#include <QAbstractTableModel>
#include <vector>

#include "text/number_text.h"

namespace ui {

class PlaneStudy;

class PlaneTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column {
    kId,
    kDipDirection,
    kDip,
    kPhi,
    kCohesion,
    kSigma,
    kTau,
    kSigmaEff,
    kTauLim,
    kTs,
    kTsNormalized,
    kTd,
    kFactorOfSafety,
    kCff,
    kDeltaPc,
    kRake,
    kSlipTrend,
    kSlipPlunge,
    kState,
    kPSlip,  ///< the Monte Carlo columns, empty until the odds are computed
    kDeltaPcP10,
    kDeltaPcP50,
    kDeltaPcP90,
    kPOpen,
    kColumnCount
  };

  explicit PlaneTableModel(PlaneStudy& study, QObject* parent = nullptr);

  /// The separators numbers are shown and read with.
  void SetSeparators(const text::Separators& separators);
  /// The plane (index into the study's set) shown in `row`.
  std::size_t PlaneOf(int row) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  /// Reads an input cell's text as the main window reads a box; a text that
  /// is no number or out of range is refused and EditRefused says why.
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  void sort(int column, Qt::SortOrder order) override;

 signals:
  void EditRefused(const QString& why);

 private:
  void SetChanged();
  void ResultsChanged();
  void Resort();
  QString Number(double value, int decimals) const;

  PlaneStudy& study_;
  text::Separators separators_;
  std::vector<std::size_t> order_;  ///< row -> plane; empty while unsorted
  int sortColumn_ = -1;
  Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};

/// The value a column sorts and shows for plane `plane` (NaN without one);
/// the id and state columns have none.
double ColumnValue(const PlaneStudy& study, std::size_t plane, int column);

}  // namespace ui
