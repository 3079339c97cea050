#include "app/win32/WinPerfDialog.h"

#include "app/DialogLayout.h"
#include "app/FieldCheck.h"
#include "app/GraphScaleSetting.h"
#include "app/RunProgressText.h"
#include "app/VerifyDataSetting.h"
#include "drives/DriveDiscovery.h"
#include "platform/DriveTable.h"
#include "platform/MessageSink.h"
#include "platform/win32/WinText.h"
#include "settings/ProfileFile.h"

#include <shellapi.h>

#include <algorithm>
#include <string>

namespace kel {

namespace {

constexpr int kMainTemplate = 102;
constexpr int kAboutTemplate = 100;
constexpr int kIconResource = 128;
constexpr int kAboutItemString = 101;
constexpr UINT kAboutCommand = 0x10;
constexpr int kDropDownRows = 16;
constexpr UINT kPassDrawnMessage = WM_APP + 1;

// The six whole-number fields in exchange order, which is the parameter
// table's, then the minimum rates in MB/s.
struct ExchangedField {
    int editId;
    std::int32_t RunParameters::*field;
};
constexpr ExchangedField kFields[] = {
    {id::kNumFiles, &RunParameters::numFiles},   {id::kFileSize, &RunParameters::fileSizeKB},
    {id::kBufSize, &RunParameters::bufSizeKB},   {id::kReadReps, &RunParameters::readReps},
    {id::kWriteReps, &RunParameters::writeReps}, {id::kSampsSec, &RunParameters::sampsSec},
};
constexpr ExchangedField kRateFields[] = {
    {id::kMinRead, &RunParameters::minRead},
    {id::kMinWrite, &RunParameters::minWrite},
};

std::string WindowText(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return Narrow(text);
}

// A window's device context for as long as it lives.
class WindowDc {
public:
    explicit WindowDc(HWND window) : m_window(window), m_dc(GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc()
    {
        if (m_dc != nullptr) {
            ReleaseDC(m_window, m_dc);
        }
    }
    HDC Get() const { return m_dc; }

private:
    HWND m_window;
    HDC m_dc;
};

// The width of a control's text on one line in its own font, the mnemonic's
// "&" left out.
int TextWidth(HWND control)
{
    const WindowDc dc(control);
    if (dc.Get() == nullptr) {
        return 0;
    }
    const HGDIOBJ previous =
        SelectObject(dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    const std::wstring text = Widen(WindowText(control));
    RECT extent {0, 0, 0, 0};
    DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &extent, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc.Get(), previous);
    return extent.right - extent.left;
}

WPARAM ComboData(HWND list, LRESULT item)
{
    return static_cast<WPARAM>(SendMessageW(list, CB_GETITEMDATA, static_cast<WPARAM>(item), 0));
}

}  // namespace

WinPerfDialog::WinPerfDialog(const PlatformServices& services, DialogFiles files, DialogWatcher* watcher)
    : m_services(services),
      m_messages(services.messages),
      m_files(std::move(files)),
      m_watcher(watcher),
      m_parameters(DefaultRunParameters()),
      m_session(services, &m_graph, this)
{
    for (const ExchangedField& exchanged : kFields) {
        m_parameters.*exchanged.field = 1;
    }
}

WinPerfDialog::~WinPerfDialog()
{
    if (m_icon != nullptr) {
        DestroyIcon(m_icon);
    }
    if (m_smallIcon != nullptr) {
        DestroyIcon(m_smallIcon);
    }
}

INT_PTR WinPerfDialog::DoModal(HINSTANCE instance)
{
    m_instance = instance;
    m_icon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON,
                                           GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
    m_smallIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON,
                                                GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    return DialogBoxParamW(instance, MAKEINTRESOURCEW(kMainTemplate), nullptr, &WinPerfDialog::DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK WinPerfDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<WinPerfDialog*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        dialog->m_window = window;
        return dialog->OnInitDialog();
    }
    auto* dialog = reinterpret_cast<WinPerfDialog*>(GetWindowLongPtrW(window, DWLP_USER));
    return dialog != nullptr ? dialog->OnMessage(message, wParam, lParam) : FALSE;
}

void WinPerfDialog::RunSessionEnded(const RunOutcome&)
{
    // On the worker thread: posted, never sent, and not after a stop.
    if (m_session.Tester().StopRequested() == 0) {
        PostMessageW(m_window, WM_TEST_FINISHED, 0, 0);
    }
}

INT_PTR WinPerfDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SYSCOMMAND:
        return OnSysCommand(wParam) ? TRUE : FALSE;
    case WM_PAINT:
        if (!IsIconic(m_window)) {
            return FALSE;
        }
        OnPaint();
        return TRUE;
    case WM_QUERYDRAGICON:
        return reinterpret_cast<INT_PTR>(m_icon);
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_TEST_FINISHED:
        OnTestFinished();
        return TRUE;
    case kPassDrawnMessage:
        OnPassDrawn();
        return TRUE;
    case WM_CONTEXTMENU:
        OnContextMenu(lParam);
        return TRUE;
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lParam) == Item(id::kAccessNote)) {
            return OnAccessNoteColours(reinterpret_cast<HDC>(wParam));
        }
        return FALSE;
    default:
        return FALSE;
    }
}

