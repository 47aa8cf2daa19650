#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// A program to start: the executable, its arguments and its working folder.
struct LaunchRequest {
    QString program;
    QStringList arguments;
    QString workingDirectory;
    bool operator==(const LaunchRequest&) const = default;
};

// The start of `command` (a program path relative to `folder`, optionally
// followed by arguments; double quotes group words) from `folder`. The first
// word, with "\" read as "/", is joined to the folder; the program runs in
// its own folder. Nothing to start when the command has no words.
std::optional<LaunchRequest> launchRequestFor(const QString& folder, const QString& command);

// Starts programs detached, never through a shell; tests put a recorder in
// its place.
class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;
    // False when the program could not be started.
    virtual bool start(const LaunchRequest& request) = 0;
};

ProgramLauncher& programLauncher();
// Installs a launcher (not owned); nullptr restores the real one.
void setProgramLauncher(ProgramLauncher* launcher);
