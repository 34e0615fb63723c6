#include "reports/printouts.h"

#include "frame/main_state.h"
#include "platform/dao/recordset.h"
#include "platform/data/data_control.h"
#include "platform/jet/text_fold.h"
#include "platform/ui/object_names.h"
#include "platform/ui/ui.h"
#include "platform/vb/convert.h"
#include "platform/vb/skip_on_failure.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace reports {

QString memberEntryText(const QString& lastName, const QString& firstName, std::int64_t memberId)
{
    return lastName + QStringLiteral(", ") + firstName + QStringLiteral(" \\") + QString::number(memberId);
}

} // namespace reports

using namespace reports;

namespace {

struct Entry {
    QString text;
    std::int64_t id = 0;
};

// The list is kept in alphabetical order, as a sorted list box keeps it, in the file's own
// collation: the names stand as every sort and index of the file has them.
void sortEntries(std::vector<Entry>& entries)
{
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return jet::compareFolded(a.text, b.text) < 0; });
}

} // namespace

Printouts::Printouts(MainState& S, std::shared_ptr<dao::Database> db, QWidget* parent)
    : QDialog(parent), S(S), db_(std::move(db))
{
    setObjectName(QStringLiteral("Printouts"));
    setWindowTitle(QStringLiteral("Select Report"));
    createControls();
    layOutControls();
    for (int i = 0; i < 5; ++i)
        connect(PrnOp[static_cast<std::size_t>(i)], &QRadioButton::clicked, this, [this, i] { PrnOp_Click(i); });
    connect(PrnList, &QListWidget::itemSelectionChanged, this, [this] {
        if (!loading_)
            PrnList_Click();
    });
    connect(Check1, &QCheckBox::clicked, this, [this] { Check1_Click(); });
    connect(Check2, &QCheckBox::clicked, this, [this] { Check2_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    Form_Load();
}

Printouts::~Printouts() = default;

void Printouts::createControls()
{
    static constexpr std::array<const char*, 5> kTypes{
        "&Member Statements", "&Accountant Statement", "Ca&tegory Statements", "Current &Filtered Statement",
        "Create Mail Merge &Data File"};
    Frame2 = ui::named(new QGroupBox(QStringLiteral("Type of Report"), this), QStringLiteral("Frame2"));
    for (int i = 0; i < 5; ++i)
        PrnOp[static_cast<std::size_t>(i)] =
            ui::named(new QRadioButton(QLatin1String(kTypes[static_cast<std::size_t>(i)]), Frame2), ui::elementName("PrnOp", i));

    Frame1 = ui::named(new QGroupBox(QStringLiteral("Select Items to Print"), this), QStringLiteral("Frame1"));
    PrnList = ui::named(new QListWidget(Frame1), QStringLiteral("PrnList"));
    PrnList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    PrnList->setUniformItemSizes(true);  // a hundred thousand members lay out at once
    QPalette grey = PrnList->palette();
    grey.setColor(QPalette::Base, QColor(0xE0, 0xE0, 0xE0));
    PrnList->setPalette(grey);
    Check1 = ui::named(new QCheckBox(QStringLiteral("Select All &Entries"), Frame1), QStringLiteral("Check1"));
    Label1[0] = ui::named(new QLabel(QStringLiteral("Hold down the SHIFT key to select a range of items with a left mouse click."), Frame1),
                      ui::elementName("Label1", 0));
    Label1[1] = ui::named(new QLabel(QStringLiteral("Hold down the CTRL key to select multiple items with a left mouse click."), Frame1),
                      ui::elementName("Label1", 1));
    for (QLabel* hint : Label1)
        hint->setWordWrap(true);

    Frame3 = ui::named(new QGroupBox(QStringLiteral("Dates"), this), QStringLiteral("Frame3"));
    Check2 = ui::named(new QCheckBox(QStringLiteral("&Select All Dates"), Frame3), QStringLiteral("Check2"));
    const char* const dateCaptions[] = {"From", "To"};
    for (int i = 0; i < 2; ++i) {
        const auto k = static_cast<std::size_t>(i);
        Label3[k] = ui::named(new QLabel(QLatin1String(dateCaptions[k]), Frame3), ui::elementName("Label3", i));
        P_Date[k] = ui::named(new QLineEdit(Frame3), ui::elementName("P_Date", i));
        Label3[k]->setBuddy(P_Date[k]);
    }

    Command1 = ui::named(new QPushButton(QStringLiteral("&OK"), this), QStringLiteral("Command1"));
    Command2 = ui::named(new QPushButton(QStringLiteral("&Cancel"), this), QStringLiteral("Command2"));
    for (QPushButton* b : {Command1, Command2}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }

    // The busy panel while the destinations are queried, and the progress while members load.
    Picture2 = ui::named(new QFrame(this), QStringLiteral("Picture2"));
    Picture2->setFrameShape(QFrame::Panel);
    Picture2->setFrameShadow(QFrame::Raised);
    Picture2->setAutoFillBackground(true);
    Label9 = ui::named(new QLabel(QStringLiteral("Querying Database..."), Picture2), QStringLiteral("Label9"));
    Label9->setAlignment(Qt::AlignCenter);
    AniNumOne = ui::named(new QProgressBar(Picture2), QStringLiteral("AniNumOne"));
    AniNumOne->setTextVisible(false);
    auto* busy = new QVBoxLayout(Picture2);
    busy->addWidget(AniNumOne);
    busy->addWidget(Label9);

    AddPic = ui::named(new QFrame(this), QStringLiteral("AddPic"));
    AddPic->setFrameShape(QFrame::Panel);
    AddPic->setFrameShadow(QFrame::Raised);
    AddPic->setAutoFillBackground(true);
    ProgressBar1 = ui::named(new QProgressBar(AddPic), QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setTextVisible(false);
    Label2[0] = ui::named(new QLabel(QStringLiteral("BLANK"), AddPic), ui::elementName("Label2", 0));
    Label2[1] = ui::named(new QLabel(QStringLiteral("0"), AddPic), ui::elementName("Label2", 1));
    auto* progress = new QVBoxLayout(AddPic);
    auto* labels = new QHBoxLayout;
    labels->addWidget(Label2[0]);
    labels->addStretch(1);
    labels->addWidget(Label2[1]);
    progress->addLayout(labels);
    progress->addWidget(ProgressBar1);

    datPRINTrs = ui::named(new data::DataControl(this), QStringLiteral("datPRINTrs"));
    datPRINTrs->hide();
}

void Printouts::layOutControls()
{
    auto* types = new QVBoxLayout(Frame2);
    for (QRadioButton* option : PrnOp)
        types->addWidget(option);
    types->addStretch(1);

    auto* items = new QVBoxLayout(Frame1);
    items->addWidget(PrnList, 1);
    items->addWidget(Check1);
    for (QLabel* hint : Label1)
        items->addWidget(hint);

    auto* dates = new QGridLayout(Frame3);
    dates->addWidget(Check2, 0, 0, 1, 2);
    for (int i = 0; i < 2; ++i) {
        dates->addWidget(Label3[static_cast<std::size_t>(i)], i + 1, 0);
        dates->addWidget(P_Date[static_cast<std::size_t>(i)], i + 1, 1);
    }

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    buttons->addStretch(1);

    auto* left = new QVBoxLayout;
    left->addWidget(Frame2);
    left->addWidget(Frame3);
    left->addStretch(1);

    auto* outer = new QHBoxLayout(this);
    outer->addLayout(left);
    outer->addWidget(Frame1, 1);
    outer->addLayout(buttons);
    resize(720, 420);
}

void Printouts::Form_Load()
{
    S.ReportType = NoReportChosen;
    Check1->setEnabled(false);
    Check2->setChecked(true);
    for (QLineEdit* box : P_Date)
        box->setEnabled(false);
    Command1->setEnabled(false);
    Picture2->hide();
    AddPic->hide();
}

bool Printouts::allDates() const
{
    return Check2->isChecked();
}

std::vector<std::int64_t> Printouts::selectedMemberIds() const
{
    std::vector<std::int64_t> ids;
    for (int i = 0; i < PrnList->count(); ++i)
        if (const QListWidgetItem* item = PrnList->item(i); item->isSelected())
            ids.push_back(item->data(kMemberIdRole).toLongLong());
    return ids;
}

QStringList Printouts::selectedDestinations() const
{
    QStringList destinations;
    for (int i = 0; i < PrnList->count(); ++i)
        if (const QListWidgetItem* item = PrnList->item(i); item->isSelected())
            destinations << item->text();
    return destinations;
}

void Printouts::PrnOp_Click(int Index)
{
    ui::Ui& u = ui::current();
    u.setBusyPointer(true);
    loading_ = true;
    PrnList->clear();
    Command1->setEnabled(false);
    Command2->setEnabled(false);
    PrnList->setEnabled(true);
    Label2[0]->setText(QStringLiteral("Adding Entries"));
    u.processEvents();
    Check2->setEnabled(true);

    switch (Index) {
    case MemberStatements:
        FillRs();
        break;
    case AccountantStatement:
        // The statement covers every donation.
        PrnList->setEnabled(false);
        Command1->setEnabled(true);
        break;
    case CategoryStatements:
        FillDestinations();
        break;
    case CurrentFilteredStatement:
        // The statement covers what the filters in force select.
        Command1->setEnabled(true);
        break;
    case MailMergeFile:
        Check2->setEnabled(false);
        FillRs();
        break;
    default:
        break;
    }
    loading_ = false;
    S.ReportType = static_cast<std::int16_t>(Index);

    if (PrnList->count() > 0) {
        Check1->setEnabled(true);
    } else {
        Check1->setChecked(false);
        Check1->setEnabled(false);
    }
    Check2_Click();
    AddPic->hide();
    Command2->setEnabled(true);
    u.setBusyPointer(false);
    datPRINTrs->setRecordset(nullptr);
}

// Every member as an entry "Last, First \id", in alphabetical order; the progress shows how
// many have been read. A member that cannot be read is left out and the loading goes on.
void Printouts::FillRs()
{
    if (!db_)
        return;
    datPRINTrs->setDatabase(db_);
    AddPic->show();
    AddPic->raise();
    std::vector<Entry> entries;
    skipOnFailure([&] {
        datPRINTrs->setRecordSource(QStringLiteral("SELECT [MemberID], [LastName], [FirstName] FROM [members] "));
        datPRINTrs->refresh();
    });
    dao::Recordset* rs = datPRINTrs->recordset();
    if (rs) {
        int total = 0;
        skipOnFailure([&] { total = rs->positionCount(); });
        entries.reserve(static_cast<std::size_t>(total));
        int shown = -1;
        for (int i = 0; i < total; ++i) {
            const int percent = static_cast<int>(std::lround(100.0 * (i + 1) / total));
            if (percent != shown) {
                shown = percent;
                Label2[1]->setText(QString::number(percent) + u'%');
                Label2[1]->repaint();
                UpdateStatus(percent);
            }
            skipOnFailure([&] {
                if (const auto row = rs->rowAt(i))
                    entries.push_back({memberEntryText((*row)[1].toText(), (*row)[2].toText(), (*row)[0].toLong()),
                                       (*row)[0].toLong()});
            });
        }
    }
    sortEntries(entries);
    PrnList->setUpdatesEnabled(false);
    for (Entry& e : entries) {
        auto* item = new QListWidgetItem(e.text);
        item->setData(kMemberIdRole, QVariant::fromValue<qlonglong>(e.id));
        PrnList->addItem(item);
    }
    PrnList->setUpdatesEnabled(true);
}

// Every destination the donations name, once.
void Printouts::FillDestinations()
{
    if (!db_)
        return;
    datPRINTrs->setDatabase(db_);
    skipOnFailure([&] {
        datPRINTrs->setRecordSource(QStringLiteral("Payments"));
        datPRINTrs->refresh();
    });
    Picture2->show();
    Picture2->raise();
    AniNumOne->setRange(0, 0);
    ui::current().processEvents();
    std::vector<Entry> entries;
    skipOnFailure([&] {
        datPRINTrs->setRecordSource(QStringLiteral("SELECT DISTINCT [Destination] FROM [Payments]"));
        datPRINTrs->refresh();
    });
    if (dao::Recordset* rs = datPRINTrs->recordset()) {
        int total = 0;
        skipOnFailure([&] { total = rs->positionCount(); });
        for (int i = 0; i < total; ++i)
            skipOnFailure([&] {
                if (const auto row = rs->rowAt(i); row && !row->front().isNull())
                    entries.push_back({row->front().toText(), 0});
            });
    }
    sortEntries(entries);
    for (const Entry& e : entries)
        PrnList->addItem(e.text);
    Picture2->hide();
    AniNumOne->setRange(0, 1);
}

void Printouts::UpdateStatus(int percent)
{
    ProgressBar1->setValue(percent > 100 ? 0 : percent);
}

void Printouts::PrnList_Click()
{
    Command1->setEnabled(true);
}

void Printouts::Check1_Click()
{
    // Hidden while every entry changes, so it repaints once.
    PrnList->hide();
    if (Check1->isChecked())
        PrnList->selectAll();
    else
        PrnList->clearSelection();
    PrnList->show();
}

void Printouts::Check2_Click()
{
    bool all = Check2->isChecked();
    if (!all && S.ReportType == CurrentFilteredStatement) {
        // The filtered statement covers every date: its dates come from the donation filter.
        Check2->setChecked(true);
        all = true;
    }
    for (QLineEdit* box : P_Date)
        box->setEnabled(!all);
}

bool Printouts::readDates()
{
    if (Check2->isChecked())
        return true;
    const auto from = vb::readDate(P_Date[0]->text());
    const auto to = vb::readDate(P_Date[1]->text());
    // A range that ends before it starts covers no donation: the statements would say the
    // donors gave nothing.
    if (!from || !to || from->date() > to->date()) {
        S.LastAnswer = ui::message(ui::Beep::No, QStringLiteral("Date(s) Not valid"), ui::Buttons::OKOnly, ui::Icon::None,
                                   S.AppTitle);
        return false;
    }
    S.ReportFromDate = *from;
    S.ReportToDate = *to;
    return true;
}

void Printouts::Command1_Click()
{
    if (!readDates())
        return;
    S.DialogCancelled = false;
    accept();
}

void Printouts::Command2_Click()
{
    S.DialogCancelled = true;
    QDialog::reject();
}

void Printouts::reject()
{
    Command2_Click();
}
