#pragma once
// The main window's client area: the surface every control is placed on in design twips, with
// the window's background picture drawn unscaled at its top left, behind the controls.
#include <QPixmap>
#include <QWidget>

class ClientArea : public QWidget {
    Q_OBJECT

public:
    explicit ClientArea(QWidget* parent = nullptr);

    void setPicture(const QPixmap& picture);
    const QPixmap& picture() const { return picture_; }

signals:
    void resized();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QPixmap picture_;
};