void WinPerfDialog::OnCommand(int controlId, int code)
{
    if (code == CBN_SELCHANGE) {
        if (controlId == id::kPresetList) {
            OnSelchangePreset();
        }
        return;  // the drive list's choice is read at Start
    }
    if (code == EN_KILLFOCUS && (controlId == id::kMinRead || controlId == id::kMinWrite)) {
        OnRateEdited(controlId);
        return;
    }
    // A menu's command comes with code 0, which is also BN_CLICKED's.
    if (code != BN_CLICKED) {
        return;
    }
    switch (controlId) {
    case id::kStart: OnStart(); break;
    case id::kStop: OnStop(); break;
    case id::kAbout: OnAbout(); break;
    case id::kAsGraph:
    case id::kAsText: OnDisplayMode(); break;
    case id::kSimultaneous: OnSimultaneous(); break;
    case id::kHelp: OnHelpButton(); break;
    case id::kAdvanced: OnAdvanced(); break;
    case IDCANCEL: OnCancel(); break;
    case IDOK:  // Enter in an edit: the default button's command
        OnStart();
        break;
    default: OnMenuCommand(controlId); break;
    }
}

BOOL WinPerfDialog::OnInitDialog()
{
    m_graph.Attach(Item(id::kResults), m_window, kPassDrawnMessage);
    const ProfileFile settings(m_files.settings);
    m_graph.SetScale(ReadGraphScaleSetting(settings));
    m_verifyData = ReadVerifyDataSetting(settings);
    UpdateData(false);

    const HMENU systemMenu = GetSystemMenu(m_window, FALSE);
    wchar_t aboutText[64] = {};
    if (systemMenu != nullptr && LoadStringW(m_instance, kAboutItemString, aboutText, 64) > 0) {
        AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(systemMenu, MF_STRING, kAboutCommand, aboutText);
    }
    SendMessageW(m_window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon));
    SendMessageW(m_window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_smallIcon));

    m_advanced = 0;
    WINDOWPLACEMENT placement {};
    placement.length = sizeof placement;
    GetWindowPlacement(m_window, &placement);
    m_fullHeight = placement.rcNormalPosition.bottom - placement.rcNormalPosition.top;
    FitLabels();
    FillDriveList();
    LoadPresets();
    EnableWindow(Item(id::kStop), FALSE);
    CheckRadioButton(m_window, id::kAsGraph, id::kAsText, id::kAsGraph);
    OnDisplayMode();
    OnSelchangePreset();
    LayoutPanel();
    if (m_watcher != nullptr) {
        m_watcher->DialogOpened(m_window);
    }
    return TRUE;
}

bool WinPerfDialog::OnSysCommand(WPARAM command)
{
    if ((command & 0xFFF0) != kAboutCommand) {
        return false;  // the system's own commands
    }
    OnAbout();
    return true;
}

void WinPerfDialog::OnPaint()
{
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(m_window, &paint);
    SendMessageW(m_window, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    GetClientRect(m_window, &client);
    const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, m_icon);
    EndPaint(m_window, &paint);
}

