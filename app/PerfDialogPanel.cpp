// The parameter panel: collapsing and expanding it, and the simultaneous
// write option's effect on the repetition fields.

#include "app/DialogLayout.h"
#include "app/PerfDialog.h"

#include <QPushButton>

namespace kel {

void PerfDialog::OnAdvanced()
{
    m_advanced = m_advanced == 0 ? 1 : 0;
    static_cast<QPushButton*>(Control(id::kAdvanced))
        ->setText(m_advanced == 1 ? QStringLiteral("Ad&vanced <<") : QStringLiteral("Ad&vanced >>"));
    LayoutPanel();
}

void PerfDialog::EnableParamEdits()
{
    for (const int edit : {id::kSampsSec, id::kNumFiles, id::kFileSize, id::kBufSize, id::kReadReps, id::kWriteReps}) {
        SetEnabled(edit, m_advanced != 0);
    }
}

void PerfDialog::LayoutPanel()
{
    QWidget* group = Control(id::kParameters);
    int newHeight = m_fullHeight;
    if (m_advanced == 0) {
        // The panel's height and a little more of the margin below the buttons.
        const int h = group->geometry().height();
        newHeight = m_fullHeight - h / 18 - h;
    }
    // Expanding shows and enables before the window grows; collapsing
    // shrinks the window before hiding and disabling.
    if (m_advanced != 0) {
        EnableParamEdits();
        group->show();
    }
    setFixedSize(width(), newHeight);
    update();
    if (m_advanced == 0) {
        group->hide();
        EnableParamEdits();
    }
}

void PerfDialog::OnSimultaneous()
{
    const int ticked = IsChecked(id::kSimultaneous);
    for (const int separateReps : {id::kWriteRepsLabel, id::kWriteReps, id::kReadRepsLabel}) {
        Control(separateReps)->setVisible(ticked == 0);
    }
    Control(id::kRepsLabel)->setVisible(ticked != 0);
    repaint();
    // A view that shows a finished run keeps it on screen.
    if (m_graph.HasResults() == 0) {
        m_graph.ConfigureRun(0, 0, ticked, m_minRead, m_minWrite);
    }
}

}  // namespace kel
