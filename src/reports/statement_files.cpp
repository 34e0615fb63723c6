#include "reports/statement_files.h"

#include "platform/report/render.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <unistd.h>
#include <vector>

namespace reports {

namespace {

// The name part's longest length in UTF-8 bytes: with the period, the number and ".pdf" the whole
// name stays well under the 255 bytes file systems allow.
constexpr int kNameMostBytes = 150;

// Characters no file system of the desktop takes in a name, and the control characters.
bool unsafe(char32_t c)
{
    return c < 0x20 || c == 0x7f || c == u'/' || c == u'\\' || c == u':' || c == u'*' || c == u'?' || c == u'"' || c == u'<'
           || c == u'>' || c == u'|';
}

QString safeName(const QString& text)
{
    QString out;
    out.reserve(text.size());
    bool space = false;
    int bytes = 0;
    for (const char32_t c : text.toUcs4()) {
        if (QChar::isSpace(c)) {
            space = !out.isEmpty();
            continue;
        }
        // A refused character stands as an underscore, so "A/B" does not read "AB".
        const char32_t shown = unsafe(c) ? U'_' : c;
        const QString piece = (space ? QStringLiteral(" ") : QString()) + QString::fromUcs4(&shown, 1);
        const int pieceBytes = static_cast<int>(piece.toUtf8().size());
        if (bytes + pieceBytes > kNameMostBytes)
            break;
        out += piece;
        bytes += pieceBytes;
        space = false;
    }
    // A name may not begin with a dot (a hidden file) or end with one (Windows drops it).
    while (out.startsWith(u'.'))
        out.remove(0, 1);
    while (out.endsWith(u'.') || out.endsWith(u' '))
        out.chop(1);
    return out;
}

} // namespace

QString statementFileName(const QString& last, const QString& first, const StatementPeriod& period, std::int64_t memberId)
{
    QString name = safeName(last + u' ' + first);
    if (name.isEmpty())
        name = QStringLiteral("Donor");
    return QStringLiteral("%1 %2 (%3).pdf").arg(name, period.shortName()).arg(memberId);
}

QStringList statementFileNames(const GivingStatementPages& pages)
{
    QStringList names;
    names.reserve(static_cast<qsizetype>(pages.donors().size()));
    for (const StatementDonor& d : pages.donors()) {
        const GivingStatementPages::Names n = pages.namesOf(d.memberId);
        names << statementFileName(n.last, n.first, pages.request().period, d.memberId);
    }
    return names;
}

namespace {

// One donor's pages, laid out on the thread that reads the file, to be drawn on another. A page
// holds its texts and shares the run's layout, which nobody changes while the files are written.
class LaidOutPages final : public report::Pages {
public:
    explicit LaidOutPages(const report::Pages& from) : name_(from.name()), caption_(from.caption()), paper_(from.paper())
    {
        pages_.reserve(static_cast<std::size_t>(from.pageCount()));
        for (int n = 1; n <= from.pageCount(); ++n)
            pages_.push_back(from.page(n));
    }
    QString name() const override { return name_; }
    QString caption() const override { return caption_; }
    QSize paper() const override { return paper_; }
    int pageCount() const override { return static_cast<int>(pages_.size()); }
    report::Page page(int number) const override { return pages_[static_cast<std::size_t>(number - 1)]; }

private:
    QString name_;
    QString caption_;
    QSize paper_;
    std::vector<report::Page> pages_;
};

// Draws the letters' PDFs into memory on worker threads, a few letters ahead of the files being
// written: drawing (fonts embedded again in every file) is most of a file's cost and needs
// nothing but the laid-out pages, while the file itself is written in the run's order on the
// calling thread, so what a cancel or a failure leaves is exactly what it left one file at a time.
class PdfDrawers {
public:
    explicit PdfDrawers(int threads)
    {
        for (int i = 0; i < threads; ++i)
            threads_.emplace_back([this] { draw(); });
    }
    ~PdfDrawers()
    {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wanted_.notify_all();
        for (std::thread& t : threads_)
            t.join();
    }
    PdfDrawers(const PdfDrawers&) = delete;
    PdfDrawers& operator=(const PdfDrawers&) = delete;

