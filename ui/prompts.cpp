#include "prompts.h"

#include <QFileDialog>
#include <QMessageBox>

namespace vd::ui {

namespace {

QMessageBox::Icon boxIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::exclamation:
            return QMessageBox::Warning;
        case MessageIcon::stop:
            return QMessageBox::Critical;
        case MessageIcon::information:
            break;
    }
    return QMessageBox::Information;
}

QFileDialog::FileMode fileMode(FileDialogRequest::Mode mode) {
    switch (mode) {
        case FileDialogRequest::Mode::openMany:
            return QFileDialog::ExistingFiles;
        case FileDialogRequest::Mode::save:
            return QFileDialog::AnyFile;
        case FileDialogRequest::Mode::openOne:
            break;
    }
    return QFileDialog::ExistingFile;
}

}  // namespace

bool WidgetPrompts::confirm(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Confirmation"), text,
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void WidgetPrompts::message(QWidget* parent, const QString& caption, const QString& text,
                            MessageIcon icon) {
    QMessageBox box(boxIcon(icon), caption, text, QMessageBox::Ok, parent);
    box.exec();
}

UnsavedChoice WidgetPrompts::askToSave(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Confirmation"), text,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
        case QMessageBox::Save:
            return UnsavedChoice::save;
        case QMessageBox::Discard:
            return UnsavedChoice::discard;
        default:
            return UnsavedChoice::cancel;
    }
}

QStringList WidgetPrompts::chooseFiles(QWidget* parent, const FileDialogRequest& request) {
    QFileDialog dialog(parent, request.title);
    dialog.setFileMode(fileMode(request.mode));
    dialog.setAcceptMode(request.mode == FileDialogRequest::Mode::save ? QFileDialog::AcceptSave
                                                                       : QFileDialog::AcceptOpen);
    dialog.setNameFilters(request.filters);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.selectedFiles();
}

}  // namespace vd::ui
