// What the runner prints and how it exits, for argument vectors that cover
// the help, the version, every kind of refusal and two short runs, as the
// runner has always answered them: stdout, stderr and the exit code, byte
// for byte. @WORK@ stands for a fresh folder, @CLI@ for the runner's path;
// rates (digits, a point and three decimals, and the blanks that align
// them) and the bytes moved before a pass's longest stall differ from run
// to run.

#include "Version.h"
#include "tests/cli/CliProcess.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

namespace kel {
namespace {

using namespace test;

const char* const kHelp = R"~(Usage: @CLI@ [options]
Measures how fast a drive sustains writing (Record) and reading (Play) large files,
with the system's file cache kept out of the figures. Runs the same engine as the
Kel Tallyforge dialog, without a display. Without --preset the settings file's
"(Default)" preset gives the parameters the command line leaves out.

Exit codes: 0 complete, 1 failed (also when a report or the output could not be
written), 2 refused before the run, 3 complete but a sample lay below its kind's
minimum rate (with --fail-below), 128 + the signal's number when stopped by a
signal (130 Ctrl-C, 143 SIGTERM, 129 SIGHUP, 141 when standard output was closed).

Options:
  -h, --help        Show this help.
  -v, --version     Show the version.
  --dir <PATH>      Folder to put the test files in (default: the current
                    folder).
  --drive <LETTER>  Drive letter as --list-drives shows it, instead of --dir.
  --preset <NAME>   Start from the named preset of the settings file.
  --list-presets    Print the presets of the settings file and exit.
  --list-drives     Print the drives as the dialog lists them and exit.
  --files <N>       Number of test files, 1 to 100 (default 1).
  --file-size <N>   Size of each file in KB, 1 to 102400 (default 2400).
  --buffer <N>      Size of each transfer in KB, 1 to 1024 (default 96).
  --reads <N>       Read (Play) passes, 1 to 1000 (default 30).
  --writes <N>      Write (Record) passes, 1 to 1000 (default 30).
  --resolution <N>  Rate samples per second, 0 to 200 (default 10).
  --min-read <N>    Minimum read rate in thousandths of an MB/s, drawn on the
                    graph and judged by --fail-below (default 0: none).
  --min-write <N>   Minimum write rate in thousandths of an MB/s, drawn on the
                    graph and judged by --fail-below (default 0: none).
  --simultaneous    Write an extra file during every read pass.
  --fail-below      Exit with 3 when a sample lies below its kind's minimum
                    rate (--min-read, --min-write or the preset's).
  --max-buffer <N>  With --fail-below: judge each kind with a minimum rate by
                    the buffer a stream at that rate needs instead of by its
                    samples; exit with 3 when it needs more than N KB or falls
                    behind for good.
  --verify          Stamp every 4 KiB written with what it is and check every
                    byte read back; data that differs ends the run as failed
                    (exit 1).
  --png <DIR>       Write the graph and text views of the run to DIR/graph.png
                    and DIR/text.png; DIR is made when missing.
  --scale <auto|N>  The graph's scale in the --png pictures: default (as
                    without it) shows 0 to 20 MB/s while every sample fits, else
                    the fitted scale, its top at most 25 % above the fastest
                    sample; auto always fits it; N (1 to 1000000) fixes the top
                    at N MB/s (--scale 20: always 0 to 20).
  --metrics <FILE>  Write the run's figures to FILE in the Prometheus text
                    format, for node_exporter's textfile collector; - for
                    standard output, the pass lines then go to standard error.
  --json <FILE>     Write the run's record (every pass with its samples, the
                    summary, the file system and how the run ended) to FILE as
                    JSON; - for standard output, the pass lines then go to
                    standard error. With --list-presets or --list-drives, print
                    the list as JSON.

)~";

struct GoldenCase {
    std::vector<const char*> args;
    int exitCode;
    const char* out;
    const char* err;
};

