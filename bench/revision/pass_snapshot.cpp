// Writes what the real window shows after each step of a fixed sequence of
// user actions: every stored net point (doubles as bit patterns), what each
// Qt series of the chart holds (points, pen colour, pole label and colour,
// visibility), the texts of the error boxes, and a grab of the whole window
// as PNG, and a grab of a Mohr chart showing the step's results. Two builds that write the same
// files show the same net, to the bit, and the same pixels. bench/compare_snapshots.sh builds this
// tool from two revisions and compares their output.
//
// Usage: pass_snapshot <output folder>   (on Qt's offscreen platform)

#include <QAction>
#include <QApplication>
#include <QChart>
#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QScatterSeries>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "projection/point_series.h"
#include "ui/charts/mohr_chart.h"
#include "ui/charts/net_chart.h"
#include "ui/common/error_guard.h"
#include "ui/main/main_window.h"

namespace {

using ui::NetChartView;
using ui::TFrmMorvane;

QLineEdit* Box(TFrmMorvane& window, const char* name) {
  auto* box = window.findChild<QLineEdit*>(QLatin1String(name));
  if (box == nullptr) {
    std::fprintf(stderr, "pass_snapshot: no box named %s\n", name);
    std::exit(2);
  }
  return box;
}

template <class T>
T* Control(TFrmMorvane& window, const char* name) {
  auto* control = window.findChild<T*>(QLatin1String(name));
  if (control == nullptr) {
    std::fprintf(stderr, "pass_snapshot: no control named %s\n", name);
    std::exit(2);
  }
  return control;
}

void Type(TFrmMorvane& window, const char* name, const char* text) {
  Box(window, name)->setText(QString::fromUtf8(text));
}

void TypeStress(TFrmMorvane& window, const std::array<const char*, 6>& texts) {
  const char* boxes[] = {"input_sx", "input_sy", "input_sz", "input_txy", "input_tyx", "input_tzx"};
  for (int i = 0; i < 6; ++i)
    Type(window, boxes[i], texts[i]);
}

void Calculate(TFrmMorvane& window) {
  Control<QPushButton>(window, "Button1")->click();
}

std::string Bits(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%016llx",
                static_cast<unsigned long long>(std::bit_cast<std::uint64_t>(v)));
  return text;
}

std::string Dump(TFrmMorvane& window, const std::vector<std::string>& errors) {
  std::string out;
  auto* chart = Control<NetChartView>(window, "Chart1");
  for (int n = 1; n <= NetChartView::kSeriesCount; ++n) {
    out += "stored " + std::to_string(n) + "\n";
    for (const projection::NetPoint& p : chart->Points(n).Points()) {
      out += Bits(p.x) + " " + Bits(p.y) + " " + std::to_string(p.colour) + " '" + p.label + "'\n";
    }
  }
  const auto all = chart->chart()->series();
  for (qsizetype i = 0; i < all.size(); ++i) {
    auto* series = qobject_cast<QXYSeries*>(all[i]);
    out += "qt " + std::to_string(i) + " " + series->objectName().toStdString() + " visible " +
           std::to_string(series->isVisible());
    if (auto* line = qobject_cast<QLineSeries*>(series))
      out += " pen " + line->pen().color().name().toStdString();
    if (auto* scatter = qobject_cast<QScatterSeries*>(series)) {
      out += " colour " + scatter->color().name().toStdString() + " format '" +
             scatter->pointLabelsFormat().toStdString() + "'";
    }
    out += "\n";
    for (const QPointF& p : series->points())
      out += Bits(p.x()) + " " + Bits(p.y()) + "\n";
  }
  for (const std::string& error : errors)
    out += "error " + error + "\n";
  return out;
}

struct Step {
  const char* name;
  std::function<void(TFrmMorvane&)> act;
};

