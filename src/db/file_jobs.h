#pragma once
// What an open file still needs read once the window shows it: the page check (every page of
// every tree read once, PRAGMA quick_check) and, when the day's first backup is due, its copy.
// Both run on one thread of their own over a read-only keyed connection of their own, inside one
// read transaction, so the window shows the file in the time of the schema check and reading
// commands go on meanwhile; the copy is of the file's bytes as the check has just proved them,
// compared with the file before the transaction ends.
//
// Nothing may write to the file before they are through (waitUntilWritable): a damaged page is
// found before any write, and the backup holds the file as it was before the day's first write.
// The copy's own check (opening the closed copy with the key, its schema) runs after that, on the
// same thread.
// When the user keeps the file's backups in a folder away from it too (File > Back Up To...), the
// day's backup is then copied there, after writes are let in: a missing folder (a stick not
// plugged in) or a failing one is news for the status area, never a wait for the window.
// Cancelling ends the work at its next step and joins the thread; an unfinished copy leaves no
// ".part" behind.
#include <QByteArray>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace db {

class FileJobs {
public:
    struct Refusal {
        int number = 0;
        QString description;
    };
    struct State {
        bool checked = false;            // the page check's verdict is in (or none was asked for)
        std::optional<Refusal> refusal;  // the verdict refuses the file: a damaged page, a read error
        bool writable = false;           // the file may be written: the check passed, the copy is taken
        bool finished = false;           // the thread has ended
        QString backup;                  // the day's backup, checked and named
        std::optional<QString> backupFailure;  // why the day's backup could not be made
        std::int64_t pagesCopied = 0;   // the day's copy so far, in the file's pages
        std::int64_t pagesTotal = 0;
        QString awayBackup;                  // the day's backup in the folder away, when copied there
        std::optional<QString> awayFailure;  // why it could not be copied there
        QString awayFolder;                  // that folder ("" when the file has none)
    };
    // The folder away from the file and today's backup already beside it (empty: none), which is
    // copied there when this run makes none.
    struct Away {
        QString folder;
        QString todaysBackup;
    };

    // Reads `path` with `key`. checkPages: run the page check; backupTarget: the day's backup's
    // name (empty: none is due). `changed` is called on the jobs' thread each time the state
    // moves (the verdict, the copy taken, the end): post it to the window's thread.
    FileJobs(QString path, QByteArray key, bool checkPages, QString backupTarget, std::function<void()> changed,
             Away away = {});
    ~FileJobs();
    FileJobs(const FileJobs&) = delete;
    FileJobs& operator=(const FileJobs&) = delete;

    State state() const;
    bool makesBackup() const { return !backupTarget_.isEmpty(); }

    // Blocks until the state passes `until`, calling `tick` with it every 50 ms meanwhile (on the
    // caller's thread: the busy panel's progress).
    void waitUntil(const std::function<bool(const State&)>& until, const std::function<void(const State&)>& tick = {});
    void waitUntilWritable(const std::function<void(const State&)>& tick = {});
    void waitUntilFinished(const std::function<void(const State&)>& tick = {});

    // Stops the work at its next step and joins the thread. Idempotent.
    void cancel();

private:
    void run();
    void checkAndCopy();
    void copyAway();
    bool tellProgress(std::int64_t copied, std::int64_t size);
    template <typename Change>
    void update(Change change);

    const QString path_;
    const QByteArray key_;
    const bool checkPages_;
    const QString backupTarget_;
    const std::function<void()> changed_;
    const Away away_;

    std::atomic<bool> cancelled_{false};
    mutable std::mutex mutex_;
    std::condition_variable moved_;
    State state_;
    std::thread thread_;
};

} // namespace db
