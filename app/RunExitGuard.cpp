// The dialog program's end by exit() or by a stop signal.
#include "app/RunExitGuard.h"

#include "engine/DriveTester.h"
#include "platform/StopSignals.h"

#include <QDialog>
#include <QSocketNotifier>

#include <atomic>
#include <cstdlib>

namespace kel {

namespace {

std::atomic<DriveTester*> g_tester {nullptr};

// Runs on the thread that ends the process. Installed at the first run, after
// the window has drawn itself, so it runs before the exit destroys the Qt
// objects that the worker may still draw with while it stops.
void StopTheRun()
{
    if (DriveTester* tester = g_tester.load()) {
        tester->Stop();
    }
}

}  // namespace

void StopAtProcessEnd(DriveTester& tester)
{
    static const bool installed = [] {
        IgnoreBrokenPipes();
        std::atexit(&StopTheRun);
        std::at_quick_exit(&StopTheRun);
        return true;
    }();
    static_cast<void>(installed);
    g_tester.store(&tester);
}

void ForgetAtProcessEnd(DriveTester& tester)
{
    DriveTester* expected = &tester;
    g_tester.compare_exchange_strong(expected, nullptr);
}

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
