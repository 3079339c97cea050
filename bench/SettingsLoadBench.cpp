// Loads big settings files of 20 presets as the program does at start and
// compares it with simply reading the same bytes. Each measurement runs in a
// fresh process of this program, so its peak memory is its own. Prints the
// medians of several interleaved rounds; see bench/README.md.

#include "settings/PresetTable.h"
#include "settings/ProfileFile.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr double kMiB = 1024.0 * 1024.0;

// What fills a file up to its size, placed after the keys of Preset10.
struct Filler {
    const char* name;
    std::string (*line)(std::size_t index);
};

const Filler kFillers[] = {
    {"blank", [](std::size_t) { return std::string("\n"); }},
    {"comments", [](std::size_t i) { return "; note " + std::to_string(i) + " about the drives in this room\n"; }},
    {"keys", [](std::size_t i) { return "Extra" + std::to_string(i) + "=value " + std::to_string(i) + "\n"; }},
    {"sections", [](std::size_t i) { return "[Extra" + std::to_string(i) + "]\nKey=1\n"; }},
};

std::string PresetSection(int number, bool withMinWrite)
{
    std::string text = "[Preset" + std::to_string(number) + "]\nName=Preset number " + std::to_string(number) +
                       "\nNumFiles=2\nFileSize=4800\nBufSize=128\nReadReps=10\nWriteReps=10\nSampsSec=20\n"
                       "KelMinRead=1000\n";
    return withMinWrite ? text + "KelMinWrite=1000\n" : text;
}

// Presets=count and that many sections; Preset10 lacks KelMinWrite, so
// reading it searches the filler that follows its keys.
void WriteSettingsFile(const fs::path& path, std::size_t bytes, const Filler& filler, int count)
{
    std::string head = "[Application]\nPresets=" + std::to_string(count) + "\n";
    std::string tail;
    for (int i = 1; i <= count; ++i) {
        (i <= 10 ? head : tail) += PresetSection(i, i != 10);
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << head;
    std::size_t written = head.size() + tail.size();
    for (std::size_t i = 0; written < bytes; ++i) {
        const std::string line = filler.line(i);
        out << line;
        written += line.size();
    }
    out << tail;
}

// This process's peak resident memory in bytes.
double PeakMemory()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("VmHWM:")) {
            return std::stod(line.substr(6)) * 1024.0;
        }
    }
    return 0;
}

// One measurement in this process: prints "<seconds> <peak bytes>".
int Measure(std::string_view mode, const fs::path& path)
{
    const auto start = std::chrono::steady_clock::now();
    if (mode == "load") {
        kel::ProfileFile file(path);
        kel::PresetTable table;
        table.LoadPresets(file);
        if (table.Count() != kel::MaxPresets) {
            std::fprintf(stderr, "loaded %d presets, not %d\n", table.Count(), kel::MaxPresets);
            return 1;
        }
    } else if (mode == "read") {
        std::ifstream in(path, std::ios::binary);
        std::string bytes(static_cast<std::size_t>(fs::file_size(path)), '\0');
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!in) {
            return 1;
        }
    } else if (mode != "idle") {
        return 2;
    }
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    std::printf("%.6f %.0f\n", seconds.count(), PeakMemory());
    return 0;
}

struct Figures {
    double seconds = 0;
    double peak = 0;
};

// Runs one measurement in a new process of this program.
Figures RunMeasure(const fs::path& self, std::string_view mode, const fs::path& file, const fs::path& out)
{
    const std::string command = "'" + self.string() + "' --measure " + std::string(mode) + " '" + file.string() +
                                "' > '" + out.string() + "'";
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "measuring %s of %s failed\n", std::string(mode).c_str(), file.c_str());
        std::exit(1);
    }
    Figures figures;
    std::ifstream(out) >> figures.seconds >> figures.peak;
    return figures;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Options {
    std::vector<int> sizesMiB {1, 20, 100};
    int rounds = 3;
    std::vector<const Filler*> fillers;
    fs::path dir = fs::temp_directory_path();
};

bool ParseOptions(int argc, char** argv, Options& options)
{
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string_view name = argv[i];
        const std::string value = argv[i + 1];
        if (name == "--sizes") {
            options.sizesMiB.clear();
            std::stringstream list(value);
            for (std::string size; std::getline(list, size, ',');) {
                options.sizesMiB.push_back(std::stoi(size));
            }
        } else if (name == "--rounds") {
            options.rounds = std::max(1, std::stoi(value));
        } else if (name == "--filler") {
            for (const Filler& filler : kFillers) {
                if (value == filler.name || value == "all") {
                    options.fillers.push_back(&filler);
                }
            }
        } else if (name == "--dir") {
            options.dir = value;
        } else {
            return false;
        }
    }
    if (options.fillers.empty()) {
        for (const Filler& filler : kFillers) {
            options.fillers.push_back(&filler);
        }
    }
    return argc % 2 == 1 && !options.sizesMiB.empty();
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::string_view(argv[1]) == "--measure") {
        return Measure(argv[2], argv[3]);
    }
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: %s [--sizes 1,20,100] [--rounds 3] [--filler blank|comments|keys|sections|all]"
                             " [--dir DIR]\n", argv[0]);
        return 2;
    }
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    const fs::path work = options.dir / ("kelt-settings-bench-" + std::to_string(std::random_device {}()));
    if (error || !fs::create_directory(work, error)) {
        std::fprintf(stderr, "cannot make a folder in %s\n", options.dir.c_str());
        return 1;
    }
    const fs::path file = work / "KelTally.ini";
    const fs::path out = work / "figures";

    const Figures idle = RunMeasure(self, "idle", file, out);
    std::printf("Settings load against reading the same bytes; medians of %d rounds. Idle process: %.1f MiB.\n",
                options.rounds, idle.peak / kMiB);
    std::printf("%-9s %5s %9s %9s %6s %9s %9s %6s %10s\n", "filler", "MiB", "read s", "load s", "ratio", "read MiB",
                "load MiB", "ratio", "load/size");
    for (const Filler* filler : options.fillers) {
        for (const int sizeMiB : options.sizesMiB) {
            const double bytes = sizeMiB * kMiB;
            WriteSettingsFile(file, static_cast<std::size_t>(bytes), *filler, kel::MaxPresets);
            std::vector<double> readSeconds, loadSeconds, readPeak, loadPeak;
            for (int round = 0; round < options.rounds; ++round) {
                const Figures read = RunMeasure(self, "read", file, out);
                const Figures load = RunMeasure(self, "load", file, out);
                readSeconds.push_back(read.seconds);
                readPeak.push_back(read.peak - idle.peak);
                loadSeconds.push_back(load.seconds);
                loadPeak.push_back(load.peak - idle.peak);
            }
            const double readS = Median(readSeconds), loadS = Median(loadSeconds);
            const double readM = Median(readPeak), loadM = Median(loadPeak);
            std::printf("%-9s %5d %9.4f %9.4f %6.2f %9.1f %9.1f %6.2f %9.2fx\n", filler->name, sizeMiB, readS, loadS,
                        loadS / readS, readM / kMiB, loadM / kMiB, loadM / readM, loadM / bytes);
        }
    }
    std::printf("Memory columns are peaks above the idle process. Targets: 20 MiB loads in under 1 s; load/size "
                "under 3x.\n");
    fs::remove_all(work, error);
    return 0;
}
