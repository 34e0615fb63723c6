// Design positions, the status-label arrangement, the resize rule, the busy panel and the status
// area's note.
#include "frame/frm_main.h"

#include "frame/client_area.h"
#include "frame/twips.h"
#include "platform/data/bound_text_box.h"
#include "platform/data/data_control.h"
#include "platform/ui/ui.h"
#include "platform/vb/skip_on_failure.h"

#include <QFontMetrics>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QStatusBar>
#include <QTableView>
#include <QToolBar>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <algorithm>

namespace {

constexpr int kLabelHeight = 255;

// The resize rule's shares, and where the design has the grid and the search group: the rule
// leaves them there for one client size, the design's own (designClientSize).
constexpr double kGridShare = 0.95;
constexpr int kGridLeft = 240;
constexpr int kGridTop = 3200;
constexpr int kGridWidth = 9000;
constexpr int kSearchTop = 3720;
constexpr int kSearchOffset = 300;

// The classic integer conversion: halves to even, and a value outside 16 bits is an overflow.
int toInt16(double value)
{
    const double rounded = std::nearbyint(value);  // default rounding mode: halves to even
    if (!std::isfinite(rounded) || rounded < std::numeric_limits<std::int16_t>::min()
        || rounded > std::numeric_limits<std::int16_t>::max())
        throw std::overflow_error("Overflow");
    return static_cast<int>(rounded);
}

void setWidthTw(QWidget* w, double width)
{
    if (width < 0)
        throw std::invalid_argument("Invalid property value");
    w->resize(TwipsToPixels(width), w->height());
}

void setHeightTw(QWidget* w, double height)
{
    if (height < 0)
        throw std::invalid_argument("Invalid property value");
    w->resize(w->width(), TwipsToPixels(height));
}

// The help text must be read whole in its design box, whatever font the desktop gives: the
// label's font shrinks until the wrapped text fits.
void fitTextToBox(QLabel* label)
{
    QFont font = label->font();
    const QRect box(QPoint(0, 0), label->size());
    for (qreal size = font.pointSizeF(); size > 5; size -= 0.5) {
        font.setPointSizeF(size);
        const QRect needed = QFontMetrics(font).boundingRect(box, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop,
                                                             label->text());
        if (needed.height() <= box.height() && needed.width() <= box.width())
            break;
    }
    label->setFont(font);
}

} // namespace

void frmMain::placeControls()
{
    const int fieldTops[8] = {600, 915, 1245, 1560, 1875, 2205, 2520, 2835};
    for (int i = 0; i < 8; ++i) {
        PlaceTw(lblLabels[i], 240, fieldTops[i], i == 7 ? 1215 : 975, kLabelHeight);
        PlaceTw(txtFields[i], 1440, fieldTops[i], i == 0 ? 975 : 3135, 285);
    }
    PlaceTw(lblLabels[8], 5040, 720, 975, kLabelHeight);
    PlaceTw(txtFields[8], 4920, 960, 4455, 1485);

    PlaceTw(WhichViewT, 6840, 600, 2295, kLabelHeight);
    PlaceTw(Label6, 4800, 2880, 2055, kLabelHeight);
    PlaceTw(Label7, 7320, 2880, 1425, 240);
    MoveTw(Label2, 5160, 2640);
    MoveTw(Label3, 5520, 2640);
    MoveTw(Label4, 6960, 2640);
    MoveTw(Label5, 8040, 2640);
    for (QLabel* l : {Label7, Label2, Label3, Label4, Label5})
        l->adjustSize();

    PlaceTw(Shape2, 1080, kSearchTop, 1455, 495);
    PlaceTw(Label8, 1200, 3840, 1215, kLabelHeight);
    PlaceTw(Shape1, 960, 4080, 4455, 2175);
    PlaceTw(EntNme, 1200, 4320, 3975, 375);
    PlaceTw(C_List, 1200, 4920, 3975, 1035);
    PlaceTw(ID_list, 240, 5280, 495, 450);
    PlaceTw(Shape3, 5760, 4560, 3255, 1815);
    PlaceTw(Label1, 5880, 4680, 3015, 1695);
    fitTextToBox(Label1);
    PlaceTw(grdDataGrid, kGridLeft, kGridTop, kGridWidth, 2000);
    PlaceTw(Picture1, 0, 0, 1500, 1500);
}

// The toolbar and the record navigator are aligned to the client area's top and bottom edges and
// follow its width, as aligned controls do.
void frmMain::placeAlignedControls()
{
    tbToolBar->setGeometry(0, 0, client->width(), tbToolBar->sizeHint().height());
    const int navHeight = datPrimaryRS->sizeHint().height();
    datPrimaryRS->setGeometry(0, client->height() - navHeight, client->width(), navHeight);
    ArrangeBatchLabel();
}

// The batch line stands at the right end of the toolbar's row, past its last button, where it
// covers no control in either mode.
void frmMain::ArrangeBatchLabel()
{
    if (!lblBatch || !tbToolBar)
        return;
    lblBatch->adjustSize();
    const int barHeight = tbToolBar->sizeHint().height();
    const int buttonsEnd = tbToolBar->isVisible() ? tbToolBar->sizeHint().width() : 0;
    const int x = std::max(buttonsEnd + 8, client->width() - lblBatch->width() - 8);
    lblBatch->move(x, std::max(0, (barHeight - lblBatch->height()) / 2));
    lblBatch->raise();
}

