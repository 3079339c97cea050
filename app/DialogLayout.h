#pragma once
// The main dialog's and the About box's controls: ids, kinds, captions and
// rectangles in dialog units, and the mapping of dialog units to pixels.

#include <array>

namespace kel {

// Dialog units to pixels for the dialog font: a horizontal unit is a quarter
// of the 6-pixel average character width, a vertical unit an eighth of the
// 13-pixel character height. Rounded like MulDiv: (a * b + c / 2) / c.
constexpr int MulDiv(int a, int b, int c)
{
    return (a * b + c / 2) / c;
}
constexpr int DluToPixelsX(int dlu)
{
    return MulDiv(dlu, 6, 4);
}
constexpr int DluToPixelsY(int dlu)
{
    return MulDiv(dlu, 13, 8);
}

// Pixel size of the dialog font ("MS Sans Serif" 8 point at 96 dpi).
constexpr int kDialogFontPixels = 11;

namespace id {
constexpr int kExit = 2;
constexpr int kDriveList = 1011;
constexpr int kBufSize = 1012;
constexpr int kNumFiles = 1013;
constexpr int kFileSize = 1014;
constexpr int kSimultaneous = 1015;
constexpr int kPresetList = 1016;
constexpr int kReadReps = 1017;
constexpr int kWriteReps = 1018;
constexpr int kResults = 1019;
constexpr int kStop = 1020;
constexpr int kStart = 1021;
constexpr int kAbout = 1022;
constexpr int kAsGraph = 1023;
constexpr int kAsText = 1024;
constexpr int kReadRepsLabel = 1025;
constexpr int kWriteRepsLabel = 1026;
constexpr int kRepsLabel = 1027;
constexpr int kPresetLabel = 1028;
constexpr int kDriveLabel = 1029;
constexpr int kDisplayLabel = 1030;
constexpr int kNumFilesLabel = 1031;
constexpr int kFileSizeLabel = 1032;
constexpr int kBufSizeLabel = 1033;
constexpr int kParameters = 1034;
constexpr int kSampsSec = 1035;
constexpr int kSampsSecLabel = 1036;
constexpr int kHelp = 1037;
constexpr int kAdvanced = 1038;
constexpr int kAccessNote = 1039;
constexpr int kMinReadLabel = 1040;
constexpr int kMinRead = 1041;
constexpr int kMinWriteLabel = 1042;
constexpr int kMinWrite = 1043;
}  // namespace id

enum class ControlKind { ResultsView, Label, RightLabel, DropDownList, Radio, Button, DefaultButton, GroupBox, Edit,
                         CheckBox };

struct ControlTemplate {
    int id;
    ControlKind kind;
    const char* caption;
    int x, y, width, height;  // dialog units
    bool createdHidden;       // hidden and disabled
};

// Main dialog: 419 x 290 dialog units, in creation and tab order. The
// access note beside the buttons warns when the figures are not a disk's;
// the panel's third row holds the minimum rates in MB/s.
constexpr int kDialogWidthDlu = 419;
constexpr int kDialogHeightDlu = 290;
constexpr const char* kDialogCaption = "Kel Tallyforge";

// clang-format off
constexpr std::array<ControlTemplate, 34> kMainControls {{
    {id::kResults,        ControlKind::ResultsView,   nullptr,                               8,   8, 340, 184, false},
    {id::kPresetLabel,    ControlKind::Label,         "&Preset:",                          355,  10,  23,   8, false},
    {id::kPresetList,     ControlKind::DropDownList,  nullptr,                             355,  22,  59,  48, false},
    {id::kDriveLabel,     ControlKind::Label,         "&Drive:",                           355,  46,  20,   8, false},
    {id::kDriveList,      ControlKind::DropDownList,  nullptr,                             355,  58,  59,  48, false},
    {id::kDisplayLabel,   ControlKind::Label,         "Display results:",                  360,  94,  48,   8, false},
    {id::kAsGraph,        ControlKind::Radio,         "As &graph",                         360, 107,  44,  10, false},
    {id::kAsText,         ControlKind::Radio,         "As &text",                          360, 119,  37,  10, false},
    {id::kHelp,           ControlKind::Button,        "&Help...",                          359, 158,  50,  14, false},
    {id::kAbout,          ControlKind::Button,        "A&bout...",                         359, 178,  50,  14, false},
    {id::kAdvanced,       ControlKind::Button,        "&Advanced >>",                        8, 198,  59,  14, false},
    {id::kStart,          ControlKind::DefaultButton, "&Start",                            237, 198,  50,  14, false},
    {id::kStop,           ControlKind::Button,        "St&op",                             298, 198,  50,  14, false},
    {id::kExit,           ControlKind::Button,        "E&xit",                             359, 198,  50,  14, false},
    {id::kAccessNote,     ControlKind::Label,         nullptr,                              74, 194, 158,  18, false},
    {id::kParameters,     ControlKind::GroupBox,      "Parameters",                          8, 215, 401,  69, false},
    {id::kSampsSecLabel,  ControlKind::RightLabel,    "R&esolution:",                       64, 229,  44,   8, false},
    {id::kSampsSec,       ControlKind::Edit,          nullptr,                             114, 226,  24,  14, false},
    {id::kNumFilesLabel,  ControlKind::RightLabel,    "&Number of files to read/write:",    16, 248,  92,   8, false},
    {id::kNumFiles,       ControlKind::Edit,          nullptr,                             114, 245,  24,  14, false},
    {id::kFileSizeLabel,  ControlKind::RightLabel,    "&File size (KB):",                  152, 229,  55,   8, false},
    {id::kFileSize,       ControlKind::Edit,          nullptr,                             212, 226,  31,  14, false},
    {id::kBufSizeLabel,   ControlKind::RightLabel,    "&Buffer Size (KB):",                152, 247,  55,   8, false},
    {id::kBufSize,        ControlKind::Edit,          nullptr,                             212, 245,  31,  14, false},
    {id::kReadRepsLabel,  ControlKind::RightLabel,    "&Read Repetitions:",                260, 229,  60,   8, false},
    {id::kReadReps,       ControlKind::Edit,          nullptr,                             325, 226,  22,  14, false},
    {id::kWriteRepsLabel, ControlKind::RightLabel,    "&Write Repetitions:",               260, 247,  60,   8, false},
    {id::kWriteReps,      ControlKind::Edit,          nullptr,                             325, 245,  22,  14, false},
    {id::kMinReadLabel,   ControlKind::RightLabel,    "&Minimum read (MB/s):",              16, 267,  92,   8, false},
    {id::kMinRead,        ControlKind::Edit,          nullptr,                             114, 264,  31,  14, false},
    {id::kMinWriteLabel,  ControlKind::RightLabel,    "Minim&um write (MB/s):",            260, 267,  60,   8, false},
    {id::kMinWrite,       ControlKind::Edit,          nullptr,                             325, 264,  31,  14, false},
    {id::kSimultaneous,   ControlKind::CheckBox,      "S&imultaneous file write during read", 368, 244, 123, 10, true},
    {id::kRepsLabel,      ControlKind::RightLabel,    "&Repetitions:",                     371, 256,  60,   8, true},
}};
// clang-format on

// Place of a control's entry in kMainControls, or its size when there is none.
constexpr std::size_t TemplateIndex(int controlId)
{
    for (std::size_t i = 0; i < kMainControls.size(); ++i) {
        if (kMainControls[i].id == controlId) {
            return i;
        }
    }
    return kMainControls.size();
}

// About box: 257 x 57 dialog units.
constexpr int kAboutWidthDlu = 257;
constexpr int kAboutHeightDlu = 57;

}  // namespace kel
