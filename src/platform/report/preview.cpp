#include "preview.h"

#include "export_pages_dialog.h"
#include "page_view.h"
#include "render.h"
#include "report_error.h"
#include "platform/jet/db_error.h"
#include "platform/ui/save_target.h"
#include "platform/ui/ui.h"
#include "platform/ui/work_progress.h"

#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

namespace report {

namespace {

constexpr int kTwipsPerScreenPixel = 15;
constexpr int kSmallerThanMain = 100;  // twips
const QSize kSmallest(480, 360);

QToolButton* button(QWidget* parent, const char* name, const QString& text, const QString& tip)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setText(text);
    b->setToolTip(tip);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    b->setFocusPolicy(Qt::TabFocus);
    return b;
}

} // namespace

QSize ReportPreview::sizeFor(const QRect& main)
{
    // Halves round to even, as the program's twips conversions do: 100 twips are 7 pixels.
    const int less = static_cast<int>(std::nearbyint(double(kSmallerThanMain) / kTwipsPerScreenPixel));
    return QSize(std::max(kSmallest.width(), main.width() - less), std::max(kSmallest.height(), main.height() - less));
}

ReportPreview::ReportPreview(const Pages& report, const QString& caption, const QRect& mainWindowGeometry, QWidget* parent)
    : QDialog(parent), report_(report)
{
    setObjectName(report.name());
    setWindowTitle(caption);
    setModal(true);
    createControls();
    const QSize size = sizeFor(mainWindowGeometry);
    resize(size);
    if (mainWindowGeometry.isValid())
        move(mainWindowGeometry.center() - QPoint(size.width() / 2, size.height() / 2));
    cboZoom->setCurrentIndex(static_cast<int>(Zoom::PageWidth));
    zoom_ = Zoom::PageWidth;
    guarded([&] { showPage(1); });
    picPage->setFocus();
}

ReportPreview::~ReportPreview() = default;

int ReportPreview::pageCount() const
{
    return report_.pageCount();
}

void ReportPreview::createControls()
{
    cmdFirst = button(this, "cmdFirst", QStringLiteral("|<"), QStringLiteral("First page (Home)"));
    cmdPrevious = button(this, "cmdPrevious", QStringLiteral("<"), QStringLiteral("Previous page (Page Up)"));
    cmdNext = button(this, "cmdNext", QStringLiteral(">"), QStringLiteral("Next page (Page Down)"));
    cmdLast = button(this, "cmdLast", QStringLiteral(">|"), QStringLiteral("Last page (End)"));
    txtPage = new QLineEdit(this);
    txtPage->setObjectName(QStringLiteral("txtPage"));
    txtPage->setValidator(new QIntValidator(1, std::max(1, report_.pageCount()), txtPage));
    txtPage->setAlignment(Qt::AlignRight);
    txtPage->setMaximumWidth(txtPage->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 12);
    lblPages = new QLabel(QStringLiteral("of %1").arg(report_.pageCount()), this);
    lblPages->setObjectName(QStringLiteral("lblPages"));
    cboZoom = new QComboBox(this);
    cboZoom->setObjectName(QStringLiteral("cboZoom"));
    cboZoom->addItems({QStringLiteral("Whole Page"), QStringLiteral("Page Width"), QStringLiteral("100%")});
    cmdPrint = button(this, "cmdPrint", QStringLiteral("&Print..."), QStringLiteral("Print (Ctrl+P)"));
    cmdExport = button(this, "cmdExport", QStringLiteral("&Export to PDF..."), QStringLiteral("Export to PDF"));
    cmdClose = button(this, "cmdClose", QStringLiteral("&Close"), QStringLiteral("Close (Esc)"));

    picPage = new PageView;
    picPage->setObjectName(QStringLiteral("picPage"));
    picPage->setFocusPolicy(Qt::StrongFocus);
    scrPage = new QScrollArea(this);
    scrPage->setObjectName(QStringLiteral("scrPage"));
    scrPage->setFocusPolicy(Qt::NoFocus);
    scrPage->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    scrPage->setBackgroundRole(QPalette::Dark);
    scrPage->setWidget(picPage);

    auto* bar = new QHBoxLayout;
    bar->addWidget(cmdFirst);
    bar->addWidget(cmdPrevious);
    bar->addWidget(new QLabel(QStringLiteral("Page"), this));
    bar->addWidget(txtPage);
    bar->addWidget(lblPages);
    bar->addWidget(cmdNext);
    bar->addWidget(cmdLast);
    bar->addSpacing(16);
    bar->addWidget(new QLabel(QStringLiteral("Zoom"), this));
    bar->addWidget(cboZoom);
    bar->addSpacing(16);
    bar->addWidget(cmdPrint);
    bar->addWidget(cmdExport);
    bar->addStretch();
    bar->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(bar);
    layout->addWidget(scrPage, 1);

    connect(cmdFirst, &QToolButton::clicked, this, [this] { cmdFirst_Click(); });
    connect(cmdPrevious, &QToolButton::clicked, this, [this] { cmdPrevious_Click(); });
    connect(cmdNext, &QToolButton::clicked, this, [this] { cmdNext_Click(); });
    connect(cmdLast, &QToolButton::clicked, this, [this] { cmdLast_Click(); });
    connect(txtPage, &QLineEdit::returnPressed, this, [this] { txtPage_Enter(); });
    connect(cboZoom, &QComboBox::activated, this, [this](int index) { setZoom(static_cast<Zoom>(index)); });
    connect(cmdPrint, &QToolButton::clicked, this, [this] { cmdPrint_Click(); });
    connect(cmdExport, &QToolButton::clicked, this, [this] { cmdExport_Click(); });
    connect(cmdClose, &QToolButton::clicked, this, [this] { reject(); });

    installEventFilter(this);
    for (QWidget* w : findChildren<QWidget*>())
        w->installEventFilter(this);
}

