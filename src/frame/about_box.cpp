#include "frame/about_box.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QFrame* line(QWidget* parent)
{
    auto* frame = new QFrame(parent);
    frame->setFrameShape(QFrame::HLine);
    frame->setFrameShadow(QFrame::Sunken);
    return frame;
}

} // namespace

AboutBox::AboutBox(const QString& appDir, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("About"));
    setWindowTitle(QStringLiteral("About QUIL"));

    Picture = new QLabel(this);
    Picture->setObjectName(QStringLiteral("Picture"));
    QPixmap picture(appDir + QStringLiteral("quil.png"));
    if (!picture.isNull())
        Picture->setPixmap(picture.scaled(96, 96, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    Picture->setAlignment(Qt::AlignCenter);

    Version = new QLabel(QStringLiteral("QUIL  v1.0             Build 122"), this);
    Version->setObjectName(QStringLiteral("Version"));
    Version->setAlignment(Qt::AlignCenter);

    Command1 = new QPushButton(QStringLiteral("&OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Picture);
    layout->addWidget(line(this));
    layout->addWidget(Version);
    layout->addWidget(line(this));
    layout->addLayout(buttons);
    layout->setContentsMargins(24, 18, 24, 14);
    layout->setSpacing(12);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    Version->setMinimumWidth(280);
}
