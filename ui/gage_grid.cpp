#include "gage_grid.h"

#include <QDragEnterEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QUrl>
#include <algorithm>

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
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    verticalHeader()->hide();
    QHeaderView* header = horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setMinimumSectionSize(8);
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
        const QString suffix = QFileInfo(path).suffix().toLower();
        if (suffix == QLatin1String("txt") || suffix == QLatin1String("cgi") ||
            suffix == QLatin1String("flo"))
            paths << path;
    }
    return paths;
}

void FileDropArea::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls() && !flowFiles(event->mimeData()->urls()).isEmpty())
        event->acceptProposedAction();
}

void FileDropArea::dragMoveEvent(QDragMoveEvent* event) {
    event->acceptProposedAction();
}

void FileDropArea::dropEvent(QDropEvent* event) {
    const QStringList paths = flowFiles(event->mimeData()->urls());
    if (paths.isEmpty()) return;
    event->acceptProposedAction();
    emit filesDropped(paths);
}

}  // namespace vd::ui
