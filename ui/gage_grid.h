// The grid that shows the gage table: columns the user may widen, no grid lines, the Use
// column drawn with check-box images and flipped by a click or the space key, with a menu
// to set or clear every mark.
#pragma once

#include <QStyledItemDelegate>
#include <QTableView>
#include <array>

#include "checkbox_images.h"

class QMenu;

namespace vd::ui {

// Draws the Use column: light grey with the checked or empty box centred.
class UseMarkDelegate final : public QStyledItemDelegate {
    Q_OBJECT
  public:
    UseMarkDelegate(const CheckImages& images, QObject* parent);
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

  private:
    const CheckImages& images_;
};

class GageGrid final : public QTableView {
    Q_OBJECT
  public:
    static constexpr int columns = 7;
    explicit GageGrid(QWidget* parent = nullptr);

    // Row height and column widths: the table's design (17 pixels, 20/100/60/60/35/30/30),
    // widened where the platform's font would cut a year, a record or a header.
    void applyMetrics();
    int rowHeight() const { return rowHeight_; }
    // Width of all columns, without a scroll bar.
    int contentWidth() const;
    int scrollBarWidth() const;
    // The Use column's menu: "Use all", "Use none".
    QMenu* useMenu() const { return useMenu_; }

  signals:
    void useToggleRequested(int row);
    void useAllRequested(bool use);  // "Use all" (true) or "Use none" of the Use column's menu

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void fitGageColumn();

    QMenu* useMenu_ = nullptr;
    int gageFloor_ = 100;  // the Gage column's least width: the design's or the user's
    bool fitting_ = false;
    int rowHeight_ = 17;
    std::array<int, columns> widths_{20, 100, 60, 60, 35, 30, 30};
};

// The widget around the grid: takes flow files dropped from a file manager, also while
// the grid itself is disabled.
class FileDropArea final : public QWidget {
    Q_OBJECT
  public:
    explicit FileDropArea(QWidget* parent = nullptr);
    // The local flow files among the dropped URLs (*.txt, *.cgi, *.rdb, *.flo).
    static QStringList flowFiles(const QList<QUrl>& urls);
    // The flow files and parameter files (*.vdp) among them.
    static QStringList droppableFiles(const QList<QUrl>& urls);

  signals:
    void filesDropped(const QStringList& paths);
    void resized();

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
};

}  // namespace vd::ui
