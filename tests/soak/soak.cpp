// Soak run: many passes in the real window, shown on the offscreen platform,
// with random texts in the input boxes and the joint, the cosine panel and
// the azimuth convention toggled at random. Every error the guard reports is
// captured and must be a conversion error or one of the three floating-point
// errors; the program must not crash; resident memory at the end must lie
// within a limit of what it was after the first passes.
//
//   kelvane_soak [--passes=N] [--seed=N] [--typing=yes|no] [--limit-kb=N]
//
// --typing=no sets each new text with setText. --typing=yes types it: the box
// is emptied with setText, which also empties its undo history (QLineEdit
// otherwise keeps every keystroke, without limit), then short texts of
// printable ASCII are typed key by key and others inserted as a paste does,
// each character an entry of the box's undo history. A history keeps its
// largest size once reached (about 1 MB for a box that held 32,767
// characters, measured as the difference of the two ways), so the first 1,000
// passes give every input box one text of the largest length a box takes:
// afterwards the histories no longer grow and the memory measured after
// those passes is the reference for both ways.

#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "numeric/floating_point_error.h"
#include "text/number_text.h"
#include "ui/common/error_guard.h"
#include "ui/main/main_window.h"

namespace {

constexpr std::array<const char*, 10> kInputBoxes = {
    "input_sx",  "input_sy",         "input_sz",        "input_txy",       "input_tyx",
    "input_tzx", "input_joint_beta", "input_joint_psi", "input_joint_phi", "input_joint_c"};

constexpr int kReferencePasses = 1000;
constexpr int kLongest = 32767;  // QLineEdit's default maximum length

long ResidentKilobytes() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0;
  long resident = 0;
  statm >> pages >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

struct Options {
  int passes = 100000;
  unsigned seed = 20240611;
  bool typing = false;
  long limitKb = 2048;
};

Options Parse(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const auto value = [&arg](const char* prefix) {
      return arg.rfind(prefix, 0) == 0 ? arg.substr(std::string(prefix).size()) : std::string();
    };
    if (const std::string v = value("--passes="); !v.empty()) {
      options.passes = std::stoi(v);
    } else if (const std::string v = value("--seed="); !v.empty()) {
      options.seed = static_cast<unsigned>(std::stoul(v));
    } else if (const std::string v = value("--typing="); !v.empty()) {
      options.typing = v == "yes";
    } else if (const std::string v = value("--limit-kb="); !v.empty()) {
      options.limitKb = std::stol(v);
    } else {
      std::fprintf(stderr, "unknown argument %s\n", argv[i]);
      std::exit(2);
    }
  }
  return options;
}

/// Random texts of the kinds a user can put in a box.
class Texts {
 public:
  explicit Texts(unsigned seed) : random_(seed) {}

  QString Next() {
    switch (Pick(0, 9)) {
      case 0:
      case 1:
      case 2:
        return Valid();
      case 3:
        return Invalid();
      case 4:
        return Huge();
      case 5:
        return Tiny();
      case 6:
        return Degenerate();
      case 7:
        return QString();
      case 8:
        return Pick(0, 9) == 0 ? Long(Pick(kLongest - 10, kLongest + 10)) : Long(Pick(82, 3000));
      default:
        return QString::number(Pick(-1000, 1000));
    }
  }

  /// A long text of `length` characters.
  QString Long(int length) {
    QString text;
    switch (Pick(0, 4)) {
      case 0:  // one long number
        text = QString(length, u'7');
        text[length / 2] = u'.';
        break;
      case 1:  // a row of numbers with break points
        while (text.size() < length)
          text += QString::number(Pick(0, 99999)) + u' ';
        break;
      case 2:  // emoji, two UTF-16 units each
        while (text.size() < length)
          text += QString::fromUtf8("\U0001F600");
        break;
      case 3:  // leading zeros and a number
        text = QString(length - 4, u'0') + QStringLiteral("1e-3");
        break;
      default:  // spaces around a number
        text = QString(length / 2, u' ') + QStringLiteral("42") + QString(length / 2, u' ');
        break;
    }
    text.truncate(length);
    return text;
  }

