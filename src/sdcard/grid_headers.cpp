#include "sdcard/grid_headers.h"

#include <QAbstractButton>
#include <QEvent>
#include <QHeaderView>
#include <QPainter>
#include <QStyleOptionHeader>
#include <QTableView>

#include "catalogue/grid_model.h"

namespace tabulon::sdcard {

namespace {

class CornerPainter : public QObject {
public:
    CornerPainter(QAbstractButton* corner, const GridModel& model)
        : QObject(corner), corner_(corner), model_(model) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != corner_ || event->type() != QEvent::Paint)
            return QObject::eventFilter(watched, event);
        QStyleOptionHeader option;
        option.initFrom(corner_);
        option.rect = corner_->rect();
        option.text = model_.cell(0, 0);
        option.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
        option.position = QStyleOptionHeader::OnlyOneSection;
        QPainter painter(corner_);
        corner_->style()->drawControl(QStyle::CE_Header, &option, &painter, corner_);
        return true;
    }

private:
    QAbstractButton* corner_;
    const GridModel& model_;
};

}  // namespace

void setUpGridHeaders(QTableView& view, const GridModel& model, int rowHeight) {
    QHeaderView* rows = view.verticalHeader();
    rows->setMinimumSectionSize(rowHeight);
    rows->setDefaultSectionSize(rowHeight);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QHeaderView* columns = view.horizontalHeader();
    columns->setMinimumSectionSize(8);
    columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setFixedHeight(rowHeight + 4);
    if (auto* corner = view.findChild<QAbstractButton*>())
        corner->installEventFilter(new CornerPainter(corner, model));
}

}  // namespace tabulon::sdcard
