#include "content/voice_files.h"

#include "content/content_store.h"

namespace content {

std::string voiceNumber(int id) {
    if (id < 1 || id > sentenceCount)
        return {};
    std::string digits = std::to_string(id);
    return std::string(3 - digits.size(), '0') + digits;
}

std::string voicePath(const std::string& appDir, int id) {
    return appDir + "/onsei/" + voiceNumber(id) + ".wav";
}

std::string chimePath(const std::string& appDir) { return appDir + "/onsei/seikai.wav"; }

} // namespace content