  bool Chance(double p) { return std::bernoulli_distribution(p)(random_); }
  int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random_); }

 private:
  QString Digits(int count) {
    QString digits;
    for (int i = 0; i < count; ++i)
      digits += QChar(u'0' + Pick(0, 9));
    return digits;
  }

  QString Valid() {
    QString text = Chance(0.3) ? QStringLiteral("-") : QString();
    text += Digits(Pick(0, 12));
    if (Chance(0.6))
      text += u'.' + Digits(Pick(0, 12));
    if (text.isEmpty() || text == u'-')
      text += u'1';
    if (Chance(0.3))
      text += u'e' + QString::number(Pick(-330, 330));
    if (Chance(0.1))
      text = u' ' + text + u' ';
    return text;
  }

  QString Invalid() {
    static const char* const kPieces[] = {"1",  "2", "e",  "E",      "+",      "-",      ".",
                                          ",",  " ", "\t", "x",      "inf",    "nan",    "0x",
                                          "%s", "'", "\"", "\u0663", "\u202F", "\u00A0", "😀"};
    QString text;
    for (int n = Pick(1, 12); n > 0; --n)
      text += QString::fromUtf8(kPieces[Pick(0, std::size(kPieces) - 1)]);
    return text;
  }

  QString Huge() {
    static const char* const kTexts[] = {"1e308",
                                         "1.7976931348623157e308",
                                         "-1.7976931348623157e308",
                                         "1e400",
                                         "-1e4999",
                                         "1e4932",
                                         "7.2e51",
                                         "1e200",
                                         "-3e150",
                                         "1e100"};
    return QString::fromLatin1(kTexts[Pick(0, std::size(kTexts) - 1)]);
  }

  QString Tiny() {
    static const char* const kTexts[] = {"1e-300",  "4.9e-324", "-2.5e-320", "1e-400",
                                         "1e-4999", "2.2e-308", "1e-160",    "-1e-12"};
    return QString::fromLatin1(kTexts[Pick(0, std::size(kTexts) - 1)]);
  }

  QString Degenerate() {
    static const char* const kTexts[] = {"0", "-0", ".", "-.", "0e0", "5", "+0.000", "1e-5000"};
    return QString::fromLatin1(kTexts[Pick(0, std::size(kTexts) - 1)]);
  }

  std::mt19937 random_;
};

bool Expected(const QString& message) {
  static const QString kConversion = QStringLiteral("' is not a valid floating point value.");
  if (message.startsWith(u'\'') && message.endsWith(kConversion))
    return true;
  for (const char* m : {numeric::kOverflowMessage, numeric::kInvalidOperationMessage,
                        numeric::kDivisionByZeroMessage}) {
    if (message == QString::fromLatin1(m) + u'.')
      return true;
  }
  return false;
}

