// chime <out.wav>: writes the "correct answer" chime the program plays after a right answer.
#include "chime_sound.h"
#include "wav_writer.h"

#include <iostream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: chime <out.wav>\n";
        return 2;
    }
    std::string error;
    if (!chime::writeWav(argv[1], chime::synthesizeChime(), chime::kSampleRate, error)) {
        std::cerr << "chime: " << error << '\n';
        return 1;
    }
    return 0;
}
