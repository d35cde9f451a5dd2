// SpeedButton1Click of TForm1, behind the "..." button of either test page:
// the file dialog, then the import of frontend/analysis, whose texts are copied
// into both pages' controls as far as the import got.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "analysis/data_import.h"
#include "analysis/run_host.h"
#include "analysis/test_run_controller.h"
#include "ui/Unit1.h"
#include "ui/dialogs.h"
#include "ui/list_box_observations.h"

namespace {

void ShowText(const std::optional<std::string>& text, QLabel* basic, QLabel* advanced) {
  if (!text) return;
  basic->setText(QString::fromStdString(*text));
  advanced->setText(QString::fromStdString(*text));
}

}  // namespace

void TForm1::SpeedButton1Click() {
  const std::string program_directory = host_.ProgramDirectory();
  const QString chosen = dialogs_.OpenFileName(this, QString::fromStdString(program_directory));
  if (chosen.isEmpty()) return;
  const ixo::ImportResult result = ixo::ImportDataFile(chosen.toStdString(), program_directory,
                                                       decimal_separator_, *observations_, host_);
  if (result.path) {
    Edit3->setText(QString::fromStdString(*result.path));
    Edit1->setText(QString::fromStdString(*result.path));
  }
  // Only a new series in the list makes the histogram's moments out of date.
  if (result.count_text) {
    ResetHistogramProgress();
    controller_->SeriesChanged();
  }
  ShowText(result.count_text, Label5, Label31);
  ShowText(result.file_name, Label7, Label34);
  ShowText(result.skipped_text, Label44, Label43);
  ShowText(result.mean_text, Label9, Label36);
  ShowText(result.standard_deviation_text, Label11, Label38);
  ShowText(result.spread_text, Label13, Label40);
  ShowText(result.ratio_text, Label15, Label42);
  if (result.size_class) ComboBox3->setCurrentIndex(*result.size_class);
  if (result.error) dialogs_.ShowError(this, QString::fromStdString(*result.error));
}
