#pragma once
// The Mohr window: the Mohr diagram of the last computed state, a read-only
// table of the quantities derived from it, a status line and a Copy button.
// A non-modal top-level window owned by the main window, created the first
// time the user shows it. It shows the stored results of the passes
// (engine/pass_results.h), never the boxes' texts; numbers are written with
// FormatNumber and the separators of the default QLocale, read again when the
// application announces a change, as the main window does.

#include <QObject>
#include <QWidget>
#include <array>
#include <functional>
#include <vector>

#include "engine/pass_results.h"
#include "engine/plane_results.h"
#include "text/number_text.h"
#include "text/result_rows.h"

class QAction;
class QLabel;
class QLineEdit;
class QPushButton;

namespace ui {

class MohrChartView;

/// What the Mohr window shows: the results of the last pass that computed the
/// principal values, and whether a later pass stopped before computing them
/// (the inputs no longer match what is shown).
struct MohrContent {
  engine::PassResults shown;
  bool stale = false;
  /// The pore pressure of the next pass as the user typed it.
  QString porePressureText = QStringLiteral("0");
  /// The stress unit's name; empty for none.
  QString unit;
  /// The plane set's results and dot colours (not owned; nullptr for none).
  const std::vector<engine::PlaneResult>* planeResults = nullptr;
  const std::vector<QRgb>* planeColours = nullptr;

  /// Takes the results of a pass that has just ended, completed or not.
  void Take(const engine::PassResults& pass);
};

class MohrWindow : public QWidget {
  Q_OBJECT

 public:
  /// Sizes without the pore-pressure strip and the effective-stress rows,
  /// which add their heights to both, so the diagram keeps its size.
  static constexpr QSize kDefaultSize{560, 460};
  static constexpr QSize kMinimumSize{360, 300};

  /// The window shows `content`, which must outlive it.
  MohrWindow(const MohrContent& content, QWidget* parent);
  ~MohrWindow() override;

  /// The text of the status line while the content is stale.
  static QString StaleText();
  /// The status line's text: StaleText() while stale, JointStaleText() while
  /// the last pass computed the values but stopped before the joint, else
  /// empty.
  QString StatusText() const;
  static QString JointStaleText();

  /// The content changed: drawn at once when the window is visible, else
  /// when it is next shown (a hidden window draws nothing).
  void ContentChanged();
  /// Only the plane set's dots changed: they alone are drawn again.
  void DotsChanged();
  /// Shows the window, the first time beside its parent where the screen
  /// has room, and brings it to the front.
  void Present();

  /// The rows Copy puts on the clipboard: the inputs, the 21 results, the
  /// derived quantities and, while there is one, the status line.
  QList<text::ResultRow> CopyRows() const;
  /// Puts CopyRows on the clipboard as "name<TAB>value" lines and as an HTML table.
  void CopyToClipboard();
  /// Runs when the user presses Enter in the pore-pressure box.
  std::function<void(const QString&)> porePressureEntered;

 signals:
  /// The window was shown or hidden (closed by its frame, by Esc or by the menu).
  void VisibilityChanged(bool visible);

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Refresh();
  void NameRows();
  void FitTable();

  const MohrContent& content_;
  text::Separators separators_;
  bool dirty_ = true;
  bool placed_ = false;
  int wideWidth_ = 0;  ///< narrowest width that shows the full names
  bool wide_ = true;

  MohrChartView* chart_ = nullptr;
  std::array<QLineEdit*, text::kDerivedCount> boxes_{};
  std::array<QLabel*, text::kDerivedCount> labels_{};
  QLabel* status_ = nullptr;
  QPushButton* copy_ = nullptr;
  QLineEdit* porePressure_ = nullptr;
};

/// Ties the checkable menu item `toggle` to the Mohr window: checking it shows
/// the window (created then, the first time), unchecking it hides it, and the
/// check follows the window however it is shown or hidden. Keeps the window's
/// content in the meantime, so that passes run while the window does not
/// exist, or is hidden, cost a copy of their results and no drawing.
class MohrWindowLink : public QObject {
  Q_OBJECT

 public:
  /// `owner` becomes the window's parent.
  MohrWindowLink(QAction* toggle, QWidget* owner);

  /// Takes the results of a pass that has just ended. Reports its own
  /// failures through the error guard; throws nothing.
  void Update(const engine::PassResults& pass);

  const MohrContent& Content() const { return content_; }
  /// The pore-pressure box shows `text` (set by a builder).
  void SetPorePressureText(const QString& text);
  void SetStressUnit(const QString& unit);
  /// The plane set's dots (see MohrContent); call again after any change.
  void SetPlaneDots(const std::vector<engine::PlaneResult>* results,
                    const std::vector<QRgb>* colours);
  /// Runs when the user presses Enter in the pore-pressure box, with its text.
  std::function<void(const QString&)> porePressureEntered;
  /// Null until the window is first shown.
  MohrWindow* Window() const { return window_; }

 private:
  void Toggle();

  QAction* toggle_;
  QWidget* owner_;
  MohrContent content_;
  MohrWindow* window_ = nullptr;
};

}  // namespace ui
