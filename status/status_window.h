// The status window and the command side of the protocol
// (polling, HandleMessage, ExecuteCommand, SendReply).
#pragma once

#include <QIcon>
#include <QRect>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>
#include <vector>

#include "platform.h"
#include "status_logic.h"

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

struct StatusStartup {
    QString commandLine;  // the whole argument string of the program
    statusplat::PipeHandle stdIn = statusplat::kNoPipe;
    statusplat::PipeHandle stdOut = statusplat::kNoPipe;
    bool startTimers = true;  // tests may run the timer handlers by hand instead
};

class StatusWindow : public QWidget {
    Q_OBJECT

  public:
    explicit StatusWindow(const StatusStartup& startup, QWidget* parent = nullptr);
    ~StatusWindow() override;

    // ---- protocol ----
    void HandleMessage(const QString& message);
    void ExecuteCommand(QString& word, QString& argument);
    void SendReply(const QString& text);

    // ---- window operations ----
    void ClearStatus();
    void ShowStatus();
    void HideStatus();
    void SetProgress(const QString& argument);
    void SetHistorySize(qint32 n);
    void AddHistoryLine(const QString& s);
    void ShowHistory();
    void StopParent();

    // The timers' handlers (public so that tests can run one tick).
    void onPollTimer();
    void onRefreshTimer();

    // Called once when the program is to end; by default QCoreApplication::exit(0).
    std::function<void()> onEndProgram;
    bool ended() const { return ended_; }

    // ---- state, for the tests and the test hook ----
    QLabel* messageLabel(int index) const {
        return messageLabels_[static_cast<std::size_t>(index)];
    }
    QProgressBar* progressBar() const { return progressBar_; }
    QPushButton* pauseButton() const { return pauseButton_; }
    QPushButton* cancelButton() const { return cancelButton_; }
    QPushButton* outputButton() const { return outputButton_; }
    QPushButton* pictureButton(int index) const {
        return pictureButtons_[static_cast<std::size_t>(index)];
    }
    QPlainTextEdit* outputBox() const { return outputBox_; }
    QString messageText(int n) const { return messageText_[static_cast<std::size_t>(n)]; }
    QString pendingInput() const { return pendingInput_; }
    qint32 pollInterval() const { return pollInterval_; }
    // Ticks of the poll and refresh timers so far: a sign that time passed in the monitor.
    quint64 pollCount() const { return pollCount_; }
    quint64 refreshCount() const { return refreshCount_; }
    qint32 parentProcessId() const { return parentProcessId_; }
    bool hasParentHandle() const { return parentProcess_.valid(); }
    const statuslogic::HistoryRing& history() const { return history_; }
    const statuslogic::ProgressEstimator& estimator() const { return estimator_; }
    QString iconName() const { return iconName_; }
    bool isTopmost() const;
    bool isNormalState() const;

    // The window's outer size in twips (see statuslogic::kFrameWidth).
    statuslogic::TwipsSize windowSizeTwips() const { return {formWidth_, formHeight_}; }
    void setWindowSizeTwips(statuslogic::TwipsSize size);
    // A control's position and size in twips, relative to the client area.
    QRect controlTwips(const QWidget* control) const;

  protected:
    void closeEvent(QCloseEvent* event) override;  // the title bar: hides while connected
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;  // F10 in the output box

  private:
    void onPauseClicked();
    void onCancelClicked();
    void onOutputClicked();
    void LayOutControls();
    void ShowAndRaise();
    void ChooseIcon();
    void Disconnect();
    void EndProgram();
    void PumpEvents();

    void Place(QWidget* control, QRect twips);
    void SetControlWidth(QWidget* control, int widthTwips);
    void SetControlHeight(QWidget* control, int heightTwips);
    QRect ToPixels(QRect twips) const;

    // protocol state
    statusplat::PipeHandle stdIn_ = statusplat::kNoPipe;
    statusplat::PipeHandle stdOut_ = statusplat::kNoPipe;
    qint32 parentProcessId_ = 0;
    statusplat::ProcessHandle parentProcess_;
    qint32 pollInterval_ = 100;
    quint64 pollCount_ = 0;
    quint64 refreshCount_ = 0;
    QString pendingInput_;

    // window state
    std::array<QString, 5> messageText_;
    statuslogic::HistoryRing history_;
    statuslogic::ProgressEstimator estimator_;
    int formWidth_ = statuslogic::kSmallWindow.width;
    int formHeight_ = statuslogic::kSmallWindow.height;
    QString iconName_;
    bool ended_ = false;
    bool polling_ = false;
    bool autoTimers_ = true;
    double dpiX_ = 96;
    double dpiY_ = 96;

    QTimer pollTimer_;
    QTimer refreshTimer_;

    std::array<QLabel*, 5> messageLabels_{};
    QProgressBar* progressBar_ = nullptr;
    QPushButton* pauseButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QPushButton* outputButton_ = nullptr;
    QPlainTextEdit* outputBox_ = nullptr;
    std::array<QPushButton*, 2> pictureButtons_{};

    struct Placed {
        QWidget* control;
        QRect twips;
    };
    std::vector<Placed> placed_;
};
