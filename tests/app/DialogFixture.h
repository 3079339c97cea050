#pragma once
// A main dialog on the offscreen platform with a temporary folder as drive T,
// its own settings folder, and every message box captured.

#include "app/DialogLayout.h"
#include "app/PerfDialog.h"
#include "platform/DriveTable.h"
#include "tests/support/TempDir.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

namespace kel::test {

struct CapturedMessage {
    QString text;
    unsigned type;
};

// Runs the event loop until done() holds or the time is up; the result is done().
bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 30000);

class DialogFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Builds and shows the dialog (after a test has prepared the settings file).
    void OpenDialog();
    // The dialog's control of that id (its object name is "id" and the number).
    QWidget* Item(int controlId) const;
    QString TextOf(int controlId) const;
    void SetEdit(int controlId, const QString& text);
    // Files, file size, buffer, read reps, write reps, resolution, in that order.
    void SetParameters(const std::vector<QString>& values);
    void Click(int controlId);
    void SelectDrive(char letter);
    bool WaitForIdle() const;
    // Test files and probe files left in drive T.
    std::vector<std::string> Leftovers() const { return m_drive.Entries(); }
    // Ids of the controls that EnableControls sets and that are enabled now.
    std::vector<int> EnabledRunControls() const;

    TempDir m_drive;
    TempDir m_config;
    // The dialog's drives: T is m_drive.
    DriveTable m_drives;
    // The dialog's test files when a test sets them before OpenDialog; else the system's.
    FileBackend* m_files = nullptr;
    std::vector<CapturedMessage> m_messages;
    // Every yes-or-no question asked, answered with m_answer.
    QStringList m_questions;
    bool m_answer = true;
    std::unique_ptr<PerfDialog> m_dialog;
};

}  // namespace kel::test
