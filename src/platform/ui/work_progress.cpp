#include "platform/ui/work_progress.h"

#include "platform/ui/ui.h"

#include <algorithm>
#include <limits>

namespace ui {

namespace {

constexpr int kShowAfterMs = 500;
constexpr int kEveryMs = 40;  // often enough for the bar and Cancel, seldom enough to cost nothing

} // namespace

WorkProgress::WorkProgress(QWidget* parent, const QString& objectName, const QString& title, const QString& label,
                           Describe describe)
    : dialog_(label, QStringLiteral("Cancel"), 0, 0, parent), describe_(std::move(describe))
{
    dialog_.setObjectName(objectName);
    dialog_.setWindowTitle(title);
    dialog_.setWindowModality(Qt::WindowModal);
    dialog_.setMinimumDuration(kShowAfterMs);
    dialog_.setAutoClose(false);
    dialog_.setAutoReset(false);
    dialog_.setValue(0);
    since_.start();
}

WorkProgress::~WorkProgress()
{
    dialog_.close();
}

bool WorkProgress::tell(std::int64_t done, std::int64_t total)
{
    if ((total > 0 && done == total) || since_.elapsed() >= kEveryMs) {
        // The bar's range is an int: a count beyond it moves the bar in steps.
        constexpr std::int64_t room = std::numeric_limits<int>::max();
        const std::int64_t step = std::max<std::int64_t>(1, total / room + (total % room != 0 ? 1 : 0));
        dialog_.setMaximum(static_cast<int>(total / step));
        dialog_.setValue(static_cast<int>(std::clamp<std::int64_t>(done, 0, total) / step));
        if (describe_)
            dialog_.setLabelText(describe_(done, total));
        current().processEvents();
        since_.restart();
    }
    return !dialog_.wasCanceled();
}

void WorkProgress::close()
{
    dialog_.close();
}

} // namespace ui
