// What the dialog says about a run besides its figures: the proposed file
// name, the note on how the files were reached, the header of the copied
// results, and the minimum rate fields in MB/s.

#include "app/DataExchange.h"
#include "app/RunDescription.h"

#include <gtest/gtest.h>

namespace kel::test {
namespace {

TEST(RunDescription, ProposedNameHoldsDateTimeAndDriveOnly)
{
    const QDateTime start(QDate(2026, 12, 9), QTime(14, 32, 59));
    EXPECT_EQ(ProposedRecordName(start, 'C'), "keltally-2026-12-09-1432-C.json");
    EXPECT_EQ(ProposedRecordName(start, 0), "keltally-2026-12-09-1432.json");
}

TEST(RunDescription, NoteWarnsOfMemoryAndOfTheBufferedFallbackOnly)
{
    const struct {
        const char* type;
        FileAccess access;
        const char* noteStart;  // empty: no note
        const char* accessText;
    } cases[] = {
        {"ext4", FileAccess::Direct, "", "unbuffered (direct I/O)"},
        {"ext4", FileAccess::None, "", "not known"},
        {"ext4", FileAccess::SyncBuffered, "Direct I/O was refused:", "buffered fallback"},
        {"vfat", FileAccess::Mixed, "Direct I/O was refused for some files", "partly unbuffered"},
        {"tmpfs", FileAccess::Direct, "The test folder lies in memory (tmpfs)", "in memory (tmpfs), not a disk"},
        {"tmpfs", FileAccess::SyncBuffered, "The test folder lies in memory", "in memory (tmpfs)"},
    };
    for (const auto& c : cases) {
        RunRecord record;
        record.fileSystem.type = c.type;
        record.outcome.fileAccess = c.access;
        const QString note = FileAccessNotice(record);
        EXPECT_EQ(note.isEmpty(), *c.noteStart == '\0') << c.type << note.toStdString();
        EXPECT_TRUE(note.isEmpty() || note.startsWith(QLatin1String(c.noteStart))) << note.toStdString();
        EXPECT_TRUE(FileAccessText(record).startsWith(QLatin1String(c.accessText)))
            << FileAccessText(record).toStdString();
    }
}

TEST(RunDescription, HeaderNamesDriveDateParametersAndAccess)
{
    RunRecord record;
    record.directory = "/media/%1 stick";
    record.fileSystem = {"vfat", "/media/%1 stick", "/dev/sdb1", "KEL"};
    record.parameters = {1, 2400, 96, 30, 30, 10, 0, 5722, 0};
    record.outcome.fileAccess = FileAccess::SyncBuffered;
    const QString header = ResultsHeader(record, QDateTime(QDate(2026, 12, 9), QTime(14, 32, 5)), 'E');
    const QStringList lines = header.split(u'\n');
    ASSERT_EQ(lines.size(), 8) << header.toStdString();
    EXPECT_EQ(lines[1], "Drive: E: /media/%1 stick (vfat on /dev/sdb1, label \"KEL\")");
    EXPECT_EQ(lines[2], "Started: 2026-12-09 14:32:05");
    EXPECT_EQ(lines[3], "Parameters: 1 file of 2400 KB, 96 KB transfers, 30 write passes, 30 read passes, "
                        "10 samples per second");
    EXPECT_EQ(lines[4], "Minimum rates: read none, write 5.722 MB/s");
    EXPECT_TRUE(lines[5].startsWith("Files reached: buffered fallback")) << lines[5].toStdString();
    EXPECT_TRUE(lines[6].isEmpty() && lines[7].isEmpty());
}

TEST(RateField, TakesMegabytesPerSecondToThreeDecimals)
{
    const struct {
        const char* text;
        int thousandths;  // -1: refused
        const char* shown;
    } cases[] = {
        {"5.722", 5722, "5.722"}, {" 30 ", 30000, "30"}, {"1.5", 1500, "1.5"}, {".25", 250, "0.25"},
        {"", 0, ""},              {"0", 0, ""},          {"1000000", 1000000000, "1000000"},
        {"1.2345", -1, ""},       {"-1", -1, ""},        {"abc", -1, ""},
        {".", -1, ""},            {"1,5", -1, ""},       {"1000000.001", -1, ""},
    };
    for (const auto& c : cases) {
        const FieldCheck check = CheckRateField(QString::fromLatin1(c.text), 1000000);
        EXPECT_EQ(check.accepted, c.thousandths >= 0) << c.text;
        if (check.accepted) {
            EXPECT_EQ(check.value, c.thousandths) << c.text;
            EXPECT_EQ(RateFieldText(check.value), QLatin1String(c.shown)) << c.text;
        } else {
            EXPECT_FALSE(check.message.empty());
        }
    }
    EXPECT_EQ(CheckRateField("1000000.001", 1000000).message, "Please enter a rate between 0 and 1000000 MB/s.");
    EXPECT_EQ(CheckRateField("1.2345", 1000000).message, "Please enter a rate in MB/s with at most three decimals.");
    EXPECT_EQ(RateFieldText(-5), "");
}

}  // namespace
}  // namespace kel::test
