// "Comments" of the main window: free lines of text that the parameter file keeps with the
// analysis and the results show above the design flows.
#pragma once

#include <QGroupBox>
#include <QList>
#include <string>
#include <vector>

class QPlainTextEdit;

namespace vd::run {
struct SettingsTexts;
}

namespace vd::ui {

class CommentsPanel final : public QGroupBox {
    Q_OBJECT
  public:
    explicit CommentsPanel(QWidget* parent = nullptr);

    // The lines of the box; an empty box holds no line, not one empty line.
    std::vector<std::string> lines() const;
    // The comments of the settings: fills them in, and shows those of a parameter file.
    void fillTexts(vd::run::SettingsTexts& t) const;
    void showTexts(const vd::run::SettingsTexts& t);
    // The panel's controls in the order Tab walks them.
    QList<QWidget*> tabOrder() const;

  signals:
    void edited();

  private:
    QPlainTextEdit* box_;
};

}  // namespace vd::ui