    void submit(int index, std::unique_ptr<const LaidOutPages> pages)
    {
        {
            const std::lock_guard lock(mutex_);
            queue_.push_back({index, std::move(pages)});
        }
        wanted_.notify_one();
    }

    // The PDF of letter `index`, once drawn; empty when it could not be drawn.
    QByteArray take(int index)
    {
        std::unique_lock lock(mutex_);
        drawn_.wait(lock, [&] { return done_.count(index) > 0; });
        QByteArray pdf = std::move(done_[index]);
        done_.erase(index);
        return pdf;
    }

private:
    struct Job {
        int index = 0;
        std::unique_ptr<const LaidOutPages> pages;
    };

    void draw()
    {
        for (;;) {
            Job job;
            {
                std::unique_lock lock(mutex_);
                wanted_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
                if (stopping_)
                    return;
                job = std::move(queue_.front());
                queue_.pop_front();
            }
            QByteArray pdf;
            try {
                QBuffer buffer(&pdf);
                buffer.open(QIODevice::WriteOnly);
                report::writePdf(*job.pages, buffer, {1, job.pages->pageCount()}, QStringLiteral("Giving Statement"));
            } catch (const std::exception&) {
                pdf.clear();  // told as a file that could not be written
            }
            {
                const std::lock_guard lock(mutex_);
                done_[job.index] = std::move(pdf);
            }
            drawn_.notify_all();
        }
    }

    std::mutex mutex_;
    std::condition_variable wanted_;
    std::condition_variable drawn_;
    std::deque<Job> queue_;
    std::map<int, QByteArray> done_;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

// Puts a drawn letter under its name whole: written beside it under a hidden work name, then
// renamed over. Returns why it failed, or "".
QString writeWhole(const QString& path, const QByteArray& pdf)
{
    const QFileInfo target(path);
    const QString work = target.dir().filePath(u'.' + target.fileName() + QStringLiteral(".part"));
    QFile file(work);
    QString failure;
    if (pdf.isEmpty())
        failure = QStringLiteral("the statement could not be drawn");
    else if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        failure = file.errorString();
    else if (file.write(pdf) != pdf.size() || !file.flush())
        failure = file.errorString();
    file.close();
    if (failure.isEmpty() && std::rename(QFile::encodeName(work).constData(), QFile::encodeName(path).constData()) != 0)
        failure = QString::fromLocal8Bit(std::strerror(errno));
    if (failure.isEmpty())
        return {};
    QFile::remove(work);
    return QStringLiteral("The file '%1' cannot be written: %2").arg(path, failure);
}

// Once for the whole run rather than once a file: a sync per file was a third of the run's time,
// and a letter lost to a power cut is written again by running the statements again.
QString syncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    const bool synced = ::syncfs(fd) == 0;
    const int error = errno;
    ::close(fd);
    return synced ? QString() : QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

StatementFilesResult writeStatementFiles(const GivingStatementPages& pages, const QString& folder, const QStringList& names,
                                         const FilesProgress& progress)
{
    StatementFilesResult result;
    const QDir dir(folder);
    const int total = static_cast<int>(pages.donors().size());
    const int threads = std::clamp(QThread::idealThreadCount(), 1, 4);
    const int ahead = 2 * threads;  // enough to keep every drawer busy, few enough to hold in memory
    int submitted = 0;
    {
        PdfDrawers drawers(threads);
        for (int i = 0; i < total; ++i) {
            if (progress && !progress(i, total)) {
                result.cancelled = true;
                break;
            }
            for (; submitted < total && submitted <= i + ahead; ++submitted)
                drawers.submit(submitted, std::make_unique<const LaidOutPages>(DonorStatementPages(pages, static_cast<std::size_t>(submitted))));
            const QString path = dir.filePath(names[i]);
            result.failure = writeWhole(path, drawers.take(i));
            if (!result.failure.isEmpty())
                break;
            result.written << path;
        }
    }
    if (!result.written.isEmpty()) {
        const QString unsynced = syncFolder(folder);
        if (!unsynced.isEmpty() && result.failure.isEmpty())
            result.failure = QStringLiteral("The statements in '%1' could not be saved to the disk: %2").arg(folder, unsynced);
    }
    if (progress && !result.cancelled && result.failure.isEmpty())
        progress(total, total);
    return result;
}

} // namespace reports
