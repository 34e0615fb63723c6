#include "frame/load_picture.h"

QPixmap LoadPicture(const QString& path)
{
    if (path.isEmpty())
        return {};
    QPixmap picture;
    if (!picture.load(path))
        throw PictureError(path);
    return picture;
}
