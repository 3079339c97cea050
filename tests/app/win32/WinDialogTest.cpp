// The Windows dialog under its own templates, driven by window messages.
#include "app/DialogLayout.h"
#include "platform/win32/WinText.h"
#include "tests/app/win32/DialogDriver.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>

namespace kel::test {
namespace {

const wchar_t* ClassOf(ControlKind kind)
{
    switch (kind) {
    case ControlKind::ResultsView:
    case ControlKind::Label:
    case ControlKind::RightLabel: return L"Static";
    case ControlKind::DropDownList: return L"ComboBox";
    case ControlKind::Edit: return L"Edit";
    default: return L"Button";
    }
}

RECT ClientRectOf(HWND dialog, HWND control)
{
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void SetParameters(DialogDriver& driver, int numFiles, int fileSizeKB, int bufSizeKB, int reps)
{
    const struct {
        int id;
        int value;
    } fields[] = {{id::kNumFiles, numFiles}, {id::kFileSize, fileSizeKB}, {id::kBufSize, bufSizeKB},
                  {id::kReadReps, reps},     {id::kWriteReps, reps},      {id::kSampsSec, 10}};
    for (const auto& field : fields) {
        driver.SetText(field.id, std::to_string(field.value));
    }
}

// Pixels of a colour in the graph left of its legend, where only curves and
// threshold lines have colour.
int CurvePixels(const WinResultView& view, Colour colour)
{
    int count = 0;
    view.Drawing()->WithCanvas(true, [&](Canvas& pixels) {
        const Size size = pixels.Dimensions();
        for (int y = 0; y < size.height; ++y) {
            for (int x = 0; x < size.width * 4 / 5; ++x) {
                count += (pixels.Row(y)[x] & 0xFFFFFFu) == (colour & 0xFFFFFFu) ? 1 : 0;
            }
        }
    });
    return count;
}

constexpr int kParameterEdits[] = {id::kSampsSec, id::kNumFiles, id::kFileSize, id::kBufSize,
                                   id::kReadReps, id::kWriteReps, id::kMinRead,  id::kMinWrite};

// A context menu's items: text ("-" for a separator), enabled, checked.
struct MenuItem {
    std::string text;
    bool enabled;
    bool checked;
    bool operator==(const MenuItem&) const = default;
};

std::vector<MenuItem> ItemsOf(HMENU menu)
{
    std::vector<MenuItem> items;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
        wchar_t text[128] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
        const bool separator = (state & MF_SEPARATOR) != 0;
        items.push_back({separator ? "-" : Narrow(text), separator || (state & MF_GRAYED) == 0,
                         (state & MF_CHECKED) != 0});
    }
    return items;
}

std::string ClipboardText()
{
    std::string text;
    if (OpenClipboard(nullptr) != FALSE) {
        if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            if (const auto* wide = static_cast<const wchar_t*>(GlobalLock(data))) {
                text = Narrow(wide);
                GlobalUnlock(data);
            }
        }
        CloseClipboard();
    }
    return text;
}

std::string FileText(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// The width of a label's text on one line in its font, without the "&".
int TextWidth(HWND label)
{
    const HDC dc = GetDC(label);
    const HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(label, WM_GETFONT, 0, 0)));
    wchar_t text[128] = {};
    GetWindowTextW(label, text, 128);
    RECT extent {0, 0, 0, 0};
    DrawTextW(dc, text, -1, &extent, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, previous);
    ReleaseDC(label, dc);
    return extent.right - extent.left;
}

bool Enabled(DialogDriver& driver, int id)
{
    return IsWindowEnabled(driver.Item(id)) != FALSE;
}

