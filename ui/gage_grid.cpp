#include "gage_grid.h"

#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QUrl>
#include <algorithm>

#include "flow_file_kinds.h"
#include "gage_table_model.h"

namespace vd::ui {

UseMarkDelegate::UseMarkDelegate(const CheckImages& images, QObject* parent)
    : QStyledItemDelegate(parent), images_(images) {}

void UseMarkDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
    if (index.column() != GageTableModel::colUse) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const QRect r = option.rect;
    painter->fillRect(r, QColor(224, 224, 224));
    const QPixmap& image =
        index.data(GageTableModel::useMarkRole).toBool() ? images_.FCheck : images_.FNoCheck;
    painter->drawPixmap(r.x() + (r.width() - image.width()) / 2,
                        r.y() + (r.height() - image.height()) / 2, image);
    if (option.state & QStyle::State_HasFocus) {
        painter->setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter->drawRect(r.adjusted(0, 0, -1, -1));
    }
}

GageGrid::GageGrid(QWidget* parent) : QTableView(parent) {
    setShowGrid(false);
    setFrameShape(QFrame::NoFrame);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    // Tab leaves the table for the next control; the arrow keys move inside it.
    setTabKeyNavigation(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    QHeaderView* header = horizontalHeader();
    // Long gage names and file titles are shown whole by dragging the header's dividers.
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setMinimumSectionSize(8);
    connect(header, &QHeaderView::sectionResized, this, [this](int section, int, int size) {
        if (!fitting_ && section == GageTableModel::colGage) gageFloor_ = size;
    });
    useMenu_ = new QMenu(this);
    connect(useMenu_->addAction(QStringLiteral("Use all")), &QAction::triggered, this,
            [this] { emit useAllRequested(true); });
    connect(useMenu_->addAction(QStringLiteral("Use none")), &QAction::triggered, this,
            [this] { emit useAllRequested(false); });
    connect(this, &QTableView::clicked, this, [this](const QModelIndex& index) {
        if (index.column() == GageTableModel::colUse) emit useToggleRequested(index.row());
    });
}

void GageGrid::applyMetrics() {
    const QFontMetrics fm(font());
    QFont bold = font();
    bold.setBold(true);
    const QFontMetrics fmBold(bold);
    constexpr int pad = 8;
    rowHeight_ = std::max(17, fm.height() + 3);
    const auto need = [&](const char* sample, const char* header) {
        return std::max(fm.horizontalAdvance(QString::fromLatin1(sample)),
                        fmBold.horizontalAdvance(QString::fromLatin1(header))) +
               pad;
    };
    const std::array<int, columns> needed{need(" 1000", ""),
                                          0,
                                          0,
                                          need("8888-8888", "Record"),
                                          need("8888", "Start"),
                                          need("8888", "End"),
                                          need("", "Use")};
    // Names and file titles keep the design's share of the width for the font's digits
    // (the design's font had digits 6 pixels wide); they may still be cut, as their hint
    // shows them whole.
    const double scale = std::max(1.0, fm.horizontalAdvance(QLatin1Char('8')) / 6.0);
    widths_[1] = static_cast<int>(100 * scale);
    widths_[2] = static_cast<int>(60 * scale);
    for (int c = 0; c < columns; ++c) {
        widths_[static_cast<std::size_t>(c)] =
            std::max(widths_[static_cast<std::size_t>(c)], needed[static_cast<std::size_t>(c)]);
        setColumnWidth(c, widths_[static_cast<std::size_t>(c)]);
    }
    gageFloor_ = widths_[GageTableModel::colGage];
    verticalHeader()->setMinimumSectionSize(rowHeight_);
    verticalHeader()->setDefaultSectionSize(rowHeight_);
    horizontalHeader()->setFixedHeight(rowHeight_);
}

int GageGrid::contentWidth() const {
    int w = 0;
    for (const int c : widths_) w += c;
    return w;
}

int GageGrid::scrollBarWidth() const {
    return style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
}

void GageGrid::contextMenuEvent(QContextMenuEvent* event) {
    // The event's position is the viewport's, as for every event of a scroll area.
    if (columnAt(event->pos().x()) != GageTableModel::colUse || model() == nullptr ||
        model()->rowCount() == 0) {
        event->ignore();
        return;
    }
    useMenu_->exec(event->globalPos());
}

void GageGrid::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    fitGageColumn();
}

void GageGrid::fitGageColumn() {
    // The Gage column takes the room the other columns leave (a scroll bar's width kept
    // free), but stays at least as wide as the design or the user's dragging made it.
    int others = 0;
    for (int c = 0; c < columns; ++c)
        if (c != GageTableModel::colGage) others += columnWidth(c);
    const int room = width() - scrollBarWidth() - others;
    fitting_ = true;
    setColumnWidth(GageTableModel::colGage, std::max(gageFloor_, room));
    fitting_ = false;
}

void GageGrid::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && currentIndex().column() == GageTableModel::colUse) {
        emit useToggleRequested(currentIndex().row());
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

FileDropArea::FileDropArea(QWidget* parent) : QWidget(parent) {
    setAcceptDrops(true);
}

QStringList FileDropArea::flowFiles(const QList<QUrl>& urls) {
    QStringList paths;
    for (const QUrl& url : urls) {
        if (!url.isLocalFile()) continue;
        const QString path = url.toLocalFile();
        if (isFlowFileName(path)) paths << path;
    }
    return paths;
}

QStringList FileDropArea::droppableFiles(const QList<QUrl>& urls) {
    QStringList paths;
    for (const QUrl& url : urls) {
        if (!url.isLocalFile()) continue;
        const QString path = url.toLocalFile();
        if (isFlowFileName(path) ||
            QFileInfo(path).suffix().compare(QLatin1String("vdp"), Qt::CaseInsensitive) == 0)
            paths << path;
    }
    return paths;
}

void FileDropArea::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls() && !droppableFiles(event->mimeData()->urls()).isEmpty())
        event->acceptProposedAction();
}

void FileDropArea::dragMoveEvent(QDragMoveEvent* event) {
    event->acceptProposedAction();
}

void FileDropArea::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    emit resized();
}

void FileDropArea::dropEvent(QDropEvent* event) {
    const QStringList paths = droppableFiles(event->mimeData()->urls());
    if (paths.isEmpty()) return;
    event->acceptProposedAction();
    emit filesDropped(paths);
}

}  // namespace vd::ui
