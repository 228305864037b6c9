// The gage table of the main window as it is shown: the buttons that add and remove flow
// files, the grid that takes dropped files, and the count of gages under it. What the table
// holds, and the reading of its files, stay with the window.
#pragma once

#include <QList>
#include <QStringList>
#include <QWidget>

#include "checkbox_images.h"

class QHBoxLayout;
class QLabel;
class QPushButton;

namespace vd::ui {

class FileDropArea;
class GageGrid;
class GageTableModel;

class GagesPanel final : public QWidget {
    Q_OBJECT
  public:
    // The grid shows `model`, its Use column drawn with `images`; both outlive the panel.
    GagesPanel(GageTableModel& model, const CheckImages& images, QWidget* parent = nullptr);

    // Places a widget under the table, left of the count of gages (the window's calculation
    // period).
    void placeBesideCount(QWidget* widget);

    // The table as it shows when it holds no gage: the grid disabled and at the width of its
    // columns, no current cell, nothing to remove or clear, "No gages".
    void showEmptyTable();
    void showCount(const QString& text);
    void setGridEnabled(bool enabled);
    // The grid fills the width of its area and is as high as its rows, up to the area's height
    // in whole rows.
    void sizeGrid();
    // Draws the grid at once, while the window is still adding files.
    void repaintGrid();
    void setRemoveUnusedEnabled(bool enabled);
    void setClearAllEnabled(bool enabled);
    void focusAddFiles();
    // The grid's columns, without a scroll bar, when the table was last emptied.
    int gridContentWidth() const { return gridContentWidth_; }
    // The panel's controls in the order Tab walks them.
    QList<QWidget*> tabOrder() const;

  signals:
    void addFilesClicked();
    void removeUnusedClicked();
    void clearAllClicked();
    void useToggleRequested(int row);
    void useAllRequested(bool use);  // "Use all" (true) or "Use none" of the Use column's menu
    void filesDropped(const QStringList& paths);

  private:
    QPushButton* addFilesButton_;
    QPushButton* removeUnusedButton_;
    QPushButton* clearAllButton_;
    FileDropArea* gridArea_;
    GageGrid* grid_;
    QLabel* countLabel_;
    QHBoxLayout* countRow_ = nullptr;
    int gridContentWidth_ = 0;
};

}  // namespace vd::ui
