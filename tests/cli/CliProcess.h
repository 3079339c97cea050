#pragma once
// The runner, keltally-views and the dialog program run as a user runs them,
// each with a settings folder of its own: never the user's settings file.

#include "tests/support/TempDir.h"

#include <QJsonObject>
#include <QMap>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

namespace kel::test {

// The programs of this build.
extern const QString kCli;
extern const QString kViews;
extern const QString kDialog;

struct ProgramRun {
    QStringList args;
    // Variables to set (LC_ALL is C.UTF-8 unless set here); a null value
    // removes the variable.
    QMap<QString, QString> environment;
    QString configHome;  // XDG_CONFIG_HOME; empty: a fresh folder for this run
    QByteArray input;    // standard input
};

struct ProgramResult {
    int exitCode = -1;
    QString out;
    QString err;
};

ProgramResult RunProgram(const QString& program, const ProgramRun& run);

// Starts program in the background, for tests that signal it, with config as
// its settings folder.
void StartProgram(QProcess& process, const QString& program, const QStringList& args, const TempDir& config);

// The runner with these arguments and nothing else set.
ProgramResult RunCli(const QStringList& args, const std::string& configHome = {});

// The same with arguments of any bytes, passed on unchanged (a QStringList
// would re-encode a name that is not UTF-8).
ProgramResult RunCliWithBytes(const std::vector<std::string>& args);

// The arguments of a short run in folder: 2 files of 256 KB, 64 KB
// transfers, the passes given, and the most samples per second.
QStringList ShortRun(const TempDir& folder, int reads = 2, int writes = 2);

QString PathIn(const TempDir& folder, const QString& name);

// The JSON object in the file, or an empty one.
QJsonObject ReadJsonFile(const QString& path);

}  // namespace kel::test
