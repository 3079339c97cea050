// The main dialog around a run's results: the title during a run, the note
// on how the files were reached, and the context menu with the graph's scale,
// Save Results, Copy Results and Verify Data (Open Results: WinOpenedResults.cpp).
#include "app/win32/WinPerfDialog.h"

#include "app/DialogLayout.h"
#include "app/GraphScaleChoices.h"
#include "app/GraphScaleSetting.h"
#include "app/RunDescriptionText.h"
#include "app/RunProgressText.h"
#include "app/SavedRecordFiles.h"
#include "app/VerifyDataSetting.h"
#include "app/win32/WinClipboard.h"
#include "app/win32/WinRecordChooser.h"
#include "platform/DriveTable.h"
#include "platform/win32/WinText.h"
#include "record/ReportTarget.h"
#include "settings/ProfileFile.h"
#include "view/PngFile.h"

#include <string>
#include <vector>

namespace kel {

namespace {

// The note's colour, which catches the eye.
constexpr COLORREF kNoteColour = RGB(160, 0, 0);
// Between 1601 and 1970 in FILETIME's 100-nanosecond units.
constexpr ULONGLONG kUnixEpochTicks = 116444736000000000ULL;

LocalDateTime LocalStart(const RunRecord& record)
{
    const auto sinceEpoch = std::chrono::duration_cast<std::chrono::milliseconds>(record.start.time_since_epoch());
    const ULONGLONG ticks = static_cast<ULONGLONG>(sinceEpoch.count()) * 10000ULL + kUnixEpochTicks;
    const FILETIME utc {static_cast<DWORD>(ticks & 0xFFFFFFFFULL), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME universal {};
    SYSTEMTIME local {};
    if (FileTimeToSystemTime(&utc, &universal) == FALSE ||
        SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local) == FALSE) {
        local = universal;
    }
    return {local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond};
}

}  // namespace

void WinPerfDialog::OnPassDrawn()
{
    // Passes may still be on their way when a run has ended: only a run in
    // progress is shown, and always from the view's last pass.
    if (m_runInTitle) {
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - m_runStart;
        SetWindowTextW(m_window,
                       Widen(RunProgressText(m_session.Parameters(), m_graph.LastPass(), elapsed.count())).c_str());
    }
}

void WinPerfDialog::ShowIdleTitle()
{
    m_runInTitle = false;
    SetWindowTextW(m_window, Widen(kDialogCaption).c_str());
}

void WinPerfDialog::ShowAccessNote()
{
    SetWindowTextW(Item(id::kAccessNote), Widen(FileAccessNoticeText(m_session.Record())).c_str());
}

INT_PTR WinPerfDialog::OnAccessNoteColours(HDC dc)
{
    SetTextColor(dc, kNoteColour);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
}

char WinPerfDialog::LastRunDrive() const
{
    if (m_services.drives == nullptr) {
        return 0;
    }
    return m_services.drives->LetterOfRoot(m_session.Record().directory);
}

OwnedMenu WinPerfDialog::CreateContextMenu() const
{
    OwnedMenu menu(CreatePopupMenu());
    if (!menu) {
        return menu;
    }
    const GraphScale current = m_graph.Scale();
    const std::vector<GraphScaleChoice> choices = GraphScaleChoices(current);
    int checked = command::kScale;
    for (std::size_t i = 0; i < choices.size(); ++i) {
        const int commandId = command::kScale + static_cast<int>(i);
        AppendMenuW(menu.get(), MF_STRING, static_cast<UINT_PTR>(commandId), Widen(choices[i].text).c_str());
        if (choices[i].scale == current) {
            checked = commandId;
        }
    }
    CheckMenuRadioItem(menu.get(), command::kScale, command::kScale + static_cast<UINT>(choices.size()) - 1,
                       static_cast<UINT>(checked), MF_BYCOMMAND);
    AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu.get(), MF_STRING | (CanSaveResults() ? MF_ENABLED : MF_GRAYED), command::kSaveResults,
                L"&Save Results...");
    const bool hasResults = m_graph.HasResults() != 0;
    const bool canOpen = !m_session.IsRunning();
    AppendMenuW(menu.get(), MF_STRING | (hasResults ? MF_ENABLED : MF_GRAYED), command::kCopyResults,
                L"Co&py Results");
    AppendMenuW(menu.get(), MF_STRING | (canOpen ? MF_ENABLED : MF_GRAYED), command::kOpenResults,
                L"&Open Results...");
    AppendMenuW(menu.get(), MF_STRING | (canOpen && hasResults ? MF_ENABLED : MF_GRAYED), command::kCompareWith,
                L"Compare &With...");
    AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu.get(), MF_STRING | (m_verifyData ? MF_CHECKED : MF_UNCHECKED), command::kVerifyData,
                L"&Verify Data");
    return menu;
}

