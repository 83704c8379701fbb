#include "qt/ScoreGrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QStyledItemDelegate>

#include "qt/UiText.h"

namespace quintaro {

namespace {

// A cell with a colour of its own (booked, or the bonus and total rows) shows it whether its
// row is selected or not, under the pointer or not: neither the selection nor the hover tint
// may hide what is booked. Free cells of the selected row show the selection.
class CellDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem own(option);
        if (index.data(Qt::BackgroundRole).isValid()) {
            own.state &= ~(QStyle::State_Selected | QStyle::State_MouseOver);
        }
        QStyledItemDelegate::paint(painter, own, index);
    }
};

}  // namespace

ScoreGrid::ScoreGrid(const MainWindowLayout& layout, QWidget* parent)
    : QTableWidget(0, layout.columns, parent), rowHeight_(layout.rowHeight) {
    setFont(guiFont());
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setShowGrid(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setCornerButtonEnabled(false);
    setItemDelegate(new CellDelegate(this));
    setTabKeyNavigation(false);

    // The card is disabled for most of a turn, but the scores must stay easy to read: it
    // looks the same enabled or not, it only takes no clicks. These colours are given once to
    // every card rather than to each card: the style keeps pictures of what it drew under a
    // key of the palette they were drawn with, and every palette set on a card of its own is
    // a new key, so each New Game would leave its card's pictures behind for good.
    static const bool cardColours = [this] {
        QPalette colours = QApplication::palette(this);
        for (QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText,
                                         QPalette::Base, QPalette::Window, QPalette::Button}) {
            colours.setColor(QPalette::Disabled, role, colours.color(QPalette::Active, role));
        }
        // Nothing to resolve against the parent's colours, or each card would get a copy of
        // its own after all.
        colours.setResolveMask(0);
        QApplication::setPalette(colours, metaObject()->className());
        return true;
    }();
    (void)cardColours;

    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(rowHeight_);
    verticalHeader()->setDefaultSectionSize(rowHeight_);

    QHeaderView* header = horizontalHeader();
    header->setFont(guiFont());
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setMinimumSectionSize(1);
    header->setStretchLastSection(false);
    header->setFixedHeight(layout.headerHeight);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    setHorizontalHeaderItem(0, new QTableWidgetItem(QString()));
    for (int column = 0; column < layout.columns; ++column) {
        setColumnWidth(column, layout.columnWidths[std::size_t(column)]);
    }
}

void ScoreGrid::appendRow(const QString& label) {
    const int row = rowCount();
    insertRow(row);
    setRowHeight(row, rowHeight_);
    for (int column = 0; column < columnCount(); ++column) {
        setItem(row, column, new QTableWidgetItem(column == 0 ? label : QString()));
    }
}

int ScoreGrid::selectedRow() const {
    const QList<QTableWidgetItem*> items = selectedItems();
    return items.isEmpty() ? -1 : items.first()->row();
}

QString ScoreGrid::cellText(int row, int column) const {
    const QTableWidgetItem* cell = item(row, column);
    return cell ? cell->text() : QString();
}

void ScoreGrid::setCellText(int row, int column, const QString& text) {
    if (QTableWidgetItem* cell = item(row, column)) {
        cell->setText(text);
    }
}

bool ScoreGrid::cellColourSet(int row, int column) const {
    const QTableWidgetItem* cell = item(row, column);
    return cell && cell->data(Qt::BackgroundRole).isValid();
}

void ScoreGrid::setCellColour(int row, int column, Colour colour) {
    if (QTableWidgetItem* cell = item(row, column)) {
        cell->setBackground(QColor(colour.red, colour.green, colour.blue));
    }
}

void ScoreGrid::setRowColour(int row, Colour colour) {
    for (int column = 0; column < columnCount(); ++column) {
        setCellColour(row, column, colour);
    }
}

void ScoreGrid::showSelection(int row) {
    if (row < 0) {
        clearSelection();
        return;
    }
    selectRow(row);
    setCurrentCell(row, 0, QItemSelectionModel::NoUpdate);
}

void ScoreGrid::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

void ScoreGrid::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
}

void ScoreGrid::mouseReleaseEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && isEnabled() && index.isValid()) {
        emit rowClicked(index.row());
    }
    event->accept();
}

}  // namespace quintaro
