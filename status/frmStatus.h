// frmStatus: the status window and the command side of the protocol
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
#include "statusLogic.h"

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

class FrmStatus : public QWidget {
    Q_OBJECT

  public:
    explicit FrmStatus(const StatusStartup& startup, QWidget* parent = nullptr);
    ~FrmStatus() override;

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
    void Timer1_Timer();
    void Timer2_Timer();

    // Called once when the program is to end; by default QCoreApplication::exit(0).
    std::function<void()> onEndProgram;
    bool ended() const { return ended_; }

    // ---- state, for the tests and the test hook ----
    QLabel* lblMsg(int index) const { return lblMsg_[static_cast<std::size_t>(index)]; }
    QProgressBar* progressBar() const { return progressBar1_; }
    QPushButton* cmdPause() const { return cmdPause_; }
    QPushButton* cmdCancel() const { return cmdCancel_; }
    QPushButton* cmdDetails() const { return cmdDetails_; }
    QPushButton* cmdPictures(int index) const {
        return cmdPictures_[static_cast<std::size_t>(index)];
    }
    QPlainTextEdit* txtDetails() const { return txtDetails_; }
    QString messageText(int n) const { return messageText_[static_cast<std::size_t>(n)]; }
    QString pendingInput() const { return pendingInput_; }
    qint32 pollInterval() const { return pollInterval_; }
    qint32 parentProcessId() const { return parentProcessId_; }
    bool hasParentHandle() const { return hParentProcess_.valid(); }
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
    void closeEvent(QCloseEvent* event) override;                // Form_Unload
    void resizeEvent(QResizeEvent* event) override;              // Form_Resize
    bool eventFilter(QObject* watched, QEvent* event) override;  // txtDetails_KeyDown

  private:
    void cmdPause_Click();
    void cmdCancel_Click();
    void cmdDetails_Click();
    void FormResize();
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
    statusplat::PipeHandle hStdIn_ = statusplat::kNoPipe;
    statusplat::PipeHandle hStdOut_ = statusplat::kNoPipe;
    qint32 parentProcessId_ = 0;
    statusplat::ProcessHandle hParentProcess_;
    qint32 pollInterval_ = 100;
    QString pendingInput_;

    // window state
    std::array<QString, 5> messageText_;
    statuslogic::HistoryRing history_;
    statuslogic::ProgressEstimator estimator_;
    int formWidth_ = statuslogic::kSmallWindow.width;
    int formHeight_ = statuslogic::kSmallWindow.height;
    QString iconName_;
    bool ended_ = false;
    bool inTimer1_ = false;
    bool autoTimers_ = true;
    double dpiX_ = 96;
    double dpiY_ = 96;

    QTimer timer1_;
    QTimer timer2_;

    std::array<QLabel*, 5> lblMsg_{};
    QProgressBar* progressBar1_ = nullptr;
    QPushButton* cmdPause_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
    QPushButton* cmdDetails_ = nullptr;
    QPlainTextEdit* txtDetails_ = nullptr;
    std::array<QPushButton*, 2> cmdPictures_{};

    struct Placed {
        QWidget* control;
        QRect twips;
    };
    std::vector<Placed> placed_;
};
