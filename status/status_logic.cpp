#include "status_logic.h"

#include <QLocale>

#include <cmath>
#include <limits>

#include "pipe_protocol.h"

namespace statuslogic {

namespace {

// Removes leading and trailing blanks (spaces only).
QString TrimBlanks(const QString& s) {
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && s.at(b) == QLatin1Char(' ')) ++b;
    while (e > b && s.at(e - 1) == QLatin1Char(' ')) --e;
    return s.mid(b, e - b);
}

const QChar kCR(13);
const QChar kLF(10);

}  // namespace

bool ParseNumber(const QString& text, double* value) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return false;
    bool ok = false;
    double v = QLocale::system().toDouble(t, &ok);
    if (!ok) v = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(v)) return false;
    *value = v;
    return true;
}

double RoundHalfEven(double v) {
    const double r = std::round(v);
    if (std::fabs(v - std::trunc(v)) == 0.5) {
        // exactly halfway: take the even neighbour
        const double lower = std::floor(v);
        return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
    }
    return r;
}

qint32 ParentIdFromCommandLine(const QString& commandLine) {
    if (commandLine.isEmpty()) return 0;
    double v = 0;
    if (!ParseNumber(commandLine, &v)) return 0;
    const double r = RoundHalfEven(v);
    if (r < std::numeric_limits<qint32>::min() || r > std::numeric_limits<qint32>::max()) return 0;
    return static_cast<qint32>(r);
}

std::optional<qint32> HistorySizeFromArgument(const QString& argument) {
    double v = 0;
    if (!ParseNumber(argument, &v)) return std::nullopt;
    double r = RoundHalfEven(v);
    if (r < 0) r = 0;
    if (r > kMaxHistorySize) r = kMaxHistorySize;
    return static_cast<qint32>(r);
}

bool SplitMessage(const QString& message, QString* word, QString* argument) {
    const QString t = TrimBlanks(message);
    if (t.isEmpty()) return false;
    const qsizetype blank = t.indexOf(QLatin1Char(' '));
    if (blank < 0) {
        *word = t;
        argument->clear();
    } else {
        *word = t.left(blank);
        *argument = t.mid(blank + 1);
    }
    return true;
}

bool SplitTypedCommand(const QString& text, QString* word, QString* argument) {
    if (!text.startsWith(QLatin1Char('(')) || !text.endsWith(QLatin1Char(')'))) return false;
    if (text.size() < 2) return false;
    const QString inner = text.mid(1, text.size() - 2);
    const qsizetype blank = inner.indexOf(QLatin1Char(' '));
    if (blank < 0) {
        *word = inner;
        argument->clear();
    } else {
        *word = inner.left(blank);
        *argument = inner.mid(blank + 1);
    }
    return true;
}

QStringList EchoLines(const QString& word, const QString& argument) {
    QStringList lines;
    if (word.isEmpty()) return lines;
    QString t = word + QLatin1Char(' ') + argument;
    const qsizetype crCount = t.count(kCR);
    const bool onlyCrIsLast = crCount == 1 && t.endsWith(kCR);
    if (crCount > 0 && !onlyCrIsLast) {
        for (;;) {
            const qsizetype k = t.indexOf(kCR);  // 0-based; the Part's k is k + 1
            lines.append(t.left(k));
            t = t.mid(k + 1);
            if (t.startsWith(kLF)) t = t.mid(1);
            if (k == 0) break;
            if (!t.contains(kCR)) break;
        }
    }
    if (t.size() > 1) lines.append(t);
    return lines;
}

std::optional<QString> FreeTextLine(const QString& word, const QString& argument) {
    QString t = TrimBlanks(word + QLatin1Char(' ') + argument);
    for (;;) {
        const qsizetype p = t.lastIndexOf(kCR);
        if (p <= 0) break;  // none, or at the first position
        if (p != t.size() - 1 && p != t.size() - 2) break;
        t = t.left(p);
    }
    const qsizetype p = t.lastIndexOf(kCR);
    if (p < 0) return t;
    if (p < t.size() - 1) return t.mid(p + 1);
    return std::nullopt;
}

