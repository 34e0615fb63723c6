#pragma once
// A label for text that comes from the file (a member's name, say): it asks for no more width
// than a few dozen characters and shows what does not fit cut off with an ellipsis, the whole
// text in its tool tip. A stored name of thousands of characters thus cannot widen its dialog
// beyond the screen. text() is the whole text.
#include <QLabel>

namespace ui {

class ElidedLabel : public QLabel {
    Q_OBJECT

public:
    explicit ElidedLabel(QWidget* parent = nullptr, int widestCharacters = 60);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // The text as painted: all of it, or its start and an ellipsis.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void updateToolTip();
    int widest() const;

    int widestCharacters_;
};

} // namespace ui
