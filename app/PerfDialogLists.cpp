// The drive list, the presets and the drive check before a run.

#include "app/DialogLayout.h"
#include "app/PerfDialog.h"
#include "drives/DriveCheck.h"
#include "drives/DriveItemText.h"
#include "platform/DriveTable.h"
#include "settings/ProfileFile.h"
#include "settings/SettingsLocation.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QScrollBar>

namespace kel {

namespace {
constexpr int kDropDownVisibleItems = 16;

// The opened list shows every item up to 16 and scrolls beyond. It is made
// wide enough for its longest text, which the narrow closed box may cut.
void FitDropDown(QComboBox* list)
{
    if (list->count() <= 0) {
        return;
    }
    list->setMaxVisibleItems(kDropDownVisibleItems);
    QAbstractItemView* view = list->view();
    const int scrollBar = list->count() > kDropDownVisibleItems ? view->verticalScrollBar()->sizeHint().width() : 0;
    view->setMinimumWidth(view->sizeHintForColumn(0) + 2 * view->frameWidth() + scrollBar);
}
}  // namespace

void PerfDialog::FillDriveList()
{
    // The table is filled at start-up; entries come in letter order, which is
    // also the sorted order of their texts.
    int defaultItem = -1;
    for (const DriveEntry& entry : SystemDriveTable().Entries()) {
        m_driveList->addItem(QString::fromStdString(DriveItemText(entry)), static_cast<int>(entry.letter));
        if (entry.letter == 'C') {
            defaultItem = m_driveList->count() - 1;
        }
    }
    m_driveList->setCurrentIndex(defaultItem);
    FitDropDown(m_driveList);
}

void PerfDialog::LoadPresets()
{
    ProfileFile settings(SettingsFilePath());
    m_presets.LoadPresets(settings);
    for (const int index : m_presets.SortedOrder()) {
        m_presetList->addItem(QString::fromStdString(m_presets.At(index).name), index);
    }
    if (m_presets.Count() > 0) {
        m_presetList->setCurrentIndex(0);
    }
    FitDropDown(m_presetList);
}

void PerfDialog::OnSelchangePreset()
{
    const int item = m_presetList->currentIndex();
    const int index = item >= 0 ? m_presetList->itemData(item).toInt() : -1;
    if (index < 0 || index >= m_presets.Count()) {
        return;  // no preset selected: nothing to apply
    }
    const Preset& preset = m_presets.At(index);
    m_numFiles = preset.numFiles;
    m_fileSizeKB = preset.fileSize;
    m_bufSizeKB = preset.bufSize;
    m_readReps = preset.readReps;
    m_writeReps = preset.writeReps;
    m_sampsSec = preset.sampsSec;
    m_minRead = preset.minRead;
    m_minWrite = preset.minWrite;
    UpdateData(false);
    // A view that shows a finished run keeps it; the thresholds reach it at
    // the next Start.
    if (m_graph.HasResults() == 0) {
        m_graph.ConfigureRun(0, 0, IsChecked(id::kSimultaneous), m_minRead, m_minWrite);
    }
}

int PerfDialog::CheckDrive(int driveLetter)
{
    return kel::CheckDrive(driveLetter, SystemDriveTable(), m_numFiles, m_fileSizeKB,
                           IsChecked(id::kSimultaneous) != 0, m_messages);
}

}  // namespace kel
