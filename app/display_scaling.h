#pragma once
#include <QImage>
#include <QString>

#include <string>

namespace app {

// How the windows are scaled is settled before the application is made (Qt reads it then):
// a scale-factor setting (QT_SCALE_FACTOR) is rounded to a whole scale and taken alone;
// otherwise Qt scales by the desktop's font resolution (Xft.dpi), rounded to a whole scale, with
// the fonts' resolution left as at scale 1. Returns whether the setting decided.
bool prepareDisplayScaling();

// Once the application is made, and only where no setting and no desktop resolution asked for
// anything: the whole scale the primary screen's physical resolution asks for, 1 if none. The
// application has to be made again for it (prepareForScale).
int physicalScaleWanted();
// Settles a whole scale for the application made next, in place of what prepareDisplayScaling
// settled.
void prepareForScale(int scale);

// The scale the pictures are drawn for: the primary screen's, in whole numbers.
int pictureScale();

// "dir/bg.bmp" gives "dir/bg@2x.bmp": the picture drawn at twice the size.
QString doubleSizePath(const QString& path);
std::string doubleSizePath(const std::string& path);

// A picture at twice the size from the one at 1: what a missing twin falls back to.
QImage doubled(const QImage& picture);
// The twin as drawn, to be shown at half its pixels; a null or odd-sized one is null.
QImage asTwin(QImage twin);

// A packed picture of the program's resources (":/art/name.pic") at the pictures' scale: its
// twin (":/art/name@2x.png") where the scale is 2 or more (or the picture itself, doubled, if it
// has none), otherwise the picture.
QImage loadPicture(const QString& resource);

} // namespace app