TEST(WinDialog, OpensWithEveryControlOfItsTemplateWherePlaced)
{
    DialogDriver driver;
    for (const ControlTemplate& control : kMainControls) {
        SCOPED_TRACE(control.id);
        const HWND item = driver.Item(control.id);
        ASSERT_NE(item, nullptr);
        wchar_t className[32] = {};
        GetClassNameW(item, className, 32);
        EXPECT_EQ(lstrcmpiW(className, ClassOf(control.kind)), 0);
        if (control.caption != nullptr) {
            EXPECT_EQ(driver.Text(item), control.caption);
        }
        // Wine's dialog units differ from Windows' by a few pixels: the
        // expected place is the dialog's own mapping of the template's units.
        // Place and size are mapped each on its own, as the dialog manager does.
        RECT units {control.x, control.y, control.width, control.height};
        MapDialogRect(driver.Dialog(), &units);
        const RECT expected {units.left, units.top, units.left + units.right, units.top + units.bottom};
        const RECT placed = ClientRectOf(driver.Dialog(), item);
        // A label too narrow for its text in the dialog's font grows away
        // from its aligned edge.
        const bool label = control.caption != nullptr &&
                           (control.kind == ControlKind::Label || control.kind == ControlKind::RightLabel);
        const bool right = control.kind == ControlKind::RightLabel;
        if (label) {
            EXPECT_GE(placed.right - placed.left, TextWidth(item));
            EXPECT_GE(placed.right - placed.left, expected.right - expected.left);
        }
        if (!label || !right) {
            EXPECT_EQ(placed.left, expected.left);
        }
        EXPECT_EQ(placed.top, expected.top);
        if (!label || right) {
            EXPECT_EQ(placed.right, expected.right);
        }
        if (control.kind != ControlKind::DropDownList) {  // the system sizes a closed list
            EXPECT_EQ(placed.bottom, expected.bottom);
        }
        // The group box is hidden while the panel is collapsed.
        const bool visible = !control.createdHidden && control.id != id::kParameters;
        EXPECT_EQ((GetWindowLongW(item, GWL_STYLE) & WS_VISIBLE) != 0, visible);
    }
    EXPECT_TRUE(Enabled(driver, id::kStart));
    EXPECT_FALSE(Enabled(driver, id::kStop));
    EXPECT_EQ(IsDlgButtonChecked(driver.Dialog(), id::kAsGraph), BST_CHECKED);
    EXPECT_EQ(driver.Text(driver.Item(id::kAccessNote)), "");
}

TEST(WinDialog, AdvancedExpandsAndCollapsesThePanel)
{
    DialogDriver driver;
    RECT group = ClientRectOf(driver.Dialog(), driver.Item(id::kParameters));
    const int h = group.bottom - group.top;
    RECT window;
    GetWindowRect(driver.Dialog(), &window);
    const int collapsed = window.bottom - window.top;
    EXPECT_EQ(driver.Text(driver.Item(id::kAdvanced)), "&Advanced >>");
    EXPECT_FALSE(Enabled(driver, id::kNumFiles));

    const struct {
        const char* caption;
        int height;
        bool editsEnabled;
    } clicks[] = {{"Ad&vanced <<", collapsed + h + h / 18, true}, {"Ad&vanced >>", collapsed, false}};
    // Expanded, the client area is the template's whole dialog.
    RECT whole {0, 0, kDialogWidthDlu, kDialogHeightDlu};
    MapDialogRect(driver.Dialog(), &whole);
    for (const auto& click : clicks) {
        driver.Click(id::kAdvanced);
        GetWindowRect(driver.Dialog(), &window);
        EXPECT_EQ(driver.Text(driver.Item(id::kAdvanced)), click.caption);
        EXPECT_NEAR(window.bottom - window.top, click.height, 1);
        EXPECT_EQ(IsWindowVisible(driver.Item(id::kParameters)) != FALSE, click.editsEnabled);
        for (const int edit : kParameterEdits) {
            EXPECT_EQ(Enabled(driver, edit), click.editsEnabled) << edit;
        }
        if (click.editsEnabled) {
            RECT client;
            GetClientRect(driver.Dialog(), &client);
            EXPECT_EQ(client.right, whole.right);
            EXPECT_EQ(client.bottom, whole.bottom);
        }
    }
}

