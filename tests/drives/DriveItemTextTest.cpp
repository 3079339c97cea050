// Drive-list item texts: the label's case rule and the 128-character limit.

#include "drives/DriveDiscovery.h"

#include <gtest/gtest.h>

#include <string>

namespace kel {
namespace {

DriveEntry Entry(char letter, const std::string& mountPoint, const std::string& label)
{
    DriveEntry entry;
    entry.letter = letter;
    entry.mountPoint = mountPoint;
    entry.rootPath = mountPoint;
    entry.label = label;
    return entry;
}

// Whether text is whole UTF-8: no sequence cut short at its end.
bool EndsOnCharacter(const std::string& text)
{
    std::size_t i = text.size();
    std::size_t continuation = 0;
    while (i > 0 && (static_cast<unsigned char>(text[i - 1]) & 0xC0) == 0x80) {
        --i;
        ++continuation;
    }
    if (i == 0) {
        return continuation == 0;
    }
    const auto lead = static_cast<unsigned char>(text[i - 1]);
    const std::size_t expected = lead < 0x80 ? 0 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
    return continuation == expected;
}

TEST(DriveItemText, LabelCaseAndMountPoint)
{
    EXPECT_EQ(DriveItemText(Entry('D', "/mnt/data", "DATA DISK")), "[D]  Data disk  (/mnt/data)");
    EXPECT_EQ(DriveItemText(Entry('A', "/media/floppy", "")), "[A]  (/media/floppy)");
    EXPECT_EQ(LabelForList("mY_usb 2"), "My_usb 2");
    EXPECT_EQ(LabelForList("9LIVES"), "9lives");
    // Only ASCII letters change; the bytes of other characters stay as they are.
    EXPECT_EQ(LabelForList("\xC3\x84PFEL KISTE"), "\xC3\x84pfel kiste");
}

TEST(DriveItemText, LongLabelIsCutBetweenCharactersAndKeepsTheMountPoint)
{
    std::string label;
    for (int i = 0; i < 100; ++i) {
        label += "\xC3\xA9";  // two bytes each
    }
    for (const char* mountPoint : {"/mnt/x", "/mnt/xy"}) {  // both parities of the cut
        const std::string text = DriveItemText(Entry('E', mountPoint, label));
        EXPECT_LE(text.size(), kDriveItemTextChars - 1);
        EXPECT_GE(text.size(), kDriveItemTextChars - 2);
        EXPECT_EQ(text.rfind("[E]  \xC3\xA9", 0), 0u);
        const std::string tail = std::string("  (") + mountPoint + ")";
        ASSERT_GE(text.size(), tail.size());
        EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
        EXPECT_TRUE(EndsOnCharacter(text.substr(0, text.size() - tail.size())));
    }

    const std::string deep = "/" + std::string(200, 'd');
    const std::string text = DriveItemText(Entry('F', deep, "LABEL"));
    EXPECT_EQ(text.size(), kDriveItemTextChars - 1);
    EXPECT_EQ(text.rfind("[F]  (/ddd", 0), 0u) << "no room for the label beside so long a mount point";
}

}  // namespace
}  // namespace kel
