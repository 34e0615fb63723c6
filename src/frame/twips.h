#pragma once
// The window is designed in twips; the screen works in pixels. Fifteen twips make one pixel at
// the screen setting the design was made for, so every position converts through here.
#include <QRect>

class QWidget;

inline constexpr int kTwipsPerPixel = 15;

// Rounds halves to even, as the classic runtime's conversions do.
int TwipsToPixels(double twips);
inline int PixelsToTwips(int pixels) { return pixels * kTwipsPerPixel; }
QRect TwipsToPixels(int left, int top, int width, int height);

// Geometry of a child widget in twips of its parent's client area.
void PlaceTw(QWidget* w, int left, int top, int width, int height);
void MoveTw(QWidget* w, int left, int top);
void SetTopTw(QWidget* w, double top);
void SetLeftTw(QWidget* w, double left);
int LeftTw(const QWidget* w);
int TopTw(const QWidget* w);
int WidthTw(const QWidget* w);
int HeightTw(const QWidget* w);
