#pragma once
#include <filesystem>
#include <fstream>
#include <string>

// A fresh program folder for one test, made the current directory while the test runs.
class TempAppDir {
public:
    TempAppDir() {
        namespace fs = std::filesystem;
        previous_ = fs::current_path();
        // In TMPDIR when it is set, as the loaded check of the save tests puts it on a tmpfs.
        std::string pattern = (fs::temp_directory_path() / "yomirin-test-XXXXXX").string();
        dir_ = mkdtemp(pattern.data());
        fs::current_path(dir_);
        for (const char* sub : {"text", "onsei", "bmp", "savedata"})
            fs::create_directories(dir_ / sub);
    }
    ~TempAppDir() {
        std::error_code ec;
        std::filesystem::current_path(previous_, ec);
        std::filesystem::remove_all(dir_, ec);
    }
    TempAppDir(const TempAppDir&) = delete;
    TempAppDir& operator=(const TempAppDir&) = delete;

    std::string path() const { return dir_.string(); }
    std::string file(const std::string& relative) const { return (dir_ / relative).string(); }

    void write(const std::string& relative, const std::string& bytes) const {
        std::ofstream out(dir_ / relative, std::ios::binary | std::ios::trunc);
        out << bytes;
    }

private:
    std::filesystem::path previous_;
    std::filesystem::path dir_;
};

// A course file whose every line names its chapter and line ("c7 L3"), joined by the given end.
inline std::string numberedCourseFile(int chapter, int lines = 51, const std::string& end = "\r\n") {
    std::string text;
    for (int i = 0; i < lines; ++i)
        text += "c" + std::to_string(chapter) + " L" + std::to_string(i) + end;
    return text;
}

// Fifty chapters of ten sentences: sentence n reads "Sentence n.", its translation "Jn" and its
// points "Pna" and "Pnb"; chapter n is titled "Title n".
inline void writeCourse(const TempAppDir& dir) {
    for (int n = 1; n <= 50; ++n) {
        std::string text = "[S" + std::to_string((n - 1) / 10 + 1) + "-C00]  Title " +
                           std::to_string(n) + "\r\n";
        for (int i = 1; i <= 10; ++i) {
            const std::string s = std::to_string((n - 1) * 10 + i);
            text += s + "\r\n" + "J" + s + "\r\n" + "Sentence " + s + ".\r\n" + "P" + s +
                    "a\r\n" + "P" + s + "b\r\n";
        }
        dir.write("text/c" + std::to_string(n) + ".txt", text);
    }
}
