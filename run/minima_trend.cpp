#include "minima_trend.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace vd::run {
namespace {

constexpr int exactBelow = 10;
constexpr int fewestTrendYears = 3;
constexpr double yearsPerDecade = 10;

int sign(double v) {
    return (v > 0) - (v < 0);
}

// The sizes of the groups of equal values.
std::vector<int> tieGroups(std::span<const double> series) {
    std::vector<double> sorted(series.begin(), series.end());
    std::sort(sorted.begin(), sorted.end());
    std::vector<int> groups;
    for (std::size_t i = 0; i < sorted.size();) {
        std::size_t j = i;
        while (j < sorted.size() && sorted[j] == sorted[i]) ++j;
        groups.push_back(static_cast<int>(j - i));
        i = j;
    }
    return groups;
}

double tieCorrectedVariance(int n, const std::vector<int>& groups) {
    const auto term = [](double m) { return m * (m - 1) * (2 * m + 5); };
    double ties = 0;
    for (const int t : groups) ties += term(t);
    return (term(n) - ties) / 18;
}

using Counts = std::vector<std::uint64_t>;  // coefficient k: arrangements with k inversions

// The Gaussian binomial coefficient [m choose k] in q as coefficients, by
// [m, k] = [m-1, k-1] + q^k [m-1, k].
Counts gaussianBinomial(int m, int k) {
    std::vector<std::vector<Counts>> table(static_cast<std::size_t>(m) + 1);
    for (int i = 0; i <= m; ++i) {
        auto& row = table[static_cast<std::size_t>(i)];
        row.resize(static_cast<std::size_t>(std::min(i, k)) + 1);
        for (int j = 0; j <= std::min(i, k); ++j) {
            Counts& c = row[static_cast<std::size_t>(j)];
            if (j == 0 || j == i) {
                c = {1};
                continue;
            }
            const Counts& left =
                table[static_cast<std::size_t>(i - 1)][static_cast<std::size_t>(j - 1)];
            const Counts& up = table[static_cast<std::size_t>(i - 1)][static_cast<std::size_t>(j)];
            c.assign(std::max(left.size(), up.size() + static_cast<std::size_t>(j)), 0);
            for (std::size_t d = 0; d < left.size(); ++d) c[d] += left[d];
            for (std::size_t d = 0; d < up.size(); ++d) c[d + static_cast<std::size_t>(j)] += up[d];
        }
    }
    return table[static_cast<std::size_t>(m)][static_cast<std::size_t>(k)];
}

Counts product(const Counts& a, const Counts& b) {
    Counts c(a.size() + b.size() - 1, 0);
    for (std::size_t i = 0; i < a.size(); ++i)
        for (std::size_t j = 0; j < b.size(); ++j) c[i + j] += a[i] * b[j];
    return c;
}

// The exact two-sided p of S under no trend. Ties are kept as observed: every distinct
// ordering of the observed values is equally likely, and S of an ordering is D - 2 I, with
// D the pairs of unequal values and I the inversions among them. The orderings counted by
// I are the coefficients of the q-multinomial coefficient of the tie group sizes (the
// product of Gaussian binomials [t1 + ... + tm, tm]); without ties this is the plain
// permutation distribution.
double exactP(long long S, const std::vector<int>& groups) {
    Counts counts = {1};
    int placed = 0;
    long long unequalPairs = 0;
    for (const int t : groups) {
        unequalPairs += static_cast<long long>(placed) * t;
        placed += t;
        counts = product(counts, gaussianBinomial(placed, t));
    }
    std::uint64_t total = 0;
    std::uint64_t asExtreme = 0;
    for (std::size_t inversions = 0; inversions < counts.size(); ++inversions) {
        total += counts[inversions];
        const long long s = unequalPairs - 2 * static_cast<long long>(inversions);
        if (std::llabs(s) >= std::llabs(S)) asExtreme += counts[inversions];
    }
    return static_cast<double>(asExtreme) / static_cast<double>(total);
}

double normalP(long long S, double variance) {
    if (S == 0 || variance <= 0) return 1;
    const double corrected = static_cast<double>(S - sign(static_cast<double>(S)));
    const double z = corrected / std::sqrt(variance);
    return std::erfc(std::fabs(z) / std::sqrt(2.0));
}

}  // namespace

MannKendall mannKendall(std::span<const double> series) {
    MannKendall test;
    test.n = static_cast<int>(series.size());
    for (std::size_t i = 0; i < series.size(); ++i)
        for (std::size_t j = i + 1; j < series.size(); ++j) test.S += sign(series[j] - series[i]);
    const std::vector<int> groups = tieGroups(series);
    test.variance = tieCorrectedVariance(test.n, groups);
    test.exact = test.n < exactBelow;
    test.p = test.exact ? exactP(test.S, groups) : normalP(test.S, test.variance);
    return test;
}

std::optional<double> theilSenSlope(std::span<const double> t, std::span<const double> x) {
    std::vector<double> slopes;
    const std::size_t n = std::min(t.size(), x.size());
    slopes.reserve(n * (n - (n > 0)) / 2);
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = i + 1; j < n; ++j)
            if (t[j] != t[i]) slopes.push_back((x[j] - x[i]) / (t[j] - t[i]));
    if (slopes.empty()) return std::nullopt;
    const auto middle = slopes.begin() + static_cast<std::ptrdiff_t>(slopes.size() / 2);
    std::nth_element(slopes.begin(), middle, slopes.end());
    if (slopes.size() % 2 == 1) return *middle;
    const double below = *std::max_element(slopes.begin(), middle);
    return (below + *middle) / 2;
}

std::optional<MinimaTrend> minimaTrend(const std::vector<SeasonMinimum>& minima) {
    if (minima.size() < fewestTrendYears) return std::nullopt;
    std::vector<double> years;
    std::vector<double> flows;
    years.reserve(minima.size());
    flows.reserve(minima.size());
    for (const SeasonMinimum& m : minima) {
        years.push_back(m.seasonYear);
        flows.push_back(m.flow);
    }
    const auto slope = theilSenSlope(years, flows);
    if (!slope) return std::nullopt;
    return MinimaTrend{mannKendall(flows).p, *slope * yearsPerDecade};
}

}  // namespace vd::run
