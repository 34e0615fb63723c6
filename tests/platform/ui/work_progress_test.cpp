// The progress of long work: the bar's int range holds any 64-bit count, the last step always
// shows with the label it describes, and Cancel is told to the work.
#include "platform/ui/work_progress.h"

#include <QProgressDialog>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

TEST(WorkProgress, TheLastStepShowsAnyCountAndCancelIsTold)
{
    const struct {
        std::int64_t total;
        int maximum;  // the bar's, after the last step
    } cases[] = {
        {10, 10},
        {std::int64_t{2147483647}, 2147483647},          // the whole range, exactly
        {std::int64_t{2147483648}, 1073741824},           // one past the int range: steps of 2
        {std::int64_t{5'000'000'000}, 1666666666},        // steps of 3
        {std::int64_t{9'223'372'036'854'775'807}, 2147483646},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.total);
        QWidget parent;
        ui::WorkProgress progress(&parent, "Work", "Title", "Reading",
                                  [](std::int64_t done, std::int64_t total) { return QStringLiteral("%1 of %2").arg(done).arg(total); });
        auto* dialog = parent.findChild<QProgressDialog*>("Work");
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(progress.tell(c.total, c.total));
        EXPECT_EQ(dialog->maximum(), c.maximum);
        EXPECT_EQ(dialog->value(), c.maximum);
        EXPECT_EQ(dialog->labelText(), QStringLiteral("%1 of %1").arg(c.total));
        dialog->cancel();
        EXPECT_FALSE(progress.tell(0, c.total));
    }
}

} // namespace
