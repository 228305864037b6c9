// The window-free rules of the status monitor: message splitting,
// the echo and free-text rules, numbers, the progress estimate, the history ring and
// the window geometry in twips. Qt Core only, so that they are unit-tested as tables.
#pragma once

#include <QString>
#include <QStringList>
#include <QTime>

#include <optional>
#include <vector>

namespace statuslogic {

// ---- numbers ----------------------------------------------------------------------

// "Is numeric" and its value: the user's locale first, then the C locale; surrounding
// white space allowed; infinities and NaN are not numbers.
bool ParseNumber(const QString& text, double* value);

// Rounding to a whole number with halves to even (CLng).
double RoundHalfEven(double v);

// Command line to parent process id: 0 when empty, not numeric or out of 32-bit range.
qint32 ParentIdFromCommandLine(const QString& commandLine);

// "REDIM": std::nullopt when the argument is not numeric; else the size rounded
// (halves to even) and clamped to 0..kMaxHistorySize.
inline constexpr qint32 kMaxHistorySize = 100000;
std::optional<qint32> HistorySizeFromArgument(const QString& argument);

// ---- messages ---------------------------------------------------------------------

// HandleMessage: false when nothing is left after removing the outer blanks (spaces only).
bool SplitMessage(const QString& message, QString* word, QString* argument);

// F10 typed command: false unless the text begins with "(" and ends with ")".
bool SplitTypedCommand(const QString& text, QString* word, QString* argument);

// The history lines that the echo of a command adds.
QStringList EchoLines(const QString& word, const QString& argument);

// Free text: what messageLabel(1) shows, or std::nullopt when nothing is shown.
std::optional<QString> FreeTextLine(const QString& word, const QString& argument);

// ---- progress and time estimate -----------------------------------------------------

// The duration text D of an estimate of R seconds (blanks removed from both ends).
QString DurationText(double remainingSeconds);

// The text of messageLabel(0) for an estimate of R seconds made at `now`.
QString EstimateText(double remainingSeconds, const QTime& now);

struct ProgressUpdate {
    enum class Line0 { Clear, Keep, Set };
    Line0 line0 = Line0::Keep;
    QString line0Text;  // with Line0::Set
    bool barHidden = false;
    int barValue = 0;   // when the bar is not hidden
    float percent = 0;  // P after parsing and the fraction rule
};

class ProgressEstimator {
  public:
    // SetProgress with argument A; `nowSeconds` is the time since midnight, `now` the
    // time of day (both the monitor's clock).
    ProgressUpdate Apply(const QString& argument, double nowSeconds, const QTime& now);

    float progressStartTime = 0;
    float lastPercent = 0;
};

// ---- history ring -----------------------------------------------------------------

class HistoryRing {
  public:
    HistoryRing() { SetSize(100); }
    // SetHistorySize: indexes 0..n (n >= 0), keeping the lines at the indexes that remain.
    void SetSize(qint32 n);
    void Add(const QString& line);  // the line as stored (already time-stamped)
    // ShowHistory: each line followed by CR LF.
    QString Render() const;

    qint32 historyMax() const { return max_; }
    qint32 historyHead() const { return head_; }
    qint32 historyTail() const { return tail_; }

  private:
    std::vector<QString> lines_;
    qint32 max_ = 0;
    qint32 head_ = 0;
    qint32 tail_ = 0;
};

// ---- geometry (twips) ---------------------------------------------------------------

struct TwipsSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const TwipsSize&, const TwipsSize&) = default;
};

// The window's "Width" and "Height" are its outer size: the client area plus a fixed
// frame allowance (that of the original design: 5652 x 2900 outside, 5550 x 2580 inside).
inline constexpr int kFrameWidth = 102;
inline constexpr int kFrameHeight = 320;
inline constexpr TwipsSize kSmallWindow{5652, 2900};
inline constexpr TwipsSize kLargeWindow{10000, 6444};

// Output button: the size to take (the window is in its normal state).
TwipsSize OutputButtonSize(int windowHeight);

// "TEXT ON" / "TEXT OFF".
TwipsSize TextOnSize(int outputBoxTop);
TwipsSize TextOffSize(int outputButtonTop);

// Resizing: the width for the progress bar, the output box and messageLabel(0..4), and the height
// of the output box, each when the rule applies.
struct ResizeResult {
    std::optional<int> controlsWidth;
    std::optional<int> detailsHeight;
};
ResizeResult ResizeRule(int windowWidth, int windowHeight);

int TwipsToPixels(int twips, double dpi);
int PixelsToTwips(int pixels, double dpi);

}  // namespace statuslogic
