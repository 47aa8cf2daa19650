#include "tools/package_check/nearest_name.h"

#include <algorithm>
#include <vector>

namespace {

// Edit distance with swaps of neighbours (optimal string alignment).
int distance(const QString& a, const QString& b)
{
    const qsizetype n = a.size(), m = b.size();
    std::vector<std::vector<int>> d(n + 1, std::vector<int>(m + 1));
    for (qsizetype i = 0; i <= n; ++i)
        d[i][0] = int(i);
    for (qsizetype j = 0; j <= m; ++j)
        d[0][j] = int(j);
    for (qsizetype i = 1; i <= n; ++i) {
        for (qsizetype j = 1; j <= m; ++j) {
            const int cost = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return d[n][m];
}

} // namespace

QString nearestName(const QString& name, const QStringList& candidates)
{
    const QString folded = name.toCaseFolded();
    const int allowed = std::max(2, int(name.size() / 3));
    QString best;
    int bestDistance = allowed + 1;
    for (const QString& candidate : candidates) {
        const int steps = distance(folded, candidate.toCaseFolded());
        if (steps < bestDistance) {
            best = candidate;
            bestDistance = steps;
        }
    }
    return best;
}
