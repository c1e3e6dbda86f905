// The Planes window as a user drives it: a file imported through the preview
// dialog, the table's rows as shown, Cancel of a long import, paste, edits,
// delete and undo, and the plane dots on the net in pixels.

#include <QAction>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <cmath>
#include <cstring>
#include <functional>

#include "engine/slip_probability.h"
#include "files/case_file.h"
#include "ui/planes/import_dialog.h"
#include "ui/planes/plane_files.h"
#include "ui/planes/plane_study.h"
#include "ui/planes/plane_table_model.h"
#include "ui/planes/planes_window.h"
#include "window_fixture.h"

namespace ui::testing {
namespace {

class PlanesTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    ASSERT_TRUE(folder_.isValid());
  }

  QString WriteFile(const char* name, const QByteArray& bytes) {
    const QString path = folder_.filePath(QString::fromLatin1(name));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
  }

  /// The joint's friction and cohesion boxes, and the pore pressure, for the
  /// worked planes: phi 30, c 1, Pp 0.2.
  void UseWorkedState() {
    Box("input_joint_phi")->setText(QStringLiteral("30"));
    Box("input_joint_c")->setText(QStringLiteral("1"));
    window_->SetPorePressure(QStringLiteral("0.2"));
  }

  /// Imports `path` from the preview on, each modal dialog it opens handed
  /// to `answer` (which must close it) as soon as it is the active one.
  void Import(const QString& path, const std::function<void(QWidget*)>& answer) {
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
      if (QWidget* modal = QApplication::activeModalWidget())
        answer(modal);
    });
    poll.start();
    RunGuarded(window_.get(), [&] { ImportPlanesFrom(window_.get(), window_->Planes(), path); });
  }

  /// Two planes, "kept1" and "kept2", as the set.
  void KeepTwoPlanes() {
    engine::PlaneSet two;
    two.push_back({10.0, 20.0}, "kept1");
    two.push_back({30.0, 40.0}, "kept2");
    window_->Planes().Replace(two, QStringLiteral("Import"));
  }

  /// The texts of table row `row`, columns `columns`.
  std::vector<std::string> RowTexts(int row, const std::vector<int>& columns) {
    PlaneTableModel* model = window_->PlanesView()->Model();
    std::vector<std::string> texts;
    for (const int column : columns)
      texts.push_back(model->index(row, column).data().toString().toStdString());
    return texts;
  }

  QTemporaryDir folder_;
};

