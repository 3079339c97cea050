#pragma once
// The About box: the program's name and version, what it does, and whose it is.

#include <QDialog>

namespace kel {

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace kel
