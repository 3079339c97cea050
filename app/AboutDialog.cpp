// The About box and opening the user manual.
#include "app/AboutDialog.h"

#include "Version.h"
#include "app/DataExchange.h"
#include "app/DialogLayout.h"
#include "app/MessagePresenter.h"
#include "app/PerfApp.h"
#include "platform/MessageSink.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QTextBrowser>

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

namespace {

const QString kHelpWindowName = QStringLiteral("helpWindow");

}  // namespace

QString HelpFileName()
{
    return QStringLiteral("keltally.html");
}

QString HelpFilePath()
{
    const QString appDir = QCoreApplication::applicationDirPath();
    const QStringList candidates {
        appDir + QStringLiteral("/../" KELT_HELP_INSTALL_DIR "/") + HelpFileName(),
        QStringLiteral(KELT_HELP_SOURCE_DIR "/") + HelpFileName(),
    };
    for (const QString& candidate : candidates) {
        if (QFileInfo::exists(candidate)) {
            return QFileInfo(candidate).canonicalFilePath();
        }
    }
    // The built-in copy: a desktop viewer needs a real file.
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (cache.isEmpty() || !QDir().mkpath(cache)) {
        return {};
    }
    const QString unpacked = cache + QLatin1Char('/') + HelpFileName();
    QFile::remove(unpacked);
    if (!QFile::copy(QStringLiteral(":/help/") + HelpFileName(), unpacked)) {
        return {};
    }
    return unpacked;
}

void OpenHelpFile(QWidget* parent, const std::function<bool(const QUrl&)>& open)
{
    const QString path = HelpFilePath();
    const std::function<bool(const QUrl&)> opener = open ? open : &QDesktopServices::openUrl;
    if (!path.isEmpty() && opener(QUrl::fromLocalFile(path))) {
        return;
    }
    // No browser answered: the program's own help window, from the file or
    // the copy built into the program.
    const QString source = !path.isEmpty() ? path : QStringLiteral(":/help/") + HelpFileName();
    if (!QFileInfo::exists(source)) {
        ShowMessage(parent, QStringLiteral("Unable to open the help file \"%1\".").arg(HelpFileName()), kPlainBox);
        return;
    }
    QTextBrowser* window = parent != nullptr ? parent->findChild<QTextBrowser*>(kHelpWindowName) : nullptr;
    if (window == nullptr) {
        window = new QTextBrowser(parent);
        window->setObjectName(kHelpWindowName);
        window->setWindowFlag(Qt::Window);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->setOpenExternalLinks(true);
        window->setWindowTitle(QStringLiteral("Kel Tallyforge Help"));
        window->resize(720, 640);
        window->setSource(source.startsWith(QLatin1Char(':')) ? QUrl(QStringLiteral("qrc") + source)
                                                              : QUrl::fromLocalFile(source));
    }
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace kel
