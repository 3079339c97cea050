#include "app/StopSignalWatch.h"

#include "platform/StopSignals.h"

#include <QDialog>
#include <QSocketNotifier>

namespace kel {

void CloseOnStopSignals(QDialog& dialog)
{
    InstallStopSignals();
    const int descriptor = StopSignalDescriptor();
    if (descriptor < 0) {
        return;
    }
    auto* notifier = new QSocketNotifier(descriptor, QSocketNotifier::Read, &dialog);
    QObject::connect(notifier, &QSocketNotifier::activated, &dialog, [notifier, &dialog] {
        notifier->setEnabled(false);
        dialog.reject();
    });
}

}  // namespace kel
