#include "app/HelpFile.h"

#include "app/MessagePresenter.h"
#include "platform/MessageSink.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTextBrowser>

namespace kel {

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