template <class F>
void ReportPreview::guarded(F&& handler)
{
    try {
        handler();
    } catch (const jet::DbError& e) {
        ui::current().setBusyPointer(false);
        ui::dataError(e.reason());
    } catch (const ReportError& e) {
        ui::current().setBusyPointer(false);
        ui::message(ui::Beep::Yes, e.message(), ui::Buttons::OKOnly, ui::Icon::Critical, QStringLiteral("QUIL"));
    } catch (const std::exception& e) {
        ui::current().setBusyPointer(false);
        ui::message(ui::Beep::Yes, QString::fromLocal8Bit(e.what()), ui::Buttons::OKOnly, ui::Icon::Critical,
                    QStringLiteral("QUIL"));
    }
}

void ReportPreview::showPage(int number)
{
    number = std::clamp(number, 1, std::max(1, pageCount()));
    picPage->setPage(report_.page(number));
    current_ = number;
    applyZoom();
    refreshNavigation();
    scrPage->verticalScrollBar()->setValue(0);
}

void ReportPreview::refreshNavigation()
{
    txtPage->setText(QString::number(current_));
    cmdFirst->setEnabled(current_ > 1);
    cmdPrevious->setEnabled(current_ > 1);
    cmdNext->setEnabled(current_ < pageCount());
    cmdLast->setEnabled(current_ < pageCount());
}

void ReportPreview::setZoom(Zoom zoom)
{
    zoom_ = zoom;
    cboZoom->setCurrentIndex(static_cast<int>(zoom));
    applyZoom();
}

void ReportPreview::applyZoom()
{
    const QSize paper = report_.paper();
    const int margin = 2 * PageView::kMargin;
    const QSize room = scrPage->viewport()->size();
    double scale = logicalDpiX() / double(kTwipsPerInch);
    switch (zoom_) {
    case Zoom::WholePage:
        scale = std::min(double(room.width() - margin) / paper.width(), double(room.height() - margin) / paper.height());
        break;
    case Zoom::PageWidth: {
        // The vertical scroll bar the page will need takes its share of the width.
        const int bar = scrPage->verticalScrollBar()->sizeHint().width();
        const int width = scrPage->width() - 2 * scrPage->frameWidth() - bar;
        scale = double(width - margin) / paper.width();
        break;
    }
    case Zoom::Actual:
        break;
    }
    picPage->setScale(std::max(scale, 0.005));
}

void ReportPreview::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (picPage)
        applyZoom();
}

