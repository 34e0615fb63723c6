#pragma once
#include <QIcon>
#include <QString>

// The picture of the toolbar button with the given key; a null icon for an unknown key.
QIcon ToolbarIcon(const QString& key);