// An import from the preview on (a bad row shown as not imported), the
// summary; then the table's rows as the worked planes read.
TEST_F(PlanesTest, ImportsThroughThePreviewAndShowsTheWorkedPlanes) {
  Show();
  UseWorkedState();
  const QString path = WriteFile(
      "faults.csv", "name;dip direction;dip\nA;90;60\nB;270;30\nC;200;90\nD;0;0\nbad;10;95\n");
  std::string previewBadRow;
  std::string summary;
  Import(path, [&](QWidget* modal) {
    if (auto* preview = qobject_cast<ImportDialog*>(modal)) {
      auto* table = preview->findChild<QTableWidget*>(QStringLiteral("preview"));
      // Row 0 holds the column choices, row 1 the header line.
      previewBadRow = table->item(6, table->columnCount() - 1)->text().toStdString();
      preview->accept();
    } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      summary = (box->text() + QStringLiteral(" | ") + box->detailedText()).toStdString();
      box->accept();
    }
  });
  Find<QAction>("mnuPlanes")->trigger();

  EXPECT_EQ(previewBadRow, "not imported: dip 95 is outside 0 to 90");
  EXPECT_EQ(summary, "4 planes imported, 1 row skipped. | line 6: dip 95 is outside 0 to 90\n");
  ASSERT_NE(window_->PlanesView(), nullptr);
  EXPECT_TRUE(window_->PlanesView()->isVisible());
  using C = PlaneTableModel::Column;
  const std::vector<int> columns = {C::kId, C::kSigma,   C::kTau,  C::kTs,
                                    C::kTd, C::kDeltaPc, C::kRake, C::kState};
  EXPECT_EQ(RowTexts(0, columns), (std::vector<std::string>{"A", "6.282", "3.014", "0.496", "0.295",
                                                            "2.593", "-96.97", "stable"}));
  EXPECT_EQ(RowTexts(1, columns), (std::vector<std::string>{"B", "5.118", "3.289", "0.669", "0.431",
                                                            "0.953", "-114.54", "stable"}));
  EXPECT_EQ(RowTexts(2, columns), (std::vector<std::string>{"C", "1.924", "1.559", "0.904", "0.806",
                                                            "0.756", "-9.44", "stable"}));
  EXPECT_EQ(RowTexts(3, columns), (std::vector<std::string>{"D", "8.000", "2.236", "0.287", "0.093",
                                                            "5.659", "-26.57", "stable"}));
  EXPECT_EQ(window_->PlanesView()->SummaryText().toStdString(),
            "4 planes, 0 slip, largest Ts/Ts,max 0.159");
  // The export: C-locale numbers that read back to the stored doubles.
  const QList<QByteArray> csv = PlaneResultsCsv(window_->Planes()).split('\n');
  ASSERT_GE(csv.size(), 2);
  EXPECT_EQ(csv[0].toStdString(),
            "id,dip_direction,dip,phi,c,sigma,tau,sigma_eff,tau_lim,slip_tendency,"
            "slip_tendency_normalized,dilation_tendency,factor_of_safety,cff,delta_pc,rake,"
            "slip_trend,slip_plunge,state");
  EXPECT_EQ(csv[1].toStdString(),
            "A,90,60,30,1,6.282050807568876,3.0141651337682163,6.0820508075688755,"
            "4.511473670974871,0.4955836820726991,0.0871986840820696,0.2945067443101619,"
            "1.4967573011949633,-1.4973085372066546,2.5934144610485608,-96.9749327327445,"
            "103.7490551443596,59.273525508284074,stable");

  // The user's format follows a change of the regional settings.
  AnnounceLocale(QLocale(QLocale::German, QLocale::Germany));
  EXPECT_EQ(RowTexts(0, {C::kSigma, C::kRake}), (std::vector<std::string>{"6,282", "-96,97"}));
  // Sorting by the slip tendency, largest first.
  window_->PlanesView()->Table()->sortByColumn(C::kTs, Qt::DescendingOrder);
  EXPECT_EQ(RowTexts(0, {C::kId}), std::vector<std::string>{"C"});
  EXPECT_EQ(RowTexts(3, {C::kId}), std::vector<std::string>{"D"});
}

// An import into a set that holds planes asks whether to replace or append;
// Append keeps the planes, and one undo takes the import back.
TEST_F(PlanesTest, ImportAppendsWhenAskedAndUndoes) {
  Show();
  KeepTwoPlanes();
  PlaneStudy& study = window_->Planes();
  const QString path = WriteFile("one.csv", "id,dd,dip\nnew,50,60\n");
  std::string question;
  Import(path, [&](QWidget* modal) {
    if (auto* preview = qobject_cast<ImportDialog*>(modal)) {
      preview->accept();
    } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      if (box->objectName() != QStringLiteral("ReplaceOrAppend")) {
        box->accept();
        return;
      }
      question = box->text().toStdString();
      for (QAbstractButton* button : box->buttons())
        if (button->text() == QStringLiteral("&Append"))
          button->click();
    }
  });
  EXPECT_EQ(question,
            "The table holds 2 planes. Replace them with the file's planes, or append the file's "
            "planes to them?");
  ASSERT_EQ(study.Set().size(), 3u);
  EXPECT_EQ(study.Set().ids[0], "kept1");
  EXPECT_EQ(study.Set().ids[2], "new");
  study.Undo();
  ASSERT_EQ(study.Set().size(), 2u);
  EXPECT_EQ(study.Set().ids[1], "kept2");
}

