#pragma once
// What the Help menu opens: the About box, with the program's name and
// version, what it does, and whose it is; and the user manual, found
// installed beside the program, in the source tree of a build that was not
// installed, or else unpacked from the copy built into the program.

#include <QDialog>
#include <QString>
#include <QUrl>

#include <functional>

class QWidget;

namespace kel {

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

QString HelpFileName();
// The manual's path on disk, or empty when none can be found or unpacked.
QString HelpFilePath();

// Opens the manual with open (the desktop's URL handler when empty). When
// that fails, the manual opens in the program's own help window (one per
// parent, raised again by later calls); only a manual that cannot be found
// at all is told in a message box over parent.
void OpenHelpFile(QWidget* parent, const std::function<bool(const QUrl&)>& open);

}  // namespace kel
