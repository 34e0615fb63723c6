#pragma once
// The progress of work that may last (a report printed or exported, a CSV file written or read):
// a window-modal dialog with a Cancel button that shows only when the work lasts more than half
// a second, and takes new figures at most every 40 ms, each time with one pass of event
// processing so that Cancel is seen. Closed when the object goes.
#include <QElapsedTimer>
#include <QProgressDialog>
#include <QString>
#include <cstdint>
#include <functional>

namespace ui {

class WorkProgress {
public:
    // The label's text for the figures shown; none keeps the first label.
    using Describe = std::function<QString(std::int64_t done, std::int64_t total)>;

    // objectName lets scripts and tests find the dialog among the parent's children.
    WorkProgress(QWidget* parent, const QString& objectName, const QString& title, const QString& label,
                 Describe describe = {});
    ~WorkProgress();
    WorkProgress(const WorkProgress&) = delete;
    WorkProgress& operator=(const WorkProgress&) = delete;

    // Tells `done` of `total` (0: not known, the bar only moves); the last step, done == total,
    // always shows. Returns false once the user has cancelled.
    bool tell(std::int64_t done, std::int64_t total);

    void close();

private:
    QProgressDialog dialog_;
    QElapsedTimer since_;
    Describe describe_;
};

} // namespace ui
