#pragma once
#include <string>

namespace content {

// "001".."500" for the sentences of the course; empty for 0 (an empty checklist place) or any
// other id, which then names the file ".wav" that normally does not exist.
std::string voiceNumber(int id);

std::string voicePath(const std::string& appDir, int id);
std::string chimePath(const std::string& appDir);

} // namespace content
