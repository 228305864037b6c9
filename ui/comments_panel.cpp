#include "comments_panel.h"

#include <QPlainTextEdit>
#include <QStringList>
#include <QVBoxLayout>

#include "run_settings.h"

namespace vd::ui {

CommentsPanel::CommentsPanel(QWidget* parent)
    : QGroupBox(QStringLiteral("Comments"), parent), box_(new QPlainTextEdit(this)) {
    box_->setObjectName(QStringLiteral("comments"));
    const QFontMetrics fm(box_->font());
    box_->setFixedHeight(3 * fm.lineSpacing() + 12);
    (new QVBoxLayout(this))->addWidget(box_);
    connect(box_, &QPlainTextEdit::textChanged, this, &CommentsPanel::edited);
}

std::vector<std::string> CommentsPanel::lines() const {
    const QString memo = box_->toPlainText();
    std::vector<std::string> lines;
    if (memo.isEmpty()) return lines;
    for (const QString& line : memo.split(QLatin1Char('\n'))) lines.push_back(line.toStdString());
    return lines;
}

void CommentsPanel::fillTexts(vd::run::SettingsTexts& t) const {
    t.comments = lines();
}

void CommentsPanel::showTexts(const vd::run::SettingsTexts& t) {
    QStringList comments;
    for (const std::string& c : t.comments) comments << QString::fromStdString(c);
    box_->setPlainText(comments.join(QLatin1Char('\n')));
}

QList<QWidget*> CommentsPanel::tabOrder() const {
    return {box_};
}

}  // namespace vd::ui