std::vector<Step> Steps() {
  std::vector<Step> steps = {
      {"first-showing", [](TFrmMorvane&) {}},
      {"calculate-again", Calculate},
      {"joint-on", [](TFrmMorvane& w) { Control<QCheckBox>(w, "chkJoint")->click(); }},
      {"calculate-with-joint", Calculate},
      {"new-stress",
       [](TFrmMorvane& w) {
         TypeStress(w, {"4", "3", "2", "-2", "-1", "-2"});
         Calculate(w);
       }},
      {"same-again", Calculate},
      {"convention-east", [](TFrmMorvane& w) { w.mnuAngleLeftClick(); }},
      {"convention-north", [](TFrmMorvane& w) { w.mnuAngleRightClick(); }},
      {"steep-joint",
       [](TFrmMorvane& w) {
         Type(w, "input_joint_beta", "200");
         Type(w, "input_joint_psi", "89.99999");
         Calculate(w);
       }},
      {"vertical-joint",
       [](TFrmMorvane& w) {
         Type(w, "input_joint_psi", "90");
         Calculate(w);
       }},
      {"horizontal-joint",
       [](TFrmMorvane& w) {
         Type(w, "input_joint_beta", "0");
         Type(w, "input_joint_psi", "0");
         Calculate(w);
       }},
      {"joint-off", [](TFrmMorvane& w) { Control<QCheckBox>(w, "chkJoint")->click(); }},
      {"axis-aligned",
       [](TFrmMorvane& w) {
         TypeStress(w, {"1", "2", "3", "0", "0", "0"});
         Calculate(w);
       }},
      {"joint-on-again", [](TFrmMorvane& w) { Control<QCheckBox>(w, "chkJoint")->click(); }},
      {"isotropic",
       [](TFrmMorvane& w) {
         TypeStress(w, {"1", "1", "1", "0", "0", "0"});
         Calculate(w);
       }},
      {"nearly-vertical-axis",
       [](TFrmMorvane& w) {
         TypeStress(w, {"2e-6", "2e-6", "-1", "0", "0", "0"});
         Calculate(w);
       }},
      {"bad-stress-text",
       [](TFrmMorvane& w) {
         TypeStress(w, {"3.4", "1", "abc", "1", "-1", "2"});
         Calculate(w);
       }},
      {"bad-joint-text",
       [](TFrmMorvane& w) {
         TypeStress(w, {"3.4", "1", "8", "1", "-1", "2"});
         Type(w, "input_joint_psi", "x");
         Calculate(w);
       }},
      {"joint-repaired",
       [](TFrmMorvane& w) {
         Type(w, "input_joint_beta", "16");
         Type(w, "input_joint_psi", "33");
         Calculate(w);
       }},
      {"huge-stress",
       [](TFrmMorvane& w) {
         TypeStress(w, {"1e300", "2e300", "-1e300", "5e299", "0", "1e299"});
         Calculate(w);
       }},
      {"cosines-shown",
       [](TFrmMorvane& w) { Control<QCheckBox>(w, "chkDirectiveCosines")->click(); }},
      {"cosines-hidden",
       [](TFrmMorvane& w) {
         Control<QCheckBox>(w, "chkDirectiveCosines")->click();
         TypeStress(w, {"3.4", "1", "8", "1", "-1", "2"});
         Calculate(w);
       }},
  };
  // Seeded random states and joints, some passes repeated, the joint toggled.
  for (int i = 0; i < 24; ++i) {
    steps.push_back({"random", [i](TFrmMorvane& w) {
                       std::mt19937 random(1000 + i);
                       std::uniform_int_distribution<int> component(-900, 900);
                       std::uniform_int_distribution<int> angle(-400, 400);
                       const std::string texts[6] = {std::to_string(component(random) / 100.0),
                                                     std::to_string(component(random) / 100.0),
                                                     std::to_string(component(random) / 100.0),
                                                     std::to_string(component(random) / 100.0),
                                                     std::to_string(component(random) / 100.0),
                                                     std::to_string(component(random) / 100.0)};
                       if (i % 3 != 2) {
                         TypeStress(w, {texts[0].c_str(), texts[1].c_str(), texts[2].c_str(),
                                        texts[3].c_str(), texts[4].c_str(), texts[5].c_str()});
                       }
                       if (i % 4 == 1) {
                         Type(w, "input_joint_beta", std::to_string(angle(random)).c_str());
                         Type(w, "input_joint_psi", std::to_string(angle(random) / 4).c_str());
                       }
                       if (i % 5 == 3)
                         Control<QCheckBox>(w, "chkJoint")->click();
                       else if (i % 7 == 4)
                         w.mnuAngleLeftClick();
                       else
                         Calculate(w);
                     }});
  }
  return steps;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: pass_snapshot <output folder>\n");
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(folder);
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  // A steady text cursor: a blinking one would make grabs depend on timing.
  QApplication::setCursorFlashTime(0);

  std::vector<std::string> errors;
  ui::SetErrorReporter(
      [&errors](QWidget*, const QString& text) { errors.push_back(text.toStdString()); });

  TFrmMorvane window;
  window.show();
  // The Mohr diagram of each step's results, 560 x 360 pixels.
  ui::MohrChartView mohr;
  mohr.resize(560, 360);
  mohr.show();
  QCoreApplication::processEvents();
  int index = 0;
  for (const Step& step : Steps()) {
    errors.clear();
    step.act(window);
    QCoreApplication::processEvents();
    const QString stem = QStringLiteral("%1/%2-%3")
                             .arg(folder)
                             .arg(index++, 2, 10, QLatin1Char('0'))
                             .arg(QLatin1String(step.name));
    FILE* text = std::fopen(qPrintable(stem + QStringLiteral(".txt")), "w");
    if (text == nullptr)
      return 1;
    const std::string dump = Dump(window, errors);
    std::fwrite(dump.data(), 1, dump.size(), text);
    std::fclose(text);
    if (!window.grab().toImage().save(stem + QStringLiteral(".png")))
      return 1;
    mohr.Show(window.Results(), text::Separators{});
    QCoreApplication::processEvents();
    if (!mohr.grab().toImage().save(stem + QStringLiteral("-mohr.png")))
      return 1;
  }
  std::printf("pass_snapshot: %d steps written to %s\n", index, argv[1]);
  return 0;
}
