// Start's checks of the six parameters: whole numbers, their ranges in
// exchange order, and the file size as a multiple of the buffer size.

#include "app/DataExchange.h"
#include "tests/app/DialogFixture.h"

#include <QApplication>
#include <QComboBox>

namespace kel::test {
namespace {

TEST(WholeNumberText, AcceptsSignedDecimalsWithinThirtyTwoBits)
{
    EXPECT_EQ(ParseWholeNumber(QStringLiteral("42")), 42);
    EXPECT_EQ(ParseWholeNumber(QStringLiteral("  7 ")), 7);
    EXPECT_EQ(ParseWholeNumber(QStringLiteral("-15")), -15);
    EXPECT_EQ(ParseWholeNumber(QStringLiteral("+3")), 3);
    EXPECT_EQ(ParseWholeNumber(QStringLiteral("2147483647")), 2147483647);
    EXPECT_EQ(ParseWholeNumber(QStringLiteral("-2147483648")), -2147483647 - 1);
    for (const char* bad : {"", " ", "-", "12abc", "1.5", "0x10", "1 2", "2147483648", "99999999999999999999"}) {
        EXPECT_FALSE(ParseWholeNumber(QString::fromLatin1(bad)).has_value()) << bad;
    }
}

class ValidationTest : public DialogFixture {
protected:
    void SetUp() override
    {
        DialogFixture::SetUp();
        OpenDialog();
        Click(id::kAdvanced);
        // With no drive selected, a Start that passes the checks asks for a
        // drive instead, so no run starts.
        static_cast<QComboBox*>(Item(id::kDriveList))->setCurrentIndex(-1);
    }

    // The first message that pressing Start with these fields shows.
    QString StartWith(const std::vector<QString>& values)
    {
        m_messages.clear();
        SetParameters(values);
        Click(id::kStart);
        return m_messages.empty() ? QString() : m_messages.front().text;
    }

    static bool PassedValidation(const QString& message) { return message.startsWith("Please choose the drive"); }
};

TEST_F(ValidationTest, RangeEdgesOfEveryField)
{
    const struct {
        int field;  // index into the exchange order
        const char* value;
        const char* refusal;  // null: accepted
    } cases[] = {
        {0, "0", "Please enter an integer between 1 and 100."},
        {0, "1", nullptr},
        {0, "100", nullptr},
        {0, "101", "Please enter an integer between 1 and 100."},
        {1, "0", "Please enter an integer between 1 and 102400."},
        {1, "102400", nullptr},
        {1, "102401", "Please enter an integer between 1 and 102400."},
        {2, "1024", nullptr},
        {2, "1025", "Please enter an integer between 1 and 1024."},
        {3, "1000", nullptr},
        {3, "1001", "Please enter an integer between 1 and 1000."},
        {4, "1000", nullptr},
        {4, "1001", "Please enter an integer between 1 and 1000."},
        {5, "0", nullptr},
        {5, "200", nullptr},
        {5, "201", "Please enter an integer between 0 and 200."},
        {5, "-1", "Please enter an integer between 0 and 200."},
        {0, "ten", "Please enter an integer."},
        {3, "", "Please enter an integer."},
    };
    const int edits[] = {id::kNumFiles, id::kFileSize, id::kBufSize, id::kReadReps, id::kWriteReps, id::kSampsSec};
    for (const auto& c : cases) {
        // File size 1024 is a multiple of every buffer size tried here.
        std::vector<QString> values {"1", "1024", "1", "1", "1", "10"};
        values[c.field] = QString::fromLatin1(c.value);
        const QString message = StartWith(values);
        if (c.refusal == nullptr) {
            EXPECT_TRUE(PassedValidation(message)) << c.field << "=" << c.value << ": " << message.toStdString();
        } else {
            EXPECT_EQ(message, QString::fromLatin1(c.refusal)) << c.field << "=" << c.value;
            EXPECT_EQ(m_messages.size(), 1u);
            EXPECT_EQ(QApplication::focusWidget(), Item(edits[c.field])) << c.field << "=" << c.value;
        }
        EXPECT_TRUE(Item(id::kStart)->isEnabled());
        EXPECT_EQ(m_dialog->Tester().IsRunning(), 0);
    }
}

TEST_F(ValidationTest, OnlyTheFirstBadFieldIsReported)
{
    EXPECT_EQ(StartWith({"1", "1024", "2000", "0", "1", "500"}), "Please enter an integer between 1 and 1024.");
    EXPECT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(QApplication::focusWidget(), Item(id::kBufSize));

    EXPECT_EQ(StartWith({"0", "x", "2000", "0", "1", "500"}), "Please enter an integer between 1 and 100.");
    EXPECT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(QApplication::focusWidget(), Item(id::kNumFiles));
}

TEST_F(ValidationTest, MinimumRatesAreCheckedAfterTheCounts)
{
    const struct {
        int edit;
        const char* text;
        const char* refusal;
    } cases[] = {
        {id::kMinRead, "1.2345", "Please enter a rate in MB/s with at most three decimals."},
        {id::kMinWrite, "2000000", "Please enter a rate between 0 and 1000000 MB/s."},
        {id::kMinWrite, "-3", "Please enter a rate in MB/s with at most three decimals."},
    };
    for (const auto& c : cases) {
        SetEdit(c.edit, QString::fromLatin1(c.text));
        EXPECT_EQ(StartWith({"0", "1024", "1", "1", "1", "10"}), "Please enter an integer between 1 and 100.");
        EXPECT_EQ(StartWith({"1", "1024", "1", "1", "1", "10"}), QString::fromLatin1(c.refusal));
        EXPECT_EQ(QApplication::focusWidget(), Item(c.edit));
        SetEdit(c.edit, "6.5");
        EXPECT_TRUE(PassedValidation(StartWith({"1", "1024", "1", "1", "1", "10"})));
    }
}

TEST_F(ValidationTest, FileSizeMustBeAMultipleOfTheBuffer)
{
    EXPECT_TRUE(PassedValidation(StartWith({"1", "2400", "96", "1", "1", "10"})));

    EXPECT_EQ(StartWith({"1", "100", "64", "1", "1", "10"}), "File size must be a multiple of the buffer size.");
    EXPECT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(QApplication::focusWidget(), Item(id::kFileSize));
    EXPECT_TRUE(Item(id::kStart)->isEnabled());
}

}  // namespace
}  // namespace kel::test
