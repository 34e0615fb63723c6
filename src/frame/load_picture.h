#pragma once
// Loading a picture file the way the program's picture boxes do: an empty name gives an empty
// picture, a name that cannot be read as a picture is an error the caller decides about.
#include <QPixmap>
#include <QString>
#include <stdexcept>

class PictureError : public std::runtime_error {
public:
    explicit PictureError(const QString& path)
        : std::runtime_error(("Cannot load picture " + path).toStdString()) {}
};

// A relative name is taken relative to the process's current folder. Throws PictureError.
QPixmap LoadPicture(const QString& path);
