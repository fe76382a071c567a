#include "platform/replace_file.h"

#include <QSaveFile>

namespace platform {

std::optional<FileFault> replaceFile(const std::string& path, std::string_view bytes) {
    QSaveFile file(QString::fromStdString(path));
    const auto fault = [&](FileFault::Step step) {
        return FileFault{step, path, file.errorString().toStdString()};
    };
    if (!file.open(QIODevice::WriteOnly))
        return fault(FileFault::Create);
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
        static_cast<qint64>(bytes.size()))
        return fault(FileFault::Write); // the temporary file goes with `file`
    if (!file.commit())
        return fault(FileFault::Commit);
    return std::nullopt;
}

} // namespace platform