const GoldenCase kCases[] = {
    {{"--help"}, 0,
     kHelp,
     ""},
    {{"-h"}, 0,
     kHelp,
     ""},
    {{"--version"}, 0,
     "keltally-cli @VERSION@\n",
     ""},
    {{"-v"}, 0,
     "keltally-cli @VERSION@\n",
     ""},
    {{"--bogus"}, 2,
     "",
     R"~(keltally-cli: Unknown option 'bogus'.
Try 'keltally-cli --help'.
)~"},
    {{"--files"}, 2,
     "",
     R"~(keltally-cli: Missing value after '--files'.
Try 'keltally-cli --help'.
)~"},
    {{"--files", "x"}, 2,
     "",
     R"~(keltally-cli: --files needs a whole number, not 'x'
Try 'keltally-cli --help'.
)~"},
    {{"--files", "0"}, 2,
     "",
     "keltally-cli: --files must be between 1 and 100, not 0\n"},
    {{"--files", "101"}, 2,
     "",
     "keltally-cli: --files must be between 1 and 100, not 101\n"},
    {{"--files", ""}, 2,
     "",
     R"~(keltally-cli: --files needs a value, not an empty one
Try 'keltally-cli --help'.
)~"},
    {{"--dir", "/a", "--drive", "C"}, 2,
     "",
     R"~(keltally-cli: --dir and --drive cannot be used together
Try 'keltally-cli --help'.
)~"},
    {{"--drive", "1"}, 2,
     "",
     R"~(keltally-cli: --drive needs a drive letter such as C, not '1'
Try 'keltally-cli --help'.
)~"},
    {{"--drive", "CC"}, 2,
     "",
     R"~(keltally-cli: --drive needs a drive letter such as C, not 'CC'
Try 'keltally-cli --help'.
)~"},
    {{"--list-presets", "--list-drives"}, 2,
     "",
     R"~(keltally-cli: --list-presets and --list-drives cannot be used together
Try 'keltally-cli --help'.
)~"},
    {{"--json", "-", "--metrics", "-"}, 2,
     "",
     R"~(keltally-cli: --json and --metrics cannot both go to standard output
Try 'keltally-cli --help'.
)~"},
    {{"positional"}, 2,
     "",
     R"~(keltally-cli: unexpected argument 'positional'
Try 'keltally-cli --help'.
)~"},
    {{"--fail-below"}, 2,
     "",
     "keltally-cli: --fail-below needs a minimum rate to judge by: --min-read, --min-write or a preset with one\n"},
    {{"--fail-below", "--max-buffer", "-1"}, 2,
     "",
     R"~(keltally-cli: --max-buffer needs a size in KB (a whole number from 0), not '-1'
Try 'keltally-cli --help'.
)~"},
    {{"--max-buffer", "64"}, 2,
     "",
     R"~(keltally-cli: --max-buffer judges a run only with --fail-below
Try 'keltally-cli --help'.
)~"},
    {{"--scale", "foo"}, 2,
     "",
     R"~(keltally-cli: --scale needs auto or a whole number of MB/s from 1 to 1000000, not 'foo'
Try 'keltally-cli --help'.
)~"},
    {{"--scale", "0"}, 2,
     "",
     R"~(keltally-cli: --scale needs auto or a whole number of MB/s from 1 to 1000000, not '0'
Try 'keltally-cli --help'.
)~"},
    {{"--preset", "nosuch"}, 2,
     "",
     R"~(keltally-cli: there is no preset named "nosuch" (see --list-presets)
)~"},
    {{"--list-presets"}, 0,
     R"~(Name                                   Files  FileKB BufKB Reads Writes  Res  MinRead MinWrite
(Default)                                  1    2400    96    30     30   10        0        0
)~",
     ""},
    {{"--list-presets", "--json"}, 0,
     R"~([
    {
        "bufSize": 96,
        "bufSizeKB": 96,
        "fileSize": 2400,
        "fileSizeKB": 2400,
        "files": 1,
        "minRead": 0,
        "minWrite": 0,
        "name": "(Default)",
        "numFiles": 1,
        "readReps": 30,
        "sampsSec": 10,
        "writeReps": 30
    }
]
)~",
     ""},
    {{"--buffer", "3000", "--file-size", "100"}, 2,
     "",
     "keltally-cli: --buffer must be between 1 and 1024, not 3000\n"},
    {{"--min-read", "x"}, 2,
     "",
     R"~(keltally-cli: --min-read needs a whole number, not 'x'
Try 'keltally-cli --help'.
)~"},
    {{"--dir", "/nonexistent/x", "--files", "1", "--file-size", "64", "--buffer", "64"}, 2,
     "",
     R"~(Unable to access folder "/nonexistent/x".
)~"},
    {{"--drive", "Q"}, 2,
     "",
     "keltally-cli: there is no drive Q: here (see --list-drives)\n"},
    {{"--dir", "@WORK@", "--files", "1", "--file-size", "64", "--buffer", "64", "--reads", "1", "--writes", "1", "--json", "/nonexistent-dir/x.json"}, 2,
     "",
     R"~(keltally-cli: --json: the folder "/nonexistent-dir" does not exist
)~"},
    {{"--json"}, 2,
     "",
     R"~(keltally-cli: Missing value after '--json'.
Try 'keltally-cli --help'.
)~"},
    {{"--png"}, 2,
     "",
     R"~(keltally-cli: Missing value after '--png'.
Try 'keltally-cli --help'.
)~"},
    {{"--metrics", ""}, 2,
     "",
     R"~(keltally-cli: --metrics needs a value, not an empty one
Try 'keltally-cli --help'.
)~"},
    {{"--files", "2", "--files", "3", "--dir", "@WORK@", "--file-size", "64", "--buffer", "64", "--reads", "0", "--writes", "0"}, 2,
     "",
     "keltally-cli: --reads must be between 1 and 1000, not 0\n"},
    {{"--simultaneous", "--dir", "@WORK@", "--files", "1", "--file-size", "64", "--buffer", "64", "--reads", "1", "--writes", "1"}, 0,
     R"~(Play      1  samples      1  lowest    431.360  highest    431.360  pass    431.360 MB/s
             stall 0.000 s at 0.000 s, after 0 KB
Play/Record Performance:
  Min: 431.360 MB/s
  Max: 431.360 MB/s
  Avg: 431.360 MB/s
  Longest stall: 0.000 s in pass 1 at 0.000 s
)~",
     ""},
    {{"--dir=/nonexistent"}, 2,
     "",
     R"~(Unable to access folder "/nonexistent".
)~"},
    {{"-x"}, 2,
     "",
     R"~(keltally-cli: Unknown option 'x'.
Try 'keltally-cli --help'.
)~"},
    {{"--help", "--bogus"}, 2,
     "",
     R"~(keltally-cli: Unknown option 'bogus'.
Try 'keltally-cli --help'.
)~"},
    {{"--version", "--files", "0"}, 0,
     "keltally-cli @VERSION@\n",
     ""},
};

