#pragma once

#include <QString>

#include <vector>

// One thing in a package that setup would show as broken, named by the
// install.ini key (or file) it comes from, or a fact worth knowing about it.
struct PackageProblem {
    // Refuses: the window or the installation would not work. Warns: setup
    // shows an error box or a fallback, but the package still installs.
    // Informs: nothing is wrong; what was checked and how long it took.
    enum class Effect { Refuses, Warns, Informs };

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

inline void inform(PackageProblems& problems, const QString& key, const QString& text)
{
    problems.push_back({PackageProblem::Effect::Informs, key, text});
}
