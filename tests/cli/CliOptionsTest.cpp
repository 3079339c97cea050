#include "Version.h"
#include "cli/CliOptions.h"

#include <QDir>
#include <gtest/gtest.h>

namespace kel {
namespace {

CliParseResult Parse(const QStringList& args)
{
    std::vector<std::string> arguments {"keltally-cli"};
    for (const QString& arg : args) {
        arguments.push_back(arg.toStdString());
    }
    return ParseCliOptions(arguments);
}

TEST(CliOptions, DefaultsAreTheDefaultPresetInTheCurrentFolder)
{
    const CliParseResult parsed = Parse({});
    ASSERT_TRUE(parsed.options);
    const CliOptions& o = *parsed.options;
    EXPECT_EQ(o.directory, QDir::currentPath().toStdString());
    const RunParameters& p = o.parameters;
    EXPECT_EQ(std::tie(p.numFiles, p.fileSizeKB, p.bufSizeKB, p.readReps, p.writeReps, p.sampsSec, p.minRead, p.minWrite,
                       p.simultaneous),
              std::make_tuple(1, 2400, 96, 30, 30, 10, 0, 0, 0));
    EXPECT_FALSE(ValidateParameters(o));
}

TEST(CliOptions, ReadsEveryParameter)
{
    const CliParseResult parsed =
        Parse({"--dir", "/tmp", "--files", "4", "--file-size", "1024", "--buffer", "64", "--reads", "2", "--writes",
               "3", "--resolution", "0", "--min-read", "3500", "--min-write", "-1", "--simultaneous", "--json", "x.json"});
    ASSERT_TRUE(parsed.options);
    const CliOptions& o = *parsed.options;
    EXPECT_EQ(o.directory, "/tmp");
    const RunParameters& p = o.parameters;
    EXPECT_EQ(std::tie(p.numFiles, p.fileSizeKB, p.bufSizeKB, p.readReps, p.writeReps, p.sampsSec, p.minRead, p.minWrite,
                       p.simultaneous),
              std::make_tuple(4, 1024, 64, 2, 3, 0, 3500, -1, 1));
    EXPECT_EQ(o.jsonFile, "x.json");
}

TEST(CliOptions, RefusalsExplainThemselvesAndExitWithTwo)
{
    for (const QStringList& args :
         {QStringList {"--files", "many"}, QStringList {"--bogus"}, QStringList {"--dir", "/tmp", "--drive", "C"},
          QStringList {"--drive", "CD"}, QStringList {"stray"}, QStringList {"--json", ""},
          QStringList {"--metrics", ""}, QStringList {"--png", ""}, QStringList {"--dir", ""},
          QStringList {"--preset", ""}, QStringList {"--json", "-", "--metrics", "-"},
          QStringList {"--list-presets", "--list-drives"}, QStringList {"--scale", "0"},
          QStringList {"--scale", "fast"}, QStringList {"--fail-below", "--max-buffer"},
          QStringList {"--fail-below", "--max-buffer", "-1"}, QStringList {"--fail-below", "--max-buffer", "1.5"},
          QStringList {"--max-buffer", "64"}}) {
        const CliParseResult parsed = Parse(args);
        EXPECT_FALSE(parsed.options) << args.join(' ').toStdString();
        EXPECT_EQ(parsed.exitCode, 2);
        EXPECT_TRUE(parsed.output.starts_with("keltally-cli: ")) << parsed.output;
    }
    const CliParseResult drive = Parse({"--drive", "d:"});
    ASSERT_TRUE(drive.options);
    EXPECT_EQ(drive.options->driveLetter, 'D');
    const CliParseResult fitted = Parse({"--scale", "auto"});
    ASSERT_TRUE(fitted.options);
    EXPECT_EQ(fitted.options->pngScale, FittedGraphScale());
}

TEST(CliOptions, VersionListingsAndJudgingOptions)
{
    const CliParseResult version = Parse({"--version"});
    EXPECT_FALSE(version.options);
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.output, std::string("keltally-cli ") + kVersion);

    const CliParseResult drives = Parse({"--list-drives", "--json"});
    ASSERT_TRUE(drives.options);
    EXPECT_TRUE(drives.options->listDrives && drives.options->json);

    const CliParseResult judged = Parse({"--fail-below", "--metrics", "m.prom", "--json", "-"});
    ASSERT_TRUE(judged.options);
    EXPECT_TRUE(judged.options->failBelow);
    EXPECT_FALSE(judged.options->maxBufferKB || judged.options->verify);
    const CliParseResult buffered = Parse({"--max-buffer", "0", "--fail-below", "--verify"});
    ASSERT_TRUE(buffered.options);
    EXPECT_EQ(buffered.options->maxBufferKB, 0);
    EXPECT_TRUE(buffered.options->verify);
    EXPECT_EQ(judged.options->metricsFile, "m.prom");
    EXPECT_EQ(judged.options->jsonFile, "-");
    EXPECT_TRUE(ValidateFailBelow(*judged.options)) << "no minimum rate to judge by";
    CliOptions withMinimum = *judged.options;
    withMinimum.parameters.minWrite = 12000;
    EXPECT_FALSE(ValidateFailBelow(withMinimum));
}

TEST(CliOptions, RangesAreTheDialogsAndTheFirstBadOneIsNamed)
{
    struct Edge {
        QStringList args;
        bool ok;
    };
    const Edge edges[] = {
        {{"--files", "0"}, false},          {{"--files", "1"}, true},          {{"--files", "100"}, true},
        {{"--files", "101"}, false},        {{"--file-size", "102400"}, true}, {{"--file-size", "102401"}, false},
        {{"--buffer", "1024"}, true},       {{"--buffer", "1025"}, false},     {{"--reads", "1000"}, true},
        {{"--reads", "1001"}, false},       {{"--writes", "1001"}, false},     {{"--resolution", "0"}, true},
        {{"--resolution", "200"}, true},    {{"--resolution", "201"}, false},
    };
    for (const Edge& edge : edges) {
        const CliParseResult parsed = Parse(edge.args);
        ASSERT_TRUE(parsed.options);
        EXPECT_EQ(!ValidateParameters(*parsed.options), edge.ok) << edge.args.join(' ').toStdString();
    }
    const CliParseResult several = Parse({"--resolution", "999", "--buffer", "0", "--files", "0"});
    EXPECT_EQ(*ValidateParameters(*several.options), "--files must be between 1 and 100, not 0");

    CliOptions fromPreset = *Parse({"--preset", "Big"}).options;
    fromPreset.parameters.bufSizeKB = 4096;
    EXPECT_EQ(*ValidateParameters(fromPreset),
              "--buffer must be between 1 and 1024, not 4096 (from the preset \"Big\")");
}

}  // namespace
}  // namespace kel
