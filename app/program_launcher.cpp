#include "app/program_launcher.h"

#include "base/local_time_zone.h"

#include <QFileInfo>
#include <QProcess>

namespace {

QStringList commandWords(const QString& command)
{
    QStringList words;
    QString word;
    bool quoted = false;
    bool inWord = false;
    for (const QChar c : command) {
        if (c == u'"') {
            quoted = !quoted;
            inWord = true;
        } else if (!quoted && (c == u' ' || c == u'\t')) {
            if (inWord)
                words.append(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words.append(word);
    return words;
}

class DetachedLauncher final : public ProgramLauncher {
public:
    bool start(const LaunchRequest& request) override
    {
        QProcess process;
        process.setProgram(request.program);
        process.setArguments(request.arguments);
        process.setWorkingDirectory(request.workingDirectory);
        // The installed program gets the user's environment, not the time
        // zone this program named for its own speed.
        if (LocalTimeZonePinned()) {
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.remove(QStringLiteral("TZ"));
            process.setProcessEnvironment(environment);
        }
        return process.startDetached();
    }
};

DetachedLauncher detachedLauncher;
ProgramLauncher* currentLauncher = &detachedLauncher;

} // namespace

std::optional<LaunchRequest> launchRequestFor(const QString& folder, const QString& command)
{
    QStringList words = commandWords(command);
    if (words.isEmpty() || words.front().isEmpty())
        return std::nullopt;
    const QString relative = words.takeFirst().replace(u'\\', u'/');
    const QString base = folder.endsWith(u'/') ? folder : folder + u'/';
    const QString program = base + relative;
    return LaunchRequest{program, words, QFileInfo(program).absolutePath()};
}

ProgramLauncher& programLauncher()
{
    return *currentLauncher;
}

void setProgramLauncher(ProgramLauncher* launcher)
{
    currentLauncher = launcher ? launcher : &detachedLauncher;
}