bool WinPerfDialog::UpdateData(bool save)
{
    for (const ExchangedField& exchanged : kFields) {
        std::int32_t& value = m_parameters.*exchanged.field;
        const HWND edit = Item(exchanged.editId);
        if (!save) {
            SetWindowTextW(edit, std::to_wstring(value).c_str());
            continue;
        }
        const ParameterSpec& spec = SpecOf(exchanged.field);
        const FieldCheck check = CheckIntegerField(WindowText(edit), spec.low, spec.high);
        if (!check.accepted) {
            ShowMessage(check.message);
            FocusParameterEdit(exchanged.editId);
            return false;
        }
        value = check.value;
    }
    for (const ExchangedField& exchanged : kRateFields) {
        std::int32_t& value = m_parameters.*exchanged.field;
        const HWND edit = Item(exchanged.editId);
        if (!save) {
            SetWindowTextW(edit, Widen(RateEntryText(value)).c_str());
            continue;
        }
        const FieldCheck check = CheckRateEntry(WindowText(edit), kMaxRateFieldMBs);
        if (!check.accepted) {
            ShowMessage(check.message);
            FocusParameterEdit(exchanged.editId);
            return false;
        }
        // An unchanged field keeps a threshold of none as the preset wrote it.
        if (check.value != std::max(value, 0)) {
            value = check.value;
        }
    }
    return true;
}

void WinPerfDialog::FocusParameterEdit(int editId)
{
    if (m_advanced == 0) {
        OnAdvanced();
    }
    SetFocus(Item(editId));
    SendDlgItemMessageW(m_window, editId, EM_SETSEL, 0, -1);
}

void WinPerfDialog::OnRateEdited(int editId)
{
    const FieldCheck check = CheckRateEntry(WindowText(Item(editId)), kMaxRateFieldMBs);
    if (check.accepted) {
        (editId == id::kMinRead ? m_parameters.minRead : m_parameters.minWrite) = check.value;
        ShowSettingsInEmptyView();
    }
}

void WinPerfDialog::ShowSettingsInEmptyView()
{
    // A view that shows a finished run keeps it on screen; the thresholds
    // reach it at the next Start.
    if (m_graph.HasResults() == 0) {
        m_graph.ConfigureRun(0, 0, IsDlgButtonChecked(m_window, id::kSimultaneous) == BST_CHECKED ? 1 : 0,
                             m_parameters.minRead, m_parameters.minWrite);
    }
}

void WinPerfDialog::OnStart()
{
    if (!IsWindowEnabled(Item(id::kStart)) || !UpdateData(true)) {
        return;
    }
    if (m_parameters.fileSizeKB % m_parameters.bufSizeKB != 0) {
        ShowMessage("File size must be a multiple of the buffer size.");
        FocusParameterEdit(id::kFileSize);
        return;
    }
    const HWND driveList = Item(id::kDriveList);
    const LRESULT item = SendMessageW(driveList, CB_GETCURSEL, 0, 0);
    if (item == CB_ERR) {
        ShowMessage("Please choose the drive to test from the Drive list.");
        SetFocus(driveList);
        return;
    }
    RunRequest request {"keltally", static_cast<int>(ComboData(driveList, item) & 0xFF), m_parameters, {}, {}};
    request.parameters.simultaneous = IsDlgButtonChecked(m_window, id::kSimultaneous) == BST_CHECKED ? 1 : 0;
    request.options.verify = m_verifyData;
    // The first pass in the title before the run starts: a short one may
    // have drawn a pass before this handler goes on.
    m_runInTitle = true;
    m_openedNames.clear();
    m_graph.ClearCompared();
    m_runStart = std::chrono::steady_clock::now();
    SetWindowTextW(m_window, Widen(RunProgressText(request.parameters, DrawnPass {}, 0.0)).c_str());
    // The session checks the drive first and says why when it refuses.
    if (!m_session.Start(request)) {
        ShowIdleTitle();
        return;
    }
    ShowAccessNote();
    EnableControls(0);
    SetFocus(Item(id::kStop));
}

void WinPerfDialog::OnStop()
{
    m_session.Stop();
    ShowIdleTitle();
    ShowAccessNote();
    EnableControls(1);
    SetFocus(Item(id::kStart));
}

void WinPerfDialog::OnCancel()
{
    if (m_session.IsRunning()) {
        OnStop();
    }
    EndDialog(m_window, IDCANCEL);
}

