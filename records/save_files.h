#pragma once
#include "platform/replace_file.h"
#include "records/label_stream.h"
#include "records/save_record.h"

#include <optional>
#include <string>

namespace records {

constexpr const char* saveDatName = "save.dat";
constexpr const char* fsDatName = "fs.dat";

// The learner's folder in the program folder, and the two files in it; formed afresh at every
// call, as the program folder is.
std::string saveFolder();
std::string saveDatPath();
std::string fsDatPath();

// Writes save.dat and then fs.dat into the folder, each replacing its old file whole. The first
// fault ends the save and is returned: the file it names and the files after it keep their old
// content, so the next save that succeeds writes everything again.
std::optional<platform::FileFault> writeSaveFiles(const std::string& folder,
                                                  const SaveRecord& record,
                                                  const StoredLabel& label,
                                                  platform::FileSystem& fs);

} // namespace records
