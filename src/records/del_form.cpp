#include "records/del_form.h"

#include "frame/main_state.h"
#include "platform/ui/ui.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QColor kDarkRed(128, 0, 0);

} // namespace

DelForm::DelForm(MainState& S, QWidget* parent) : QDialog(parent), S(S)
{
    setObjectName(QStringLiteral("DelForm"));
    setWindowTitle(QStringLiteral("Delete Member"));

    const char* const texts[] = {
        "Are You Sure That You Want To Delete This Member ?",
        "",  // the member's name
        "All the Personal Data will be lost !",
        "All Donations will be transferred to Record 1.",
        " If you want to delete this member, ",
        "Press  ALT and Click OK.",
    };
    auto* layout = new QVBoxLayout(this);
    for (std::size_t i = 0; i < Label.size(); ++i) {
        Label[i] = new QLabel(QString::fromLatin1(texts[i]), this);
        Label[i]->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        Label[i]->setAlignment(Qt::AlignCenter);
        layout->addWidget(Label[i]);
    }
    Label2 = Label[1];
    QFont name = Label2->font();
    name.setBold(true);
    Label2->setFont(name);
    for (QLabel* warning : {Label[0], Label[2]}) {
        QPalette p = warning->palette();
        p.setColor(QPalette::WindowText, kDarkRed);
        warning->setPalette(p);
    }

    Command1 = new QPushButton(QStringLiteral("&OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setEnabled(false);
    Command2 = new QPushButton(QStringLiteral("&Cancel"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    // Enter must not delete: only a click on OK (or its Alt+O) does.
    for (QPushButton* b : {Command1, Command2}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    connect(Command1, &QPushButton::clicked, this, &DelForm::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &DelForm::Command2_Click);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    buttons->addStretch();
    layout->addLayout(buttons);
    setMinimumWidth(380);

    Form_Load();
}

DelForm::~DelForm()
{
    previewKeys(false);
}

void DelForm::Form_Load()
{
    previewKeys(true);
    S.DialogCancelled = true;
    Label2->setText(S.DonorName);
    ui::current().beep();
    Command2->setFocus();
}

bool DelForm::enablesOk(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) == Qt::AltModifier;
}

bool DelForm::eventFilter(QObject* watched, QEvent* event)
{
    if (previewing_ && event->type() == QEvent::KeyPress
        && enablesOk(static_cast<QKeyEvent*>(event)->modifiers()))
        Command1->setEnabled(true);
    return QDialog::eventFilter(watched, event);
}

void DelForm::previewKeys(bool on)
{
    if (on == previewing_)
        return;
    previewing_ = on;
    QList<QWidget*> widgets = findChildren<QWidget*>();
    widgets << this;
    for (QWidget* w : widgets) {
        if (on)
            w->installEventFilter(this);
        else
            w->removeEventFilter(this);
    }
}

void DelForm::Command1_Click()
{
    S.DialogCancelled = false;
    previewKeys(false);
    accept();
}

void DelForm::Command2_Click()
{
    reject();
}

void DelForm::reject()
{
    previewKeys(false);
    S.DialogCancelled = true;
    QDialog::reject();
}
