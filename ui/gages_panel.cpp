#include "gages_panel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "gage_grid.h"
#include "gage_table_model.h"

namespace vd::ui {

GagesPanel::GagesPanel(GageTableModel& model, const CheckImages& images, QWidget* parent)
    : QWidget(parent) {
    addFilesButton_ = new QPushButton(QStringLiteral("Add Gages From Files..."), this);
    addFilesButton_->setToolTip(QStringLiteral("File Selection Dialog"));
    removeUnusedButton_ = new QPushButton(QStringLiteral("Remove Unused Files"), this);
    clearAllButton_ = new QPushButton(QStringLiteral("Clear All"), this);

    gridArea_ = new FileDropArea(this);
    grid_ = new GageGrid(gridArea_);
    grid_->setModel(&model);
    grid_->setItemDelegate(new UseMarkDelegate(images, grid_));
    grid_->setToolTip(QString::fromLatin1(flowDataHint));
    grid_->applyMetrics();
    gridContentWidth_ = grid_->contentWidth();
    // The table grows with the window; at its smallest it shows 15 rows of the design widths.
    gridArea_->setMinimumSize(gridContentWidth_ + grid_->scrollBarWidth(), 15 * grid_->rowHeight());
    gridArea_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);

    countLabel_ = new QLabel(QStringLiteral("No gages"), this);
    countLabel_->setWordWrap(true);

    const std::pair<QObject*, const char*> names[] = {{addFilesButton_, "addFiles"},
                                                      {removeUnusedButton_, "removeUnused"},
                                                      {clearAllButton_, "clearAll"},
                                                      {grid_, "gageGrid"},
                                                      {countLabel_, "gageCount"}};
    for (const auto& [object, name] : names) object->setObjectName(QLatin1String(name));

    auto* fileButtons = new QHBoxLayout;
    fileButtons->addWidget(addFilesButton_);
    fileButtons->addWidget(removeUnusedButton_);
    fileButtons->addWidget(clearAllButton_);
    fileButtons->addStretch();
    countRow_ = new QHBoxLayout;
    countRow_->addWidget(countLabel_, 1, Qt::AlignTop);
    auto* panel = new QVBoxLayout(this);
    panel->setContentsMargins(0, 0, 0, 0);
    panel->addLayout(fileButtons);
    panel->addWidget(gridArea_, 1);
    panel->addLayout(countRow_);

    connect(addFilesButton_, &QPushButton::clicked, this, &GagesPanel::addFilesClicked);
    connect(removeUnusedButton_, &QPushButton::clicked, this, &GagesPanel::removeUnusedClicked);
    connect(clearAllButton_, &QPushButton::clicked, this, &GagesPanel::clearAllClicked);
    connect(grid_, &GageGrid::useToggleRequested, this, &GagesPanel::useToggleRequested);
    connect(grid_, &GageGrid::useAllRequested, this, &GagesPanel::useAllRequested);
    connect(gridArea_, &FileDropArea::filesDropped, this, &GagesPanel::filesDropped);
    connect(gridArea_, &FileDropArea::resized, this, &GagesPanel::sizeGrid);
}

void GagesPanel::placeBesideCount(QWidget* widget) {
    countRow_->insertWidget(0, widget);
}

void GagesPanel::showEmptyTable() {
    setGridEnabled(false);
    gridContentWidth_ = grid_->contentWidth();
    sizeGrid();
    grid_->setCurrentIndex({});
    grid_->clearSelection();
    removeUnusedButton_->setEnabled(false);
    clearAllButton_->setEnabled(false);
    showCount(QStringLiteral("No gages"));
    countLabel_->setEnabled(true);
}

void GagesPanel::showCount(const QString& text) {
    countLabel_->setText(text);
}

void GagesPanel::setGridEnabled(bool enabled) {
    grid_->setEnabled(enabled);
}

void GagesPanel::sizeGrid() {
    // Below the grid's rows the window's background shows.
    const int rh = grid_->rowHeight();
    const int rows = grid_->model()->rowCount() + 1;  // with the header
    const int fitting = std::max(2, gridArea_->height() / rh);
    grid_->setGeometry(0, 0, gridArea_->width(), std::min(rows, fitting) * rh);
}

void GagesPanel::repaintGrid() {
    grid_->repaint();
}

void GagesPanel::setRemoveUnusedEnabled(bool enabled) {
    removeUnusedButton_->setEnabled(enabled);
}

void GagesPanel::setClearAllEnabled(bool enabled) {
    clearAllButton_->setEnabled(enabled);
}

void GagesPanel::focusAddFiles() {
    addFilesButton_->setFocus();
}

QList<QWidget*> GagesPanel::tabOrder() const {
    return {addFilesButton_, removeUnusedButton_, clearAllButton_, grid_};
}

}  // namespace vd::ui
