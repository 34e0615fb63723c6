#include "records/merge_members_dialog.h"

#include "frame/main_state.h"
#include "platform/dao/database.h"
#include "platform/jet/db_error.h"
#include "platform/ui/elided_label.h"
#include "platform/ui/object_names.h"
#include "platform/ui/ui.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <exception>

namespace {

// The member a box names; none for a text that is not a member number.
std::optional<std::int64_t> typedNumber(const QLineEdit* box)
{
    bool ok = false;
    const std::int64_t n = box->text().trimmed().toLongLong(&ok);
    return ok && n > 0 ? std::optional<std::int64_t>(n) : std::nullopt;
}

} // namespace

MergeMembers::MergeMembers(MainState& S, std::shared_ptr<dao::Database> database, std::int64_t current, QWidget* parent)
    : QDialog(parent), S(S), database_(std::move(database))
{
    setObjectName(QStringLiteral("MergeMembers"));
    setWindowTitle(QStringLiteral("Merge Members"));

    auto* intro = new QLabel(QStringLiteral("The donations of the member to merge pass to the member to keep, "
                                            "and the member to merge is deleted."),
                             this);
    intro->setObjectName(QStringLiteral("lblIntro"));
    intro->setWordWrap(true);

    auto* keepGroup = ui::named(new QGroupBox(QStringLiteral("Member to keep"), this), "fraKeep");
    auto* mergeGroup = ui::named(new QGroupBox(QStringLiteral("Member to merge into it"), this), "fraMerge");
    lblKeep = ui::named(new QLabel(QStringLiteral("Member &number"), keepGroup), "lblKeep");
    txtKeep = ui::named(new QLineEdit(keepGroup), "txtKeep");
    lblKeepName = ui::named(new ui::ElidedLabel(keepGroup, 40), "lblKeepName");
    lblKeepAddress = ui::named(new ui::ElidedLabel(keepGroup, 40), "lblKeepAddress");
    lblKeepDonations = ui::named(new QLabel(keepGroup), "lblKeepDonations");
    lblMerge = ui::named(new QLabel(QStringLiteral("Member n&umber"), mergeGroup), "lblMerge");
    txtMerge = ui::named(new QLineEdit(mergeGroup), "txtMerge");
    lblMergeName = ui::named(new ui::ElidedLabel(mergeGroup, 40), "lblMergeName");
    lblMergeAddress = ui::named(new ui::ElidedLabel(mergeGroup, 40), "lblMergeAddress");
    lblMergeDonations = ui::named(new QLabel(mergeGroup), "lblMergeDonations");
    lblKeep->setBuddy(txtKeep);
    lblMerge->setBuddy(txtMerge);
    for (QLineEdit* box : {txtKeep, txtMerge}) {
        box->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,15}")), box));
        box->setMaximumWidth(box->fontMetrics().horizontalAdvance(u'0') * 12);
    }
    const auto lay = [](QGroupBox* group, QLabel* caption, QLineEdit* box, QLabel* name, QLabel* address, QLabel* count) {
        auto* grid = new QGridLayout(group);
        grid->addWidget(caption, 0, 0);
        grid->addWidget(box, 0, 1, Qt::AlignLeft);
        grid->addWidget(name, 1, 0, 1, 2);
        grid->addWidget(address, 2, 0, 1, 2);
        grid->addWidget(count, 3, 0, 1, 2);
        grid->setColumnStretch(1, 1);
    };
    lay(keepGroup, lblKeep, txtKeep, lblKeepName, lblKeepAddress, lblKeepDonations);
    lay(mergeGroup, lblMerge, txtMerge, lblMergeName, lblMergeAddress, lblMergeDonations);

    cmdOK = ui::named(new QPushButton(QStringLiteral("&Merge"), this), "cmdOK");
    cmdCancel = ui::named(new QPushButton(QStringLiteral("&Cancel"), this), "cmdCancel");
    // Enter in a box must not merge before the user has seen whom the number names.
    for (QPushButton* b : {cmdOK, cmdCancel}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* groups = new QHBoxLayout;
    groups->addWidget(keepGroup);
    groups->addWidget(mergeGroup);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(intro);
    outer->addLayout(groups);
    outer->addLayout(buttons);
    setMinimumWidth(560);

    connect(txtKeep, &QLineEdit::textChanged, this, [this] { txtKeep_Change(); });
    connect(txtMerge, &QLineEdit::textChanged, this, [this] { txtMerge_Change(); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });

    if (current > 0)
        txtKeep->setText(QString::number(current));
    showMember({txtKeep, lblKeepName, lblKeepAddress, lblKeepDonations});
    showMember({txtMerge, lblMergeName, lblMergeAddress, lblMergeDonations});
    txtMerge->setFocus();
}

