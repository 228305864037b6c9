// The season of the main window: its start and end dates, "Season is full climatic year"
// (the end is then the day before the start) and "Biological flow within the season".
#pragma once

#include <QList>
#include <QString>
#include <QWidget>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;

namespace vd::run {
struct KeptTexts;
struct SettingsTexts;
}  // namespace vd::run

namespace vd::ui {

class Prompts;

class SeasonPanel final : public QWidget {
    Q_OBJECT
  public:
    enum class Date { start, end };

    // `prompts` says why a typed date is refused.
    explicit SeasonPanel(Prompts& prompts, QWidget* parent = nullptr);

    std::string text(Date date) const;
    std::string startText() const { return text(Date::start); }
    std::string endText() const { return text(Date::end); }
    void focus(Date date);
    // Whether both dates are dates.
    bool datesValid() const;

    // The season of the settings: fills it in, and shows that of a parameter file.
    void fillTexts(vd::run::SettingsTexts& t) const;
    // What the panel keeps beside it for a parameter file: the start it began with (the
    // window's first or the file's) and the end the user typed, given back when "Season is
    // full climatic year" is cleared.
    void fillKept(vd::run::KeptTexts& kept) const;
    // In the file's order: the box, the end, the start, then what is kept.
    void showTexts(const vd::run::SettingsTexts& t, const vd::run::KeptTexts& kept);
    // The panel's controls in the order Tab walks them.
    QList<QWidget*> tabOrder() const;

  signals:
    // A date left valid, or a box changed.
    void edited();
    // The season is another than the gage table was read for.
    void seasonChanged();

  protected:
    // A date is checked and written in its standard form when the focus leaves it.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QLineEdit* edit(Date date) const;
    void rememberSeason();
    void leaveDate(QLineEdit* edit);
    void refuseDate(QLineEdit* edit);
    void onStartEdited();
    void onClimaticYearToggled(bool checked);
    std::string dayBeforeStart() const;
    std::string seasonKey() const;  // end text + start text

    Prompts& prompts_;
    QLabel* startLabel_;
    QLineEdit* startEdit_;
    QLabel* dateFormatLabel_;
    QLabel* endLabel_;
    QLineEdit* endEdit_;
    QCheckBox* climaticYearBox_;
    // The biological flow, percentiles and excursion rates within the season, not over the
    // whole record; only a season shorter than the year has a choice.
    QCheckBox* bioWithinSeasonBox_;
    std::string keptStart_;
    std::string keptEnd_;
    std::string save_;  // the season key when a date edit was entered
    // The season texts when a date edit was entered, restored when a date is refused.
    QString startOnEntry_;
    QString endOnEntry_;
};

}  // namespace vd::ui