// Cancel stops a long import within a tenth of a second and leaves the set
// as it was.
TEST_F(PlanesTest, CancelLeavesThePreviousSet) {
  Show();
  KeepTwoPlanes();
  PlaneStudy& study = window_->Planes();
  QByteArray big = "dd,dip\n";
  for (int i = 0; i < 600000; ++i)
    big += "123.25,45.5\n";
  const QString path = WriteFile("big.csv", big);

  QElapsedTimer sinceCancel;
  QTimer::singleShot(30, [&] {
    auto* progress = window_->findChild<QProgressDialog*>(QStringLiteral("BackgroundProgress"));
    ASSERT_NE(progress, nullptr);
    auto* cancel = progress->findChild<QPushButton*>();
    ASSERT_NE(cancel, nullptr);
    sinceCancel.start();
    QTest::mouseClick(cancel, Qt::LeftButton);
  });
  tables::PlaneReading reading = tables::DetectReading(big.toStdString());
  const std::optional<tables::PlaneImport> read = ReadPlaneFile(window_.get(), path, reading);
  const qint64 stopMs = sinceCancel.elapsed();
  EXPECT_FALSE(read.has_value());
  EXPECT_LT(stopMs, 100);
  ASSERT_EQ(study.Set().size(), 2u);
  EXPECT_EQ(study.Set().ids[1], "kept2");
}

// Paste of spreadsheet cells, a refused edit, delete and undo.
TEST_F(PlanesTest, PasteEditDeleteAndUndo) {
  Show();
  QAction* item = Find<QAction>("mnuPlanes");
  ASSERT_NE(item, nullptr);
  item->trigger();
  PlanesWindow* planes = window_->PlanesView();
  ASSERT_NE(planes, nullptr);
  planes->Paste(QStringLiteral("A\t10\t20\nB\t30\t40\t25\n"));
  PlaneTableModel* model = planes->Model();
  ASSERT_EQ(model->rowCount(), 2);
  using C = PlaneTableModel::Column;
  EXPECT_EQ(RowTexts(1, {C::kId, C::kDipDirection, C::kDip, C::kPhi}),
            (std::vector<std::string>{"B", "30.00", "40.00", "25.00"}));

  EXPECT_FALSE(model->setData(model->index(0, C::kDip), QStringLiteral("95"), Qt::EditRole));
  EXPECT_EQ(planes->findChild<QLabel*>(QStringLiteral("message"))->text().toStdString(),
            "Dip 95 is outside 0 to 90");
  EXPECT_TRUE(
      model->setData(model->index(0, C::kDipDirection), QStringLiteral("370"), Qt::EditRole));
  EXPECT_EQ(RowTexts(0, {C::kDipDirection}), std::vector<std::string>{"10.00"});

  planes->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(planes));
  planes->Table()->setCurrentIndex(model->index(0, C::kId));
  planes->Table()->selectRow(0);
  QTest::keyClick(planes->Table(), Qt::Key_Delete);
  ASSERT_EQ(model->rowCount(), 1);
  EXPECT_EQ(RowTexts(0, {C::kId}), std::vector<std::string>{"B"});
  QTest::keyClick(planes->Table(), Qt::Key_Z, Qt::ControlModifier);
  ASSERT_EQ(model->rowCount(), 2);
  EXPECT_EQ(RowTexts(0, {C::kId}), std::vector<std::string>{"A"});
}

// Each dot in its colour at its pole; without planes the net is as before.
TEST_F(PlanesTest, DotsOnTheNetInTheirColours) {
  Show();
  auto* chart = Find<NetChartView>("Chart1");
  ASSERT_NE(chart, nullptr);
  const QImage before = chart->grab().toImage();
  PlaneStudy& study = window_->Planes();
  engine::PlaneSet set;
  set.push_back({225.0, 40.0}, "p1");  // pole up to the north-east, away from the lines
  set.push_back({45.0, 40.0}, "p2");
  study.Replace(set, QStringLiteral("Import"));
  ASSERT_EQ(study.Colours().size(), 2u);
  const QImage with = chart->grab().toImage();
  for (std::size_t i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    const QPointF pole(study.Poles()[i].x, study.Poles()[i].y);
    const QPointF scene = chart->chart()->mapToPosition(pole);
    const QPoint pixel = chart->mapFromScene(scene);
    EXPECT_EQ(QColor(with.pixel(pixel)).name(), QColor(study.Colours()[i]).name());
    EXPECT_NE(QColor(before.pixel(pixel)).name(), QColor(study.Colours()[i]).name());
  }
  study.Undo();
  EXPECT_EQ(chart->grab().toImage(), before);
}

}  // namespace
}  // namespace ui::testing

