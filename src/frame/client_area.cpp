#include "frame/client_area.h"

#include <QPainter>

ClientArea::ClientArea(QWidget* parent) : QWidget(parent)
{
    setAutoFillBackground(true);
}

void ClientArea::setPicture(const QPixmap& picture)
{
    picture_ = picture;
    update();
}

void ClientArea::paintEvent(QPaintEvent*)
{
    if (picture_.isNull())
        return;
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture_);
}

void ClientArea::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    emit resized();
}