void frmMain::Form_Resize()
{
    placeAlignedControls();
    ApplyResizeRule(PixelsToTwips(client->width()), PixelsToTwips(client->height()));
}

void frmMain::ApplyResizeRule(double W, double H)
{
    // A window too small (or minimized) for the grid gives a negative size: that step is
    // skipped and the grid keeps the size it had.
    SetTopTw(grdDataGrid, kGridTop);
    skipOnFailure([&] { setWidthTw(grdDataGrid, kGridShare * W); });
    SetLeftTw(grdDataGrid, (W - kGridShare * W) / 2);
    skipOnFailure([&] { setHeightTw(grdDataGrid, (H - kGridTop) * 0.8); });
    grdDataGrid->horizontalHeader()->setDefaultSectionSize(TwipsToPixels(WidthTw(grdDataGrid) / 6.4));

    int t = 0;  // stays 0 when the conversion overflows, and the group still moves
    skipOnFailure([&] { t = toInt16(kGridShare * H / 2 + kSearchOffset); });
    SetTopTw(Shape2, t);
    SetTopTw(Label8, t + 120);
    SetTopTw(Shape1, t + 360);
    SetTopTw(EntNme, t + 600);
    SetTopTw(C_List, t + 1200);
}

QSize frmMain::designClientSize()
{
    // The size at which the resize rule puts the grid and the search group at their design places.
    QSize size(TwipsToPixels(kGridWidth / kGridShare), TwipsToPixels((kSearchTop - kSearchOffset) / kGridShare * 2));
    size.setWidth(std::max(size.width(), tbToolBar->sizeHint().width()));
    const int navHeight = datPrimaryRS->sizeHint().height();
    // Then as large as the controls need, each where the rule puts it at that size (the search
    // group moves down as the area grows, by less than it grows, so this ends at once), with the
    // member navigator below them. Controls hidden now count too: Notes and the search group show
    // later in the same window.
    for (int round = 0; round < 4; ++round) {
        ApplyResizeRule(PixelsToTwips(size.width()), PixelsToTwips(size.height()));
        QRect used;
        for (QWidget* w : client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (w != tbToolBar && w != datPrimaryRS && w != lblBatch && w != Picture2 && !w->isWindow())
                used |= w->geometry();
        const QSize needed = size.expandedTo(QSize(used.right() + 1, used.bottom() + 1 + navHeight));
        if (needed == size)
            break;
        size = needed;
    }
    return size;
}

void frmMain::ArrangeStatusLabels()
{
    // These labels size themselves to their captions; the others keep their design widths.
    for (QLabel* l : {Label7, Label2, Label3, Label4, Label5})
        l->adjustSize();

    QWidget* line1 = txtFields[6];
    Label6->move(Label6->x(), line1->y());
    SetLeftTw(Label6, LeftTw(line1) + WidthTw(line1) + 500);
    Label7->move(Label7->x(), line1->y());
    SetLeftTw(Label7, LeftTw(Label6) + WidthTw(Label6) + 5);

    QWidget* line2 = txtFields[7];
    for (QLabel* l : {Label2, Label3, Label4, Label5})
        l->move(l->x(), line2->y());
    SetLeftTw(Label2, LeftTw(line2) + WidthTw(line2) + 500);
    SetLeftTw(Label3, LeftTw(Label2) + WidthTw(Label2) + 10);
    SetLeftTw(Label4, LeftTw(Label3) + WidthTw(Label3) + 5);
    SetLeftTw(Label5, LeftTw(Label4) + WidthTw(Label4) + 5);
}

void frmMain::ShowBusyPanel()
{
    Picture2->adjustSize();
    const QSize size = Picture2->size().expandedTo(QSize(TwipsToPixels(3600), TwipsToPixels(900)));
    Picture2->setGeometry((client->width() - size.width()) / 2, (client->height() - size.height()) / 2,
                          size.width(), size.height());
    AniNumOne->setRange(0, 0);  // the running bar
    Picture2->show();
    Picture2->raise();
    ui::current().processEvents();
}

void frmMain::HideBusyPanel()
{
    Picture2->hide();
    AniNumOne->setRange(0, 1);
}

void frmMain::ShowStatusNote(const QString& text)
{
    // QMainWindow makes its status bar at the first call; a window never told anything has none.
    QStatusBar* bar = findChild<QStatusBar*>(QStringLiteral("sbStatus"), Qt::FindDirectChildrenOnly);
    if (text.isEmpty()) {
        if (bar) {
            bar->clearMessage();
            bar->hide();
        }
        return;
    }
    if (!bar) {
        bar = statusBar();
        bar->setObjectName(QStringLiteral("sbStatus"));
        bar->setSizeGripEnabled(false);
    }
    bar->showMessage(text);
    bar->setToolTip(text);
    bar->show();
}

QString frmMain::StatusNote() const
{
    const QStatusBar* bar = findChild<QStatusBar*>(QStringLiteral("sbStatus"), Qt::FindDirectChildrenOnly);
    return bar && !bar->isHidden() ? bar->currentMessage() : QString();
}
