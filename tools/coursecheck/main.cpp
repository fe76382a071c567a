// coursecheck <textDir>: checks the course's chapter files and prints one line per finding.
// Exit status: 0 when the course is clean, 1 when there are findings, 2 when it could not check.
#include "course_rules.h"

#include <exception>
#include <filesystem>
#include <iostream>
#include <set>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::cerr << "usage: coursecheck <textDir> [<wordList>]\n"
                     "Checks c1.txt .. c50.txt; line numbers count from 0 (the title line).\n"
                     "wordList: the words whose first sentence must show their spelling, one a\n"
                     "line (default: spellings.txt beside textDir).\n";
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::error_code ec;
    if (!std::filesystem::is_directory(dir, ec)) {
        std::cerr << "coursecheck: " << dir.string() << " is not a folder\n";
        return 2;
    }
    const std::filesystem::path wordList =
        argc == 3 ? std::filesystem::path(argv[2]) : dir / ".." / "spellings.txt";
    std::vector<std::string> spelledWords;
    if (!coursecheck::readWordList(wordList, spelledWords)) {
        std::cerr << "coursecheck: cannot read the word list " << wordList.string() << '\n';
        return 2;
    }
    try {
        const coursecheck::CourseResult result = coursecheck::checkCourse(dir, spelledWords);
        std::set<std::string> filesWithFindings;
        for (const auto& f : result.findings) {
            std::cout << coursecheck::formatFinding(f) << '\n';
            filesWithFindings.insert(f.file);
        }
        std::cout << "coursecheck: " << result.filesPresent << " of " << coursecheck::kChapterCount
                  << " files present, ";
        if (result.findings.empty())
            std::cout << "no findings\n";
        else
            std::cout << result.findings.size() << " finding"
                      << (result.findings.size() == 1 ? "" : "s") << " in "
                      << filesWithFindings.size() << " file"
                      << (filesWithFindings.size() == 1 ? "" : "s") << '\n';
        return result.findings.empty() ? 0 : 1;
    } catch (const std::exception& e) {
        std::cerr << "coursecheck: " << e.what() << '\n';
        return 2;
    }
}
