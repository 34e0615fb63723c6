#include "db/import_preview.h"

#include "frame/main_state.h"
#include "platform/vb/format.h"
#include "platform/vb/value.h"

#include <QAbstractTableModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>

namespace {

using db::import::Field;

QString count(std::int64_t n)
{
    return n == 0 ? QStringLiteral("0") : vb::format(vb::Value(static_cast<double>(n)), u"##,###");
}

// The refused lines straight from the plan: a million of them cost no widget item each.
class ProblemModel : public QAbstractTableModel {
public:
    ProblemModel(const std::vector<db::import::Problem>& problems, QObject* parent)
        : QAbstractTableModel(parent), problems_(problems)
    {
    }
    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(std::min<std::size_t>(problems_.size(), INT_MAX));
    }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 2; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        const auto& p = problems_[static_cast<std::size_t>(index.row())];
        return index.column() == 0 ? QVariant(static_cast<qlonglong>(p.line)) : QVariant(p.reason);
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
            return {};
        return section == 0 ? QStringLiteral("Line") : QStringLiteral("Why it cannot be imported");
    }

private:
    const std::vector<db::import::Problem>& problems_;
};

QTableWidget* makeTable(QWidget* parent, const char* name, const QStringList& headers)
{
    auto* table = new QTableWidget(0, static_cast<int>(headers.size()), parent);
    table->setObjectName(QLatin1String(name));
    table->setHorizontalHeaderLabels(headers);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->hide();
    return table;
}

void setCell(QTableWidget* table, int row, int column, const QString& text)
{
    table->setItem(row, column, new QTableWidgetItem(text));
}

} // namespace

ImportPreview::ImportPreview(MainState& S, const db::import::Plan& plan, QWidget* parent) : QDialog(parent), S(S)
{
    const bool members = plan.kind == db::import::Kind::Members;
    setObjectName(QStringLiteral("ImportPreview"));
    setWindowTitle(members ? QStringLiteral("Import Members") : QStringLiteral("Import Donations"));

    const std::int64_t refused = static_cast<std::int64_t>(plan.problems.size());
    QString summary = QStringLiteral("%1 of %2 lines can be imported as %3.")
                          .arg(count(plan.importable()), count(plan.lines), members ? QStringLiteral("members") : QStringLiteral("donations"));
    if (refused > 0)
        summary += QStringLiteral(" %1 cannot and will be left out.").arg(count(refused));
    if (!plan.newDestinations.isEmpty())
        summary += QStringLiteral(" New funds for the destination list: %1.").arg(plan.newDestinations.join(QStringLiteral(", ")));
    summary += plan.encoding == db::csv::Encoding::Utf8 ? QStringLiteral(" (Read as UTF-8.)") : QStringLiteral(" (Read as Windows-1252.)");
    lblSummary = new QLabel(summary, this);
    lblSummary->setObjectName(QStringLiteral("lblSummary"));
    lblSummary->setWordWrap(true);

    grdColumns = makeTable(this, "grdColumns", {QStringLiteral("Column in the file"), QStringLiteral("Imported as")});
    grdColumns->setRowCount(static_cast<int>(plan.header.size()));
    for (int i = 0; i < plan.header.size(); ++i) {
        setCell(grdColumns, i, 0, plan.header[i]);
        QString feeds = QStringLiteral("(ignored)");
        for (int f = 0; f < db::import::kFieldCount; ++f)
            if (plan.columns.column[static_cast<std::size_t>(f)] == i)
                feeds = db::import::fieldCaption(static_cast<Field>(f));
        setCell(grdColumns, i, 1, feeds);
    }
    grdColumns->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);

    grdRows = makeTable(this, "grdRows", plan.header);
    grdRows->setRowCount(static_cast<int>(plan.firstRows.size()));
    for (std::size_t r = 0; r < plan.firstRows.size(); ++r)
        for (int c = 0; c < plan.header.size(); ++c)
            setCell(grdRows, static_cast<int>(r), c, plan.firstRows[r].value(c));
    grdRows->resizeColumnsToContents();

    lblProblems = new QLabel(refused > 0 ? QStringLiteral("Lines that cannot be imported:") : QStringLiteral("Every line can be imported."), this);
    lblProblems->setObjectName(QStringLiteral("lblProblems"));
    grdProblems = new QTableView(this);
    grdProblems->setObjectName(QStringLiteral("grdProblems"));
    grdProblems->setModel(new ProblemModel(plan.problems, grdProblems));
    grdProblems->verticalHeader()->hide();
    grdProblems->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grdProblems->horizontalHeader()->setStretchLastSection(true);
    grdProblems->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdProblems->setColumnWidth(0, 70);

    cmdImport = new QPushButton(QStringLiteral("&Import"), this);
    cmdImport->setObjectName(QStringLiteral("cmdImport"));
    cmdImport->setEnabled(plan.importable() > 0);
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setDefault(true);
    connect(cmdImport, &QPushButton::clicked, this, [this] { cmdImport_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });

    auto* columnsLabel = new QLabel(QStringLiteral("Columns:"), this);
    columnsLabel->setObjectName(QStringLiteral("lblColumns"));
    auto* rowsLabel = new QLabel(QStringLiteral("First lines of the file:"), this);
    rowsLabel->setObjectName(QStringLiteral("lblRows"));
    auto* top = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(columnsLabel);
    left->addWidget(grdColumns);
    auto* right = new QVBoxLayout;
    right->addWidget(rowsLabel);
    right->addWidget(grdRows);
    top->addLayout(left, 1);
    top->addLayout(right, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdImport);
    buttons->addWidget(cmdCancel);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(lblSummary);
    outer->addLayout(top, 3);
    outer->addWidget(lblProblems);
    outer->addWidget(grdProblems, 2);
    outer->addLayout(buttons);
    resize(900, 600);
}

void ImportPreview::cmdImport_Click()
{
    S.DialogCancelled = false;
    accept();
}

void ImportPreview::cmdCancel_Click()
{
    reject();
}

void ImportPreview::reject()
{
    S.DialogCancelled = true;
    QDialog::reject();
}
