// Shared by the results-window tests: a main window on copies of the example flow files,
// with message boxes and help that answer without blocking.
#pragma once

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "help_viewer.h"
#include "prompts.h"
#include "vd_a193.h"
#include "vd_main.h"

namespace vd::ui::testing {

struct Message {
    QString caption;
    QString text;
};

class RecordingPrompts final : public Prompts {
  public:
    bool confirm(QWidget*, const QString&) override { return false; }
    void message(QWidget*, const QString& caption, const QString& text, MessageIcon) override {
        messages.push_back({caption, text});
    }
    QStringList chooseFiles(QWidget*, const FileDialogRequest&) override { return {}; }
    std::vector<Message> messages;
};

class SilentHelp final : public HelpService {
  public:
    void displayTopic() override {}
    void displayContext(int) override {}
    void closeAll() override {}
};

// The three example gages: one in the Verde file, two in the Colorado file.
inline const QStringList& exampleFiles() {
    static const QStringList files{
        QStringLiteral("09506000_verde_camp_verde_1989-2021.txt"),
        QStringLiteral("09070500_09071750_colorado_2sites_2000-2010.txt")};
    return files;
}

// A main window whose gage table holds the example gages, read from copies in a temporary
// folder (the reader may rewrite a file's line breaks in place).
class MainWindowFixture {
  public:
    MainWindowFixture()
        : lib_(vd::A193::load(vd::programFolder())),
          window_(std::make_unique<TForm1>(
              MainWindowServices{prompts_,
                                 help_,
                                 QDir(dir_.path()).filePath(QStringLiteral("Vando31.html")),
                                 &lib_,
                                 {}})) {
        prompts_.messages.clear();  // the missing help file
    }

    // Adds the example files to the gage table; false when a file could not be copied.
    bool addExamples() {
        QStringList paths;
        for (const QString& name : exampleFiles()) {
            const QString target = QDir(dir_.path()).filePath(name);
            if (!QFile::exists(target) &&
                !QFile::copy(QStringLiteral(VANDO_EXAMPLES_DIR "/") + name, target))
                return false;
            paths << target;
        }
        window_->addFlowFiles(paths);
        return true;
    }

    TForm1& window() { return *window_; }
    RecordingPrompts& prompts() { return prompts_; }
    const vd::A193& lib() const { return lib_; }

  private:
    QTemporaryDir dir_;
    RecordingPrompts prompts_;
    SilentHelp help_;
    vd::A193 lib_;
    std::unique_ptr<TForm1> window_;
};

}  // namespace vd::ui::testing
