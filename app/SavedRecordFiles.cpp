#include "app/SavedRecordFiles.h"

#include "platform/TextRules.h"
#include "record/RecordJson.h"
#include "record/ReportTarget.h"

#include <algorithm>
#include <cctype>

namespace kel {

namespace {

bool EndsWithJson(const std::string& path)
{
    constexpr std::string_view suffix = ".json";
    return path.size() >= suffix.size() &&
           std::equal(suffix.begin(), suffix.end(), path.end() - static_cast<std::ptrdiff_t>(suffix.size()),
                      [](char a, char b) { return std::tolower(static_cast<unsigned char>(b)) == a; });
}

std::optional<std::string> Save(const std::string& path, const std::string& bytes)
{
    if (const auto failure = WriteReport(path, bytes)) {
        return failure->text;
    }
    return std::nullopt;
}

std::optional<std::string> SavePicture(const std::string& path, const std::string& png)
{
    if (png.empty()) {
        return "The picture \"" + PrintableText(path) + "\" could not be drawn.";
    }
    return Save(path, png);
}

}  // namespace

std::string PictureBesideRecord(const std::string& recordPath, const std::string& pictureName)
{
    const std::string base = EndsWithJson(recordPath) ? recordPath.substr(0, recordPath.size() - 5) : recordPath;
    return base + "-" + pictureName;
}

std::optional<std::string> SaveRecordFiles(const std::string& recordPath, const RunRecord& record,
                                           const std::string& graphPng, const std::string& textPng)
{
    if (const auto failure = Save(recordPath, RecordJson(record))) {
        return failure;
    }
    if (const auto failure = SavePicture(PictureBesideRecord(recordPath, GraphPictureName()), graphPng)) {
        return failure;
    }
    return SavePicture(PictureBesideRecord(recordPath, TextPictureName()), textPng);
}

}  // namespace kel
