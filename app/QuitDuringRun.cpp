// Leaving the window: Escape never closes it, and Exit or the window's close
// button during a run ask before the run is stopped and the program ends.

#include "app/PerfDialog.h"

#include "app/MessagePresenter.h"

#include <QCloseEvent>
#include <QKeyEvent>

namespace kel {

bool PerfDialog::IsRunInProgress() const
{
    // A run already stopping is not asked about again: leaving then waits
    // for its end, or asks whether to quit without it (reject).
    return m_session.IsRunning() && !m_stopping;
}

void PerfDialog::AskStopAndQuit()
{
    AskQuestion(this, QStringLiteral("Stop the test and quit?"), [this](bool yes) {
        if (yes) {
            reject();
        }
    });
}

void PerfDialog::OnExit()
{
    if (IsRunInProgress()) {
        AskStopAndQuit();
        return;
    }
    reject();
}

void PerfDialog::keyPressEvent(QKeyEvent* e)
{
    // A dialog takes Escape for Cancel; here that would end the program.
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
        e->accept();
        return;
    }
    QDialog::keyPressEvent(e);
}

void PerfDialog::closeEvent(QCloseEvent* e)
{
    if (IsRunInProgress()) {
        e->ignore();
        AskStopAndQuit();
        return;
    }
    QDialog::closeEvent(e);
}

}  // namespace kel
