// Stand-ins for what the main window meets outside itself: message boxes and file
// dialogs answered from a script, a help viewer that records its calls, and a flow reader
// that reports made-up gages per path.
#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "flow_values.h"
#include "errors.h"
#include "help_viewer.h"
#include "main_window.h"
#include "prompts.h"
#include "results/progress_window.h"

namespace vd::test {

struct ShownMessage {
    QString caption;
    QString text;
    ui::MessageIcon icon;
};

class ScriptedPrompts final : public ui::Prompts {
  public:
    bool confirm(QWidget*, const QString& text) override {
        questions.push_back(text);
        if (answers.empty()) return false;
        const bool yes = answers.front();
        answers.pop_front();
        return yes;
    }
    void message(QWidget*, const QString& caption, const QString& text,
                 ui::MessageIcon icon) override {
        messages.push_back({caption, text, icon});
    }
    ui::UnsavedChoice askToSave(QWidget*, const QString& text) override {
        questions.push_back(text);
        if (saveAnswers.empty()) return ui::UnsavedChoice::cancel;
        const ui::UnsavedChoice choice = saveAnswers.front();
        saveAnswers.pop_front();
        return choice;
    }
    QStringList chooseFiles(QWidget*, const ui::FileDialogRequest& request) override {
        requests.push_back(request);
        if (choices.empty()) return {};
        QStringList chosen = choices.front();
        choices.pop_front();
        return chosen;
    }

    std::deque<bool> answers;                   // answers to the questions, in order; then No
    std::deque<ui::UnsavedChoice> saveAnswers;  // answers to "save first?"; then Cancel
    std::deque<QStringList> choices;  // what the file dialogs return, in order; then Cancel
    std::vector<QString> questions;
    std::vector<ShownMessage> messages;
    std::vector<ui::FileDialogRequest> requests;
};

class RecordingHelp final : public ui::HelpService {
  public:
    void displayTopic() override { calls.push_back(0); }
    void displayContext(int context) override { calls.push_back(context); }
    void closeAll() override { closed = true; }
    std::vector<int> calls;  // 0 for the default topic, else the context number
    bool closed = false;
};

struct FakeGage {
    std::string name;
    int j1;  // first season-start year index the reader would report
    int j2;  // year index in which the last complete season ends
};

// Reports the gages listed for a path; a path not listed fails as a missing file does.
class FakeReader {
  public:
    struct Read {
        std::string path;
        std::string seasonStart;
        std::string seasonEnd;
        QString caption;
        int gauge;
    };

    ui::FlowReader reader(const ui::ProgressWindow* const* progress) {
        return [this, progress](const std::string& path, const std::string& seasonStart,
                                const std::string& seasonEnd) {
            reads.push_back({path, seasonStart, seasonEnd,
                             *progress ? (*progress)->caption() : QString(),
                             *progress ? (*progress)->gauge() : -1});
            const auto found = files.find(path);
            if (found == files.end()) throw vd::Error(vd::ErrorCode::inOut, "File not found");
            if (found->second.size() > vd::maxinfile)
                throw vd::Error(vd::ErrorCode::range,
                                "Range check error: more than 100 gages in one file");
            vd::FileRecords records;
            for (const FakeGage& g : found->second)
                records.gages.push_back({g.name, g.j1 + 1900, g.j2 + 1900});
            records.repeatedDates = troubleFor == path;
            return records;
        };
    }

    std::map<std::string, std::vector<FakeGage>> files;
    std::vector<Read> reads;
    std::string troubleFor;
};

}  // namespace vd::test
