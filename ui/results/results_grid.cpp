#include "results_grid.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include "results_delegate.h"

namespace vd::ui {
namespace {

// The header row, painted like the results cells (bold, word-wrapped, shaded).
class ResultsHeader final : public QHeaderView {
  public:
    explicit ResultsHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
        setSectionsClickable(false);
        setSectionResizeMode(QHeaderView::Fixed);
        setHighlightSections(false);
        setMinimumSectionSize(0);
    }

  protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override {
        if (!rect.isValid()) return;
        const QString text = model()->headerData(logicalIndex, Qt::Horizontal).toString();
        paintResultsCell(*painter, rect, logicalIndex, 0, text, text, font(), palette());
    }
};

void setUpView(QTableView& view, QAbstractItemDelegate* delegate) {
    view.setHorizontalHeader(new ResultsHeader(&view));
    view.verticalHeader()->hide();
    view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view.setShowGrid(false);
    view.setFrameShape(QFrame::NoFrame);
    view.setWordWrap(false);
    view.setEditTriggers(QAbstractItemView::NoEditTriggers);
    view.setSelectionMode(QAbstractItemView::NoSelection);
    view.setItemDelegate(delegate);
    view.setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    view.setMouseTracking(true);
}

}  // namespace

ResultsGrid::ResultsGrid(QWidget* parent) : QTableView(parent), fixed_(new QTableView(this)) {
    auto* delegate = new ResultsDelegate(this);
    setUpView(*this, delegate);
    setUpView(*fixed_, delegate);
    fixed_->setFocusPolicy(Qt::NoFocus);
    fixed_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    fixed_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Above the scrolling cells and above the header that replaced the view's own.
    fixed_->raise();

    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int col, int, int size) {
        if (col < fixedColumns) fixed_->setColumnWidth(col, size);
        placeFixedColumns();
    });
    connect(fixed_->verticalScrollBar(), &QScrollBar::valueChanged, verticalScrollBar(),
            &QScrollBar::setValue);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, fixed_->verticalScrollBar(),
            &QScrollBar::setValue);

    for (QWidget* w : {viewport(), horizontalHeader()->viewport(), fixed_->viewport(),
                       fixed_->horizontalHeader()->viewport()})
        w->installEventFilter(this);
}

void ResultsGrid::setModel(QAbstractItemModel* model) {
    QTableView::setModel(model);
    fixed_->setModel(model);
    fixed_->setSelectionModel(selectionModel());
    connect(model, &QAbstractItemModel::modelReset, this, [this] {
        for (int c = 0; c < fixed_->model()->columnCount(); ++c)
            fixed_->setColumnHidden(c, c >= fixedColumns || isColumnHidden(c));
        placeFixedColumns();
    });
}

void ResultsGrid::setColumnWidthOrHide(int col, int width) {
    setColumnHidden(col, width == 0);
    if (col < fixedColumns) fixed_->setColumnHidden(col, width == 0);
    if (width > 0) setColumnWidth(col, width);
    placeFixedColumns();
}

void ResultsGrid::setHeaderHeight(int height) {
    horizontalHeader()->setFixedHeight(height);
    fixed_->horizontalHeader()->setFixedHeight(height);
}

void ResultsGrid::setDefaultRowHeight(int height) {
    verticalHeader()->setDefaultSectionSize(height);
    fixed_->verticalHeader()->setDefaultSectionSize(height);
}

int ResultsGrid::headerHeight() const {
    return horizontalHeader()->height();
}

int ResultsGrid::columnsWidth(int first, int last) const {
    int width = 0;
    for (int c = first; c < last; ++c)
        if (!isColumnHidden(c)) width += columnWidth(c);
    return width;
}

int ResultsGrid::fixedWidth() const {
    const int columns = model() ? std::min(fixedColumns, model()->columnCount()) : 0;
    return columnsWidth(0, columns);
}

QPoint ResultsGrid::cellAt(const QPoint& gridPos) const {
    const QPoint inViewport = gridPos - viewport()->pos();
    int row = -1;
    if (gridPos.y() >= horizontalHeader()->y() && inViewport.y() < 0)
        row = 0;
    else if (const int r = rowAt(inViewport.y()); r >= 0)
        row = r + 1;
    const bool inFixed = gridPos.x() >= fixed_->x() && gridPos.x() < fixed_->x() + fixedWidth();
    const int col =
        inFixed ? fixed_->columnAt(gridPos.x() - fixed_->x()) : columnAt(inViewport.x());
    if (row < 0 || col < 0) return {-1, -1};
    return {col, row};
}

QPoint ResultsGrid::cellCentre(int col, int gridRow) const {
    const QHeaderView* header =
        col < fixedColumns ? fixed_->horizontalHeader() : horizontalHeader();
    const QWidget* area = col < fixedColumns ? static_cast<const QWidget*>(fixed_) : this;
    const int x = header->sectionViewportPosition(col) + header->sectionSize(col) / 2;
    const int y = gridRow == 0 ? header->height() / 2
                               : viewport()->y() + rowViewportPosition(gridRow - 1) +
                                     rowHeight(gridRow - 1) / 2;
    const int areaLeft = area == this ? viewport()->x() : fixed_->x();
    return {areaLeft + x, y};
}

bool ResultsGrid::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const auto* widget = static_cast<QWidget*>(watched);
        const QPoint cell = cellAt(widget->mapTo(this, mouse->position().toPoint()));
        emit cellDoubleClicked(cell.x(), cell.y());
        return true;
    }
    return QTableView::eventFilter(watched, event);
}

void ResultsGrid::updateGeometries() {
    QTableView::updateGeometries();
    placeFixedColumns();
}

void ResultsGrid::placeFixedColumns() {
    fixed_->setGeometry(frameWidth(), frameWidth(), fixedWidth(),
                        viewport()->height() + horizontalHeader()->height());
    fixed_->setVisible(fixedWidth() > 0);
}

}  // namespace vd::ui