void ReportPreview::cmdFirst_Click()
{
    guarded([&] { showPage(1); });
}

void ReportPreview::cmdPrevious_Click()
{
    guarded([&] { showPage(current_ - 1); });
}

void ReportPreview::cmdNext_Click()
{
    guarded([&] { showPage(current_ + 1); });
}

void ReportPreview::cmdLast_Click()
{
    guarded([&] { showPage(pageCount()); });
}

void ReportPreview::txtPage_Enter()
{
    bool ok = false;
    const int number = txtPage->text().toInt(&ok);
    guarded([&] { showPage(ok ? number : current_); });
}

bool ReportPreview::withProgress(const QString& label, const std::function<bool(const Progress&)>& work)
{
    ui::WorkProgress progress(this, QStringLiteral("ReportProgress"), windowTitle(), label,
                              [&label](std::int64_t done, std::int64_t total) {
                                  return QStringLiteral("%1: page %2 of %3").arg(label).arg(done).arg(total);
                              });
    const Progress tell = [&](int done, int total) { return progress.tell(done, total); };
    ui::current().setBusyPointer(true);
    const bool finished = work(tell);
    ui::current().setBusyPointer(false);
    return finished;
}

void ReportPreview::cmdPrint_Click()
{
    guarded([&] {
        QPrinter printer(QPrinter::HighResolution);
        printer.setFullPage(true);
        printer.setDocName(windowTitle());
        QPrintDialog dialog(&printer, this);
        dialog.setObjectName(QStringLiteral("PrintDialog"));
        dialog.setMinMax(1, pageCount());
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
        dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, true);
        dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
        if (ui::current().runModal(dialog) != QDialog::Accepted)
            return;
        withProgress(QStringLiteral("Printing"), [&](const Progress& tell) { return printReport(report_, printer, current_, tell); });
    });
}

void ReportPreview::cmdExport_Click()
{
    guarded([&] {
        ExportPages pages(pageCount(), current_, this);
        if (ui::current().runModal(pages) != QDialog::Accepted)
            return;
        const PageRange range = pages.range();
        ui::SaveRequest request{QStringLiteral("Export to PDF"), windowTitle() + QStringLiteral(".pdf"),
                                QStringLiteral("PDF Files|*.pdf"), withPdfExtension};
        request.askBeforeReplacing = true;
        const QString path = ui::chooseSaveTarget(request);
        if (path.isEmpty())
            return;
        try {
            withProgress(QStringLiteral("Exporting to PDF"), [&](const Progress& tell) {
                return exportPdf(report_, path, range, windowTitle(), tell) == ExportResult::Written;
            });
        } catch (const ReportError& e) {
            ui::current().setBusyPointer(false);
            ui::message(ui::Beep::Yes, e.message(), ui::Buttons::OKOnly, ui::Icon::Critical, QStringLiteral("File Error"));
        }
    });
}

bool ReportPreview::handleKey(QKeyEvent* key, QObject* watched)
{
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    if (key->key() == Qt::Key_P && mods == Qt::ControlModifier) {
        cmdPrint_Click();
        return true;
    }
    if (mods != Qt::NoModifier)
        return false;
    // In the page box Home and End move the cursor.
    const bool inPageBox = watched == txtPage;
    // On the page itself the arrows scroll it (the zoom box keeps its own).
    if (watched == picPage && (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)) {
        QScrollBar* bar = scrPage->verticalScrollBar();
        const int step = std::max(1, bar->pageStep() / 8);
        bar->setValue(bar->value() + (key->key() == Qt::Key_Down ? step : -step));
        return true;
    }
    switch (key->key()) {
    case Qt::Key_PageUp: cmdPrevious_Click(); return true;
    case Qt::Key_PageDown: cmdNext_Click(); return true;
    case Qt::Key_Home:
        if (inPageBox)
            return false;
        cmdFirst_Click();
        return true;
    case Qt::Key_End:
        if (inPageBox)
            return false;
        cmdLast_Click();
        return true;
    default: return false;
    }
}

bool ReportPreview::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && handleKey(static_cast<QKeyEvent*>(event), watched))
        return true;
    return QDialog::eventFilter(watched, event);
}

} // namespace report
