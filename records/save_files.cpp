#include "records/save_files.h"

#include "platform/app_dir.h"

namespace records {

std::string saveFolder() { return platform::appDir() + "/savedata"; }
std::string saveDatPath() { return saveFolder() + "/" + saveDatName; }
std::string fsDatPath() { return saveFolder() + "/" + fsDatName; }

std::optional<platform::FileFault> writeSaveFiles(const std::string& folder,
                                                  const SaveRecord& record,
                                                  const StoredLabel& label,
                                                  platform::FileSystem& fs) {
    if (auto fault = platform::replaceFile(folder + "/" + saveDatName, encodeSaveRecord(record), fs))
        return fault;
    return platform::replaceFile(folder + "/" + fsDatName, writeLabelStream(label), fs);
}

} // namespace records
