#include "frame/twips.h"

#include "platform/vb/convert.h"

#include <QWidget>

int TwipsToPixels(double twips)
{
    return static_cast<int>(vb::roundHalfEven(twips / kTwipsPerPixel));
}

QRect TwipsToPixels(int left, int top, int width, int height)
{
    return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height)};
}

void PlaceTw(QWidget* w, int left, int top, int width, int height)
{
    w->setGeometry(TwipsToPixels(left, top, width, height));
}

void MoveTw(QWidget* w, int left, int top)
{
    w->move(TwipsToPixels(left), TwipsToPixels(top));
}

void SetTopTw(QWidget* w, double top)
{
    w->move(w->x(), TwipsToPixels(top));
}

void SetLeftTw(QWidget* w, double left)
{
    w->move(TwipsToPixels(left), w->y());
}

int LeftTw(const QWidget* w) { return PixelsToTwips(w->x()); }
int TopTw(const QWidget* w) { return PixelsToTwips(w->y()); }
int WidthTw(const QWidget* w) { return PixelsToTwips(w->width()); }
int HeightTw(const QWidget* w) { return PixelsToTwips(w->height()); }
