#include "pipe_protocol.h"

#include <QFile>
#include <QLocale>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace statuspipe {

bool pipeLogging = false;
QString pipeLogFile;
std::function<void()> pumpEvents;
std::function<void(const QString&)> reportLogError;

QString BytesToString(const char* bytes, std::size_t count) {
    QString s;
    s.reserve(static_cast<qsizetype>(count));
    for (std::size_t i = 0; i < count; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b != 0) s.append(QChar(static_cast<char16_t>(b)));
    }
    return s;
}

QString ReplaceString(const QString& source, const QString& find, const QString& replacement) {
    if (find.isEmpty()) return source;
    QString out;
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = source.indexOf(find, from, Qt::CaseSensitive);
        if (at < 0) break;
        out += QStringView(source).mid(from, at - from);
        out += replacement;
        from = at + find.size();
    }
    out += QStringView(source).mid(from);
    return out;
}

QString TakeMessage(QString& pendingInput, qsizetype maxPending) {
    while (!pendingInput.isEmpty()) {
        const qsizetype open = pendingInput.indexOf(QLatin1Char('('));
        if (open < 0) {
            QString message = pendingInput;
            message.remove(QChar(13));
            message.remove(QChar(10));
            pendingInput.clear();
            return message;
        }
        const qsizetype close = pendingInput.indexOf(QLatin1Char(')'), open);
        if (close < 0) {
            if (pendingInput.size() > maxPending) pendingInput.clear();
            return {};
        }
        QString message = pendingInput.left(close);
        pendingInput.remove(0, close + 1);
        message = ReplaceString(message, QStringLiteral("("), QString());
        message = ReplaceString(message, QString(QChar(6)), QStringLiteral("("));
        message = ReplaceString(message, QString(QChar(7)), QStringLiteral(")"));
        if (!message.isEmpty()) return message;
    }
    return {};
}

double SecondsSinceMidnight() {
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

namespace {

// The locale's long time format with its time-zone fields ("t") removed.
QString TimeFormatToSeconds() {
    const QString fmt = QLocale::system().timeFormat(QLocale::LongFormat);
    QString out;
    bool quoted = false;
    for (qsizetype i = 0; i < fmt.size(); ++i) {
        const QChar c = fmt.at(i);
        if (c == QLatin1Char('\'')) quoted = !quoted;
        if (!quoted && c == QLatin1Char('t')) {
            while (!out.isEmpty() && out.back().isSpace()) out.chop(1);
            continue;
        }
        out.append(c);
    }
    out = out.trimmed();
    if (out.isEmpty()) out = QStringLiteral("HH:mm:ss");
    return out;
}

}  // namespace

QString TimeOfDayText(const QTime& time) {
    return QLocale::system().toString(time, TimeFormatToSeconds());
}

QString TimeOfDayText() {
    return TimeOfDayText(QTime::currentTime());
}

QString PipeTrafficLine(bool isWrite, const QString& pipeName, const QString& data) {
    return TimeOfDayText() +
           (isWrite ? QStringLiteral(": Wrote to  ") : QStringLiteral(": Read from ")) + pipeName +
           QLatin1Char(' ') + data;
}

void LogPipeTraffic(bool isWrite, const QString& pipeName, const QString& data) {
    const QString line = PipeTrafficLine(isWrite, pipeName, data);
    if (pipeLogFile.isEmpty()) return;
    QFile file(pipeLogFile);
    bool ok = file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text);
    if (ok) {
        const QByteArray bytes = (line + QLatin1Char('\n')).toUtf8();
        ok = file.write(bytes) == bytes.size();
        file.close();
    }
    if (!ok) {
        const QString text = QStringLiteral("Error writing pipe logging file '") + pipeLogFile +
                             QStringLiteral("'") + QChar(13) + file.errorString();
        if (reportLogError) {
            reportLogError(text);
        } else {
            std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
        }
    }
}

std::size_t PipeByteSource::Available() {
    std::size_t available = 0;
    return statusplat::PeekPipe(pipe_, &available) ? available : 0;
}

void PipeByteSource::Read(char* buffer, std::size_t count) {
    statusplat::ReadPipe(pipe_, buffer, count);  // a failed read is not detected
}

void PipeByteSource::Idle() {
    statusplat::SleepMs(10);
}

QString ReadPipeMessage(ByteSource& source, QString& pendingInput, float timeoutSeconds,
                        const QString& pipeName, const statusplat::ProcessHandle& watch,
                        qsizetype maxPending) {
    const double start = timeoutSeconds > 0 ? SecondsSinceMidnight() : 0.0;
    const auto readLimit = static_cast<std::size_t>(std::max<qsizetype>(maxPending, 1));
    std::size_t readThisCall = 0;
    for (;;) {
        QString message = TakeMessage(pendingInput, maxPending);
        if (!message.isEmpty()) return message;
        if (readThisCall >= readLimit) return {};
        if (pumpEvents) pumpEvents();
        const std::size_t available = std::min(source.Available(), readLimit);
        if (available > 0) {
            std::vector<char> buffer(available, '\0');  // made anew and zero-filled for each read
            source.Read(buffer.data(), available);
            readThisCall += available;
            const QString text = BytesToString(buffer.data(), available);
            if (pipeLogging) LogPipeTraffic(false, pipeName, text);
            pendingInput += text;
            continue;
        }
        source.Idle();
        std::uint32_t code = 0;
        if (watch.valid()) {
            watch.QueryExitCode(&code);  // a failed query leaves 0, which counts as exited
            if (code != statusplat::kStillActive)
                return pipeName + QStringLiteral(" exited with code ") + QString::number(code);
        }
        if (timeoutSeconds <= 0) return {};
        double now = SecondsSinceMidnight();
        if (now < start) now += 86400.0;
        if (static_cast<float>(now - start) >= timeoutSeconds) {
            return QStringLiteral("Time expired waiting for a message from '") + pipeName +
                   QStringLiteral("' pipe for ") +
                   QString::number(static_cast<double>(timeoutSeconds), 'g', 7) +
                   QStringLiteral(" seconds");
        }
    }
}

QString ReadPipeMessage(statusplat::PipeHandle pipe, QString& pendingInput, float timeoutSeconds,
                        const QString& pipeName, const statusplat::ProcessHandle& watch) {
    PipeByteSource source(pipe);
    return ReadPipeMessage(source, pendingInput, timeoutSeconds, pipeName, watch);
}

}  // namespace statuspipe
