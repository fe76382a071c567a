#pragma once
#include <QByteArray>
#include <QImage>
#include <QString>

#include <cstddef>

namespace platform {

// Pictures built into the program are stored as the very pixels the screen takes (32 bits, opaque
// or premultiplied), behind a small header, so that a start shows them from where they lie in the
// program, with nothing to inflate, decode or copy.

// The packed form of a picture; opaque pictures are packed without an alpha channel.
QByteArray packPicture(const QImage& image);

// The picture of packed bytes, which it shares rather than copies when they are suitably aligned:
// the bytes must then outlive the image. A null image for bytes that are no whole packed picture.
QImage unpackPicture(const unsigned char* bytes, std::size_t size);

// A packed picture among the program's resources, e.g. ":/art/check.pic"; null when it is missing.
QImage builtInPicture(const QString& resource);

} // namespace platform
