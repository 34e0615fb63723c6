#include "records/batch_dialog.h"

#include "frame/main_state.h"
#include "platform/ui/object_names.h"
#include "platform/ui/ui.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("Batch Totals");

} // namespace

BatchTotalsDialog::BatchTotalsDialog(MainState& S, std::optional<records::BatchTotals>& batch, QWidget* parent)
    : QDialog(parent), S(S), batch_(batch)
{
    setObjectName(QStringLiteral("BatchTotals"));
    setWindowTitle(kTitle);
    const bool running = batch_.has_value();

    lblIntro = ui::named(new QLabel(running ? QStringLiteral("A batch is being entered. End Batch compares what was recorded "
                                                         "with what was expected; the donations stay recorded either way.")
                                        : QStringLiteral("Type the number of gifts in the batch and their total. "
                                                         "Every donation recorded from now on counts towards the batch, "
                                                         "a split check one gift for each of its lines."),
                                this),
                     "lblIntro");
    lblIntro->setWordWrap(true);
    lblGifts = ui::named(new QLabel(QStringLiteral("&Gifts expected"), this), "lblGifts");
    txtGifts = ui::named(new QLineEdit(this), "txtGifts");
    lblTotal = ui::named(new QLabel(QStringLiteral("&Total expected"), this), "lblTotal");
    txtTotal = ui::named(new QLineEdit(this), "txtTotal");
    lblGifts->setBuddy(txtGifts);
    lblTotal->setBuddy(txtTotal);
    txtGifts->setMaxLength(9);
    txtTotal->setMaxLength(20);
    lblProgress = ui::named(new QLabel(this), "lblProgress");

    cmdOK = ui::named(new QPushButton(QStringLiteral("&Start Batch"), this), "cmdOK");
    cmdEnd = ui::named(new QPushButton(QStringLiteral("&End Batch"), this), "cmdEnd");
    cmdCancel = ui::named(new QPushButton(QStringLiteral("&Cancel"), this), "cmdCancel");
    if (running) {
        txtGifts->setText(QString::number(batch_->expectedGifts()));
        txtTotal->setText(records::batchAmount(batch_->expectedTotal()));
        txtGifts->setReadOnly(true);
        txtTotal->setReadOnly(true);
        lblProgress->setText(batch_->progressText());
        cmdOK->hide();
        cmdEnd->setDefault(true);
    } else {
        lblProgress->hide();
        cmdEnd->hide();
        cmdOK->setDefault(true);
    }

    auto* grid = new QGridLayout;
    grid->addWidget(lblGifts, 0, 0);
    grid->addWidget(txtGifts, 0, 1);
    grid->addWidget(lblTotal, 1, 0);
    grid->addWidget(txtTotal, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdEnd);
    buttons->addWidget(cmdCancel);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(lblIntro);
    outer->addLayout(grid);
    outer->addWidget(lblProgress);
    outer->addLayout(buttons);
    setMinimumWidth(380);
    (running ? static_cast<QWidget*>(cmdEnd) : txtGifts)->setFocus();

    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdEnd, &QPushButton::clicked, this, [this] { cmdEnd_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
}

void BatchTotalsDialog::cmdOK_Click()
{
    if (batch_)
        return;
    const records::BatchReading read = records::readBatchExpectation(txtGifts->text(), txtTotal->text());
    if (!read.expectation) {
        S.LastAnswer = ui::message(ui::Beep::No, read.refusal, ui::Buttons::OKOnly, ui::Icon::Exclamation, kTitle);
        QLineEdit* wrong = read.wrongBox == 0 ? txtGifts : txtTotal;
        wrong->setFocus();
        wrong->selectAll();
        return;
    }
    batch_.emplace(read.expectation->gifts, read.expectation->total);
    S.DialogCancelled = false;
    accept();
}

void BatchTotalsDialog::cmdEnd_Click()
{
    if (!batch_)
        return;
    if (batch_->balances()) {
        S.LastAnswer = ui::message(ui::Beep::No,
                                   QStringLiteral("The batch balances: %1 %2, %3.")
                                       .arg(batch_->gifts())
                                       .arg(batch_->gifts() == 1 ? QStringLiteral("gift") : QStringLiteral("gifts"))
                                       .arg(records::batchAmount(batch_->total())),
                                   ui::Buttons::OKOnly, ui::Icon::Information, kTitle);
    } else {
        S.LastAnswer = ui::message(ui::Beep::Yes,
                                   QStringLiteral("The batch does not balance.\n\n%1\n\nEnd the batch anyway? "
                                                  "The donations recorded stay in the file.")
                                       .arg(batch_->differences()),
                                   ui::Buttons::YesNo, ui::Icon::Exclamation, kTitle);
        if (S.LastAnswer != ui::Yes)
            return;
    }
    ended = std::move(batch_);
    batch_.reset();
    S.DialogCancelled = false;
    accept();
}

void BatchTotalsDialog::cmdCancel_Click()
{
    reject();
}

void BatchTotalsDialog::reject()
{
    S.DialogCancelled = true;
    QDialog::reject();
}