QString Normalised(QString text, const QString& work)
{
    text.replace(work, "@WORK@").replace(kCli, "@CLI@");
    text.replace(QString("keltally-cli ") + kVersion, "keltally-cli @VERSION@");
    text.replace(QRegularExpression("after [0-9.]+ [KMG]B"), "after # KB");
    return text.replace(QRegularExpression(" *[0-9]+\\.[0-9]{3}"), " #.###");
}

TEST(RunnerGolden, EveryAnswerIsTheOneTheRunnerHasAlwaysGiven)
{
    for (const GoldenCase& c : kCases) {
        TempDir work;
        const QString workPath = QString::fromStdString(work.Path());
        ProgramRun run;
        for (const char* arg : c.args) {
            run.args << QString(arg).replace("@WORK@", workPath);
        }
        const ProgramResult result = RunProgram(kCli, run);
        const std::string shown = run.args.join(' ').toStdString();
        EXPECT_EQ(result.exitCode, c.exitCode) << shown;
        EXPECT_EQ(Normalised(result.out, workPath).toStdString(), Normalised(c.out, workPath).toStdString()) << shown;
        EXPECT_EQ(Normalised(result.err, workPath).toStdString(), Normalised(c.err, workPath).toStdString()) << shown;
        EXPECT_TRUE(work.Entries().empty()) << shown;
    }
}

}  // namespace
}  // namespace kel