TEST(WinDialog, StartRefusesAFieldOutOfRangeOrASizeNotAMultiple)
{
    const struct {
        int numFiles, fileSizeKB, bufSizeKB;
        const char* minRead;
        const char* minWrite;
        bool collapsed;  // the refusal expands the panel
        const char* message;
        int focus;
    } cases[] = {
        {0, 64, 64, "", "", false, "Please enter an integer between 1 and 100.", id::kNumFiles},
        {1, 102401, 64, "", "", false, "Please enter an integer between 1 and 102400.", id::kFileSize},
        {1, 100, 64, "", "", false, "File size must be a multiple of the buffer size.", id::kFileSize},
        {1, 64, 64, "1.2345", "", false, "Please enter a rate in MB/s with at most three decimals.", id::kMinRead},
        {1, 64, 64, " 5.5 ", "1000000.001", false, "Please enter a rate between 0 and 1000000 MB/s.", id::kMinWrite},
        {1, 64, 64, "", "-1", true, "Please enter a rate in MB/s with at most three decimals.", id::kMinWrite},
        {0, 64, 64, "", "", true, "Please enter an integer between 1 and 100.", id::kNumFiles},
    };
    DialogDriver driver;
    driver.Click(id::kAdvanced);
    std::size_t shown = 0;
    for (const auto& refused : cases) {
        SCOPED_TRACE(refused.message);
        SetParameters(driver, refused.numFiles, refused.fileSizeKB, refused.bufSizeKB, 1);
        driver.SetText(id::kMinRead, refused.minRead);
        driver.SetText(id::kMinWrite, refused.minWrite);
        if (refused.collapsed) {
            driver.Click(id::kAdvanced);
        }
        driver.Click(id::kStart);
        const std::vector<std::string> texts = driver.Boxes().Texts();
        ASSERT_EQ(texts.size(), ++shown);
        EXPECT_EQ(texts.back(), refused.message);
        EXPECT_EQ(driver.Text(driver.Item(id::kAdvanced)), "Ad&vanced <<");
        EXPECT_EQ(driver.Focus(), driver.Item(refused.focus));
        EXPECT_TRUE(Enabled(driver, id::kStart));
    }
}

TEST(WinDialog, AShortRunCompletesDrawsAndLeavesNoFiles)
{
    DialogDriver driver;
    driver.Click(id::kAdvanced);
    SetParameters(driver, 2, 256, 64, 2);
    driver.SetText(id::kMinRead, "2.5");
    driver.SetText(id::kMinWrite, "");
    driver.Click(id::kStart);
    EXPECT_TRUE(driver.Boxes().Texts().empty());
    EXPECT_FALSE(Enabled(driver, id::kStart));
    EXPECT_TRUE(Enabled(driver, id::kStop));
    EXPECT_FALSE(Enabled(driver, id::kMinRead));
    driver.WaitForRunFinished();
    EXPECT_EQ(driver.Perf().Tester().Parameters().minRead, 2500);
    EXPECT_EQ(driver.Perf().Tester().Parameters().minWrite, 0);
    EXPECT_EQ(driver.Text(driver.Dialog()), "Kel Tallyforge");
    EXPECT_TRUE(Enabled(driver, id::kStart));
    EXPECT_FALSE(Enabled(driver, id::kStop));
    EXPECT_EQ(driver.Focus(), driver.Item(id::kStart));
    EXPECT_EQ(driver.Perf().Graph().HasResults(), 1);
    EXPECT_GT(CurvePixels(driver.Perf().Graph(), kReadPen), 0);
    EXPECT_GT(CurvePixels(driver.Perf().Graph(), kWritePen), 0);
    EXPECT_TRUE(driver.Folder().Entries().empty());
}

