#pragma once
#include <QString>

// The window's pictures are files in one folder, chosen once at start
// (storage/data_locations.h): the sources' data/images in a build folder,
// share/tarnwick/images when installed.
void SetPictureFolder(const QString& folder);

// The full path of a picture in that folder; `name` may be a pattern with
// %1 for an index.
QString PicturePath(const char* name);
