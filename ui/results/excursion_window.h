// The excursion analysis window: the clusters and excursion periods below one
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

class ExcursionWindow final : public QDialog {
    Q_OBJECT
  public:
    explicit ExcursionWindow(QWidget* parent = nullptr);

    // The table to show and what its copy adds: the main window's comments, and the season
    // positions that tell a season from the full climatic year.
    void showExcursions(vd::run::ExcursionTable table, std::vector<std::string> comments,
                        int seasonStartDay, int seasonEndDay,
                        vd::run::BioScope scope = vd::run::BioScope::record);
    const GridTextModel& model() const { return *model_; }

    void fillTable();
    void fitToHeight();
    void copyTable();

    QTableView* grid;
    QPushButton* copyButton;  // "Copy to clipboard"
    QPushButton* okButton;    // "OK"

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    int fittedColumnWidth() const;

    vd::run::ExcursionTable table_;
    std::vector<std::string> comments_;
    int seasonStartDay_ = 1;
    int seasonEndDay_ = 365;
    vd::run::BioScope scope_ = vd::run::BioScope::record;
    GridTextModel* model_;
};

}  // namespace vd::ui