void WinPerfDialog::OnContextMenu(LPARAM position)
{
    POINT at {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
    if (at.x == -1 && at.y == -1) {
        RECT view;
        GetWindowRect(Item(id::kResults), &view);
        at = {(view.left + view.right) / 2, (view.top + view.bottom) / 2};
    }
    const OwnedMenu menu = CreateContextMenu();
    if (menu) {
        // The chosen item arrives as WM_COMMAND.
        TrackPopupMenu(menu.get(), TPM_RIGHTBUTTON, at.x, at.y, 0, m_window, nullptr);
    }
}

void WinPerfDialog::OnMenuCommand(int commandId)
{
    if (commandId == command::kSaveResults) {
        OnSaveResults();
        return;
    }
    if (commandId == command::kCopyResults) {
        OnCopyResults();
        return;
    }
    if (commandId == command::kVerifyData) {
        OnVerifyData();
        return;
    }
    if (commandId == command::kOpenResults || commandId == command::kCompareWith) {
        ChooseResults(commandId == command::kCompareWith);
        return;
    }
    const std::vector<GraphScaleChoice> choices = GraphScaleChoices(m_graph.Scale());
    const int index = commandId - command::kScale;
    if (index >= 0 && index < static_cast<int>(choices.size())) {
        OnGraphScale(choices[static_cast<std::size_t>(index)].scale);
    }
}

void WinPerfDialog::OnGraphScale(const GraphScale& scale)
{
    if (scale == m_graph.Scale()) {
        return;
    }
    m_graph.SetScale(scale);
    ProfileFile settings(m_files.settings);
    WriteGraphScaleSetting(settings, scale);
}

void WinPerfDialog::OnVerifyData()
{
    m_verifyData = !m_verifyData;
    ProfileFile settings(m_files.settings);
    WriteVerifyDataSetting(settings, m_verifyData);
}

void WinPerfDialog::OnCopyResults()
{
    if (m_graph.HasResults() == 0) {
        return;
    }
    const RunRecord record = m_session.Record();
    if (!CopyTextToClipboard(m_window, ResultsHeaderText(record, LocalStart(record), LastRunDrive()) +
                                           m_graph.ResultLines())) {
        ShowMessage("The results could not be put on the clipboard.");
    }
}

bool WinPerfDialog::CanSaveResults() const
{
    return m_session.HasFinishedRecord() && !m_session.IsRunning() && m_graph.HasResults() != 0 &&
           m_openedNames.empty();
}

void WinPerfDialog::OnSaveResults()
{
    if (!CanSaveResults()) {
        return;
    }
    const RunRecord record = m_session.Record();
    if (const auto path = ChooseRecordFile(m_window, L"Save Results", true,
                                           Widen(ProposedRecordFileName(LocalStart(record), LastRunDrive())))) {
        SaveResults(*path);
    }
}

bool WinPerfDialog::SaveResults(const std::filesystem::path& recordPath)
{
    std::string graph;
    std::string text;
    if (const ResultDrawing* drawing = m_graph.Drawing()) {
        drawing->WithCanvas(true, [&graph](Canvas& canvas) { graph = PngFileBytes(canvas); });
        drawing->WithCanvas(false, [&text](Canvas& canvas) { text = PngFileBytes(canvas); });
    }
    const std::string record = Narrow(recordPath.wstring());
    if (const auto failure = SaveRecordFiles(record, m_session.Record(), graph, text)) {
        ShowMessage("Unable to save the results.\n\n" + *failure);
        return false;
    }
    const auto nameOf = [](const std::string& path) {
        return Narrow(std::filesystem::path(Widen(path)).filename().wstring());
    };
    ShowMessage("The results were saved in " + Narrow(recordPath.parent_path().make_preferred().wstring()) +
                ":\n\n" + nameOf(record) + " (the run record)\n" +
                nameOf(PictureBesideRecord(record, GraphPictureName())) + " (the graph)\n" +
                nameOf(PictureBesideRecord(record, TextPictureName())) + " (the text)");
    return true;
}

}  // namespace kel
