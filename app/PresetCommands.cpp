// The preset list with the package's presets after the user's own, and the
// commands that save the current parameters as a preset of the user's or
// delete one.

#include "app/PerfDialog.h"

#include "app/DataExchange.h"
#include "app/MessagePresenter.h"
#include "app/Questions.h"
#include "platform/MessageSink.h"
#include "settings/ProfileFile.h"
#include "settings/SettingsLocation.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QSignalBlocker>

namespace kel {

namespace {

std::filesystem::path ShippedPresetsFile()
{
    return ShippedPresetsPath(QCoreApplication::applicationDirPath().toStdString(), KELT_RES_SOURCE_DIR);
}

QString ChangeRefusal(PresetTable::Change change)
{
    switch (change) {
    case PresetTable::Change::TableFull:
        return QStringLiteral("There are already %1 presets. Delete one first.").arg(MaxPresets);
    case PresetTable::Change::FileChanged:
        return QStringLiteral("The settings file was changed by another program. Restart Kel Tallyforge to see "
                              "its presets, then try again.");
    case PresetTable::Change::NotWritten:
    case PresetTable::Change::Done:
        break;
    }
    return QStringLiteral("The settings file \"%1\" could not be written.")
        .arg(QString::fromStdString(SettingsFilePath().string()));
}

}  // namespace

void PerfDialog::LoadShippedPresets()
{
    const std::filesystem::path path = ShippedPresetsFile();
    if (!path.empty()) {
        m_presets.LoadShippedPresets(ProfileFile(path));
    }
}

void PerfDialog::FillPresetList(int selectIndex)
{
    const QSignalBlocker quiet(m_presetList);
    m_presetList->clear();
    for (const int index : m_presets.ListedOrder()) {
        m_presetList->addItem(QString::fromStdString(m_presets.Listed(index).name), index);
    }
    const int item = m_presetList->findData(selectIndex);
    m_presetList->setCurrentIndex(item >= 0 ? item : (m_presetList->count() > 0 ? 0 : -1));
    m_presetList->setToolTip(m_presetList->currentText());  // its handler was quiet too
    FitDropDown(m_presetList);
}

int PerfDialog::SelectedPresetIndex() const
{
    const int item = m_presetList->currentIndex();
    return item >= 0 ? m_presetList->itemData(item).toInt() : -1;
}

void PerfDialog::OnSaveAsPreset()
{
    if (!m_presetList->isEnabled() || !UpdateData(true)) {
        return;
    }
    const int selected = SelectedPresetIndex();
    const QString suggestion = selected >= 0 && !m_presets.IsShipped(selected)
                                   ? QString::fromStdString(m_presets.Listed(selected).name)
                                   : QString();
    AskText(this, QStringLiteral("Save the parameters and minimum rates as the preset:"), suggestion,
            [this](const QString& name) { SavePresetAs(name); });
}

void PerfDialog::SavePresetAs(const QString& typed)
{
    // The reader trims a name, so a stored one is trimmed already.
    const QString name = typed.trimmed();
    if (name.isEmpty() || static_cast<std::size_t>(name.size()) > kPresetNameMax) {
        ShowMessage(this, QStringLiteral("A preset name has 1 to %1 characters.").arg(kPresetNameMax), kPlainBox);
        return;
    }
    Preset preset {name.toStdString(), m_parameters};
    preset.parameters.simultaneous = 0;
    const auto store = [this, preset] {
        ProfileFile settings(SettingsFilePath());
        const PresetTable::Change change = m_presets.SavePreset(settings, preset);
        if (change != PresetTable::Change::Done) {
            ShowMessage(this, ChangeRefusal(change), kPlainBox);
            return;
        }
        FillPresetList(m_presets.FindPreset(preset.name));
    };
    if (m_presets.FindPreset(preset.name) < 0) {
        store();
        return;
    }
    AskQuestion(this, QStringLiteral("Replace the preset \"%1\"?").arg(name), [store](bool yes) {
        if (yes) {
            store();
        }
    });
}

void PerfDialog::OnDeletePreset()
{
    const int selected = SelectedPresetIndex();
    if (!m_presetList->isEnabled() || selected < 0) {
        return;
    }
    if (m_presets.IsShipped(selected)) {
        ShowMessage(this, QStringLiteral("The presets that come with Kel Tallyforge cannot be deleted."), kPlainBox);
        return;
    }
    const QString name = QString::fromStdString(m_presets.At(selected).name);
    AskQuestion(this, QStringLiteral("Delete the preset \"%1\"?").arg(name), [this, selected](bool yes) {
        if (!yes) {
            return;
        }
        ProfileFile settings(SettingsFilePath());
        const PresetTable::Change change = m_presets.DeletePreset(settings, selected);
        if (change != PresetTable::Change::Done) {
            ShowMessage(this, ChangeRefusal(change), kPlainBox);
            return;
        }
        FillPresetList(-1);
        OnSelchangePreset();
    });
}

}  // namespace kel
