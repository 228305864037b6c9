// The program's help: one HTML file beside the program, with a section per help context,
// shown in a window of its own.
#pragma once

#include <QString>
#include <memory>

class QTextBrowser;

namespace vd::ui {

// The three calls the program makes on its help.
class HelpService {
  public:
    virtual ~HelpService() = default;
    virtual void displayTopic() = 0;               // the help file at its first topic
    virtual void displayContext(int context) = 0;  // the section of a help context number
    virtual void closeAll() = 0;                   // no help window outlives the program
};

// The anchor of a help context's section in the help file.
QString helpAnchor(int context);

class HelpViewer final : public HelpService {
  public:
    explicit HelpViewer(QString helpFile);
    ~HelpViewer() override;

    void displayTopic() override;
    void displayContext(int context) override;
    void closeAll() override;

    const QString& helpFile() const { return helpFile_; }
    // The help window, null before the first request.
    QTextBrowser* window() const { return browser_.get(); }

  private:
    void open(const QString& anchor);
    QString helpFile_;
    std::unique_ptr<QTextBrowser> browser_;  // a top-level window of its own
};

}  // namespace vd::ui
