#include "platform/ui/save_target.h"

#include "platform/ui/ui.h"

#include <QDir>
#include <QFileInfo>
#include <utility>

namespace ui {

namespace {

SaveTargetCheck& checkInForce()
{
    static SaveTargetCheck check;
    return check;
}

} // namespace

SaveTargetCheck setSaveTargetCheck(SaveTargetCheck check)
{
    return std::exchange(checkInForce(), std::move(check));
}

void tellTargetRefused(const QString& title, const QString& path, const QString& refusal)
{
    message(Beep::Yes,
            QStringLiteral("Nothing was written to\n%1\n\n%2\nChoose another name.").arg(QDir::toNativeSeparators(path), refusal),
            Buttons::OKOnly, Icon::Critical, title);
}

QString chooseSaveTarget(const SaveRequest& request, bool* cancelled)
{
    if (cancelled)
        *cancelled = false;
    for (;;) {
        bool dialogCancelled = false;
        QString path = current().saveFileDialog(request.title, request.initialName, request.filter, {}, &dialogCancelled);
        if (path.isEmpty()) {
            if (cancelled)
                *cancelled = true;
            return {};
        }
        if (request.complete)
            path = request.complete(path);
        const QString native = QDir::toNativeSeparators(path);
        QString refusal = QFileInfo(path).isDir() ? QStringLiteral("It is a folder.") : QString();
        if (refusal.isEmpty() && checkInForce())
            refusal = checkInForce()(path);
        if (!refusal.isEmpty()) {
            tellTargetRefused(request.title, path, refusal);
            continue;
        }
        if (request.askBeforeReplacing && QFileInfo::exists(path)
            && message(Beep::No, QStringLiteral("'%1' already exists.\nDo you want to replace it?").arg(native),
                       Buttons::YesNo, Icon::Exclamation, request.title)
                   != Yes)
            return {};
        return path;
    }
}

} // namespace ui
