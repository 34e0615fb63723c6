#include "page_view.h"

#include <QPaintEvent>
#include <QPainter>
#include <cmath>

namespace report {

PageView::PageView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PageView::setPage(Page page)
{
    page_ = std::move(page);
    updateGeometry();
    resize(sizeHint());
    update();
}

void PageView::setScale(double scale)
{
    scale_ = scale;
    updateGeometry();
    resize(sizeHint());
    update();
}

QSize PageView::sizeHint() const
{
    const int w = static_cast<int>(std::ceil(page_.paper.width() * scale_));
    const int h = static_cast<int>(std::ceil(page_.paper.height() * scale_));
    return {w + 2 * kMargin, h + 2 * kMargin};
}

void PageView::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    p.fillRect(event->rect(), palette().color(QPalette::Dark));
    const QRectF sheet(kMargin, kMargin, page_.paper.width() * scale_, page_.paper.height() * scale_);
    p.fillRect(sheet.translated(3, 3), QColor(0, 0, 0, 80));
    p.fillRect(sheet, Qt::white);
    painter_.paint(p, page_, scale_, sheet.topLeft());
}

} // namespace report