void WinPerfDialog::OnTestFinished()
{
    ShowIdleTitle();
    ShowAccessNote();
    EnableControls(1);
    SetFocus(Item(id::kStart));
    if (m_watcher != nullptr) {
        m_watcher->RunFinished();
    }
}

void WinPerfDialog::OnAbout()
{
    DialogBoxParamW(m_instance, MAKEINTRESOURCEW(kAboutTemplate), m_window, &WinPerfDialog::AboutProc,
                    reinterpret_cast<LPARAM>(m_watcher));
}

INT_PTR CALLBACK WinPerfDialog::AboutProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        if (auto* watcher = reinterpret_cast<DialogWatcher*>(lParam)) {
            watcher->AboutOpened(window);
        }
        return TRUE;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(window, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

void WinPerfDialog::OnHelpButton()
{
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(m_window, L"open", m_files.help.wstring().c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (result <= 32) {
        ShowMessage("The manual could not be opened:\n" + Narrow(m_files.help.wstring()));
    }
}

void WinPerfDialog::OnDisplayMode()
{
    m_graph.SetDisplayMode(IsDlgButtonChecked(m_window, id::kAsGraph) == BST_CHECKED ? 1 : 0);
}

void WinPerfDialog::OnSelchangePreset()
{
    const HWND list = Item(id::kPresetList);
    const LRESULT item = SendMessageW(list, CB_GETCURSEL, 0, 0);
    if (item == CB_ERR) {
        return;  // no preset selected: nothing to apply
    }
    const int index = static_cast<int>(ComboData(list, item));
    if (index < 0 || index >= m_presets.ListedCount()) {
        return;
    }
    m_parameters = ParametersOf(m_presets.Listed(index));
    UpdateData(false);
    ShowSettingsInEmptyView();
}

void WinPerfDialog::OnSimultaneous()
{
    const int ticked = IsDlgButtonChecked(m_window, id::kSimultaneous) == BST_CHECKED ? 1 : 0;
    for (const int controlId : {id::kWriteRepsLabel, id::kWriteReps, id::kReadRepsLabel}) {
        ShowWindow(Item(controlId), ticked != 0 ? SW_HIDE : SW_SHOW);
    }
    ShowWindow(Item(id::kRepsLabel), ticked != 0 ? SW_SHOW : SW_HIDE);
    UpdateWindow(m_window);
    ShowSettingsInEmptyView();
}

void WinPerfDialog::OnAdvanced()
{
    m_advanced = m_advanced == 0 ? 1 : 0;
    SetWindowTextW(Item(id::kAdvanced), m_advanced != 0 ? L"Ad&vanced <<" : L"Ad&vanced >>");
    LayoutPanel();
}

void WinPerfDialog::EnableControls(int idle)
{
    const bool on = idle != 0;
    const bool edits = on && m_advanced != 0;
    const struct {
        int controlId;
        bool enabled;
    } states[] = {
        {id::kPresetLabel, on},     {id::kPresetList, on},    {id::kDriveLabel, on},
        {id::kDriveList, on},       {id::kDisplayLabel, true}, {id::kAsGraph, true},
        {id::kAsText, true},        {id::kHelp, on},           {id::kAbout, true},
        {id::kExit, true},          {id::kAdvanced, on},       {id::kStart, on},
        {id::kStop, !on},           {id::kParameters, on},     {id::kSampsSecLabel, on},
        {id::kSampsSec, edits},     {id::kNumFilesLabel, on},  {id::kNumFiles, edits},
        {id::kFileSizeLabel, on},   {id::kFileSize, edits},    {id::kBufSizeLabel, on},
        {id::kBufSize, edits},      {id::kReadRepsLabel, on},  {id::kReadReps, edits},
        {id::kWriteRepsLabel, on},  {id::kWriteReps, edits},   {id::kMinReadLabel, on},
        {id::kMinRead, edits},      {id::kMinWriteLabel, on},  {id::kMinWrite, edits},
    };
    for (const auto& state : states) {
        EnableWindow(Item(state.controlId), state.enabled ? TRUE : FALSE);
    }
}

void WinPerfDialog::EnableParamEdits()
{
    for (const ExchangedField& exchanged : kFields) {
        EnableWindow(Item(exchanged.editId), m_advanced != 0 ? TRUE : FALSE);
    }
    for (const ExchangedField& exchanged : kRateFields) {
        EnableWindow(Item(exchanged.editId), m_advanced != 0 ? TRUE : FALSE);
    }
}

void WinPerfDialog::LayoutPanel()
{
    const HWND group = Item(id::kParameters);
    int height = m_fullHeight;
    if (m_advanced == 0) {
        RECT box;
        GetWindowRect(group, &box);
        const int h = box.bottom - box.top;  // a height: the same in client coordinates
        height = m_fullHeight - h / 18 - h;
    }
    WINDOWPLACEMENT placement {};
    placement.length = sizeof placement;
    GetWindowPlacement(m_window, &placement);
    const RECT& normal = placement.rcNormalPosition;
    if (m_advanced != 0) {
        EnableParamEdits();
        ShowWindow(group, SW_SHOW);
    }
    MoveWindow(m_window, normal.left, normal.top, normal.right - normal.left, height, TRUE);
    if (m_advanced == 0) {
        ShowWindow(group, SW_HIDE);
        EnableParamEdits();
    }
}

void WinPerfDialog::FitLabels()
{
    for (const ControlTemplate& control : kMainControls) {
        const bool right = control.kind == ControlKind::RightLabel;
        if ((control.kind != ControlKind::Label && !right) || control.caption == nullptr) {
            continue;
        }
        const HWND label = Item(control.id);
        WINDOWPLACEMENT placement {};
        placement.length = sizeof placement;
        GetWindowPlacement(label, &placement);
        RECT rect = placement.rcNormalPosition;
        const int needed = TextWidth(label);
        if (needed <= rect.right - rect.left) {
            continue;
        }
        if (right) {
            rect.left = rect.right - needed;
        } else {
            rect.right = rect.left + needed;
        }
        MoveWindow(label, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, FALSE);
    }
}

void WinPerfDialog::FillDriveList()
{
    const HWND list = Item(id::kDriveList);
    LRESULT defaultItem = CB_ERR;
    if (m_services.drives != nullptr) {
        for (const DriveEntry& entry : m_services.drives->Entries()) {
            const std::string text = std::string("[") + entry.letter + "]  " + LabelForList(entry.label);
            const LRESULT item = SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(text).c_str()));
            SendMessageW(list, CB_SETITEMDATA, static_cast<WPARAM>(item), static_cast<LPARAM>(entry.letter));
            if (entry.letter == 'C') {
                defaultItem = item;
            }
        }
    }
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(defaultItem), 0);
    FitDropDown(id::kDriveList);
}