/// Whether `text` reads as a number of moderate size.
bool Readable(const QString& text, const text::Separators& separators) {
  try {
    return std::fabs(text::ReadNumber(text, separators)) < 1e50;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = Parse(argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Kelvane"));

  std::map<std::string, long> errors;
  std::vector<std::string> unexpected;
  ui::SetErrorReporter([&](QWidget*, const QString& text) {
    const std::string kind = text.startsWith(u'\'') ? "conversion" : text.toStdString();
    ++errors[kind];
    if (!Expected(text) && unexpected.size() < 10)
      unexpected.push_back(text.left(200).toStdString());
  });

  ui::TFrmMorvane window;
  window.show();
  QApplication::processEvents();
  std::vector<QLineEdit*> boxes;
  for (const char* name : kInputBoxes)
    boxes.push_back(window.findChild<QLineEdit*>(QString::fromLatin1(name)));
  auto* button = window.findChild<QPushButton*>(QStringLiteral("Button1"));
  auto* joint = window.findChild<QCheckBox*>(QStringLiteral("chkJoint"));
  auto* cosines = window.findChild<QCheckBox*>(QStringLiteral("chkDirectiveCosines"));
  auto* left = window.findChild<QAction*>(QStringLiteral("mnuAngleLeft"));
  auto* right = window.findChild<QAction*>(QStringLiteral("mnuAngleRight"));
  for (QObject* control : std::vector<QObject*>{button, joint, cosines, left, right}) {
    if (control == nullptr) {
      std::fprintf(stderr, "soak: a control is missing\n");
      return 2;
    }
  }
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    if (boxes[i] == nullptr) {
      std::fprintf(stderr, "soak: no box %s\n", kInputBoxes[i]);
      return 2;
    }
  }

  Texts texts(options.seed);
  const auto enter = [&](QLineEdit* box, const QString& text) {
    if (!options.typing) {
      box->setText(text);
      return;
    }
    box->setText(QString());
    box->setFocus();
    const bool printable =
        std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u' ' && c <= u'~'; });
    if (text.size() <= 16 && printable)
      QTest::keyClicks(box, text);
    else
      box->insert(text);
  };

  const auto start = std::chrono::steady_clock::now();
  long referenceKb = 0;
  long typedCharacters = 0;
  for (int pass = 1; pass <= options.passes; ++pass) {
    // The first passes give each input box one text of the largest length.
    if (pass <= static_cast<int>(boxes.size())) {
      if (!joint->isChecked())
        joint->click();
      enter(boxes[pass - 1], texts.Long(kLongest));
    }
    // A user corrects most boxes that an error box named: the passes that
    // reach the computation stay frequent.
    for (QLineEdit* box : boxes) {
      if (Readable(box->text(), window.CurrentSeparators()) || !texts.Chance(0.8))
        continue;
      if (options.typing && !box->isEnabled())
        continue;
      enter(box, QString::number(texts.Pick(-1000, 1000)));
    }
    for (int n = texts.Pick(0, 3); n > 0; --n) {
      QLineEdit* box = boxes[texts.Pick(0, boxes.size() - 1)];
      if (options.typing && !box->isEnabled())
        continue;  // nobody types into a disabled box
      const QString text = texts.Next();
      typedCharacters += text.size();
      enter(box, text);
    }
    if (texts.Chance(0.02)) {
      // A degenerate state: isotropic, a repeated pair or all zero.
      const QString a = QString::number(texts.Pick(-5, 5));
      const QString b = texts.Chance(0.5) ? a : QString::number(texts.Pick(-5, 5));
      const QString values[6] = {
          a, a, b, QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0")};
      for (int i = 0; i < 6; ++i)
        enter(boxes[i], values[i]);
    }
    switch (texts.Pick(0, 19)) {
      case 0:
      case 1:
        joint->click();
        break;
      case 2:
        cosines->click();
        break;
      case 3:
        left->trigger();
        break;
      case 4:
        right->trigger();
        break;
      default:
        button->click();
        break;
    }
    QApplication::processEvents();
    if (pass == kReferencePasses)
      referenceKb = ResidentKilobytes();
    if (pass % 10000 == 0) {
      std::printf("soak: %d passes, resident %ld kB\n", pass, ResidentKilobytes());
      std::fflush(stdout);
    }
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const long finalKb = ResidentKilobytes();

  long failed = 0;
  for (const auto& [kind, count] : errors)
    failed += count;
  std::printf("soak: %d passes in %.0f s, typing %s, seed %u, %ld characters entered\n",
              options.passes, seconds, options.typing ? "yes" : "no", options.seed,
              typedCharacters);
  std::printf("soak: %ld commands ended in an error box:\n", failed);
  for (const auto& [kind, count] : errors)
    std::printf("soak: %8ld x %s\n", count, kind.c_str());
  std::printf(
      "soak: resident after %d passes %ld kB, after %d passes %ld kB: %+ld kB (limit %ld)\n",
      kReferencePasses, referenceKb, options.passes, finalKb, finalKb - referenceKb,
      options.limitKb);
  bool ok = true;
  for (const std::string& text : unexpected) {
    std::printf("soak: UNEXPECTED error box: %s\n", text.c_str());
    ok = false;
  }
  if (options.passes >= kReferencePasses && finalKb - referenceKb > options.limitKb) {
    std::printf("soak: FAILED: resident memory grew by more than the limit\n");
    ok = false;
  }
  std::printf("soak: %s\n", ok ? "passed" : "FAILED");
  return ok ? 0 : 1;
}
