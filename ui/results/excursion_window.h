// The excursion analysis window (Form4): the clusters and excursion periods below one
// biological design flow, and the copy of that table to the clipboard.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "excursion_table.h"

class QPushButton;
class QTableView;

namespace vd::ui {

class GridTextModel;

class TForm4 final : public QDialog {
    Q_OBJECT
  public:
    explicit TForm4(QWidget* parent = nullptr);

    // The table to show and what its copy adds: the main window's comments, and the season
    // positions that tell a season from the full climatic year.
    void showExcursions(vd::run::ExcursionTable table, std::vector<std::string> comments, int sday,
                        int eday);
    const GridTextModel& model() const { return *model_; }

    void FormActivate();
    void FormResize();
    void Button2Click();
    void Button1Click();

    QTableView* StringGrid1;
    QPushButton* Button2;  // "Copy to clipboard"
    QPushButton* Button1;  // "OK"

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    int fittedColumnWidth() const;

    vd::run::ExcursionTable table_;
    std::vector<std::string> comments_;
    int sday_ = 1;
    int eday_ = 365;
    GridTextModel* model_;
};

}  // namespace vd::ui
