#pragma once
// The preview of a plane file before it is imported: the first rows as they
// will be read, under settings the user can correct (delimiter, header,
// each column's meaning, notation, decimal separator).

#include <QDialog>
#include <string>
#include <vector>

#include "tables/plane_reader.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QTableWidget;

namespace ui {

class ImportDialog : public QDialog {
  Q_OBJECT

 public:
  /// `head` is the start of the file (its first lines suffice).
  ImportDialog(const std::string& head, const QString& fileName, QWidget* parent = nullptr);

  /// The reading as the dialog's settings stand.
  const tables::PlaneReading& Reading() const { return reading_; }

 private:
  void ReadSettings();
  void ShowSettings();
  void FillPreview();

  std::string head_;
  tables::PlaneReading reading_;
  bool filling_ = false;
  QComboBox* delimiter_ = nullptr;
  QCheckBox* header_ = nullptr;
  QComboBox* notation_ = nullptr;
  QComboBox* decimal_ = nullptr;
  QTableWidget* preview_ = nullptr;
  QLabel* summary_ = nullptr;
  std::vector<QComboBox*> columns_;
};

}  // namespace ui
