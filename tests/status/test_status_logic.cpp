// Unit tests of the status monitor's window-free parts: the pipe protocol (framing, bytes,
// replacing, the reader on real pipes, the traffic log) and the status logic (splitting,
// echo, free text, numbers, the progress estimate, the history ring, geometry).
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <ostream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "pipe_protocol.h"
#include "platform.h"
#include "status_logic.h"

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) {
    std::string out = "\"";
    for (QChar c : s) {
        if (c.unicode() < 32) {
            out += "\\x" + std::to_string(c.unicode());
        } else {
            out += QString(c).toStdString();
        }
    }
    *os << out << "\"";
}
QT_END_NAMESPACE

namespace {

using statuslogic::TwipsSize;

QString S(const char* s) {
    return QString::fromLatin1(s);
}
const QString CR(QChar(13));
const QString LF(QChar(10));

// ---------------------------------------------------------------------------------
// BytesToString
// ---------------------------------------------------------------------------------

struct BytesCase {
    std::string bytes;
    std::size_t count;
    QString expected;
};

TEST(BytesToString, Table) {
    const std::vector<BytesCase> cases = {
        {"abc", 3, S("abc")},
        {std::string("a\0b\0", 4), 4, S("ab")},
        {std::string("(\0E\0X\0I\0T\0)\0", 12), 12, S("(EXIT)")},
        {"abcdef", 3, S("abc")},
        {std::string("\0\0\0", 3), 3, QString()},
        {"\xE9t\xE9", 3, QString::fromUtf8("\u00E9t\u00E9")},
        {"", 0, QString()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(statuspipe::BytesToString(c.bytes.data(), c.count), c.expected)
            << "bytes of " << c.bytes.size();
    }
}

// ---------------------------------------------------------------------------------
// ReplaceString
// ---------------------------------------------------------------------------------

TEST(ReplaceString, Table) {
    struct Case {
        QString source, find, replacement, expected;
    };
    const std::vector<Case> cases = {
        {S("aaa"), S("a"), S("aa"), S("aaaaaa")},  // continues behind each replacement
        {S("abc"), QString(), S("x"), S("abc")},   // empty text to find
        {S("Abc"), S("a"), S("x"), S("Abc")},      // case-sensitive
        {S("a(b(c"), S("("), QString(), S("abc")}, {S("xyx"), S("x"), QString(), S("y")},
        {S("hello"), S("lo"), S("p"), S("help")},  {S("abab"), S("ab"), S("ba"), S("baba")},
        {QString(), S("a"), S("b"), QString()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(statuspipe::ReplaceString(c.source, c.find, c.replacement), c.expected)
            << c.source.toStdString();
    }
}

// ---------------------------------------------------------------------------------
// Framing (step 2.1 of ReadPipeMessage)
// ---------------------------------------------------------------------------------

TEST(TakeMessage, Table) {
    struct Case {
        QString pending, message, pendingAfter;
    };
    const QString c6(QChar(6));
    const QString c7(QChar(7));
    const std::vector<Case> cases = {
        {S("(MSG1 Hello"), QString(), S("(MSG1 Hello")},  // no ")" yet: kept
        {S("(MSG1 Hello)(MSG2 World)"), S("MSG1 Hello"), S("(MSG2 World)")},
        {S("MSG1 a") + CR + LF + S("MSG2 b"), S("MSG1 aMSG2 b"),
         QString()},  // unframed, CR LF removed
        {S("(CAPTION Run ") + c6 + S("1") + c7 + S(")"), S("CAPTION Run (1)"), QString()},
        {S("junk(MSG1 x)rest"), S("junkMSG1 x"),
         S("rest")},                          // what stands before "(" joins the message
        {S("a)b(c)"), S("a)bc"), QString()},  // the first ")" at or after the "("
        {S("((x))"), S("x"), S(")")},
        {QString(), QString(), QString()},
        {CR + LF, QString(), QString()},
        {S("()"), QString(), QString()},
        {S("()()(x)y"), S("x"), S("y")},  // empty frames are passed over
        {S("()(x"), QString(), S("(x")},
        {S("(a") + CR + S("b)"), S("a") + CR + S("b"), QString()},  // framed text keeps its CR
        {S("(") + c6 + c7 + S(")x"), S("()"), S("x")},
    };
    for (const auto& c : cases) {
        QString pending = c.pending;
        EXPECT_EQ(statuspipe::TakeMessage(pending), c.message) << c.pending.toStdString();
        EXPECT_EQ(pending, c.pendingAfter) << c.pending.toStdString();
    }
}

// ---------------------------------------------------------------------------------
// ReadPipeMessage over bytes in memory: hostile streams (each file under
// tests/data/status is one finding of the framing's review and fuzzing)
// ---------------------------------------------------------------------------------

// Bytes that arrive on the pipe in chunks, one chunk per poll.
class ChunkedSource final : public statuspipe::ByteSource {
  public:
    void Arrive(const QByteArray& bytes) { waiting_ += bytes; }
    std::size_t Available() override { return static_cast<std::size_t>(waiting_.size()); }
    void Read(char* buffer, std::size_t count) override {
        std::copy_n(waiting_.constData(), count, buffer);
        waiting_.remove(0, static_cast<qsizetype>(count));
    }
    void Idle() override {}

  private:
    QByteArray waiting_;
};

// The results of every ReadPipeMessage call, polling as the window does (calls until an
// empty result) once per arriving chunk and then until every byte has been read.
std::vector<QString> PollInChunks(const QByteArray& bytes, qsizetype chunkSize,
                                  qsizetype maxPending, qsizetype* mostPending) {
    ChunkedSource source;
    QString pending;
    std::vector<QString> results;
    *mostPending = 0;
    qsizetype sent = 0;
    while (sent < bytes.size() || source.Available() > 0) {
        source.Arrive(bytes.mid(sent, chunkSize));
        sent = std::min(bytes.size(), sent + chunkSize);
        for (;;) {
            results.push_back(statuspipe::ReadPipeMessage(source, pending, 0, S("Test"),
                                                          statusplat::ProcessHandle(), maxPending));
            *mostPending = std::max(*mostPending, pending.size());
            if (results.back().isEmpty()) break;
        }
    }
    return results;
}

QByteArray StatusData(const char* name) {
    QFile f(QStringLiteral(VANDO_TEST_DATA "/status/") + QLatin1String(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(HostileStreams, Table) {
    struct Case {
        const char* file;
        qsizetype chunkSize;
        qsizetype maxPending;
        std::vector<QString> results;
    };
    const std::vector<Case> cases = {
        // A frame that never closes is dropped once it passes the bound; what follows
        // without a "(" is unframed text.
        {"open_frame_never_closed.bin",
         8,
         16,
         {QString(), QString(), QString(), S("xxxxxxxx"), QString(), S("xxxx"), QString()}},
        // Empty frames do not hold back the message behind them until the next poll.
        {"empty_frames_then_message.bin",
         64,
         statuspipe::kMaxPendingInput,
         {S("MSG1 x"), QString()}},
        // A flood of bytes that make no message returns after a bounded read per call.
        {"nul_flood_then_message.bin",
         103,
         16,
         {QString(), QString(), QString(), QString(), QString(), QString(), S("A"), QString()}},
    };
    for (const Case& c : cases) {
        const QByteArray bytes = StatusData(c.file);
        ASSERT_FALSE(bytes.isEmpty()) << c.file;
        qsizetype mostPending = 0;
        EXPECT_EQ(PollInChunks(bytes, c.chunkSize, c.maxPending, &mostPending), c.results)
            << c.file;
        EXPECT_LE(mostPending, c.maxPending) << c.file;
    }
}

TEST(HostileStreams, FrameNeverClosedStaysWithinTheRealBound) {
    const QByteArray bytes = "(MSG1 " + QByteArray(3 * statuspipe::kMaxPendingInput, 'x');
    qsizetype mostPending = 0;
    const std::vector<QString> results =
        PollInChunks(bytes, 64 * 1024, statuspipe::kMaxPendingInput, &mostPending);
    EXPECT_LE(mostPending, statuspipe::kMaxPendingInput);
    ASSERT_FALSE(results.empty());
    EXPECT_EQ(results.back(), QString());
}

// ---------------------------------------------------------------------------------
// ReadPipeMessage on real pipes
// ---------------------------------------------------------------------------------

class Pipe {
  public:
    Pipe() {
        int fds[2];
        if (::pipe(fds) == 0) {
            read_ = fds[0];
            write_ = fds[1];
        }
    }
    ~Pipe() {
        if (read_ >= 0) ::close(read_);
        CloseWrite();
    }
    void Write(const std::string& s) const {
        ASSERT_EQ(::write(write_, s.data(), s.size()), static_cast<ssize_t>(s.size()));
    }
    void CloseWrite() {
        if (write_ >= 0) ::close(write_);
        write_ = -1;
    }
    statusplat::PipeHandle ReadEnd() const { return read_; }

  private:
    int read_ = -1;
    int write_ = -1;
};

const statusplat::ProcessHandle kNoProcess;

TEST(ReadPipeMessage, MessageSplitOverTwoReads) {
    Pipe p;
    QString pending;
    p.Write("(MSG1 Hello");
    EXPECT_EQ(statuspipe::ReadPipeMessage(p.ReadEnd(), pending, 0, S("Unnamed"), kNoProcess),
              QString());
    EXPECT_EQ(pending, S("(MSG1 Hello"));
    p.Write(")(MSG2 World)");
    EXPECT_EQ(statuspipe::ReadPipeMessage(p.ReadEnd(), pending, 0, S("Unnamed"), kNoProcess),
              S("MSG1 Hello"));
    EXPECT_EQ(statuspipe::ReadPipeMessage(p.ReadEnd(), pending, 0, S("Unnamed"), kNoProcess),
              S("MSG2 World"));
    EXPECT_EQ(statuspipe::ReadPipeMessage(p.ReadEnd(), pending, 0, S("Unnamed"), kNoProcess),
              QString());
    EXPECT_TRUE(pending.isEmpty());
}

TEST(ReadPipeMessage, Utf16LittleEndianReadsLike8Bit) {
    Pipe p;
    QString pending;
    p.Write(std::string("(\0E\0X\0I\0T\0)\0", 12));
    EXPECT_EQ(statuspipe::ReadPipeMessage(p.ReadEnd(), pending, 0, S("Unnamed"), kNoProcess),
              S("EXIT"));
}

TEST(ReadPipeMessage, UnframedData) {
    Pipe p;
    QString pending;
    p.Write("MSG1 a\r\nMSG2 b");
    EXPECT_EQ(statuspipe::ReadPipeMessage(p.ReadEnd(), pending, 0, S("Unnamed"), kNoProcess),
              S("MSG1 aMSG2 b"));
    EXPECT_TRUE(pending.isEmpty());
}

TEST(ReadPipeMessage, BrokenPipeCountsAsNothing) {
    Pipe p;
    p.CloseWrite();
    QString pending = S("(partial");
    EXPECT_EQ(statuspipe::ReadPipeMessage(p.ReadEnd(), pending, 0, S("Unnamed"), kNoProcess),
              QString());
    EXPECT_EQ(pending, S("(partial"));
}

TEST(ReadPipeMessage, NotAPipeIsNeverRead) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(S("input.txt"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("(MSG1 x)");
    }
    const int fd = ::open(path.toLocal8Bit().constData(), O_RDONLY);
    ASSERT_GE(fd, 0);
    QString pending;
    EXPECT_EQ(statuspipe::ReadPipeMessage(fd, pending, 0, S("Unnamed"), kNoProcess), QString());
    EXPECT_TRUE(pending.isEmpty());
    ::close(fd);
    std::size_t n = 0;
    EXPECT_FALSE(statusplat::PeekPipe(statusplat::kNoPipe, &n));
}

TEST(ReadPipeMessage, PumpsEventsBeforeEveryPeek) {
    Pipe p;
    int pumps = 0;
    statuspipe::pumpEvents = [&pumps] { ++pumps; };
    QString pending;
    p.Write("(A)(B");
    EXPECT_EQ(statuspipe::ReadPipeMessage(p.ReadEnd(), pending, 0, S("Unnamed"), kNoProcess),
              S("A"));
    EXPECT_EQ(pumps, 1);  // one peek: the read of "(A)(B"
    EXPECT_EQ(statuspipe::ReadPipeMessage(p.ReadEnd(), pending, 0, S("Unnamed"), kNoProcess),
              QString());
    EXPECT_EQ(pumps, 2);  // one more peek that found nothing
    statuspipe::pumpEvents = nullptr;
}

TEST(ReadPipeMessage, TimeOut) {
    Pipe p;
    QString pending;
    const auto t0 = std::chrono::steady_clock::now();
    const QString m =
        statuspipe::ReadPipeMessage(p.ReadEnd(), pending, 0.2f, S("Test"), kNoProcess);
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    EXPECT_EQ(m, S("Time expired waiting for a message from 'Test' pipe for 0.2 seconds"));
    EXPECT_GE(elapsed, 0.19);
}

TEST(ReadPipeMessage, MessageBeatsTimeOut) {
    Pipe p;
    QString pending;
    p.Write("(MSG1 x)");
    EXPECT_EQ(statuspipe::ReadPipeMessage(p.ReadEnd(), pending, 5.0f, S("Test"), kNoProcess),
              S("MSG1 x"));
}

// Waits (generously) until the process is seen to have exited.
bool WaitExited(const statusplat::ProcessHandle& h) {
    for (int i = 0; i < 2000; ++i) {
        std::uint32_t code = 0;
        if (h.QueryExitCode(&code) && code != statusplat::kStillActive) return true;
        statusplat::SleepMs(5);
    }
    return false;
}

TEST(ReadPipeMessage, WatchedProcessExits) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) _exit(3);
    statusplat::ProcessHandle h = statusplat::ProcessHandle::Open(child);
    ASSERT_TRUE(h.valid());
    ASSERT_TRUE(WaitExited(h));
    Pipe p;
    QString pending;
    EXPECT_EQ(statuspipe::ReadPipeMessage(p.ReadEnd(), pending, 0, S("Test"), h),
              S("Test exited with code 3"));
    int status = 0;
    EXPECT_EQ(waitpid(child, &status, 0), child);
}

TEST(ReadPipeMessage, RunningProcessIsNoMessage) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        for (;;) pause();
    }
    statusplat::ProcessHandle h = statusplat::ProcessHandle::Open(child);
    ASSERT_TRUE(h.valid());
    std::uint32_t code = 0;
    EXPECT_TRUE(h.QueryExitCode(&code));
    EXPECT_EQ(code, statusplat::kStillActive);
    Pipe p;
    QString pending;
    EXPECT_EQ(statuspipe::ReadPipeMessage(p.ReadEnd(), pending, 0, S("Test"), h), QString());
    EXPECT_TRUE(h.Terminate(0));
    int status = 0;
    EXPECT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGKILL);
}

TEST(ProcessHandle, OpenFailsWithoutAProcess) {
    EXPECT_FALSE(statusplat::ProcessHandle::Open(0).valid());
    EXPECT_FALSE(statusplat::ProcessHandle::Open(-1).valid());
    // A process id that is free: a child that has been reaped.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) _exit(0);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_FALSE(statusplat::ProcessHandle::Open(child).valid());
    statusplat::ProcessHandle none;
    std::uint32_t code = 0;
    EXPECT_FALSE(none.QueryExitCode(&code));
    EXPECT_EQ(code, 0u);
    EXPECT_FALSE(none.Terminate(0));
}

// ---------------------------------------------------------------------------------
// Traffic log
// ---------------------------------------------------------------------------------

class TrafficLog : public ::testing::Test {
  protected:
    void TearDown() override {
        statuspipe::pipeLogging = false;
        statuspipe::pipeLogFile.clear();
        statuspipe::reportLogError = nullptr;
    }
    QTemporaryDir dir_;
};

TEST_F(TrafficLog, LineFormat) {
    const QString read = statuspipe::PipeTrafficLine(false, S("Unnamed"), S("(MSG1 x)"));
    const QString wrote = statuspipe::PipeTrafficLine(true, S("Unnamed"), S("E"));
    const QString time = statuspipe::TimeOfDayText();
    EXPECT_TRUE(read.endsWith(S(": Read from Unnamed (MSG1 x)"))) << read.toStdString();
    EXPECT_TRUE(wrote.endsWith(S(": Wrote to  Unnamed E"))) << wrote.toStdString();
    EXPECT_FALSE(read.startsWith(S(":")));
    // The time of day comes first (it may have moved by a second between the calls).
    EXPECT_GE(read.indexOf(S(": Read from ")), 5);
    EXPECT_FALSE(time.isEmpty());
}

TEST_F(TrafficLog, AppendsOneLinePerCall) {
    statuspipe::pipeLogFile = dir_.filePath(S("pipe.log"));
    statuspipe::LogPipeTraffic(false, S("Unnamed"), S("one"));
    statuspipe::LogPipeTraffic(true, S("Unnamed"), S("two"));
    QFile f(statuspipe::pipeLogFile);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines = QString::fromUtf8(f.readAll()).split(LF, Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].endsWith(S(": Read from Unnamed one")));
    EXPECT_TRUE(lines[1].endsWith(S(": Wrote to  Unnamed two")));
}

