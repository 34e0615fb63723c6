#pragma once
// The preview's page: one page of the report on a sheet of paper, drawn at a zoom.
#include "page.h"
#include "painter.h"

#include <QWidget>

namespace report {

class PageView : public QWidget {
    Q_OBJECT

public:
    explicit PageView(QWidget* parent = nullptr);

    void setPage(Page page);
    const Page& page() const { return page_; }
    // Device pixels per twip.
    void setScale(double scale);
    double scale() const { return scale_; }

    // The space kept around the sheet, in pixels.
    static constexpr int kMargin = 12;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Page page_;
    double scale_ = 0.1;
    PagePainter painter_;
};

} // namespace report
