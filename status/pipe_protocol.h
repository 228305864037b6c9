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

// Step 2.1 of ReadPipeMessage: takes the next message out of the pending input, or
// returns an empty string (leaving a framed message without its ")" pending).
QString TakeMessage(QString& pendingInput);

// Returns the next message, or an empty string when no message is complete.
// timeoutSeconds <= 0 means no time-out; `watch` may be an invalid handle (none).
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
