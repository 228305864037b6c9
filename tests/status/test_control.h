// A test hook for driving the real `status` program from outside, as a parent and a
// user would. It is compiled only into the test build `status_testable`. It is inert unless the
// environment variable STATUS_TEST_CONTROL names a FIFO (Linux only); it then reads one command per
// line from that FIFO:
//
//   state              write "STATE <json>" (the window's state, with its poll and refresh
//                      counts) as one line to stderr
//   click pause|cancel|output   press that button
//   close              the title bar's close button
//   f10 <text>         replace the output box's text and press F10 in it
//   accept             press OK on the message box that is open
//   grab <file>        save an image of the window, as Qt paints it, to a PNG file
//
// Standard output stays the reply channel; the hook never writes to it.
#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QObject>

class StatusWindow;
class QSocketNotifier;

class StatusTestControl : public QObject {
    Q_OBJECT

  public:
    // Installs the hook when STATUS_TEST_CONTROL is set; returns nullptr otherwise.
    static StatusTestControl* InstallFromEnvironment(StatusWindow* form);

    // The window's state as the hook reports it.
    static QJsonObject State(const StatusWindow* form);

  private:
    StatusTestControl(StatusWindow* form, int fd);
    void OnReadable();
    void HandleLine(const QByteArray& line);

    StatusWindow* form_;
    int fd_;
    QSocketNotifier* notifier_ = nullptr;
    QByteArray buffer_;
};