void MergeMembers::showMember(const Side& side)
{
    side.name->clear();
    side.address->clear();
    side.donations->clear();
    const std::optional<std::int64_t> id = typedNumber(side.box);
    if (!id || !database_)
        return;
    try {
        const std::optional<records::MemberSummary> member = records::readMemberSummary(*database_, *id);
        if (!member) {
            side.name->setText(QStringLiteral("No member %1").arg(*id));
            return;
        }
        side.name->setText(member->name);
        side.address->setText(member->address);
        side.donations->setText(member->donations == 1 ? QStringLiteral("1 donation")
                                                       : QStringLiteral("%1 donations").arg(member->donations));
    } catch (const std::exception&) {
        // Only a preview: Merge reads both members again and tells what the file refused.
        side.name->setText(QStringLiteral("(cannot be read)"));
    }
}

void MergeMembers::txtKeep_Change()
{
    showMember({txtKeep, lblKeepName, lblKeepAddress, lblKeepDonations});
}

void MergeMembers::txtMerge_Change()
{
    showMember({txtMerge, lblMergeName, lblMergeAddress, lblMergeDonations});
}

void MergeMembers::cmdOK_Click()
{
    if (!readMembers() || !allowed() || !confirmed() || !writeMerge())
        return;
    S.DialogCancelled = false;
    accept();
}

// The counts in the question must be those the write moves: both members are read again.
bool MergeMembers::readMembers()
{
    keep_.reset();
    merge_.reset();
    try {
        if (const auto id = typedNumber(txtKeep))
            keep_ = records::readMemberSummary(*database_, *id);
        if (const auto id = typedNumber(txtMerge))
            merge_ = records::readMemberSummary(*database_, *id);
    } catch (const std::exception& e) {
        S.LastAnswer = ui::dataError(QStringLiteral("The members could not be read: nothing has been changed.\n\n%1").arg(jet::reasonOf(e)));
        return false;
    }
    return true;
}

bool MergeMembers::allowed()
{
    const std::optional<QString> refusal = records::mergeRefusal(keep_, merge_);
    if (!refusal)
        return true;
    S.LastAnswer = ui::message(ui::Beep::Yes, *refusal, ui::Buttons::OKOnly, ui::Icon::Exclamation, QStringLiteral("Merge Members"));
    QLineEdit* wrong = keep_ ? txtMerge : txtKeep;
    wrong->setFocus();
    wrong->selectAll();
    return false;
}

bool MergeMembers::confirmed()
{
    S.LastAnswer = ui::message(ui::Beep::No, records::mergeQuestion(*keep_, *merge_), ui::Buttons::YesNo, ui::Icon::Question,
                               QStringLiteral("Merge Members"));
    return S.LastAnswer == ui::Yes;
}

bool MergeMembers::writeMerge()
{
    try {
        movedDonations = records::mergeMembers(*database_, keep_->id, merge_->id);
    } catch (const std::exception& e) {
        S.LastAnswer = ui::dataError(QStringLiteral("The members were not merged: nothing has been changed.\n\n%1").arg(jet::reasonOf(e)));
        return false;
    }
    keptMember = keep_->id;
    return true;
}

void MergeMembers::cmdCancel_Click()
{
    reject();
}

void MergeMembers::reject()
{
    S.DialogCancelled = true;
    QDialog::reject();
}