namespace ui::testing {
namespace {

/// The odds the engine gives for the study's planes under its last pass.
std::vector<engine::SlipOdds> EngineOdds(const PlaneStudy& study,
                                         const engine::UncertaintySettings& settings) {
  const engine::SlipSampler sampler(study.WorkNow().pass, study.Defaults(), settings);
  std::vector<engine::SlipOdds> odds(study.Set().size());
  engine::AssessSlipOdds(sampler, study.Set(), 0, odds.size(), odds.data());
  return odds;
}

bool SameBits(const std::vector<engine::SlipOdds>& a, const std::vector<engine::SlipOdds>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(a[0])) == 0;
}

// The window's odds are the engine's to the bit (worked out on both cores),
// follow every pass with none of the last state's shown meanwhile, and a
// Cancel stops a long run within a tenth of a second, leaving them.
TEST_F(PlanesTest, SlipOddsFollowEveryPassAndCancelLeavesThem) {
  UseWorkedState();
  PlaneStudy& study = window_->Planes();
  engine::PlaneSet set;
  for (int k = 0; k < 40; ++k) {
    std::string id = "p";
    id += std::to_string(k);
    set.push_back({9.0 * k, 2.0 + 2.1 * k}, id);
  }
  study.Replace(set, QStringLiteral("Import"));
  engine::UncertaintySettings settings;
  settings.realizations = 3000;
  settings.seed = 5;
  settings[engine::Uncertain::kPorePressure] = {engine::Spread::Shape::kUniform, 0.5};
  settings[engine::Uncertain::kAzimuth] = {engine::Spread::Shape::kNormal, 5.0};
  study.SetUncertainty(settings);
  QTRY_VERIFY(!study.Odds().empty());
  EXPECT_TRUE(SameBits(study.Odds(), EngineOdds(study, settings)));
  Find<QAction>("mnuPlanes")->trigger();
  // Row by row, each odds column shows its own number.
  for (int row = 0; row < 3; ++row) {
    const engine::SlipOdds& o = study.Odds()[window_->PlanesView()->Model()->PlaneOf(row)];
    const auto shown = [](double v, int decimals) {
      return text::FormatNumber(v, decimals, {}).toStdString();
    };
    const auto probability = [](double v) {
      return text::FormatProbability(v, text::kRatioDecimals, {}).toStdString();
    };
    EXPECT_EQ(RowTexts(row, {PlaneTableModel::kPSlip, PlaneTableModel::kDeltaPcP10,
                             PlaneTableModel::kDeltaPcP50, PlaneTableModel::kDeltaPcP90,
                             PlaneTableModel::kPOpen}),
              (std::vector<std::string>{
                  probability(o.pSlip), shown(o.deltaPcP10, text::kStressDecimals),
                  shown(o.deltaPcP50, text::kStressDecimals),
                  shown(o.deltaPcP90, text::kStressDecimals), probability(o.pOpen)}));
  }

  Type("input_sx", QStringLiteral("4"));
  Click("Button1");
  EXPECT_TRUE(study.Odds().empty());  // the last state's are gone at once
  QTRY_VERIFY(!study.Odds().empty());
  const std::vector<engine::SlipOdds> kept = study.Odds();
  EXPECT_TRUE(SameBits(kept, EngineOdds(study, settings)));

  settings.realizations = engine::SlipSampler::kMostRealizations;
  study.SetUncertainty(settings);
  QTest::qWait(200);
  ASSERT_TRUE(study.OddsRunning());
  QElapsedTimer timer;
  timer.start();
  study.CancelOdds();
  while (study.OddsRunning() && timer.elapsed() < 2000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  EXPECT_LT(timer.elapsed(), 100);
  QCoreApplication::processEvents();
  EXPECT_TRUE(SameBits(study.Odds(), kept));
}

// A long run never stops the window painting: a probe repaints the window
// every 20 ms while hundreds of planes share both cores, and no two repaints
// are more than 0.1 s apart; the progress dialog is up within 0.1 s of the
// run's first progress report, and Cancel ends the run within 0.1 s.
TEST_F(PlanesTest, WindowPaintsThroughoutALongSlipProbabilityRun) {
  UseWorkedState();
  PlaneStudy& study = window_->Planes();
  engine::PlaneSet set;
  for (int k = 0; k < 400; ++k)
    set.push_back({(7.0 * k) - 360.0 * std::floor(7.0 * k / 360.0), 5.0 + (k % 80)}, "");
  study.Replace(set, QStringLiteral("Import"));
  engine::UncertaintySettings settings;
  settings.realizations = 400000;
  settings.seed = 9;
  settings[engine::Uncertain::kPorePressure] = {engine::Spread::Shape::kUniform, 0.5};
  QElapsedTimer clock;
  qint64 firstReport = -1;
  QObject::connect(&study, &PlaneStudy::OddsProgress, [&](int permille) {
    if (permille >= 0 && firstReport < 0)
      firstReport = clock.elapsed();
  });
  clock.start();
  study.SetUncertainty(settings);

  qint64 last = clock.elapsed();
  qint64 longestGap = 0;
  int repaints = 0;
  QTimer probe;
  probe.setInterval(20);
  QObject::connect(&probe, &QTimer::timeout, [&] {
    window_->repaint();
    const qint64 now = clock.elapsed();
    longestGap = std::max(longestGap, now - last);
    last = now;
    ++repaints;
  });
  probe.start();
  qint64 dialogShown = -1;
  while (clock.elapsed() < 1500 && study.OddsRunning()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    auto* dialog = window_->findChild<QProgressDialog*>(QStringLiteral("OddsProgress"));
    if (dialogShown < 0 && dialog != nullptr && dialog->isVisible())
      dialogShown = clock.elapsed();
  }
  probe.stop();
  ASSERT_TRUE(study.OddsRunning()) << "the run should last longer than the probe";
  EXPECT_GT(repaints, 20);
  EXPECT_LE(longestGap, 100);
  ASSERT_GE(firstReport, 0);
  ASSERT_GE(dialogShown, 0);
  EXPECT_LE(dialogShown - firstReport, 150);

  QElapsedTimer cancel;
  cancel.start();
  QPushButton* cancelButton = Find<QProgressDialog>("OddsProgress")->findChild<QPushButton*>();
  ASSERT_NE(cancelButton, nullptr);
  cancelButton->click();
  while (study.OddsRunning() && cancel.elapsed() < 2000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  EXPECT_LT(cancel.elapsed(), 100);
}

// The plane edits are edits of the study: undoing back to the opened case
// leaves nothing unsaved (the caption's marker goes too), redoing brings it
// back, and an opened case starts a fresh list (nothing to undo past it).
TEST_F(PlanesTest, UndoBackToTheOpenedCaseLeavesNothingUnsaved) {
  KeepTwoPlanes();
  const QString path = folder_.filePath(QStringLiteral("two.kelvane"));
  {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(files::WriteCase(window_->CaseNow()));
  }
  window_->OpenCase(path);
  PlaneStudy& study = window_->Planes();
  ASSERT_EQ(study.Set().size(), 2u);
  EXPECT_FALSE(window_->Modified());
  EXPECT_FALSE(window_->Study().CanUndo());
  EXPECT_FALSE(window_->isWindowModified());

  engine::PlaneSet three;
  for (int k = 0; k < 3; ++k)
    three.push_back({10.0 * k, 30.0}, "");
  study.Replace(three, QStringLiteral("Import"));
  EXPECT_TRUE(window_->Modified());
  EXPECT_TRUE(window_->isWindowModified());
  study.Remove({0});
  EXPECT_EQ(study.Set().size(), 2u);
  study.Undo();
  study.Undo();
  EXPECT_EQ(study.Set().ids[0], "kept1");
  EXPECT_FALSE(window_->Modified());
  EXPECT_FALSE(window_->isWindowModified());
  study.Redo();
  EXPECT_EQ(study.Set().size(), 3u);
  EXPECT_TRUE(window_->Modified());
  EXPECT_EQ(window_->Planes().Poles().size(), 3u);  // the view followed the redo
}

}  // namespace
}  // namespace ui::testing
