#pragma once
// What every picture tool of the user guide shares: its one argument (the folder the pictures go
// to), letting Qt draw what is shown, and writing a picture with one line saying where.
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QWidget>
#include <cstdio>
#include <optional>

namespace shots {

// The folder named on the command line; nothing, after the usage line, when it is not one.
inline std::optional<QDir> folderArgument(int argc, char** argv, const char* tool)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", tool);
        return std::nullopt;
    }
    return QDir(QString::fromLocal8Bit(argv[1]));
}

// Lets the event loop lay out and paint what was just shown or changed.
inline void settle()
{
    for (int i = 0; i < 10; ++i)
        QApplication::processEvents();
}

// Shows the widget as the window in front, drawn.
inline void present(QWidget& widget)
{
    widget.show();
    widget.raise();
    widget.activateWindow();
    settle();
}

inline bool write(const QPixmap& picture, const QString& path)
{
    const bool saved = picture.save(path);
    std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
    return saved;
}

// The widget as drawn once the event loop has settled.
inline bool save(QWidget& widget, const QString& path)
{
    settle();
    return write(widget.grab(), path);
}

} // namespace shots
