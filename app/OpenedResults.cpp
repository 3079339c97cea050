// "Open Results..." and "Compare With...": saved records shown in the view,
// read pass by pass so a long record never has to fit in memory whole.
#include "app/DialogLayout.h"
#include "app/MessagePresenter.h"
#include "app/PerfDialog.h"
#include "app/SavedRecordDrawing.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>

#include <cstdio>
#include <memory>

namespace kel {

namespace {

// "Kel Tallyforge - run.json (/dev/sda1, 2026-12-09T13:00:00.000Z)".
QString OpenedTitle(const QString& name, const RunRecord& record)
{
    const std::string& drive = !record.fileSystem.device.empty()       ? record.fileSystem.device
                               : !record.fileSystem.mountPoint.empty() ? record.fileSystem.mountPoint
                                                                       : record.directory;
    QString details = QString::fromStdString(RecordTimeText(record.start));
    if (!drive.empty()) {
        details = QString::fromLocal8Bit(drive) + ", " + details;
    }
    return QStringLiteral("%1 - %2 (%3)").arg(QString::fromLatin1(kDialogCaption), name, details);
}

}  // namespace

void PerfDialog::ChooseResults(bool compare)
{
    // Opened window-modal, without an event loop of its own.
    auto* chooser = new QFileDialog(this, compare ? QStringLiteral("Compare With") : QStringLiteral("Open Results"),
                                    QDir::homePath(), QStringLiteral("Run records (*.json)"));
    chooser->setFileMode(QFileDialog::ExistingFile);
    chooser->setAttribute(Qt::WA_DeleteOnClose);
    connect(chooser, &QFileDialog::fileSelected, this,
            [this, compare](const QString& path) { OpenResults(path, compare); });
    chooser->open();
}

bool PerfDialog::OpenResults(const QString& recordPath, bool compare)
{
    if (IsRunInProgress()) {
        return false;
    }
    const QString name = QFileInfo(recordPath).fileName();
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(
        std::fopen(QFile::encodeName(recordPath).constData(), "rb"), &std::fclose);
    std::string problem = "it cannot be read";
    std::optional<RunRecord> record;
    if (file) {
        const int run = compare ? static_cast<int>(std::max<std::size_t>(m_openedNames.size(), 1)) : 0;
        record = DrawSavedRecord(file.get(), compare, run, m_graph, problem);
    }
    if (!record) {
        if (!compare) {
            // Passes read before the problem was met are not the record.
            m_graph.ConfigureRun(0, 0, 0, 0, 0);
            m_openedNames.clear();
            ShowIdleTitle();
        }
        ShowMessage(this, QStringLiteral("Unable to open the results.\n\n%1 is refused: %2")
                              .arg(name, QString::fromStdString(problem)),
                    kPlainBox);
        return false;
    }
    if (compare) {
        if (m_openedNames.empty()) {
            m_openedNames.push_back(QStringLiteral("This run"));
        }
        m_openedNames.push_back(name);
        m_graph.SetRunNames(m_openedNames);
    } else {
        m_openedNames = {name};
        setWindowTitle(OpenedTitle(name, *record));
    }
    return true;
}

}  // namespace kel
