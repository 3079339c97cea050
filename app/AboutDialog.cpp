#include "app/AboutDialog.h"

#include "Version.h"
#include "app/DataExchange.h"
#include "app/DialogLayout.h"
#include "app/PerfApp.h"

#include <QLabel>
#include <QPushButton>

namespace kel {

AboutDialog::AboutDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint)
{
    setWindowTitle(QStringLiteral("About Kel Tallyforge"));
    QFont dialogFont(QStringLiteral("Liberation Sans"));
    dialogFont.setPixelSize(kDialogFontPixels);
    setFont(dialogFont);
    setFixedSize(DluToPixelsX(kAboutWidthDlu), DluToPixelsY(kAboutHeightDlu));

    auto* icon = new QLabel(this);
    icon->setPixmap(ProgramIcon().pixmap(32, 32));
    icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    PlaceLabel(icon, PixelRect(11, 10, 18, 20), false);  // an icon control takes its icon's size

    const struct {
        QString text;
        int x, y, width, height;
    } lines[] = {
        {QStringLiteral("Kel Tallyforge Version ") + QLatin1String(kAboutVersion), 44, 10, 119, 8},
        {QStringLiteral("Drive Performance Measurement Utility"), 44, 20, 123, 8},
        {QStringLiteral("Copyright (C) 2026 Kel Tallyforge developers"), 44, 36, 158, 8},
        {QStringLiteral("License: GPL-3.0-or-later"), 44, 46, 158, 8},
    };
    for (const auto& line : lines) {
        auto* label = new QLabel(line.text, this);
        label->setTextFormat(Qt::PlainText);
        PlaceLabel(label, PixelRect(line.x, line.y, line.width, line.height), false);
    }

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("id1"));
    ok->setDefault(true);
    ok->setGeometry(PixelRect(218, 8, 32, 14));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace kel