TEST_F(TrafficLog, NoFileNoLog) {
    bool reported = false;
    statuspipe::reportLogError = [&](const QString&) { reported = true; };
    statuspipe::LogPipeTraffic(false, S("Unnamed"), S("x"));
    EXPECT_FALSE(reported);
}

TEST_F(TrafficLog, ErrorMessageThenProcessedNormally) {
    QString message;
    statuspipe::reportLogError = [&](const QString& m) { message = m; };
    statuspipe::pipeLogging = true;
    statuspipe::pipeLogFile = dir_.path();  // a folder: cannot be opened for append
    Pipe p;
    p.Write("(MSG1 x)");
    QString pending;
    EXPECT_EQ(statuspipe::ReadPipeMessage(p.ReadEnd(), pending, 0, S("Unnamed"), kNoProcess),
              S("MSG1 x"));
    const QString head = S("Error writing pipe logging file '") + dir_.path() + S("'") + CR;
    EXPECT_TRUE(message.startsWith(head)) << message.toStdString();
    EXPECT_GT(message.size(), head.size());  // the system's description follows
}

TEST_F(TrafficLog, ReaderLogsWhatItReads) {
    statuspipe::pipeLogging = true;
    statuspipe::pipeLogFile = dir_.filePath(S("pipe.log"));
    Pipe p;
    p.Write(std::string("(MSG1 \0x)", 9));
    QString pending;
    EXPECT_EQ(statuspipe::ReadPipeMessage(p.ReadEnd(), pending, 0, S("Named"), kNoProcess),
              S("MSG1 x"));
    QFile f(statuspipe::pipeLogFile);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly | QIODevice::Text));
    EXPECT_TRUE(QString::fromUtf8(f.readAll()).trimmed().endsWith(S(": Read from Named (MSG1 x)")));
}

