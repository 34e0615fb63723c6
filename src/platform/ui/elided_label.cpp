#include "platform/ui/elided_label.h"

#include <QPainter>
#include <QStyle>

namespace ui {

ElidedLabel::ElidedLabel(QWidget* parent, int widestCharacters) : QLabel(parent), widestCharacters_(widestCharacters)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

int ElidedLabel::widest() const
{
    return fontMetrics().averageCharWidth() * widestCharacters_;
}

QSize ElidedLabel::sizeHint() const
{
    // One line of the text's own height; only the width is bounded.
    const QSize full = QLabel::sizeHint();
    const int line = fontMetrics().height() + 2 * (margin() + frameWidth());
    return {qMin(full.width(), widest()), line};
}

QSize ElidedLabel::minimumSizeHint() const
{
    const QSize hint = sizeHint();
    return {qMin(hint.width(), fontMetrics().averageCharWidth() * 10), hint.height()};
}

QString ElidedLabel::shownText() const
{
    // Line breaks in stored text would make the one line several: they count as blanks.
    QString oneLine = text();
    oneLine.replace(u'\n', u' ').replace(u'\r', u' ');
    return fontMetrics().elidedText(oneLine, Qt::ElideRight, contentsRect().width() - 2 * margin());
}

void ElidedLabel::paintEvent(QPaintEvent*)
{
    // setText is not virtual: the tool tip follows the text when it is painted.
    updateToolTip();
    QPainter painter(this);
    const QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    style()->drawItemText(&painter, area, int(alignment()), palette(), isEnabled(), shownText(), foregroundRole());
}

void ElidedLabel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    updateToolTip();
}

void ElidedLabel::updateToolTip()
{
    const QString tip = shownText() == text() ? QString() : text();
    if (toolTip() != tip)
        setToolTip(tip);
}

} // namespace ui
