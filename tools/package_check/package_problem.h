#pragma once

#include <QString>

#include <vector>

// One thing in a package that setup would show as broken, named by the
// install.ini key (or file) it comes from.
struct PackageProblem {
    // Refuses: the window or the installation would not work. Warns: setup
    // shows an error box or a fallback, but the package still installs.
    enum class Effect { Refuses, Warns };

    Effect effect;
    QString key;
    QString text;
};

using PackageProblems = std::vector<PackageProblem>;

inline void refuse(PackageProblems& problems, const QString& key, const QString& text)
{
    problems.push_back({PackageProblem::Effect::Refuses, key, text});
}

inline void warn(PackageProblems& problems, const QString& key, const QString& text)
{
    problems.push_back({PackageProblem::Effect::Warns, key, text});
}
