// Message boxes and file dialogs of the calculator, behind an interface so that the
// window's tests answer them without blocking.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace vd::ui {

enum class MessageIcon { information, exclamation, stop };

// The answers to "save the changes first?".
enum class UnsavedChoice { save, discard, cancel };

struct FileDialogRequest {
    enum class Mode { openMany, openOne, save };
    Mode mode = Mode::openOne;
    QString title;
    QStringList filters;  // "Description (*.ext)" entries, in the order shown
    QString defaultSuffix;
};

class Prompts {
  public:
    virtual ~Prompts() = default;
    // A question: caption "Confirmation", Yes and No, exclamation icon, No the default.
    // True only when the answer is Yes.
    virtual bool confirm(QWidget* parent, const QString& text) = 0;
    virtual void message(QWidget* parent, const QString& caption, const QString& text,
                         MessageIcon icon) = 0;
    // A question about unsaved changes: caption "Confirmation", Save, Discard and Cancel,
    // Save the default and Escape for Cancel.
    virtual UnsavedChoice askToSave(QWidget* parent, const QString& text) = 0;
    // The chosen paths; empty when the user cancels.
    virtual QStringList chooseFiles(QWidget* parent, const FileDialogRequest& request) = 0;
};

// The real boxes and dialogs.
class WidgetPrompts final : public Prompts {
  public:
    bool confirm(QWidget* parent, const QString& text) override;
    void message(QWidget* parent, const QString& caption, const QString& text,
                 MessageIcon icon) override;
    UnsavedChoice askToSave(QWidget* parent, const QString& text) override;
    QStringList chooseFiles(QWidget* parent, const FileDialogRequest& request) override;
};

}  // namespace vd::ui
