// soundsynth: writes the program's answer sounds (si1.wav .. si4.wav, no.wav)
// into the folder named on the command line.

#include "Jingles.h"
#include "Synth.h"
#include "WavWriter.h"

#include <filesystem>
#include <iostream>

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::cerr << "usage: soundsynth OUTPUT_FOLDER\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);

    for (const soundsynth::Jingle& jingle : soundsynth::answerSounds()) {
        const std::filesystem::path file = folder / jingle.fileName;
        if (!soundsynth::writeWav(file, jingle.samples, soundsynth::sampleRate)) {
            std::cerr << "soundsynth: cannot write " << file.string() << '\n';
            return 1;
        }
    }
    return 0;
}
