#pragma once
// The per-user settings store: application "QUIL", section "Settings". The keys the program uses
// have typed accessors here, so no key text is spelt anywhere else.
#include <QString>
#include <optional>

namespace settings {

// The main window's outer placement, in twips.
struct WindowPlacement {
    int left = 1000;
    int top = 1000;
    int width = 6500;
    int height = 6500;

    friend bool operator==(const WindowPlacement&, const WindowPlacement&) = default;
};

// "MainLeft", "MainTop", "MainWidth", "MainHeight". A value that is missing or not a number
// reads as its default.
WindowPlacement readPlacement();
// The placement as readPlacement gives it, or nothing when none of the four values is stored
// (the first start).
std::optional<WindowPlacement> storedPlacement();
// Writes the four values as decimal text.
void writePlacement(const WindowPlacement& placement);

// The folder File > Back Up To... writes a file's backups to, kept per file under the file's
// canonical path (a link or a relative name of the same file finds the same folder); "" when
// none was chosen. An empty folder forgets it.
QString backupToFolder(const QString& file);
void setBackupToFolder(const QString& file, const QString& folder);

// Any key of the section, as text.
QString value(const QString& key, const QString& defaultValue = {});
void setValue(const QString& key, const QString& value);
void remove(const QString& key);

// Points the store at an INI file instead of the user's own settings (an empty path points it
// back). For tests and for a portable installation.
void useFile(const QString& iniPath);
QString fileInUse();  // "" while the user's own store is in use

// Points the store at an INI file for the lifetime of the object, then back to what it was.
class ScopedFile {
public:
    explicit ScopedFile(const QString& iniPath);
    ~ScopedFile();
    ScopedFile(const ScopedFile&) = delete;
    ScopedFile& operator=(const ScopedFile&) = delete;

private:
    QString previous_;
};

} // namespace settings
