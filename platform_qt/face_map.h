#pragma once
#include <QString>

namespace platform {

// The course was designed with the classic Japanese desktop faces, which this system lacks. A stored
// face name is kept as it is (and written back unchanged); only the face drawn is an installed one.
QString installedFaceFor(const QString& storedFace);

} // namespace platform
