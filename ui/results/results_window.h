// The results window: the table a calculation run filled, sized to its contents,
// with hints, the hiding of the record columns, the excursion analysis of a biological
// design flow, and the copy of the whole report to the clipboard.
#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "engine.h"

class QCheckBox;
class QLabel;
class QMenu;
class QPushButton;

namespace vd::ui {

class GridTextModel;
class ResultsGrid;
class ExcursionWindow;
class PlotWindow;

// The hint of a "Period" cell: "Apr 1, 1970 - Mar 31, 2000" for 1971-2000 with the season
// running over the end of the year. A cell that holds no years is its own hint.
QString periodHint(const QString& cell, const QString& seasonStart, const QString& seasonEnd,
                   int seasonYearShift);

class ResultsWindow final : public QDialog {
    Q_OBJECT
  public:
    explicit ResultsWindow(QWidget* parent = nullptr);

    // Takes the cells and records of a run; the next showing sizes the window to them.
    void setResults(vd::run::RunResult result);
    const vd::run::RunResult& result() const { return result_; }
    const GridTextModel& model() const { return *model_; }
    ExcursionWindow& excursionWindow() const { return *excursions_; }

    // The parameter file the run's settings came from (empty when none): "Save as CSV..."
    // suggests its name.
    void setParameterFile(const QString& path) { parameterFile_ = path; }

    // Shows the window modally; returns when it is closed.
    void showResultsModally();

    // Replaceable so that tests observe them without sound or a blocking window.
    std::function<void()> beep;
    std::function<void(QDialog&)> showModally;
    std::function<void(QMenu&, const QPoint& globalPos)> showMenu;
    // Asks where to save the CSV; empty when the user cancels.
    std::function<QString(const QString& suggestedPath)> chooseCsvFile;
    std::function<void(const QString& message)> showError;

    void arrangeForShowing();
    void sizeToTable();
    void onStreamDataToggled();
    void onCellDoubleClicked(int col, int gridRow);
    void copyReport();
    // Opens the plot window of a gage row (grid row, 1 for the first gage); beeps and
    // returns null for a row without daily flows.
    PlotWindow* openPlot(int gridRow);
    // The gage row the keyboard is on, in grid rows; 0 when none.
    int currentGageRow() const;
    // The menu of a gage row: "Plot..."; none for the header or outside the rows.
    void showRowMenu(int gridRow, const QPoint& globalPos);
    void saveCsv();
    QString suggestedCsvPath() const;
    QString hintAt(int col, int gridRow) const;

    QCheckBox* advancedBox;         // "Advanced results in clipboard"
    QCheckBox* streamDataBox;       // "Show stream data"
    QPushButton* copyButton;        // "Copy to clipboard"
    QPushButton* okButton;          // "OK"
    QPushButton* plotButton;        // "Plot..."
    QPushButton* csvButton;         // "Save as CSV..."
    QLabel* seasonLabel;            // season line
    QLabel* insufficientDataLabel;  // insufficient-data notice
    ResultsGrid* grid;
    QLabel* excursionHintLabel;

  protected:
    void showEvent(QShowEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void fitColumnWidths();
    void applyRecordColumnWidths();
    int valueColumnWidth() const { return valueWidth_; }

    vd::run::RunResult result_;
    QString parameterFile_;
    GridTextModel* model_;
    ExcursionWindow* excursions_;
    // Widths of columns 0 to 3 and of every value column, fitted to the cell font.
    std::array<int, 4> recordWidths_{100, 60, 100, 90};
    int valueWidth_ = 62;
    int rowHeight_ = 20;
};

}  // namespace vd::ui
