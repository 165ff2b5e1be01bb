// Synthesises the alarm sounds that ship beside the program: short chimes and
// bells made of decaying sine partials, written as 16-bit PCM WAV files (the
// sound system refuses 32-bit ones).
//
// Usage: quillet_make_sounds <folder>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int SampleRate = 44100;
constexpr double Pi = 3.14159265358979323846;
constexpr double Peak = 0.6; // of full scale: loud enough, far from clipping

// One sine partial: its frequency as a multiple of the note's, its loudness,
// and the time in seconds in which it fades to a tenth.
struct Partial {
    double ratio;
    double level;
    double fade;
};

// One struck note: when it starts, its pitch and its partials.
struct Note {
    double start;
    double frequency;
    std::vector<Partial> partials;
};

struct Sound {
    const char* fileName;
    double seconds;
    std::vector<Note> notes;
};

// Partials of a chime bar: nearly harmonic, the upper ones fading first.
std::vector<Partial> chimeBar(double fade)
{
    return {{1.0, 1.0, fade}, {2.0, 0.35, fade * 0.5}, {3.0, 0.12, fade * 0.3}, {4.2, 0.05, fade * 0.2}};
}

// Partials of a small bell: the hum below the note and inharmonic ones above.
std::vector<Partial> bell(double fade)
{
    return {{0.5, 0.45, fade * 1.3}, {1.0, 1.0, fade},         {1.19, 0.45, fade * 0.8}, {1.5, 0.3, fade * 0.7},
            {2.0, 0.4, fade * 0.6},  {2.51, 0.15, fade * 0.4}, {3.01, 0.1, fade * 0.3}};
}

std::vector<double> render(const Sound& sound)
{
    const auto count = static_cast<std::size_t>(sound.seconds * SampleRate);
    std::vector<double> samples(count, 0.0);
    for (const Note& note : sound.notes) {
        const auto first = static_cast<std::size_t>(note.start * SampleRate);
        for (std::size_t i = first; i < count; ++i) {
            const double t = static_cast<double>(i - first) / SampleRate;
            // A smooth 5 ms rise, so the strike doesn't click.
            const double attack = t < 0.005 ? std::pow(std::sin(Pi / 2.0 * t / 0.005), 2.0) : 1.0;
            double value = 0.0;
            for (const Partial& partial : note.partials)
                value += partial.level * std::pow(0.1, t / partial.fade) *
                         std::sin(2.0 * Pi * note.frequency * partial.ratio * t);
            samples[i] += attack * value;
        }
    }
    // The last 50 ms fade to silence, so the end doesn't click either.
    const std::size_t tail = std::min<std::size_t>(count, SampleRate / 20);
    for (std::size_t i = 0; i < tail; ++i)
        samples[count - 1 - i] *= static_cast<double>(i) / static_cast<double>(tail);
    double loudest = 0.0;
    for (double value : samples)
        loudest = std::max(loudest, std::abs(value));
    if (loudest > 0.0)
        for (double& value : samples)
            value *= Peak / loudest;
    return samples;
}

void put(std::ofstream& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.put(static_cast<char>((value >> (8 * i)) & 0xFF)); // little-endian
}

bool writeWave(const std::string& path, const std::vector<double>& samples)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    out.write("RIFF", 4);
    put(out, 36 + dataBytes, 4);
    out.write("WAVEfmt ", 8);
    put(out, 16, 4); // size of the format chunk
    put(out, 1, 2);  // PCM
    put(out, 1, 2);  // mono
    put(out, SampleRate, 4);
    put(out, SampleRate * 2, 4); // bytes a second
    put(out, 2, 2);              // bytes a frame
    put(out, 16, 2);             // bits a sample
    out.write("data", 4);
    put(out, dataBytes, 4);
    for (double value : samples)
        put(out, static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(value * 32767.0))), 2);
    return static_cast<bool>(out.flush());
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const Sound sounds[] = {
        // Ding-dong: a falling major third.
        {"default.wav", 1.6, {{0.0, 659.26, chimeBar(0.5)}, {0.28, 523.25, chimeBar(0.7)}}},
        // Three rising notes of a major chord.
        {"Chime.wav",
         1.4,
         {{0.0, 1046.5, chimeBar(0.35)}, {0.14, 1318.5, chimeBar(0.35)}, {0.28, 1568.0, chimeBar(0.6)}}},
        // Two strokes of a small bell.
        {"Bell.wav", 2.0, {{0.0, 880.0, bell(0.45)}, {0.5, 880.0, bell(0.6)}}},
        // One short, high tap.
        {"Ping.wav", 0.6, {{0.0, 1760.0, chimeBar(0.15)}}},
    };
    for (const Sound& sound : sounds) {
        const std::string path = std::string(argv[1]) + "/" + sound.fileName;
        if (!writeWave(path, render(sound))) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
