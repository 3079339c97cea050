#include "tests/cli/CliProcess.h"

#include <QFile>
#include <QJsonDocument>

#include <cstdlib>
#include <sys/wait.h>

namespace kel::test {

const QString kCli = QStringLiteral(KELT_CLI_PATH);
const QString kViews = QStringLiteral(KELT_VIEWS_PATH);
const QString kDialog = QStringLiteral(KELT_DIALOG_PATH);

namespace {

QProcessEnvironment Environment(const QString& configHome)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_HOME", configHome);
    // No presets of the package's unless a test names a file of them.
    environment.insert("KELTALLY_PRESETS_FILE", configHome + "/shipped-presets.ini");
    // System error texts as the tests expect them, unless a test asks for a locale.
    environment.insert("LC_ALL", "C.UTF-8");
    return environment;
}

}  // namespace

void StartProgram(QProcess& process, const QString& program, const QStringList& args, const TempDir& config)
{
    process.setProcessEnvironment(Environment(QString::fromStdString(config.Path())));
    process.start(program, args);
}

ProgramResult RunProgram(const QString& program, const ProgramRun& run)
{
    TempDir ownConfig;
    QProcessEnvironment environment =
        Environment(run.configHome.isEmpty() ? QString::fromStdString(ownConfig.Path()) : run.configHome);
    for (auto it = run.environment.begin(); it != run.environment.end(); ++it) {
        if (it.value().isNull()) {
            environment.remove(it.key());
        } else {
            environment.insert(it.key(), it.value());
        }
    }
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, run.args);
    if (!process.waitForStarted()) {
        return {};
    }
    process.write(run.input);
    process.closeWriteChannel();
    process.waitForFinished(120000);
    const int exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return {exitCode, process.readAllStandardOutput(), process.readAllStandardError()};
}

ProgramResult RunCli(const QStringList& args, const std::string& configHome)
{
    ProgramRun run;
    run.args = args;
    run.configHome = QString::fromStdString(configHome);
    return RunProgram(kCli, run);
}

ProgramResult RunCliWithBytes(const std::vector<std::string>& args)
{
    TempDir config;
    TempDir captured;
    const auto quoted = [](const std::string& text) {
        std::string inQuotes = "'";
        for (const char c : text) {
            inQuotes += c == '\'' ? std::string("'\\''") : std::string(1, c);
        }
        return inQuotes + "'";
    };
    std::string command = "XDG_CONFIG_HOME=" + quoted(config.Path()) + " KELTALLY_PRESETS_FILE=" +
                          quoted(config.Path() + "/shipped-presets.ini") + " LC_ALL=C.UTF-8 " + quoted(KELT_CLI_PATH);
    for (const std::string& arg : args) {
        command += " " + quoted(arg);
    }
    command += " </dev/null >" + quoted(captured.Path() + "/out") + " 2>" + quoted(captured.Path() + "/err");
    const int status = std::system(command.c_str());
    const auto read = [&](const char* name) {
        QFile file(QString::fromStdString(captured.Path()) + "/" + name);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    };
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, read("out"), read("err")};
}

QStringList ShortRun(const TempDir& folder, int reads, int writes)
{
    return {"--dir",    QString::fromStdString(folder.Path()), "--files", "2", "--file-size", "256", "--buffer",
            "64",       "--reads", QString::number(reads), "--writes", QString::number(writes), "--resolution",
            "200"};
}

QString PathIn(const TempDir& folder, const QString& name)
{
    return QString::fromStdString(folder.Path()) + "/" + name;
}

QJsonObject ReadJsonFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object() : QJsonObject();
}

}  // namespace kel::test
