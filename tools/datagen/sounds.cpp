// Data generator step: synthesizes the game's sounds and music from data/sounds/sounds.txt
// and encodes them as OGG Vorbis into the Data folder.

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/datagen/DataGen.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

struct SoundSpec {
    std::string path;
    std::string kind;
    std::vector<double> numbers;
    int rate = 44100;
    int channels = 2;
};

// A small repeatable generator for noise (the data must be the same on every build).
struct Lcg {
    uint32_t x;
    float next() {
        x = x * 1664525u + 1013904223u;
        return float((x >> 8) & 0xFFFF) / 32768.0f - 1.0f;
    }
};

// Peaks of the synthesized signal. The game sums its sounds and music without limiting
// (the mixer only saturates at full scale), so each file leaves room for the others: the
// combo sounds of bonus mode over a fireworks level and the music stay below full scale.
// The encoder overshoots by a few percent, which the ceilings of the files (-6 dBFS for a
// sound, -9 dBFS for music) leave room for.
constexpr double kSoundPeakDb = -12.0;
constexpr double kMusicPeakDb = -14.0;

// Scales the signal so that its highest magnitude is the given level (silence stays silent).
void normalize(std::vector<float>& signal, double peakDb) {
    float peak = 0.0f;
    for (float v : signal) peak = std::max(peak, std::fabs(v));
    if (peak <= 0.0f) return;
    const float gain = float(std::pow(10.0, peakDb / 20.0)) / peak;
    for (float& v : signal) v *= gain;
}

float envelope(double t, double length) {
    double attack = std::min(0.01, length / 4), release = std::min(0.05, length / 3);
    if (t < attack) return float(t / attack);
    if (t > length - release) return float(std::max(0.0, (length - t) / release));
    return 1.0f;
}

std::vector<float> synthesize(const SoundSpec& s) {
    auto number = [&](size_t i, double fallback) { return i < s.numbers.size() ? s.numbers[i] : fallback; };
    double length = number(0, 0.2);
    size_t frames = size_t(length * s.rate);
    std::vector<float> mono(frames);
    if (s.kind == "tone") {
        double f1 = number(1, 440), f2 = number(2, 0);
        for (size_t i = 0; i < frames; ++i) {
            double t = double(i) / s.rate;
            double v = std::sin(2 * kPi * f1 * t);
            if (f2 > 0) v = 0.6 * v + 0.4 * std::sin(2 * kPi * f2 * t);
            mono[i] = float(0.5 * v) * envelope(t, length);
        }
    } else if (s.kind == "chirp") {
        double f1 = number(1, 400), f2 = number(2, 800), phase = 0;
        for (size_t i = 0; i < frames; ++i) {
            double t = double(i) / s.rate;
            phase += 2 * kPi * (f1 + (f2 - f1) * t / length) / s.rate;
            mono[i] = float(0.5 * std::sin(phase)) * envelope(t, length);
        }
    } else if (s.kind == "noise") {
        Lcg rng{uint32_t(s.path.size() * 7919u)};
        float low = 0;
        for (size_t i = 0; i < frames; ++i) {
            double t = double(i) / s.rate;
            low += 0.2f * (rng.next() - low);
            mono[i] = 0.6f * low * envelope(t, length) * float(1.0 - 0.7 * t / length);
        }
    } else if (s.kind == "music") {
        // Eight notes a bar from a pentatonic scale picked by the seed, over a root bass.
        static const int scale[] = {0, 2, 4, 7, 9, 12, 14, 16};
        uint32_t seed = uint32_t(number(1, 1));
        Lcg rng{seed * 2654435761u};
        double beat = 0.25, root = 220.0 * std::pow(2.0, double(seed % 5) / 12.0);
        size_t notes = size_t(length / beat) + 1;
        std::vector<double> melody(notes);
        for (auto& n : melody) n = root * 2 * std::pow(2.0, scale[size_t((rng.next() + 1) * 4) % 8] / 12.0);
        for (size_t i = 0; i < frames; ++i) {
            double t = double(i) / s.rate;
            size_t k = std::min(notes - 1, size_t(t / beat));
            double local = t - double(k) * beat;
            double note = std::sin(2 * kPi * melody[k] * t) * std::exp(-4 * local);
            double bass = std::sin(2 * kPi * root / 2 * t) * 0.5;
            mono[i] = float(0.3 * note + 0.15 * bass);
        }
        // Smooth ends so that the track loops without a click.
        for (size_t i = 0; i < std::min<size_t>(frames, 441); ++i) {
            mono[i] *= float(i) / 441.0f;
            mono[frames - 1 - i] *= float(i) / 441.0f;
        }
    } else {
        throw std::runtime_error("unknown sound kind \"" + s.kind + "\" for " + s.path);
    }
    normalize(mono, s.kind == "music" ? kMusicPeakDb : kSoundPeakDb);
    return mono;
}