TEST(WinDialog, StopAndExitEndARunAndLeaveNoFiles)
{
    for (const int button : {id::kStop, id::kExit}) {
        SCOPED_TRACE(button);
        DialogDriver driver;
        driver.Click(id::kAdvanced);
        SetParameters(driver, 1, 1024, 64, 1000);
        driver.Click(id::kStart);
        ASSERT_EQ(driver.Perf().Tester().IsRunning(), 1);
        // The title names the pass in progress once the first has been drawn.
        const std::regex progress(R"(Kel Tallyforge - Record ([2-9]|[1-9][0-9]+) of 1000 - [0-9]+ %, [0-9]+ (s|min) left)");
        const std::string title =
            driver.WaitForTitle([&progress](const std::string& text) { return std::regex_match(text, progress); });
        EXPECT_TRUE(std::regex_match(title, progress)) << title;
        driver.Click(button);
        EXPECT_EQ(driver.Perf().Tester().IsRunning(), 0);
        if (button == id::kExit) {
            driver.WaitForClosed();
        } else {
            EXPECT_EQ(driver.Text(driver.Dialog()), "Kel Tallyforge");
            EXPECT_TRUE(Enabled(driver, id::kStart));
            EXPECT_EQ(driver.Focus(), driver.Item(id::kStart));
        }
        EXPECT_TRUE(driver.Folder().Entries().empty());
    }
}

TEST(WinDialog, TheContextMenuSetsTheScaleAndSavesCopiesAndOpensTheResults)
{
    DialogDriver driver;
    const auto expectMenu = [&driver](bool results, bool verify) {
        const std::vector<MenuItem> expected {
            {"Graph Scale &Automatic (0 to 20 MB/s While the Results Fit)", true, true},
            {"Graph Scale 0 to &20 MB/s", true, false},
            {"Graph Scale &Fitted to the Results", true, false},
            {"-", true, false},
            {"&Save Results...", results, false},
            {"Co&py Results", results, false},
            {"&Open Results...", true, false},
            {"Compare &With...", results, false},
            {"-", true, false},
            {"&Verify Data", true, verify},
        };
        const OwnedMenu menu = driver.Perf().CreateContextMenu();
        EXPECT_EQ(ItemsOf(menu.get()), expected);
    };
    expectMenu(false, false);
    // Verified data, kept in the settings file, for the run below.
    driver.Click(command::kVerifyData);
    EXPECT_NE(FileText(driver.SettingsPath()).find("\nVerifyData=1"), std::string::npos)
        << FileText(driver.SettingsPath());
    driver.Click(id::kAdvanced);
    SetParameters(driver, 2, 256, 64, 2);
    driver.SetText(id::kMinRead, "3");
    driver.SetText(id::kMinWrite, "");
    driver.Click(id::kStart);
    driver.WaitForRunFinished();
    expectMenu(true, true);

    // The fitted scale, shown and kept in the settings file.
    driver.Click(command::kScale + 2);
    EXPECT_EQ(driver.Perf().Graph().Scale(), FittedGraphScale());
    EXPECT_NE(FileText(driver.SettingsPath()).find("\nGraphScale=auto"), std::string::npos)
        << FileText(driver.SettingsPath());

    driver.Click(command::kCopyResults);
    const std::string copied = ClipboardText();
    EXPECT_EQ(copied.rfind("Kel Tallyforge results\r\nDrive: C: ", 0), 0u) << copied;
    EXPECT_NE(copied.find("\r\nMinimum rates: read 3 MB/s, write none\r\n"), std::string::npos) << copied;
    EXPECT_NE(copied.find("Avg:"), std::string::npos) << copied;
    EXPECT_EQ(std::regex_search(copied, std::regex("[^\r]\n")), false) << "every line ends in CR LF";

    // Saved beside each other; a folder that does not exist is refused.
    const TempDir saved;
    const std::filesystem::path record = std::filesystem::path(saved.Path()) / "run.json";
    ASSERT_TRUE(driver.Perf().SaveResults(record));
    EXPECT_EQ(driver.Boxes().Texts().back().rfind("The results were saved in ", 0), 0u);
    EXPECT_NE(FileText(record).find("\"schema\": 1"), std::string::npos);
    EXPECT_NE(FileText(record).find("\"verified\": true"), std::string::npos);
    for (const char* picture : {"run-graph.png", "run-text.png"}) {
        EXPECT_EQ(FileText(record.parent_path() / picture).substr(0, 4), "\x89PNG") << picture;
    }
    EXPECT_FALSE(driver.Perf().SaveResults(record.parent_path() / "missing" / "run.json"));
    EXPECT_EQ(driver.Boxes().Texts().back().rfind("Unable to save the results.\n\n", 0), 0u);

    // Opened, the saved record is the view's and no run to save; compared,
    // it is drawn beneath; a file that is no record empties the view.
    ASSERT_TRUE(driver.Perf().OpenResults(record));
    EXPECT_EQ(driver.Text(driver.Dialog()).rfind("Kel Tallyforge - run.json (", 0), 0u) << driver.Text(driver.Dialog());
    EXPECT_EQ(driver.Perf().Graph().HasResults(), 1);
    EXPECT_FALSE(driver.Perf().CanSaveResults());
    EXPECT_TRUE(driver.Perf().OpenResults(record, true));
    const std::filesystem::path bad = record.parent_path() / "bad.json";
    std::ofstream(bad) << "not a record";
    EXPECT_FALSE(driver.Perf().OpenResults(bad));
    EXPECT_EQ(driver.Boxes().Texts().back().rfind("Unable to open the results.\n\nbad.json is refused: ", 0), 0u);
    EXPECT_EQ(driver.Perf().Graph().HasResults(), 0);
    EXPECT_EQ(driver.Text(driver.Dialog()), "Kel Tallyforge");
}

