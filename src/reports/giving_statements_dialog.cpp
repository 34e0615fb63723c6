#include "reports/giving_statements_dialog.h"

#include "platform/dao/database.h"
#include "platform/dao/sqlite.h"
#include "platform/ui/ui.h"
#include "platform/vb/convert.h"
#include "platform/vb/datetime.h"
#include "platform/vb/format.h"
#include "schema/file_settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr int kMemberIdRole = Qt::UserRole + 1;

template <class W>
W* named(W* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

GivingStatements::GivingStatements(MainState& S, std::shared_ptr<dao::Database> db, QWidget* parent)
    : QDialog(parent), S(S), db_(std::move(db))
{
    setObjectName(QStringLiteral("GivingStatements"));
    setWindowTitle(QStringLiteral("Giving Statements"));

    storedYearStart_ = db::fiscalYearStartMonth(*db_);
    storedWording_ = db::readSetting(*db_, db::kStatementWording);

    txtFrom = named(new QLineEdit(this), "txtFrom");
    txtTo = named(new QLineEdit(this), "txtTo");
    cboYearStart = named(new QComboBox(this), "cboYearStart");
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    for (int m = 1; m <= 12; ++m)
        cboYearStart->addItem(english.monthName(m));
    cboYearStart->setCurrentIndex(storedYearStart_ - 1);
    const reports::StatementPeriod last = reports::lastWholeYear(QDate::currentDate(), storedYearStart_);
    txtFrom->setText(vb::shortDate(vb::DateTime(last.from)));
    txtTo->setText(vb::shortDate(vb::DateTime(last.to)));

    optEveryDonor = named(new QRadioButton(QStringLiteral("&Every member with a gift in the period"), this), "optEveryDonor");
    optChosen = named(new QRadioButton(QStringLiteral("Only the &members chosen below"), this), "optChosen");
    optEveryDonor->setChecked(true);
    txtSearch = named(new QLineEdit(this), "txtSearch");
    txtSearch->setPlaceholderText(QStringLiteral("Search names"));
    lstMembers = named(new QListWidget(this), "lstMembers");
    lstMembers->setSelectionMode(QAbstractItemView::ExtendedSelection);
    txtSearch->setEnabled(false);
    lstMembers->setEnabled(false);
    chkAnonymous = named(new QCheckBox(QStringLiteral("Include the gifts of unknown donors (member 1)"), this), "chkAnonymous");

    txtWording = named(new QPlainTextEdit(this), "txtWording");
    txtWording->setPlainText(storedWording_);
    txtWording->setTabChangesFocus(true);
    // A few lines: the wording is a sentence or two, and the member list takes the room left.
    txtWording->setFixedHeight(txtWording->fontMetrics().lineSpacing() * 4 + 12);
    txtWording->setPlaceholderText(QStringLiteral("No goods or services were provided in exchange for these contributions."));

    cmdPreview = named(new QPushButton(QStringLiteral("&Preview"), this), "cmdPreview");
    cmdCombinedPdf = named(new QPushButton(QStringLiteral("&One PDF..."), this), "cmdCombinedPdf");
    cmdPerMemberPdf = named(new QPushButton(QStringLiteral("A PDF per &Donor..."), this), "cmdPerMemberPdf");
    cmdCancel = named(new QPushButton(QStringLiteral("Cancel"), this), "cmdCancel");
    cmdPreview->setDefault(true);

    auto* lblFrom = named(new QLabel(QStringLiteral("&From"), this), "lblFrom");
    auto* lblTo = named(new QLabel(QStringLiteral("&To"), this), "lblTo");
    auto* lblYearStart = named(new QLabel(QStringLiteral("&Year begins in"), this), "lblYearStart");
    auto* lblWording = named(new QLabel(QStringLiteral("&Wording (the organization's acknowledgement)"), this), "lblWording");
    lblFrom->setBuddy(txtFrom);
    lblTo->setBuddy(txtTo);
    lblYearStart->setBuddy(cboYearStart);
    lblWording->setBuddy(txtWording);

    auto* period = new QGridLayout;
    period->addWidget(lblFrom, 0, 0);
    period->addWidget(txtFrom, 0, 1);
    period->addWidget(lblTo, 0, 2);
    period->addWidget(txtTo, 0, 3);
    period->addWidget(lblYearStart, 1, 0);
    period->addWidget(cboYearStart, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* b : {cmdPreview, cmdCombinedPdf, cmdPerMemberPdf, cmdCancel})
        buttons->addWidget(b);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(period);
    outer->addWidget(optEveryDonor);
    outer->addWidget(optChosen);
    outer->addWidget(txtSearch);
    outer->addWidget(lstMembers, 1);
    outer->addWidget(chkAnonymous);
    outer->addWidget(lblWording);
    outer->addWidget(txtWording);
    outer->addLayout(buttons);
    resize(560, 560);
    txtFrom->setFocus();

    connect(cmdPreview, &QPushButton::clicked, this, [this] { cmdPreview_Click(); });
    connect(cmdCombinedPdf, &QPushButton::clicked, this, [this] { cmdCombinedPdf_Click(); });
    connect(cmdPerMemberPdf, &QPushButton::clicked, this, [this] { cmdPerMemberPdf_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    connect(cboYearStart, &QComboBox::currentIndexChanged, this, [this] { cboYearStart_Change(); });
    connect(txtSearch, &QLineEdit::textChanged, this, [this] { txtSearch_Change(); });
    connect(optChosen, &QRadioButton::toggled, this, [this] { optChosen_Click(); });
}

void GivingStatements::cboYearStart_Change()
{
    const reports::StatementPeriod last = reports::lastWholeYear(QDate::currentDate(), cboYearStart->currentIndex() + 1);
    txtFrom->setText(vb::shortDate(vb::DateTime(last.from)));
    txtTo->setText(vb::shortDate(vb::DateTime(last.to)));
}

void GivingStatements::optChosen_Click()
{
    const bool chosen = optChosen->isChecked();
    if (chosen && lstMembers->count() == 0)
        fillMembers();
    txtSearch->setEnabled(chosen);
    lstMembers->setEnabled(chosen);
}

void GivingStatements::fillMembers()
{
    // The names index gives them sorted as the file sorts names.
    sqlite::Statement members = db_->connection().prepare(
        QStringLiteral("SELECT MemberID, LastName, FirstName FROM Members ORDER BY LastName, FirstName, MemberID"));
    lstMembers->setUpdatesEnabled(false);
    while (members.step()) {
        const QString last = members.isNull(1) ? QString() : members.text(1);
        const QString first = members.isNull(2) ? QString() : members.text(2);
        auto* item = new QListWidgetItem(QStringLiteral("%1, %2 \\%3").arg(last, first).arg(members.int64(0)));
        item->setData(kMemberIdRole, QVariant::fromValue<qlonglong>(members.int64(0)));
        lstMembers->addItem(item);
    }
    lstMembers->setUpdatesEnabled(true);
}

void GivingStatements::txtSearch_Change()
{
    const QString typed = txtSearch->text().trimmed();
    lstMembers->setUpdatesEnabled(false);
    for (int i = 0; i < lstMembers->count(); ++i) {
        QListWidgetItem* item = lstMembers->item(i);
        item->setHidden(!typed.isEmpty() && !item->text().contains(typed, Qt::CaseInsensitive) && !item->isSelected());
    }
    lstMembers->setUpdatesEnabled(true);
}

void GivingStatements::refuse(const QString& prompt, QWidget* focus)
{
    S.LastAnswer = ui::message(ui::Beep::Yes, prompt, ui::Buttons::OKOnly, ui::Icon::Exclamation, QStringLiteral("Giving Statements"));
    if (focus)
        focus->setFocus();
    if (auto* box = qobject_cast<QLineEdit*>(focus))
        box->selectAll();
}

bool GivingStatements::readPeriod()
{
    const std::optional<vb::DateTime> from = vb::readDate(txtFrom->text().trimmed());
    if (!from) {
        refuse(QStringLiteral("The first day of the period is not a date."), txtFrom);
        return false;
    }
    const std::optional<vb::DateTime> to = vb::readDate(txtTo->text().trimmed());
    if (!to) {
        refuse(QStringLiteral("The last day of the period is not a date."), txtTo);
        return false;
    }
    if (from->date() > to->date()) {
        refuse(QStringLiteral("The first day of the period comes after the last day."), txtFrom);
        return false;
    }
    period = reports::StatementPeriod{from->date(), to->date()};
    return true;
}

bool GivingStatements::readChoice()
{
    choice = reports::DonorChoice{chkAnonymous->isChecked(), std::nullopt};
    if (!optChosen->isChecked())
        return true;
    std::vector<std::int64_t> ids;
    for (const QListWidgetItem* item : lstMembers->selectedItems())
        ids.push_back(item->data(kMemberIdRole).toLongLong());
    if (ids.empty()) {
        refuse(QStringLiteral("Choose the members to write statements for, or every member with a gift in the period."), lstMembers);
        return false;
    }
    // Member 1 chosen by name is wanted, whatever the box says.
    if (std::find(ids.begin(), ids.end(), std::int64_t(1)) != ids.end())
        choice.includeAnonymous = true;
    choice.members = std::move(ids);
    return true;
}

bool GivingStatements::readWording()
{
    wording = txtWording->toPlainText().trimmed();
    if (wording.size() > kWordingMostChars) {
        refuse(QStringLiteral("The wording is %1 characters long; a statement has room for %2.").arg(wording.size()).arg(kWordingMostChars),
               txtWording);
        return false;
    }
    return true;
}

bool GivingStatements::saveSettings()
{
    db::SettingValues changed;
    if (wording != storedWording_)
        changed.emplace_back(db::kStatementWording, wording);
    const int yearStart = cboYearStart->currentIndex() + 1;
    if (yearStart != storedYearStart_)
        changed.emplace_back(db::kFiscalYearStart, QString::number(yearStart));
    if (changed.empty())
        return true;
    if (const std::optional<QString> refusal = db::writeSettings(*db_, changed)) {
        S.LastAnswer = ui::dataError(*refusal);
        return false;
    }
    storedWording_ = wording;
    storedYearStart_ = yearStart;
    return true;
}

void GivingStatements::finish(Output chosen)
{
    if (!(readPeriod() && readChoice() && readWording() && saveSettings()))
        return;
    output = chosen;
    S.DialogCancelled = false;
    accept();
}

void GivingStatements::cmdCancel_Click()
{
    S.DialogCancelled = true;
    QDialog::reject();
}

void GivingStatements::reject()
{
    cmdCancel_Click();
}