void writeOgg(const std::filesystem::path& target, const SoundSpec& spec, const std::vector<float>& mono) {
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, spec.channels, spec.rate, 0.4f) != 0) {
        vorbis_info_clear(&vi);
        throw std::runtime_error("cannot set up the OGG encoder for " + spec.path);
    }
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_comment_add_tag(&vc, "ENCODER", "datagen");
    vorbis_dsp_state vd;
    vorbis_block vb;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    uint32_t serial = 1;
    for (char c : spec.path) serial = serial * 31 + uint8_t(c);
    ogg_stream_init(&os, int(serial & 0x7FFFFFFF));

    // Written beside the target and moved over it when complete: an interrupted build never
    // leaves a cut file that looks up to date.
    std::filesystem::create_directories(target.parent_path());
    std::filesystem::path temporary = target;
    temporary += ".tmp";
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("cannot write " + target.string());
    auto writePage = [&](const ogg_page& page) {
        out.write(reinterpret_cast<const char*>(page.header), page.header_len);
        out.write(reinterpret_cast<const char*>(page.body), page.body_len);
    };

    ogg_packet header, comments, codebooks;
    vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &comments);
    ogg_stream_packetin(&os, &codebooks);
    ogg_page page;
    while (ogg_stream_flush(&os, &page)) writePage(page);

    auto drain = [&] {
        ogg_packet packet;
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            while (vorbis_bitrate_flushpacket(&vd, &packet)) {
                ogg_stream_packetin(&os, &packet);
                while (ogg_stream_pageout(&os, &page)) writePage(page);
            }
        }
    };
    const size_t chunk = 4096;
    for (size_t start = 0; start < mono.size(); start += chunk) {
        size_t n = std::min(chunk, mono.size() - start);
        float** buffer = vorbis_analysis_buffer(&vd, int(n));
        for (size_t i = 0; i < n; ++i)
            for (int c = 0; c < spec.channels; ++c) buffer[c][i] = mono[start + i];
        vorbis_analysis_wrote(&vd, int(n));
        drain();
    }
    vorbis_analysis_wrote(&vd, 0);
    drain();
    while (ogg_stream_flush(&os, &page)) writePage(page);

    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    out.close();
    if (!out) throw std::runtime_error("cannot write " + target.string());
    std::filesystem::rename(temporary, target);
}

void makeSounds(const DataGenContext& context) {
    std::filesystem::path list = context.source / "sounds" / "sounds.txt";
    std::ifstream in(list);
    if (!in) throw std::runtime_error("missing " + list.string());
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::istringstream words(line);
        SoundSpec spec;
        if (!(words >> spec.path) || spec.path[0] == '#') continue;
        if (!(words >> spec.kind)) throw std::runtime_error("no sound kind for " + spec.path);
        std::string word;
        while (words >> word) {
            if (word == "mono") spec.channels = 1;
            else if (word.rfind("rate=", 0) == 0) spec.rate = std::stoi(word.substr(5));
            else spec.numbers.push_back(std::stod(word));
        }
        std::filesystem::path target = context.out / spec.path;
        // A changed synthesis (a newer generator) makes every sound again.
        if (!isOutOfDate(target, {list, context.generator})) continue;
        writeOgg(target, spec, synthesize(spec));
    }
}

}  // namespace

RW_DATAGEN_STEP(sounds, 40, makeSounds);
