// The pipe reader of the status monitor and its traffic log.
// It needs Qt Core only, so that it can be tested without any window.
#pragma once

#include <QString>
#include <QTime>

#include <cstddef>
#include <functional>

#include "platform.h"

namespace statuspipe {

// Module settings (public, module-wide). Nothing in the monitor changes them.
extern bool pipeLogging;
extern QString pipeLogFile;

// Pumps pending window events; ReadPipeMessage calls it before every peek. The window
// installs QCoreApplication::processEvents; empty (nothing pumped) by default.
extern std::function<void()> pumpEvents;

// Shows the traffic log's error message; the window installs a message box. By
// default the text goes to standard error.
extern std::function<void(const QString&)> reportLogError;

// Each byte other than 0 becomes one character (the ANSI code page is taken as
// Latin-1 here); bytes of value 0 are dropped, so UTF-16LE ASCII text reads like 8-bit text.
QString BytesToString(const char* bytes, std::size_t count);

// Replaces every occurrence, left to right, continuing behind each inserted
// replacement; an empty text to find returns the source unchanged; case-sensitive.
QString ReplaceString(const QString& source, const QString& find, const QString& replacement);

// The most characters a framed message may hold while its ")" has not come. A parent
// never writes such a message; the bound keeps a stream that opens a frame and never
// closes it from growing the pending input without end.
inline constexpr qsizetype kMaxPendingInput = qsizetype{1} << 20;

// Step 2.1 of ReadPipeMessage: takes the next non-empty message out of the pending
// input, or returns an empty string. A framed message without its ")" stays pending
// while it holds at most `maxPending` characters; beyond that it is dropped, with all
// of the pending input, and reading starts afresh. Empty frames "()" are passed over.
QString TakeMessage(QString& pendingInput, qsizetype maxPending = kMaxPendingInput);

// Where ReadPipeMessage takes its bytes from: the monitor's pipe, or bytes in memory.
class ByteSource {
  public:
    virtual ~ByteSource() = default;
    // The number of bytes waiting now; 0 when none or when the source cannot be asked.
    virtual std::size_t Available() = 0;
    // Reads `count` bytes into `buffer`, which the caller zero-filled; a failed read
    // leaves the zeros.
    virtual void Read(char* buffer, std::size_t count) = 0;
    // Waits before the next look when nothing was waiting.
    virtual void Idle() = 0;
};

// The monitor's pipe: peeks without blocking, sleeps 10 ms when idle.
class PipeByteSource final : public ByteSource {
  public:
    explicit PipeByteSource(statusplat::PipeHandle pipe) : pipe_(pipe) {}
    std::size_t Available() override;
    void Read(char* buffer, std::size_t count) override;
    void Idle() override;

  private:
    statusplat::PipeHandle pipe_;
};

// Returns the next message, or an empty string when no message is complete.
// timeoutSeconds <= 0 means no time-out; `watch` may be an invalid handle (none).
// One call reads at most `maxPending` bytes per read and returns the empty string once
// it has read that many without completing a message, so a flood of bytes that make no
// message (NULs, a frame that never closes) cannot hold the caller.
QString ReadPipeMessage(ByteSource& source, QString& pendingInput, float timeoutSeconds,
                        const QString& pipeName, const statusplat::ProcessHandle& watch,
                        qsizetype maxPending = kMaxPendingInput);
QString ReadPipeMessage(statusplat::PipeHandle pipe, QString& pendingInput, float timeoutSeconds,
                        const QString& pipeName, const statusplat::ProcessHandle& watch);

// Builds the traffic-log line (without line end).
QString PipeTrafficLine(bool isWrite, const QString& pipeName, const QString& data);

// Appends one line to pipeLogFile (when it is not empty); on failure reports
// "Error writing pipe logging file '<file>'" CR <system description>.
void LogPipeTraffic(bool isWrite, const QString& pipeName, const QString& data);

// Seconds since midnight (the time base of the reader's time-out and of SetProgress).
double SecondsSinceMidnight();

// A time of day in the user's time format, to the second (the locale's long time
// format without its time-zone part).
QString TimeOfDayText(const QTime& time);
QString TimeOfDayText();  // the current time

}  // namespace statuspipe
