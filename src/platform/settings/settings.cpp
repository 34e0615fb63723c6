#include "settings.h"

#include <QFileInfo>
#include <QSettings>
#include <QUrl>
#include <cmath>
#include <limits>
#include <memory>

namespace settings {

namespace {

const QString kApplication = QStringLiteral("QUIL");
const QString kSection = QStringLiteral("Settings");

QString& redirectedPath()
{
    static QString path;
    return path;
}

// A fresh QSettings per access: it writes through when it goes, so nothing is lost if the
// program ends abruptly, and a redirection takes effect at once.
std::unique_ptr<QSettings> open()
{
    std::unique_ptr<QSettings> store;
    if (redirectedPath().isEmpty())
        store = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, kApplication, kApplication);
    else
        store = std::make_unique<QSettings>(redirectedPath(), QSettings::IniFormat);
    store->beginGroup(kSection);
    return store;
}

// The values are stored as text and read back as numbers; a hand-edited "1000.4" still reads,
// anything unreadable falls back to the default rather than placing the window nowhere.
int readTwips(const QSettings& store, const QString& key, int defaultValue)
{
    const QVariant stored = store.value(key);
    if (!stored.isValid())
        return defaultValue;
    bool ok = false;
    const double number = stored.toString().trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(number) || std::fabs(number) >= std::numeric_limits<int>::max())
        return defaultValue;
    return static_cast<int>(std::lround(number));
}

// One key per file: the path percent-encoded, so its slashes do not read as groups of the store.
QString backupToKey(const QString& file)
{
    const QFileInfo info(file);
    const QString canonical = info.canonicalFilePath();
    const QString path = canonical.isEmpty() ? info.absoluteFilePath() : canonical;
    return QStringLiteral("BackupTo/") + QString::fromLatin1(QUrl::toPercentEncoding(path));
}

} // namespace

QString backupToFolder(const QString& file)
{
    return value(backupToKey(file));
}

void setBackupToFolder(const QString& file, const QString& folder)
{
    if (folder.isEmpty())
        remove(backupToKey(file));
    else
        setValue(backupToKey(file), folder);
}

WindowPlacement readPlacement()
{
    const auto store = open();
    const WindowPlacement defaults;
    return WindowPlacement{
        readTwips(*store, QStringLiteral("MainLeft"), defaults.left),
        readTwips(*store, QStringLiteral("MainTop"), defaults.top),
        readTwips(*store, QStringLiteral("MainWidth"), defaults.width),
        readTwips(*store, QStringLiteral("MainHeight"), defaults.height),
    };
}

std::optional<WindowPlacement> storedPlacement()
{
    {
        const auto store = open();
        bool any = false;
        for (const char* key : {"MainLeft", "MainTop", "MainWidth", "MainHeight"})
            any = any || store->contains(QLatin1String(key));
        if (!any)
            return std::nullopt;
    }
    return readPlacement();
}

void writePlacement(const WindowPlacement& placement)
{
    const auto store = open();
    store->setValue(QStringLiteral("MainLeft"), QString::number(placement.left));
    store->setValue(QStringLiteral("MainTop"), QString::number(placement.top));
    store->setValue(QStringLiteral("MainWidth"), QString::number(placement.width));
    store->setValue(QStringLiteral("MainHeight"), QString::number(placement.height));
}

QString value(const QString& key, const QString& defaultValue)
{
    const auto store = open();
    const QVariant stored = store->value(key);
    return stored.isValid() ? stored.toString() : defaultValue;
}

void setValue(const QString& key, const QString& value)
{
    open()->setValue(key, value);
}

void remove(const QString& key)
{
    open()->remove(key);
}

void useFile(const QString& iniPath)
{
    redirectedPath() = iniPath;
}

QString fileInUse()
{
    return redirectedPath();
}

ScopedFile::ScopedFile(const QString& iniPath) : previous_(fileInUse())
{
    useFile(iniPath);
}

ScopedFile::~ScopedFile()
{
    useFile(previous_);
}

} // namespace settings
