#include "ui/pictures.h"

namespace {

QString& PictureFolder() {
    static QString folder;
    return folder;
}

}  // namespace

void SetPictureFolder(const QString& folder) {
    PictureFolder() = folder;
}

QString PicturePath(const char* name) {
    return PictureFolder() + QLatin1Char('/') + QString::fromUtf8(name);
}