QString DurationText(double remainingSeconds) {
    double r = remainingSeconds;
    QString d;
    const double h = std::floor(r / 3600.0);
    if (h > 0) {
        d = QString::number(static_cast<qint64>(h)) + QStringLiteral(" hours ");
        r -= 3600.0 * h;
    }
    const double m = std::floor(r / 60.0);
    if (m > 0) {
        d += QString::number(static_cast<qint64>(m)) + QStringLiteral(" minute") +
             (m > 1 ? QStringLiteral("s ") : QStringLiteral(" "));
        r -= 60.0 * m;
    }
    if (r > 0 && h == 0)
        d += QString::number(static_cast<qint64>(RoundHalfEven(r))) + QStringLiteral(" seconds");
    return TrimBlanks(d);
}

QString EstimateText(double remainingSeconds, const QTime& now) {
    if (remainingSeconds < 60) {
        return QStringLiteral("Estimated time left ") +
               QString::number(static_cast<qint64>(RoundHalfEven(remainingSeconds))) +
               QStringLiteral(" seconds");
    }
    const QTime done =
        now.addMSecs(static_cast<int>(std::llround(remainingSeconds * 1000.0) % 86400000LL));
    QString text = QStringLiteral("Estimate Done at: ") + statuspipe::TimeOfDayText(done);
    const QString d = DurationText(remainingSeconds);
    if (!d.isEmpty()) text += QStringLiteral("  (") + d + QStringLiteral(") ");
    return text;
}

ProgressUpdate ProgressEstimator::Apply(const QString& argument, double nowSeconds,
                                        const QTime& now) {
    ProgressUpdate u;
    float p = 0;
    float t = 0;
    double v = 0;
    if (ParseNumber(argument, &v)) {
        p = static_cast<float>(RoundHalfEven(v));
        t = static_cast<float>(nowSeconds);
    } else if (const qsizetype blank = argument.indexOf(QLatin1Char(' ')); blank >= 0) {
        if (ParseNumber(argument.left(blank), &v)) p = static_cast<float>(v);
        if (ParseNumber(argument.mid(blank + 1), &v)) t = static_cast<float>(v);
    }
    if (p > 0 && p < 1) p = p * 100;

    if (p <= 1 || p < lastPercent || t < progressStartTime) {
        progressStartTime = t;
        u.line0 = ProgressUpdate::Line0::Clear;
    } else if (p == lastPercent) {
        u.line0 = ProgressUpdate::Line0::Keep;
    } else {
        const double r = (100.0 - p) * (static_cast<double>(t) - progressStartTime) / p;
        u.line0 = ProgressUpdate::Line0::Set;
        u.line0Text = EstimateText(r, now);
    }

    if (p < 0 || p > 100) {
        u.barHidden = true;
    } else {
        u.barValue = static_cast<int>(std::lround(p));
    }
    u.percent = p;
    lastPercent = p;
    return u;
}

void HistoryRing::SetSize(qint32 n) {
    if (n < 0) n = 0;
    lines_.resize(static_cast<std::size_t>(n) + 1);
    max_ = n;
    if (head_ > n) head_ = 0;
    if (tail_ > n) tail_ = 0;
}

void HistoryRing::Add(const QString& line) {
    lines_[static_cast<std::size_t>(head_)] = line;
    ++head_;
    if (head_ > max_) head_ = 0;
    if (head_ == tail_) {
        ++tail_;
        if (tail_ > max_) tail_ = 0;
    }
}

QString HistoryRing::Render() const {
    static const QString crlf = QStringLiteral("\r\n");
    QString out;
    auto append = [&](qint32 from, qint32 to) {
        for (qint32 i = from; i <= to; ++i) out += lines_[static_cast<std::size_t>(i)] + crlf;
    };
    if (tail_ >= head_) {
        append(tail_, max_);
        append(0, head_ - 1);
    } else {
        append(tail_, head_ - 1);
    }
    return out;
}

TwipsSize OutputButtonSize(int windowHeight) {
    return windowHeight >= 3000 ? kSmallWindow : kLargeWindow;
}

TwipsSize TextOnSize(int outputBoxTop) {
    return {10000, static_cast<int>(RoundHalfEven(2.5 * outputBoxTop))};
}

TwipsSize TextOffSize(int outputButtonTop) {
    return {6000, outputButtonTop + 1200};
}

ResizeResult ResizeRule(int windowWidth, int windowHeight) {
    ResizeResult r;
    if (windowWidth > 700) r.controlsWidth = windowWidth - 660;
    if (windowHeight > 4000) r.detailsHeight = windowHeight - 3300;
    return r;
}

int TwipsToPixels(int twips, double dpi) {
    return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

int PixelsToTwips(int pixels, double dpi) {
    return static_cast<int>(std::lround(pixels * 1440.0 / dpi));
}

}  // namespace statuslogic
