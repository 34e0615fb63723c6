// The load event: start-up sequence, window placement, splash picture, command-line open.
#include "frame/frm_main.h"
#include "frame/startup.h"

#include "frame/dispatch.h"
#include "frame/load_picture.h"
#include "frame/program_folder.h"
#include "frame/quit_signals.h"
#include "frame/second_copy.h"
#include "frame/twips.h"
#include "platform/dao/engine.h"
#include "platform/settings/settings.h"
#include "platform/ui/ui.h"
#include "platform/vb/convert.h"
#include "platform/vb/skip_on_failure.h"
#include "schema/connect_key.h"

#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QSessionManager>
#include <algorithm>
#include <optional>

QString SplashFileName(int innerWidthPixels)
{
    switch (innerWidthPixels) {
    case 640: return QStringLiteral("splash 640.jpg");
    case 800: return QStringLiteral("splash 800.jpg");
    case 1024: return QStringLiteral("splash 1024.jpg");
    default: return {};
    }
}

QString CommandLineFileName(const QString& commandLine)
{
    if (commandLine.size() < 5)
        return {};
    QString name = commandLine;
    if (name.startsWith(QLatin1Char('"')))
        name.remove(0, 1);
    if (name.endsWith(QLatin1Char('"')))
        name.chop(1);
    return name;
}

bool frmMain::Form_Load(const QString& commandLine)
{
    dao::Engine::instance().setDefaultType(dao::WorkspaceType::Jet);

    if (instanceName.isEmpty())
        instanceName = SecondCopy::defaultName();
    secondCopy_ = std::make_unique<SecondCopy>(instanceName);
    if (secondCopy_->askRunningCopyToExit()) {
        ui::current().beep();
        S.AppTitle = QStringLiteral("QUIL");
        setWindowTitle(QStringLiteral("QUIL duplicate"));
        secondCopy_.reset();
        return false;
    }
    secondCopy_->listen();
    connect(secondCopy_.get(), &SecondCopy::exitRequested, this, [this] {
        // A copy in the middle of a command (a dialog open, a split check half entered) keeps
        // its work: exiting would throw away what was typed. The later copy ends all the same.
        QWidget* modal = QApplication::activeModalWidget();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (!modal && w != this && w->isVisible() && w->isModal())
                modal = w;
        if (modal) {
            modal->raise();
            modal->activateWindow();
            return;
        }
        if (handlerDepth > 0)
            return;
        frame::RunHandler(*this, frame::Origin::Event, [this] { mnuFileExit_Click(); });
    });

    // The end of the desktop session, a kill or the process's quit must not drop a typed change.
    quitSignals_ = std::make_unique<QuitSignals>();
    connect(quitSignals_.get(), &QuitSignals::quitRequested, this,
            [this] { frame::RunHandler(*this, frame::Origin::Event, [this] { QuitOnRequest(); }); });
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& manager) {
        frame::RunHandler(*this, frame::Origin::Event, [&] {
            if (!KeepTypedChangeBeforeQuitting(manager.allowsInteraction()))
                manager.cancel();
            manager.release();
        });
    });
    connect(qApp, &QCoreApplication::aboutToQuit, this,
            [this] { frame::RunHandler(*this, frame::Origin::Event, [this] { WriteTypedMemberChange(); }); });

    S.StandardMode = true;
    S.AppDir = ProgramFolder();
    applyPlacement();
    const int innerWidth = static_cast<int>(vb::roundHalfEven(PixelsToTwips(width()) / double(kTwipsPerPixel)));
    const QString splashName = SplashFileName(innerWidth);
    const QString splashPath = splashName.isEmpty() ? QString() : S.AppDir + splashName;

    // From here on a failing step is skipped and the next one runs, without a message: a missing
    // splash picture, an unusable connect key, a command-line file that cannot be opened.
    skipOnFailure([&] { SetBackgroundPicture(LoadPicture(splashPath)); });
    skipOnFailure([&] { ArrangeStatusLabels(); });
    skipOnFailure([&] { S.DbConnect = db::DescrambleConnect(db::kScrambledConnect); });
    S.SortFields = kSortFields;
    S.OpenDbPath.clear();
    S.ViewName = QStringLiteral("Member View");
    WhichViewT->hide();
    skipOnFailure([&] { OpenFromCommandLine(commandLine); });
    return true;
}

void frmMain::OpenFromCommandLine(const QString& commandLine)
{
    const QString name = CommandLineFileName(commandLine);
    if (name.isEmpty() || !QFileInfo(name).isFile())
        return;
    S.DbFileName = name;
    S.OpenedFromCommandLine = true;
    mnuFileOpen_Click();
}

void frmMain::WaitOneSecond()
{
    ::WaitOneSecond(timer);
}

// The stored values are the outer frame in twips. Qt places a window by its frame but sizes it
// by its inside, and learns the frame's thickness only once the window manager has framed it;
// until then the frame counts as nothing, and the size is corrected once when it becomes known.
// Without stored values the window is as large as its design (the classic default of 6500 x 6500
// twips hides the Notes box, the status lines and the help text), within the screen and centred.
void frmMain::applyPlacement()
{
    placementFrame_ = frameMargins();
    const std::optional<settings::WindowPlacement> stored = settings::storedPlacement();
    placementIsFirstStart_ = !stored;
    placement_ = stored ? TwipsToPixels(stored->left, stored->top, stored->width, stored->height)
                        : wholeWindowPlacement(placementFrame_);
    move(placement_.topLeft());
    resize(qMax(1, placement_.width() - placementFrame_.left() - placementFrame_.right()),
           qMax(1, placement_.height() - placementFrame_.top() - placementFrame_.bottom()));
    placementPending_ = true;
}

QRect frmMain::wholeWindowPlacement(const QMargins& frame)
{
    const QSize clientSize = designClientSize();
    // The menu bar stands above the client area and may wrap in a narrow window.
    const int menuHeight = std::max(menuBar()->heightForWidth(clientSize.width()), menuBar()->sizeHint().height());
    const QSize outer = QSize(clientSize.width(), clientSize.height() + menuHeight).grownBy(frame);
    const QRect available = screen()->availableGeometry();
    QRect placed(QPoint(0, 0), outer.boundedTo(available.size()));
    placed.moveCenter(available.center());
    return placed;
}

QMargins frmMain::frameMargins() const
{
    const QRect inner = geometry();
    const QRect outer = frameGeometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

bool frmMain::event(QEvent* event)
{
    const bool handled = QMainWindow::event(event);
    const auto type = event->type();
    if (placementPending_ && isVisible() && !isMinimized() && !isMaximized()
        && (type == QEvent::Move || type == QEvent::Resize || type == QEvent::Show)
        && frameMargins() != placementFrame_) {
        placementPending_ = false;
        const QMargins frame = frameMargins();
        if (placementIsFirstStart_)
            placement_ = wholeWindowPlacement(frame);
        resize(qMax(1, placement_.width() - frame.left() - frame.right()),
               qMax(1, placement_.height() - frame.top() - frame.bottom()));
        move(placement_.topLeft());
    }
    return handled;
}
