// The package's presets in the list, and saving and deleting the user's own
// from the window.

#include "app/Questions.h"
#include "tests/app/DialogFixture.h"

#include <QComboBox>
#include <QFile>

namespace kel::test {
namespace {

class PresetCommandsTest : public DialogFixture {
protected:
    void SetUp() override
    {
        DialogFixture::SetUp();
        SetTextPromptHook([this](const QString&, const QString& suggestion) -> std::optional<QString> {
            m_suggestions << suggestion;
            return m_typed;
        });
    }
    void TearDown() override
    {
        SetTextPromptHook({});
        DialogFixture::TearDown();
    }
    static void Write(const QString& path, const QByteArray& content)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    static QByteArray Read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QString SettingsPath() const { return QString::fromStdString(m_config.Path()) + "/KelTally.ini"; }
    QString ShippedPath() const { return QString::fromStdString(m_config.Path()) + "/shipped-presets.ini"; }
    QComboBox* Presets() const { return static_cast<QComboBox*>(Item(id::kPresetList)); }
    QStringList Names() const
    {
        QStringList names;
        for (int i = 0; i < Presets()->count(); ++i) {
            names << Presets()->itemText(i);
        }
        return names;
    }
    void Pick(const QString& name)
    {
        Presets()->setCurrentIndex(Presets()->findText(name));
        emit Presets()->activated(Presets()->currentIndex());
    }

    QStringList m_suggestions;
    std::optional<QString> m_typed;
};

const QByteArray kUser = "[Application]\nPresets=2\n[Preset1]\nName=Zed\nNumFiles=2\nFileSize=96\nBufSize=96\n"
                         "ReadReps=1\nWriteReps=1\nSampsSec=10\n[Preset2]\nName=(Default)\n";
const QByteArray kShipped = "[Application]\nPresets=2\n[Preset1]\nName=Card V30\nNumFiles=4\nFileSize=51200\n"
                            "BufSize=1024\nReadReps=1\nWriteReps=3\nSampsSec=10\nKelMinWrite=28610\n"
                            "[Preset2]\nName=Alpha Disk\nNumFiles=3\n";

TEST_F(PresetCommandsTest, ShippedPresetsFollowTheUsersAndStayOutOfTheirFile)
{
    Write(SettingsPath(), kUser);
    Write(ShippedPath(), kShipped);
    OpenDialog();
    EXPECT_EQ(Names(), (QStringList {"(Default)", "Zed", "Card V30", "Alpha Disk"}));
    Pick("Card V30");
    EXPECT_EQ(TextOf(id::kFileSize), "51200");
    EXPECT_EQ(TextOf(id::kMinWrite), "28.61");
    EXPECT_EQ(TextOf(id::kMinRead), "") << "no minimum";
    // Saving under a new name writes the shipped preset's values as the
    // user's own; the shipped file and the other presets stay as they were.
    m_typed = "My Card";
    m_dialog->OnSaveAsPreset();
    EXPECT_EQ(m_suggestions, QStringList {""}) << "a shipped preset's name is not proposed";
    EXPECT_EQ(Names(), (QStringList {"(Default)", "My Card", "Zed", "Card V30", "Alpha Disk"}));
    EXPECT_EQ(Presets()->currentText(), "My Card");
    const QByteArray saved = Read(SettingsPath());
    EXPECT_TRUE(saved.startsWith(kUser.left(kUser.indexOf("Presets=")) + "Presets=3\n"));
    EXPECT_TRUE(saved.endsWith("[Preset3]\nName=My Card\nNumFiles=4\nFileSize=51200\nBufSize=1024\nReadReps=1\n"
                               "WriteReps=3\nSampsSec=10\nKelMinRead=0\nKelMinWrite=28610\n"))
        << saved.toStdString();
    EXPECT_FALSE(saved.contains("Alpha Disk"));
    EXPECT_EQ(Read(ShippedPath()), kShipped);

    // A shipped preset cannot be deleted.
    Pick("Alpha Disk");
    m_dialog->OnDeletePreset();
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0].text, "The presets that come with Kel Tallyforge cannot be deleted.");
    EXPECT_TRUE(m_questions.isEmpty());
    EXPECT_EQ(Read(SettingsPath()), saved);
}

TEST_F(PresetCommandsTest, SavingAnExistingNameAsksAndDeleteAsksFirst)
{
    Write(SettingsPath(), kUser);
    OpenDialog();
    Pick("Zed");
    SetParameters({"5"});
    SetEdit(id::kMinRead, "12.5");

    // Declined: nothing written.
    m_typed = "  Zed ";
    m_answer = false;
    m_dialog->OnSaveAsPreset();
    EXPECT_EQ(m_suggestions, QStringList {"Zed"});
    EXPECT_EQ(m_questions, QStringList {"Replace the preset \"Zed\"?"});
    EXPECT_EQ(Read(SettingsPath()), kUser);
    // Accepted: the preset's values are replaced in place.
    m_answer = true;
    m_dialog->OnSaveAsPreset();
    QByteArray replaced = kUser;
    replaced.replace("NumFiles=2", "NumFiles=5");
    replaced.replace("SampsSec=10\n", "SampsSec=10\nKelMinRead=12500\nKelMinWrite=0\n");
    EXPECT_EQ(Read(SettingsPath()), replaced);
    EXPECT_EQ(Names(), (QStringList {"(Default)", "Zed"}));

    // A name the list could not show whole is refused.
    m_typed = QString(39, 'x');
    m_dialog->OnSaveAsPreset();
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(Read(SettingsPath()), replaced);

    m_questions.clear();
    m_answer = false;
    m_dialog->OnDeletePreset();
    EXPECT_EQ(m_questions, QStringList {"Delete the preset \"Zed\"?"});
    EXPECT_EQ(Names(), (QStringList {"(Default)", "Zed"}));
    m_answer = true;
    m_dialog->OnDeletePreset();
    EXPECT_EQ(Names(), QStringList {"(Default)"});
    EXPECT_EQ(TextOf(id::kFileSize), "1") << "the (Default) section of only a name, now selected, is applied";
    EXPECT_TRUE(Read(SettingsPath()).contains("Presets=1\n"));
}

}  // namespace
}  // namespace kel::test