void WinPerfDialog::LoadPresets()
{
    ProfileFile settings(m_files.settings);
    if (const auto problem = m_presets.LoadPresets(settings)) {
        ShowMessage(*problem);
    }
    if (!m_files.shippedPresets.empty()) {
        m_presets.LoadShippedPresets(ProfileFile(m_files.shippedPresets));
    }
    // Inserted, not added: the list keeps the table's own order.
    const HWND list = Item(id::kPresetList);
    for (const int index : m_presets.ListedOrder()) {
        const LRESULT item = SendMessageW(list, CB_INSERTSTRING, static_cast<WPARAM>(-1),
                                          reinterpret_cast<LPARAM>(Widen(m_presets.Listed(index).name).c_str()));
        SendMessageW(list, CB_SETITEMDATA, static_cast<WPARAM>(item), index);
    }
    SendMessageW(list, CB_SETCURSEL, 0, 0);
    FitDropDown(id::kPresetList);
}

void WinPerfDialog::FitDropDown(int listId)
{
    const HWND list = Item(listId);
    const auto count = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
    if (count <= 0) {
        return;
    }
    WINDOWPLACEMENT placement {};
    placement.length = sizeof placement;
    GetWindowPlacement(list, &placement);
    const RECT& rect = placement.rcNormalPosition;
    const auto itemHeight = static_cast<int>(SendMessageW(list, CB_GETITEMHEIGHT, 0, 0));
    MoveWindow(list, rect.left, rect.top, rect.right - rect.left,
               (rect.bottom - rect.top) + 3 + itemHeight * std::min(count, kDropDownRows), FALSE);
}

void WinPerfDialog::ShowMessage(const std::string& text)
{
    if (m_messages != nullptr) {
        m_messages->ShowMessageBox(text, kPlainBox, nullptr);
    }
}

}  // namespace kel
