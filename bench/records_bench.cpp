// The donation grid at the scale of a large organisation (100,000 members, 1,000,000 donations),
// through the real main window under the offscreen platform, in Executive mode's state:
//   - a member change by the navigator's Next button: the donation query, the totals and the
//     grid's reset, as the member reposition does them;
//   - List View's grid over every donation: reading the cells of 50 rows at a random place (what
//     the grid asks for when it is scrolled there), and the same with the scroll bar moved and
//     the grid painted.
//
//   records_bench [rounds]        QUIL_BENCH_FILE=/path/file.qdb names the demo file
#include "app/install_commands.h"
#include "db/file_commands.h"
#include "frame/frm_main.h"
#include "platform/dao/engine.h"
#include "platform/dao/recordset.h"
#include "platform/data/data_control.h"
#include "platform/data/grid_model.h"
#include "records/records_commands.h"
#include "timing.h"
#include "window_bench.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QScrollBar>
#include <QTableView>
#include <QToolButton>
#include <algorithm>
#include <cstdio>
#include <random>

namespace {

void print(const char* what, const bench::Figures& figures, double target)
{
    std::printf("%-62s %8.3f ms %8.3f ms %8.3f ms   (target %.0f ms)\n", what, figures.median(), figures.at(0.95),
                figures.worst(), target);
}

} // namespace

int main(int argc, char** argv)
{
    const bench::WindowBench run(argc, argv, 2000);
    const QString& file = run.file();
    const int rounds = run.rounds();

    frmMain f;
    InstallCommands(f);
    if (!f.Form_Load(QString()))
        return 1;
    f.resize(1024, 768);
    f.show();
    QApplication::processEvents();
    f.S.DbFileName = file;
    f.files->mnuFileOpen_Click();
    if (f.S.OpenDbPath != file) {
        std::fprintf(stderr, "the file did not open\n");
        return 1;
    }
    // Executive mode's state: grid shown, totals computed.
    f.S.StandardMode = false;
    for (QWidget* field : f.txtFields)
        field->setEnabled(true);
    f.grdDataGrid->show();
    f.records->RequeryView();
    QApplication::processEvents();

    // (a) Member changes, from the first member on.
    auto* next = f.datPrimaryRS->findChild<QToolButton*>(QStringLiteral("datPrimaryRS_next"));
    f.datPrimaryRS->moveFirst();
    bench::Figures memberChange;
    int donationsSeen = 0;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer t;
        t.start();
        next->click();
        memberChange.add(bench::msSince(t));
        donationsSeen += f.datSecondaryRS->recordset()->recordCount();
    }
    const QString lastTotal = f.Label7->text();

    // (b) List View over every donation, as the List View command leaves the state.
    QElapsedTimer load;
    load.start();
    f.S.DonationSelect = QStringLiteral(
        "select [PaymentID],[PaymentAmount],[CheckNumber],[Destination],[PaymentDate], [MemberID] from [Payments]");
    f.S.GridQueryState = 7;
    f.records->RequeryView();
    const double loadMs = bench::msSince(load);
    auto* model = qobject_cast<data::GridModel*>(f.grdDataGrid->model());
    const int rows = model->rowCount();
    if (f.datSecondaryRS->recordSource()
        != QStringLiteral("select [PaymentID],[PaymentAmount],[CheckNumber],[Destination],[PaymentDate], [MemberID] "
                          "from [Payments] Order by  PaymentDate")
        || rows < 1000) {
        std::fprintf(stderr, "List View did not load the list (%d rows)\n", rows);
        return 1;
    }

    std::mt19937 random(42);
    bench::Figures read50;
    std::size_t characters = 0;
    for (int i = 0; i < rounds; ++i) {
        const int top = static_cast<int>(random() % static_cast<unsigned>(rows - 50));
        QElapsedTimer t;
        t.start();
        for (int r = top; r < top + 50; ++r)
            for (int c = 0; c < model->columnCount(); ++c)
                characters += static_cast<std::size_t>(model->data(model->index(r, c)).toString().size());
        read50.add(bench::msSince(t));
    }

    QScrollBar* bar = f.grdDataGrid->verticalScrollBar();
    bench::Figures scrollPaint;
    for (int i = 0; i < std::min(rounds, 500); ++i) {
        const int top = static_cast<int>(random() % static_cast<unsigned>(bar->maximum()));
        QElapsedTimer t;
        t.start();
        bar->setValue(top);
        f.grdDataGrid->viewport()->repaint();
        scrollPaint.add(bench::msSince(t));
    }

    std::printf("%-62s %11s %11s %11s\n", "operation", "median", "95%", "worst");
    print("member change (Next): donation query, totals, grid reset", memberChange, 3);
    print("List View grid: cells of 50 rows at a random place", read50, 2);
    print("List View grid: scroll bar to a random place and paint", scrollPaint, 16);
    std::printf("(%d rounds; %d donations seen over the member changes, last total %s;\n"
                " List View of %d rows loaded in %.1f ms, once; model keeps %d rows; %zu characters read)\n",
                rounds, donationsSeen, qPrintable(lastTotal), rows, loadMs, model->cachedRowCount(), characters);
    f.Form_Unload();
    return 0;
}
