// Generates assets/dice.wav, the sound of the roll button: dice shaken in a cup, then
// landing on a table with a few bounces. 16-bit PCM mono at 44.1 kHz, peak at -3 dBFS.
//
// Every impact is a short burst of noise plus a handful of exponentially decaying sine
// modes: high ones for the dice, a hollow middle one for the cup, low ones for the table.
// All randomness comes from a fixed seed, so the file is reproduced byte for byte.
//
// Run:
//   cmake --build <build> --target quintaro_dice_sound
//   <build>/tools/assetgen/quintaro_dice_sound <repository>/assets
// or build the target quintaro_regenerate_assets, which runs all three generators.
// The argument is the folder to write dice.wav into (default: the current folder).

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

#include "tools/assetgen/FixedRandom.h"

namespace quintaro {
namespace {

constexpr int kRate = 44100;
constexpr double kLength = 0.56;      // seconds
constexpr double kPeak = 0.70794578;  // -3 dBFS
constexpr std::uint64_t kSeed = 0x51D1CE5EEDull;

struct Mode {
    double freq;  // Hz
    double tau;   // seconds until the amplitude has fallen to 1/e
    double amp;
};

struct Range {
    double low;
    double high;
};

using Signal = std::vector<double>;

int toSample(double seconds) {
    return int(std::lround(seconds * kRate));
}

// One decaying sine mode starting at `start`.
void addMode(Signal& out, int start, const Mode& mode, double gain) {
    const int length = std::min(int(out.size()) - start, toSample(mode.tau * 9.0));
    const double attack = 0.00012;  // a fraction of a millisecond, to round off the edge
    for (int n = 0; n < length; ++n) {
        const double t = double(n) / kRate;
        const double rise = t < attack ? t / attack : 1.0;
        out[std::size_t(start + n)] += gain * mode.amp * rise * std::exp(-t / mode.tau) *
                                       std::sin(2.0 * std::numbers::pi * mode.freq * t);
    }
}

// The sharp noise transient at the moment of contact, high-passed so it clicks.
void addClick(Signal& out, int start, double tau, double gain, FixedRandom& rng) {
    const int length = std::min(int(out.size()) - start, toSample(tau * 8.0));
    double previousIn = 0.0;
    double previousOut = 0.0;
    const double hp = 0.75;  // one-pole high-pass, corner near 3 kHz
    for (int n = 0; n < length; ++n) {
        const double t = double(n) / kRate;
        const double in = rng.signedUnit() * std::exp(-t / tau);
        previousOut = hp * (previousOut + in - previousIn);
        previousIn = in;
        out[std::size_t(start + n)] += gain * previousOut;
    }
}

Mode randomMode(FixedRandom& rng, Range freq, Range tau, Range amp) {
    return Mode{rng.between(freq.low, freq.high), rng.between(tau.low, tau.high),
                rng.between(amp.low, amp.high)};
}

// A die striking another die or the wall inside the cup: bright, very short, plus the
// cup's own hollow ring.
void addCupHit(Signal& out, double time, double gain, FixedRandom& rng) {
    const int start = toSample(time);
    const int dieModes = 3;
    for (int i = 0; i < dieModes; ++i) {
        addMode(out, start, randomMode(rng, {2400, 6200}, {0.0015, 0.0040}, {0.35, 1.0}), gain);
    }
    addMode(out, start, randomMode(rng, {620, 1050}, {0.006, 0.011}, {0.30, 0.45}), gain);
    addClick(out, start, 0.00035, 0.45 * gain, rng);
}

// A die landing on the table: the die's ring, the table's dull thump and a hard click.
void addTableHit(Signal& out, double time, double gain, FixedRandom& rng) {
    const int start = toSample(time);
    for (int i = 0; i < 4; ++i) {
        addMode(out, start, randomMode(rng, {2900, 7400}, {0.004, 0.009}, {0.30, 0.80}), gain);
    }
    addMode(out, start, randomMode(rng, {140, 230}, {0.018, 0.030}, {0.55, 0.75}), gain);
    addMode(out, start, randomMode(rng, {420, 820}, {0.007, 0.013}, {0.30, 0.45}), gain);
    addClick(out, start, 0.0003, 0.6 * gain, rng);
}

// The dice sliding against each other in the cup: quiet band-limited noise that swells
// with each shake.
void addShakeNoise(Signal& out, const std::vector<Range>& swings, double gain, FixedRandom& rng) {
    double low = 0.0;
    double band = 0.0;
    for (std::size_t n = 0; n < out.size(); ++n) {
        const double t = double(n) / kRate;
        double envelope = 0.0;
        for (const Range& swing : swings) {
            if (t >= swing.low && t < swing.high) {
                const double x = (t - swing.low) / (swing.high - swing.low);
                envelope += std::sin(std::numbers::pi * x) * std::sin(std::numbers::pi * x);
            }
        }
        const double noise = rng.signedUnit();
        // Two one-pole low-passes subtracted: a band roughly 1.5 to 6 kHz.
        low += 0.20 * (noise - low);
        band += 0.55 * (noise - band);
        out[n] += gain * envelope * (band - low);
    }
}

// A gentle low-pass: the cup muffles what happens inside it.
void muffle(Signal& signal, double amount) {
    double state = 0.0;
    for (double& x : signal) {
        state += amount * (x - state);
        x = state;
    }
}

Signal renderRoll() {
    FixedRandom rng(kSeed);
    const std::size_t total = std::size_t(toSample(kLength));

    // Two shakes of the cup, each with a burst of hits.
    Signal cup(total, 0.0);
    const std::vector<Range> swings = {{0.005, 0.125}, {0.135, 0.265}};
    addShakeNoise(cup, swings, 0.05, rng);
    const int hitsPerSwing = 7;
    for (const Range& swing : swings) {
        for (int i = 0; i < hitsPerSwing; ++i) {
            const double slot = (swing.high - swing.low) / hitsPerSwing;
            const double time = swing.low + slot * (i + rng.between(0.1, 0.9));
            // Louder in the middle of a swing, where the dice move fastest.
            const double x = (time - swing.low) / (swing.high - swing.low);
            const double gain =
                (0.32 + 0.36 * std::sin(std::numbers::pi * x)) * rng.between(0.6, 1.0);
            addCupHit(cup, time, gain, rng);
        }
    }
    muffle(cup, 0.6);

    // Out of the cup: two dice land almost together, bounce, and roll to a stop.
    Signal table(total, 0.0);
    const struct {
        double time;
        double gain;
    } landings[] = {
        {0.300, 1.00}, {0.314, 0.80}, {0.349, 0.55}, {0.384, 0.38},
        {0.411, 0.22}, {0.429, 0.15}, {0.444, 0.10}, {0.462, 0.06},
    };
    for (const auto& landing : landings) {
        addTableHit(table, landing.time + rng.between(-0.002, 0.002), landing.gain, rng);
    }

    Signal mix(total, 0.0);
    for (std::size_t n = 0; n < total; ++n) {
        mix[n] = cup[n] + table[n];
    }
    return mix;
}

// Removes any DC offset, fades out the tail and scales to the peak level.
void finish(Signal& signal) {
    double previousIn = 0.0;
    double previousOut = 0.0;
    const double pole = 1.0 - 2.0 * std::numbers::pi * 30.0 / kRate;  // 30 Hz high-pass
    for (double& x : signal) {
        const double in = x;
        previousOut = pole * (previousOut + in - previousIn);
        previousIn = in;
        x = previousOut;
    }
    const int fade = toSample(0.030);
    for (int n = 0; n < fade; ++n) {
        const double x = double(n) / fade;
        signal[signal.size() - 1 - std::size_t(n)] *= 0.5 - 0.5 * std::cos(std::numbers::pi * x);
    }
    double peak = 0.0;
    for (double x : signal) {
        peak = std::max(peak, std::abs(x));
    }
    for (double& x : signal) {
        x *= kPeak / peak;
    }
}

void putLe(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(char((value >> (8 * i)) & 0xFF));
    }
}

std::string waveFile(const Signal& signal) {
    const std::uint32_t dataBytes = std::uint32_t(signal.size() * 2);
    std::string out;
    out += "RIFF";
    putLe(out, 4 + (8 + 16) + (8 + dataBytes), 4);
    out += "WAVE";
    out += "fmt ";
    putLe(out, 16, 4);
    putLe(out, 1, 2);  // PCM
    putLe(out, 1, 2);  // mono
    putLe(out, kRate, 4);
    putLe(out, kRate * 2, 4);  // bytes per second
    putLe(out, 2, 2);          // bytes per sample frame
    putLe(out, 16, 2);         // bits per sample
    out += "data";
    putLe(out, dataBytes, 4);
    for (double x : signal) {
        const long value = std::lround(std::clamp(x, -1.0, 1.0) * 32767.0);
        putLe(out, std::uint32_t(std::uint16_t(std::int16_t(value))), 2);
    }
    return out;
}

}  // namespace
}  // namespace quintaro

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : ".";
    quintaro::Signal signal = quintaro::renderRoll();
    quintaro::finish(signal);
    const std::string bytes = quintaro::waveFile(signal);
    const std::string path = folder + "/dice.wav";
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), std::streamsize(bytes.size()));
    if (!file) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return 1;
    }
    std::printf("%s: %zu samples, %.3f s\n", path.c_str(), signal.size(),
                double(signal.size()) / quintaro::kRate);
    return 0;
}
