// The Windows dialog under its own templates, driven by window messages.
#include "app/DialogLayout.h"
#include "tests/app/win32/DialogDriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
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

// The Linux dialog's access note and minimum rates, which the Windows
// template does not hold yet; its panel is the two rows above them.
constexpr int kNotInWindowsTemplate[] = {id::kAccessNote, id::kMinReadLabel, id::kMinRead, id::kMinWriteLabel,
                                         id::kMinWrite};
constexpr int kWindowsPanelHeightDlu = 50;

bool InWindowsTemplate(int controlId)
{
    return std::find(std::begin(kNotInWindowsTemplate), std::end(kNotInWindowsTemplate), controlId) ==
           std::end(kNotInWindowsTemplate);
}

bool Enabled(DialogDriver& driver, int id)
{
    return IsWindowEnabled(driver.Item(id)) != FALSE;
}

TEST(WinDialog, OpensWithEveryControlOfItsTemplateWherePlaced)
{
    DialogDriver driver;
    for (const ControlTemplate& control : kMainControls) {
        if (!InWindowsTemplate(control.id)) {
            continue;
        }
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
        RECT units {control.x, control.y, control.width,
                    control.id == id::kParameters ? kWindowsPanelHeightDlu : control.height};
        MapDialogRect(driver.Dialog(), &units);
        const RECT expected {units.left, units.top, units.left + units.right, units.top + units.bottom};
        const RECT placed = ClientRectOf(driver.Dialog(), item);
        EXPECT_EQ(placed.left, expected.left);
        EXPECT_EQ(placed.top, expected.top);
        EXPECT_EQ(placed.right, expected.right);
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
    for (const auto& click : clicks) {
        driver.Click(id::kAdvanced);
        GetWindowRect(driver.Dialog(), &window);
        EXPECT_EQ(driver.Text(driver.Item(id::kAdvanced)), click.caption);
        EXPECT_NEAR(window.bottom - window.top, click.height, 1);
        EXPECT_EQ(IsWindowVisible(driver.Item(id::kParameters)) != FALSE, click.editsEnabled);
        for (const int edit : {id::kSampsSec, id::kNumFiles, id::kFileSize, id::kBufSize, id::kReadReps,
                               id::kWriteReps}) {
            EXPECT_EQ(Enabled(driver, edit), click.editsEnabled) << edit;
        }
    }
}

TEST(WinDialog, StartRefusesAFieldOutOfRangeOrASizeNotAMultiple)
{
    const struct {
        int numFiles, fileSizeKB, bufSizeKB;
        const char* message;
        int focus;
    } cases[] = {
        {0, 64, 64, "Please enter an integer between 1 and 100.", id::kNumFiles},
        {1, 102401, 64, "Please enter an integer between 1 and 102400.", id::kFileSize},
        {1, 100, 64, "File size must be a multiple of the buffer size.", id::kFileSize},
    };
    DialogDriver driver;
    driver.Click(id::kAdvanced);
    std::size_t shown = 0;
    for (const auto& refused : cases) {
        SetParameters(driver, refused.numFiles, refused.fileSizeKB, refused.bufSizeKB, 1);
        driver.Click(id::kStart);
        const std::vector<std::string> texts = driver.Boxes().Texts();
        ASSERT_EQ(texts.size(), ++shown);
        EXPECT_EQ(texts.back(), refused.message);
        EXPECT_EQ(driver.Focus(), driver.Item(refused.focus));
        EXPECT_TRUE(Enabled(driver, id::kStart));
    }
}

TEST(WinDialog, AShortRunCompletesDrawsAndLeavesNoFiles)
{
    DialogDriver driver;
    driver.Click(id::kAdvanced);
    SetParameters(driver, 2, 256, 64, 2);
    driver.Click(id::kStart);
    EXPECT_TRUE(driver.Boxes().Texts().empty());
    EXPECT_FALSE(Enabled(driver, id::kStart));
    EXPECT_TRUE(Enabled(driver, id::kStop));
    driver.WaitForRunFinished();
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
        driver.Click(button);
        EXPECT_EQ(driver.Perf().Tester().IsRunning(), 0);
        if (button == id::kExit) {
            driver.WaitForClosed();
        } else {
            EXPECT_TRUE(Enabled(driver, id::kStart));
            EXPECT_EQ(driver.Focus(), driver.Item(id::kStart));
        }
        EXPECT_TRUE(driver.Folder().Entries().empty());
    }
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
