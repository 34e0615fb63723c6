#pragma once
// The preview window of a report: modal, one page at a time, with page navigation, a page box,
// zoom, Print (the system's print dialog, through QPrinter) and Export to PDF.
//
// Keys: Page Up and Page Down turn pages, Home and End go to the first and last page (outside the
// page box, where they move the cursor), the arrows scroll the page, Ctrl+P prints, Escape
// closes. Only the page shown is laid
// out, so a report of any length opens on its first page and goes to its last at once.
//
// Dialogs it opens run through ui::current(): the print dialog (objectName "PrintDialog"), the
// pages to export ("ExportPages"), the save dialog; a long print or export shows a progress
// dialog ("ReportProgress") whose Cancel stops it. An error while a page is made or drawn is a
// message box; the preview stays open.
#include "render.h"
#include "report.h"

#include <QDialog>
#include <QRect>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QScrollArea;
class QToolButton;

namespace report {

class PageView;

class ReportPreview : public QDialog {
    Q_OBJECT

public:
    enum class Zoom { WholePage, PageWidth, Actual };

    // Sized from the main window's frame: 100 twips narrower and lower, centred on it.
    ReportPreview(const Pages& report, const QString& caption, const QRect& mainWindowGeometry,
                  QWidget* parent = nullptr);
    ~ReportPreview() override;

    const Pages& report() const { return report_; }
    int currentPage() const { return current_; }
    int pageCount() const;
    Zoom zoom() const { return zoom_; }

    void showPage(int number);  // brought into 1..pageCount()
    void setZoom(Zoom zoom);
    void cmdFirst_Click();
    void cmdPrevious_Click();
    void cmdNext_Click();
    void cmdLast_Click();
    void txtPage_Enter();  // goes to the page typed in the page box
    void cmdPrint_Click();
    void cmdExport_Click();

    // The size the preview takes for a main window of the given frame geometry.
    static QSize sizeFor(const QRect& mainWindowGeometry);

    QToolButton* cmdFirst = nullptr;
    QToolButton* cmdPrevious = nullptr;
    QLineEdit* txtPage = nullptr;
    QLabel* lblPages = nullptr;  // "of m"
    QToolButton* cmdNext = nullptr;
    QToolButton* cmdLast = nullptr;
    QComboBox* cboZoom = nullptr;  // "Whole Page", "Page Width", "100%"
    QToolButton* cmdPrint = nullptr;
    QToolButton* cmdExport = nullptr;
    QToolButton* cmdClose = nullptr;
    QScrollArea* scrPage = nullptr;
    PageView* picPage = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void createControls();
    void applyZoom();
    void refreshNavigation();
    // Runs a handler; an error it raises is shown, and the preview stays as it was.
    template <class F>
    void guarded(F&& handler);
    bool handleKey(QKeyEvent* key, QObject* watched);
    // Runs drawing work with a progress dialog that shows when it takes a while.
    bool withProgress(const QString& label, const std::function<bool(const Progress&)>& work);

    const Pages& report_;
    int current_ = 0;
    Zoom zoom_ = Zoom::WholePage;
};

} // namespace report