// ---------------------------------------------------------------------------------
// Numbers
// ---------------------------------------------------------------------------------

TEST(Numbers, ParseNumber) {
    struct Case {
        const char* text;
        bool ok;
        double value;
    };
    const std::vector<Case> cases = {
        {"12", true, 12},    {" 7 ", true, 7},  {"0.5", true, 0.5}, {"-5", true, -5},
        {"1e3", true, 1000}, {"abc", false, 0}, {"", false, 0},     {"   ", false, 0},
        {"12abc", false, 0}, {"inf", false, 0}, {"nan", false, 0},  {"+3", true, 3},
    };
    for (const auto& c : cases) {
        double v = -99;
        EXPECT_EQ(statuslogic::ParseNumber(S(c.text), &v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_DOUBLE_EQ(v, c.value) << c.text;
        }
    }
}

TEST(Numbers, RoundHalfEven) {
    const std::vector<std::pair<double, double>> cases = {
        {0.5, 0},   {1.5, 2}, {2.5, 2}, {-0.5, 0},  {-1.5, -2},
        {59.5, 60}, {2.4, 2}, {2.6, 3}, {-2.5, -2}, {3, 3}};
    for (const auto& [in, out] : cases) EXPECT_EQ(statuslogic::RoundHalfEven(in), out) << in;
}

TEST(Numbers, ParentIdFromCommandLine) {
    const std::vector<std::pair<const char*, qint32>> cases = {
        {"", 0},      {"1234", 1234}, {"abc", 0}, {" 42 ", 42}, {"99999999999", 0},
        {"12.5", 12}, {"0", 0},       {"-1", -1}};
    for (const auto& [text, id] : cases)
        EXPECT_EQ(statuslogic::ParentIdFromCommandLine(S(text)), id) << text;
}

TEST(Numbers, HistorySizeFromArgument) {
    EXPECT_EQ(statuslogic::HistorySizeFromArgument(S("abc")), std::nullopt);
    EXPECT_EQ(statuslogic::HistorySizeFromArgument(QString()), std::nullopt);
    const std::vector<std::pair<const char*, qint32>> cases = {
        {"5", 5},   {"0", 0},          {"-5", 0}, {"1e12", 100000}, {"99999999999", 100000},
        {"2.5", 2}, {"100000", 100000}};
    for (const auto& [text, n] : cases)
        EXPECT_EQ(statuslogic::HistorySizeFromArgument(S(text)), n) << text;
}

// ---------------------------------------------------------------------------------
// Splitting
// ---------------------------------------------------------------------------------

TEST(Splitting, HandleMessage) {
    struct Case {
        QString message;
        bool ok;
        QString word, argument;
    };
    const std::vector<Case> cases = {
        {S("   MSG2   two  words "), true, S("MSG2"), S("  two  words")},
        {QString(), false, {}, {}},
        {S("    "), false, {}, {}},
        {S("EXIT"), true, S("EXIT"), QString()},
        {S("MSG1 a b"), true, S("MSG1"), S("a b")},
        {S("\tX"), true, S("\tX"), QString()},  // only spaces are blanks
        {S("Line1") + CR + S("Line2"), true, S("Line1") + CR + S("Line2"), QString()},
    };
    for (const auto& c : cases) {
        QString w, a;
        EXPECT_EQ(statuslogic::SplitMessage(c.message, &w, &a), c.ok) << c.message.toStdString();
        if (c.ok) {
            EXPECT_EQ(w, c.word);
            EXPECT_EQ(a, c.argument);
        }
    }
}

TEST(Splitting, TypedCommand) {
    struct Case {
        QString text;
        bool ok;
        QString word, argument;
    };
    const std::vector<Case> cases = {
        {S("(MSG1 hello)"), true, S("MSG1"), S("hello")},
        {S("(SHOW)"), true, S("SHOW"), QString()},
        {S("MSG1 hello"), false, {}, {}},
        {S("(MSG1 hello"), false, {}, {}},
        {S("MSG1 hello)"), false, {}, {}},
        {S("()"), true, QString(), QString()},
        {S("(a  b )"), true, S("a"), S(" b ")},  // not trimmed
        {S("("), false, {}, {}},
    };
    for (const auto& c : cases) {
        QString w, a;
        EXPECT_EQ(statuslogic::SplitTypedCommand(c.text, &w, &a), c.ok) << c.text.toStdString();
        if (c.ok) {
            EXPECT_EQ(w, c.word);
            EXPECT_EQ(a, c.argument);
        }
    }
}

// ---------------------------------------------------------------------------------
// Echo and free text
// ---------------------------------------------------------------------------------

TEST(Echo, Table) {
    struct Case {
        QString word, argument;
        QStringList lines;
    };
    const std::vector<Case> cases = {
        {S("MSG1"), S("a") + CR + S("b") + CR + S("c"), {S("MSG1 a"), S("b")}},
        {S("MSG1"), S("x") + CR, {S("MSG1 x") + CR}},  // only CR last: one line with it
        {S("Line1") + CR + S("Line2"), QString(), {S("Line1"), S("Line2 ")}},
        {S("REDIM"), S("abc"), {S("REDIM abc")}},
        {S("SHOW"), QString(), {S("SHOW ")}},
        {QString(), S("x"), {}},
        {S("MSG1"), S("a") + CR + LF + S("b"), {S("MSG1 a")}},  // "b" is one character
        {S("MSG1"), S("a") + CR + LF + S("bc"), {S("MSG1 a"), S("bc")}},
        {CR + S("abc"), QString(), {QString(), S("abc ")}},  // k = 1: stop repeating
        {S("MSG1"), S("a") + CR + CR, {S("MSG1 a"), QString()}},
        {S("A"), CR, {S("A ") + CR}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(statuslogic::EchoLines(c.word, c.argument), c.lines)
            << (c.word + S(" ") + c.argument).toStdString();
    }
}

TEST(FreeText, Table) {
    struct Case {
        QString word, argument;
        std::optional<QString> shown;
    };
    const std::vector<Case> cases = {
        {S("Hello"), S("world"), S("Hello world")},
        {S("Line1") + CR + S("Line2"), QString(), S("Line2")},
        {S("MSG01"), S("x"), S("MSG01 x")},
        {S("abc") + CR + LF, QString(), S("abc")},
        {S("a") + CR + S("b") + CR, QString(),
         S("a")},  // a single character behind the last CR goes too
        {S("x") + CR + LF + S("y"), QString(), LF + S("y")},
        {CR, QString(), std::nullopt},
        {QString(), QString(), QString()},
        {S("  pad"), S("ded  "), S("pad ded")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(statuslogic::FreeTextLine(c.word, c.argument), c.shown) << c.word.toStdString();
    }
}

// ---------------------------------------------------------------------------------
// Progress and time estimate
// ---------------------------------------------------------------------------------

TEST(Estimate, DurationText) {
    const std::vector<std::pair<double, const char*>> cases = {
        {270, "4 minutes 30 seconds"},
        {3725, "1 hours 2 minutes"},
        {75.6, "1 minute 16 seconds"},
        {60, "1 minute"},
        {3600, "1 hours"},
        {7322, "2 hours 2 minutes"},
        {120.4, "2 minutes 0 seconds"},
        {59.5, "60 seconds"},
        {0, ""},
        {36000, "10 hours"},
    };
    for (const auto& [r, text] : cases) EXPECT_EQ(statuslogic::DurationText(r), S(text)) << r;
}

TEST(Estimate, EstimateText) {
    const QTime at(10, 0, 30);
    EXPECT_EQ(statuslogic::EstimateText(59.5, at), S("Estimated time left 60 seconds"));
    EXPECT_EQ(statuslogic::EstimateText(58.4, at), S("Estimated time left 58 seconds"));
    EXPECT_EQ(statuslogic::EstimateText(0, at), S("Estimated time left 0 seconds"));
    EXPECT_EQ(statuslogic::EstimateText(270, at), S("Estimate Done at: ") +
                                                      statuspipe::TimeOfDayText(QTime(10, 5, 0)) +
                                                      S("  (4 minutes 30 seconds) "));
    EXPECT_EQ(statuslogic::EstimateText(3725, QTime(23, 30, 0)),
              S("Estimate Done at: ") + statuspipe::TimeOfDayText(QTime(0, 32, 5)) +
                  S("  (1 hours 2 minutes) "));
}

struct ProgressStep {
    const char* argument;
    double nowSeconds;
    statuslogic::ProgressUpdate::Line0 line0;
    QString text;  // for Line0::Set
    bool barHidden;
    int barValue;
};

void RunSteps(const std::vector<ProgressStep>& steps, const char* name) {
    statuslogic::ProgressEstimator e;
    int i = 0;
    for (const auto& s : steps) {
        const QTime now = QTime(0, 0).addMSecs(static_cast<int>(s.nowSeconds * 1000));
        const auto u = e.Apply(S(s.argument), s.nowSeconds, now);
        EXPECT_EQ(u.line0, s.line0) << name << " step " << i;
        if (s.line0 == statuslogic::ProgressUpdate::Line0::Set) {
            EXPECT_EQ(u.line0Text, s.text) << name << " step " << i;
        }
        EXPECT_EQ(u.barHidden, s.barHidden) << name << " step " << i;
        if (!s.barHidden) {
            EXPECT_EQ(u.barValue, s.barValue) << name << " step " << i;
        }
        ++i;
    }
}

TEST(Estimate, ProgressSequences) {
    using L = statuslogic::ProgressUpdate::Line0;
    const QString doneAt = S("Estimate Done at: ");
    // 'PROGRESS 0' at 10:00:00, 'PROGRESS 10' 30 seconds later.
    RunSteps({{"0", 36000, L::Clear, {}, false, 0},
              {"10", 36030, L::Set,
               doneAt + statuspipe::TimeOfDayText(QTime(10, 5, 0)) + S("  (4 minutes 30 seconds) "),
               false, 10}},
             "documented example");
    // 'PROGRESS 50' twice: the second leaves line 0 alone but still sets the bar.
    RunSteps({{"0", 100, L::Clear, {}, false, 0},
              {"50", 110, L::Set, S("Estimated time left 10 seconds"), false, 50},
              {"50", 115, L::Keep, {}, false, 50}},
             "same percent");
    // 'PROGRESS 0.5 100' is 50 %; 'PROGRESS 0.5' alone rounds to 0 % and restarts.
    RunSteps({{"0.5 100", 0, L::Set,
               doneAt + statuspipe::TimeOfDayText(QTime(0, 1, 40)) + S("  (1 minute 40 seconds) "),
               false, 50},
              {"0.5", 5, L::Clear, {}, false, 0}},
             "fractions");
    // Outside 0..100: the bar is hidden; -5 restarts the estimate too.
    RunSteps({{"0", 10, L::Clear, {}, false, 0},
              {"150", 20, L::Set, S("Estimated time left -3 seconds"), true, 0},
              {"-5", 30, L::Clear, {}, true, 0}},
             "out of range");
    // Not numeric: 0 %.
    RunSteps({{"abc", 10, L::Clear, {}, false, 0}, {"abc 20", 10, L::Clear, {}, false, 0}},
             "not numeric");
    // The caller's clock; going back in time restarts; a lower percent restarts.
    RunSteps({{"0 100", 0, L::Clear, {}, false, 0},
              {"50 130", 0, L::Set, S("Estimated time left 30 seconds"), false, 50},
              {"60 90", 0, L::Clear, {}, false, 60},  // the caller's clock went back
              {"80 110", 0, L::Set, S("Estimated time left 5 seconds"), false, 80},
              {"70 120", 0, L::Clear, {}, false, 70},  // a lower percent
              {"30 xyz", 0, L::Clear, {}, false, 30}},
             "caller clock");
    // 1 % still restarts ("P <= 1").
    RunSteps({{"0 0", 0, L::Clear, {}, false, 0}, {"1 10", 0, L::Clear, {}, false, 1}},
             "one percent");
}

TEST(Estimate, StateIsKept) {
    statuslogic::ProgressEstimator e;
    e.Apply(S("5 100"), 0, QTime(0, 0));
    EXPECT_FLOAT_EQ(e.lastPercent, 5);
    EXPECT_FLOAT_EQ(e.progressStartTime, 0);  // 5 > 1, so no restart: the start stays 0
    e.Apply(S("1 200"), 0, QTime(0, 0));
    EXPECT_FLOAT_EQ(e.progressStartTime, 200);
}

// ---------------------------------------------------------------------------------
// History ring
// ---------------------------------------------------------------------------------

QString Lines(std::initializer_list<const char*> lines) {
    QString s;
    for (const char* l : lines) s += S(l) + S("\r\n");
    return s;
}

TEST(History, EmptyRingShowsMaxPlusOneEmptyLines) {
    statuslogic::HistoryRing r;
    EXPECT_EQ(r.historyMax(), 100);
    EXPECT_EQ(r.Render(), S("\r\n").repeated(101));
    r.SetSize(2);
    EXPECT_EQ(r.Render(), S("\r\n").repeated(3));
}

TEST(History, AddAndWrap) {
    statuslogic::HistoryRing r;
    r.SetSize(3);
    struct Step {
        const char* add;
        QString render;
        int head, tail;
    };
    const std::vector<Step> steps = {
        {"a", Lines({"a"}), 1, 0},
        {"b", Lines({"a", "b"}), 2, 0},
        {"c", Lines({"a", "b", "c"}), 3, 0},
        {"d", Lines({"b", "c", "d"}), 0, 1},  // full: the slot at the head is the free one
        {"e", Lines({"c", "d", "e"}), 1, 2},  // overwrites the oldest
        {"f", Lines({"d", "e", "f"}), 2, 3},
        {"g", Lines({"e", "f", "g"}), 3, 0},
    };
    for (const auto& s : steps) {
        r.Add(S(s.add));
        EXPECT_EQ(r.Render(), s.render) << s.add;
        EXPECT_EQ(r.historyHead(), s.head) << s.add;
        EXPECT_EQ(r.historyTail(), s.tail) << s.add;
    }
}

TEST(History, HundredAndTwoLines) {
    statuslogic::HistoryRing r;
    for (int i = 1; i <= 101; ++i) r.Add(QString::number(i));
    QStringList shown = r.Render().split(S("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(shown.size(), 100);
    EXPECT_EQ(shown.front(), S("2"));
    EXPECT_EQ(shown.back(), S("101"));
    r.Add(S("102"));  // overwrites the oldest slot (line 1)
    shown = r.Render().split(S("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(shown.size(), 100);
    EXPECT_EQ(shown.front(), S("3"));
    EXPECT_EQ(shown.back(), S("102"));
}

TEST(History, RedimZeroShowsOnlyTheNewestLine) {
    statuslogic::HistoryRing r;
    r.Add(S("old"));
    r.SetSize(0);
    EXPECT_EQ(r.historyHead(), 0);  // 1 > 0
    r.Add(S("x"));
    EXPECT_EQ(r.Render(), Lines({"x"}));
    r.Add(S("y"));
    EXPECT_EQ(r.Render(), Lines({"y"}));
}

TEST(History, ResizeKeepsTheLinesAtRemainingIndexes) {
    statuslogic::HistoryRing r;
    for (const char* l : {"a", "b", "c", "d", "e"}) r.Add(S(l));  // head 5, tail 0
    r.SetSize(3);                                                 // head 5 > 3: 0; tail stays 0
    EXPECT_EQ(r.historyHead(), 0);
    EXPECT_EQ(r.historyTail(), 0);
    EXPECT_EQ(r.Render(), Lines({"a", "b", "c", "d"}));

    statuslogic::HistoryRing g;
    g.SetSize(3);
    for (const char* l : {"a", "b", "c", "d", "e"}) g.Add(S(l));  // head 1, tail 2
    g.SetSize(5);
    EXPECT_EQ(g.Render(), Lines({"c", "d", "", "", "e"}));
}

TEST(History, LargeAndNegativeSizes) {
    statuslogic::HistoryRing r;
    r.SetSize(-7);  // treated as 0
    EXPECT_EQ(r.historyMax(), 0);
    r.SetSize(statuslogic::kMaxHistorySize);
    r.Add(S("x"));
    EXPECT_EQ(r.Render(), Lines({"x"}));
    EXPECT_EQ(r.historyMax(), statuslogic::kMaxHistorySize);
}

// ---------------------------------------------------------------------------------
// Geometry
// ---------------------------------------------------------------------------------

TEST(Geometry, OutputButton) {
    const std::vector<std::pair<int, TwipsSize>> cases = {
        {2900, {10000, 6444}}, {6444, {5652, 2900}}, {3120, {5652, 2900}},
        {2999, {10000, 6444}}, {3000, {5652, 2900}}, {6900, {5652, 2900}},
    };
    for (const auto& [h, size] : cases) EXPECT_EQ(statuslogic::OutputButtonSize(h), size) << h;
}

TEST(Geometry, TextOnOff) {
    EXPECT_EQ(statuslogic::TextOnSize(2760), (TwipsSize{10000, 6900}));
    EXPECT_EQ(statuslogic::TextOffSize(1920), (TwipsSize{6000, 3120}));
}

TEST(Geometry, ResizeRule) {
    struct Case {
        int w, h;
        std::optional<int> width, height;
    };
    const std::vector<Case> cases = {
        {10000, 6444, 9340, 3144},
        {5652, 2900, 4992, std::nullopt},
        {700, 4000, std::nullopt, std::nullopt},
        {701, 4001, 41, 701},
        {6000, 3120, 5340, std::nullopt},
        {10000, 6900, 9340, 3600},
    };
    for (const auto& c : cases) {
        const auto r = statuslogic::ResizeRule(c.w, c.h);
        EXPECT_EQ(r.controlsWidth, c.width) << c.w << "x" << c.h;
        EXPECT_EQ(r.detailsHeight, c.height) << c.w << "x" << c.h;
    }
}

TEST(Geometry, TwipsAndPixels) {
    EXPECT_EQ(statuslogic::TwipsToPixels(1440, 96), 96);
    EXPECT_EQ(statuslogic::TwipsToPixels(15, 96), 1);
    EXPECT_EQ(statuslogic::TwipsToPixels(5550, 96), 370);
    EXPECT_EQ(statuslogic::TwipsToPixels(2580, 96), 172);
    EXPECT_EQ(statuslogic::TwipsToPixels(1440, 144), 144);
    EXPECT_EQ(statuslogic::PixelsToTwips(370, 96), 5550);
    EXPECT_EQ(statuslogic::PixelsToTwips(144, 144), 1440);
}

}  // namespace
