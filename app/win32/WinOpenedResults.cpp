// "Open Results..." and "Compare With...": saved records shown in the view,
// read pass by pass so a long record never has to fit in memory whole.
#include "app/win32/WinPerfDialog.h"

#include "app/DialogLayout.h"
#include "platform/win32/WinText.h"
#include "record/RecordReading.h"

#include <commdlg.h>

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
    std::wstring path(32768, L'\0');
    OPENFILENAMEW chooser {};
    chooser.lStructSize = sizeof chooser;
    chooser.hwndOwner = m_window;
    chooser.lpstrFilter = L"Run records (*.json)\0*.json\0";
    chooser.lpstrFile = path.data();
    chooser.nMaxFile = static_cast<DWORD>(path.size());
    chooser.lpstrTitle = compare ? L"Compare With" : L"Open Results";
    chooser.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (GetOpenFileNameW(&chooser) != FALSE) {
        path.resize(path.find(L'\0'));
        OpenResults(std::filesystem::path(path), compare);
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
        RunParameters parameters;
        const RecordPassReceiver receiver {
            [&](const RunParameters& p) {
                parameters = p;
                if (!compare) {
                    m_graph.ClearCompared();
                    m_graph.ConfigureRun(p.readReps, p.writeReps, p.simultaneous, p.minRead, p.minWrite);
                }
            },
            [&](RecordedPass&& pass) {
                const int sampleCount = static_cast<int>(pass.samples.size());
                if (compare) {
                    m_graph.AddComparedPass(run, pass.number, pass.isWrite ? parameters.writeReps : parameters.readReps,
                                            pass.samples.data(), sampleCount, pass.isWrite);
                } else {
                    m_graph.AddPassResults(pass.number, pass.samples.data(), sampleCount, pass.rate,
                                           pass.isWrite ? 1 : 0);
                    if (pass.hasFigures) {
                        m_graph.AddPassFigures(pass.figures);
                    }
                }
            }};
        record = StreamRunRecord(file.get(), receiver, problem);
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
