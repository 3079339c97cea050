#include "record/RunRecord.h"

#include <cstdio>

namespace kel {

double MinimumRate(const RunParameters& parameters, bool isWrite)
{
    const std::int32_t thousandths = isWrite ? parameters.minWrite : parameters.minRead;
    return thousandths > 0 ? thousandths * 0.001 : 0.0;
}

FileSystemInfo FileSystemOf(const DriveEntry& drive)
{
    return FileSystemInfo {drive.fileSystem, drive.mountPoint, drive.device, drive.label};
}

KindSummary SummaryOf(const PassStatistics& statistics, int passes, std::int64_t samples,
                      std::int64_t samplesBelowMinimum)
{
    if (passes == 0) {
        return KindSummary {};
    }
    return KindSummary {passes, statistics.minRate, statistics.maxRate, statistics.Average(), samples,
                        samplesBelowMinimum, {}};
}

void SummarizeFigures(const std::vector<RecordedPass>& passes, bool isWrite, KindSummary& summary)
{
    summary.figures = KindFigures {};
    for (const RecordedPass& pass : passes) {
        if (pass.isWrite == isWrite && pass.hasFigures) {
            summary.figures.Add(pass.figures);
        }
    }
}

std::string RecordTimeText(std::chrono::system_clock::time_point time)
{
    using namespace std::chrono;
    const auto milliseconds = floor<std::chrono::milliseconds>(time);
    const auto day = floor<days>(milliseconds);
    const year_month_day date(day);
    const hh_mm_ss clock(milliseconds - day);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d.%03dZ", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
                  static_cast<int>(clock.seconds().count()), static_cast<int>(clock.subseconds().count()));
    return text;
}

std::optional<std::chrono::system_clock::time_point> ParseRecordTime(std::string_view text)
{
    using namespace std::chrono;
    // "YYYY-MM-DDTHH:MM:SS.mmmZ": digits where the pattern has 9.
    constexpr std::string_view kPattern = "9999-99-99T99:99:99.999Z";
    if (text.size() != kPattern.size()) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (kPattern[i] == '9' ? !digit : text[i] != kPattern[i]) {
            return std::nullopt;
        }
    }
    const auto number = [&](std::size_t at, std::size_t digits) {
        int value = 0;
        for (std::size_t i = at; i < at + digits; ++i) {
            value = value * 10 + (text[i] - '0');
        }
        return value;
    };
    const year_month_day date {year(number(0, 4)), month(static_cast<unsigned>(number(5, 2))),
                               day(static_cast<unsigned>(number(8, 2)))};
    const int hour = number(11, 2);
    const int minute = number(14, 2);
    const int second = number(17, 2);
    if (!date.ok() || hour > 23 || minute > 59 || second > 59) {
        return std::nullopt;
    }
    return sys_days(date) + hours(hour) + minutes(minute) + seconds(second) + milliseconds(number(20, 3));
}

}  // namespace kel