HWND VisiblePopupMenu()
{
    for (HWND menu = FindWindowExW(nullptr, nullptr, L"#32768", nullptr); menu != nullptr;
         menu = FindWindowExW(nullptr, menu, L"#32768", nullptr)) {
        if (IsWindowVisible(menu) != FALSE) {
            return menu;
        }
    }
    return nullptr;
}

// Waits up to five seconds for a popup menu to be open (or closed); the one
// open then.
HWND WaitForPopupMenu(bool open)
{
    for (int i = 0; i < 500 && (VisiblePopupMenu() != nullptr) != open; ++i) {
        Sleep(10);
    }
    return VisiblePopupMenu();
}

TEST(WinDialog, ARightClickOnTheViewOpensTheMenuOnTheScaleAndVerifyingOfTheSettingsFile)
{
    DialogDriver driver("[Application]\r\nGraphScale=35\r\nVerifyData=1\r\n");
    EXPECT_EQ(driver.Perf().Graph().Scale(), FixedGraphScale(35));
    {
        const OwnedMenu menu = driver.Perf().CreateContextMenu();
        const std::vector<MenuItem> items = ItemsOf(menu.get());
        ASSERT_EQ(items.size(), 11u);
        EXPECT_EQ(items[3], (MenuItem {"Graph Scale 0 to 35 MB/s", true, true}));
        EXPECT_FALSE(items[0].checked);
        EXPECT_EQ(items[10], (MenuItem {"&Verify Data", true, true}));
    }
    // The system turns the button's release into the menu's message.
    PostMessageW(driver.Item(id::kResults), WM_RBUTTONUP, 0, MAKELPARAM(20, 20));
    const HWND popup = WaitForPopupMenu(true);
    ASSERT_NE(popup, nullptr);
    PostMessageW(popup, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(WaitForPopupMenu(false), nullptr);
}

TEST(WinDialog, TheSystemMenuEndsWithTheAboutItemThatOpensTheBox)
{
    DialogDriver driver;
    const HMENU menu = GetSystemMenu(driver.Dialog(), FALSE);
    const int count = GetMenuItemCount(menu);
    ASSERT_GE(count, 2);
    EXPECT_EQ(GetMenuState(menu, static_cast<UINT>(count - 2), MF_BYPOSITION) & MF_SEPARATOR, MF_SEPARATOR);
    wchar_t text[64] = {};
    GetMenuStringW(menu, static_cast<UINT>(count - 1), text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"&About Kel Tallyforge...");
    EXPECT_EQ(GetMenuItemID(menu, count - 1), 0x10u);

    PostMessageW(driver.Dialog(), WM_SYSCOMMAND, 0x10, 0);
    const HWND about = driver.WaitForAbout();
    EXPECT_EQ(driver.Text(about), "About Kel Tallyforge");
    EXPECT_NE(GetDlgItem(about, IDOK), nullptr);
    PostMessageW(about, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

}  // namespace
}  // namespace kel::test
