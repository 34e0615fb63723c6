#pragma once
// What every benchmark of the main window runs in: the offscreen platform, the shared benchmark
// file, a settings file of its own so that the user's settings stay untouched, the scripted UI,
// and the number of rounds from the command line.
//
//   int main(int argc, char** argv) { bench::WindowBench run(argc, argv, 300); ... }
#include "bench_file.h"
#include "platform/settings/settings.h"
#include "platform/ui/scripted_ui.h"

#include <QApplication>
#include <QString>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdlib>

namespace bench {

namespace detail {

// A base, so that the platform is named before the application starts.
struct OffscreenPlatform {
    OffscreenPlatform() { qputenv("QT_QPA_PLATFORM", "offscreen"); }
};

inline QString readyBenchFile()
{
    const QString file = benchFile();
    ensureBenchFile(file);
    return file;
}

} // namespace detail

class WindowBench : private detail::OffscreenPlatform {
public:
    // The first argument, when there is one, is the number of rounds.
    WindowBench(int& argc, char** argv, int defaultRounds)
        : app_(argc, argv),
          rounds_(argc > 1 ? std::max(1, std::atoi(argv[1])) : defaultRounds),
          file_(detail::readyBenchFile()),
          settingsFile_(temp_.filePath(QStringLiteral("quil.ini")))
    {
        QApplication::setQuitOnLastWindowClosed(false);
    }

    int rounds() const { return rounds_; }
    const QString& file() const { return file_; }
    // A path in a folder removed when the benchmark ends.
    QString tempFile(const QString& name) const { return temp_.filePath(name); }
    ui::ScriptedUi& scripted() const { return *scripted_; }

private:
    QApplication app_;
    int rounds_;
    QString file_;
    QTemporaryDir temp_;
    settings::ScopedFile settingsFile_;
    ui::ScopedScriptedUi scripted_;
};

} // namespace bench
