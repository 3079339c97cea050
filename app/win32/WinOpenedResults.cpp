// "Open Results..." and "Compare With...": saved records shown in the view.
#include "app/win32/WinPerfDialog.h"

#include "app/DialogLayout.h"
#include "app/SavedRecordDrawing.h"
#include "app/win32/WinRecordChooser.h"
#include "platform/win32/WinText.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>

namespace kel {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// "Kel Tallyforge - run.json (\\.\C:, 2026-12-09T13:00:00.000Z)".
std::string OpenedTitle(const std::string& name, const RunRecord& record)
{
    const std::string& drive = !record.fileSystem.device.empty()       ? record.fileSystem.device
                               : !record.fileSystem.mountPoint.empty() ? record.fileSystem.mountPoint
                                                                       : record.directory;
    std::string details = RecordTimeText(record.start);
    if (!drive.empty()) {
        details = drive + ", " + details;
    }
    return std::string(kDialogCaption) + " - " + name + " (" + details + ")";
}

}  // namespace

void WinPerfDialog::ChooseResults(bool compare)
{
    if (const auto path = ChooseRecordFile(m_window, compare ? L"Compare With" : L"Open Results", false)) {
        OpenResults(*path, compare);
    }
}

bool WinPerfDialog::OpenResults(const std::filesystem::path& recordPath, bool compare)
{
    if (m_session.IsRunning()) {
        return false;
    }
    const std::string name = Narrow(recordPath.filename().wstring());
    const std::unique_ptr<std::FILE, FileCloser> file(_wfopen(recordPath.wstring().c_str(), L"rb"));
    std::string problem = "it cannot be read";
    std::optional<RunRecord> record;
    if (file) {
        const int run = compare ? static_cast<int>(std::max<std::size_t>(m_openedNames.size(), 1)) : 0;
        record = DrawSavedRecord(file.get(), compare, run, m_graph, problem);
    }
    if (!record) {
        if (!compare) {
            // Passes read before the problem was met are not the record.
            m_graph.ConfigureRun(0, 0, 0, 0, 0);
            m_openedNames.clear();
            ShowIdleTitle();
        }
        ShowMessage("Unable to open the results.\n\n" + name + " is refused: " + problem);
        return false;
    }
    if (compare) {
        if (m_openedNames.empty()) {
            m_openedNames.push_back("This run");
        }
        m_openedNames.push_back(name);
        m_graph.SetRunNames(m_openedNames);
    } else {
        m_openedNames = {name};
        SetWindowTextW(m_window, Widen(OpenedTitle(name, *record)).c_str());
    }
    return true;
}

}  // namespace kel
