#pragma once
// The Planes window: the plane set as a table (inputs editable, results of
// the last pass), its summary, and the commands on the set: import, export,
// add, delete, paste and undo. Non-modal, beside the main window.

#include <QWidget>
#include <cstddef>
#include <vector>

#include "text/number_text.h"

class QComboBox;
class QLabel;
class QTableView;

namespace ui {

class PlaneStudy;
class PlaneTableModel;

class PlanesWindow : public QWidget {
  Q_OBJECT

 public:
  static constexpr QSize kDefaultSize{820, 420};

  PlanesWindow(PlaneStudy& study, QWidget* parent);

  /// Shows the window (placed beside its parent the first time) and raises it.
  void Present();
  void SetSeparators(const text::Separators& separators);
  /// PlaneSummary of the set, in the window's separators.
  QString SummaryText() const;
  /// The planes (indices into the set) of the selected cells, ascending.
  std::vector<std::size_t> SelectedPlanes() const;

  QTableView* Table() const { return table_; }
  PlaneTableModel* Model() const { return model_; }

  /// Reads tab-separated rows (a spreadsheet's copy) and inserts them after
  /// the current row; a single value goes into the current input cell.
  void Paste(const QString& text);
  void DeleteSelectedRows();
  void AddPlane();

 signals:
  void VisibilityChanged(bool visible);
  void ImportRequested();
  /// The table's selection changed to the cells of `planes`.
  void SelectionChanged(const std::vector<std::size_t>& planes);
  void ExportRequested();

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void ShowSummary();
  void ShowColourBar();

  PlaneStudy& study_;
  PlaneTableModel* model_ = nullptr;
  text::Separators separators_;
  bool placed_ = false;
  QTableView* table_ = nullptr;
  QLabel* summary_ = nullptr;
  QLabel* message_ = nullptr;
  QComboBox* colouring_ = nullptr;
  QLabel* colourBar_ = nullptr;
  QLabel* colourLow_ = nullptr;  ///< the range's ends beside the bar
  QLabel* colourHigh_ = nullptr;
};

}  // namespace ui
