#include <vector>

#include "statistics.h"

namespace vd {

namespace {

// The last M values of the running average. They are held as float: the running sum
// subtracts the rounded value, and the published results depend on that drift.
class Window {
  public:
    explicit Window(int length) : Values(static_cast<std::size_t>(length)) {}

    void clear() {
        Count = 0;
        Zeros = 0;
        Sum = 0;
        Oldest = 0;
    }

    void push(double v) {
        const auto stored = static_cast<float>(v);
        if (Count < length()) {
            Sum += v;
            Values[wrapped(Oldest + static_cast<std::size_t>(Count))] = stored;
            ++Count;
        } else {
            const float dropped = Values[Oldest];
            Sum = Sum - dropped + v;
            if (dropped == 0) --Zeros;
            Values[Oldest] = stored;
            Oldest = wrapped(Oldest + 1);
        }
        if (v == 0) ++Zeros;
        if (Sum < 0) Sum = 0;
    }

    bool full() const { return Count == length(); }

    // Hydrological: arithmetic mean, zeros included. Biological: harmonic mean of the
    // nonzero days times their share of the window (sum holds reciprocals).
    double average(bool biological) {
        const int m = length();
        if (!biological) return Sum / m;
        if (Zeros == m) return 0;
        // The share changes with the count of zero days only: not divided out every day.
        if (Zeros != ShareZeros) {
            const double nonzero = m - Zeros;
            Share = nonzero * nonzero / m;
            ShareZeros = Zeros;
        }
        return Share / Sum;
    }

  private:
    int length() const { return static_cast<int>(Values.size()); }
    // A place past the end counts on from the start; no place is two lengths on.
    std::size_t wrapped(std::size_t i) const { return i < Values.size() ? i : i - Values.size(); }

    std::vector<float> Values;
    std::size_t Oldest = 0;
    int Count = 0;
    int Zeros = 0;
    double Sum = 0;
    int ShareZeros = -1;  // the count of zero days `Share` was worked out for
    double Share = 0;
};

}  // namespace

std::vector<double> movingAverages(std::span<const double> days, int windowDays, bool harmonic) {
    std::vector<double> averages(days.size(), unknown);
    const int M = windowDays;
    // No window of fewer than one day exists: nothing is averaged, nothing is known.
    if (M < 1) return averages;
    const int last = static_cast<int>(days.size());
    // Days 1..last of both, in range: indexed without a check per day (day n at n - 1).
    const double* const day = days.data();
    double* const average = averages.data();
    Window window(M);
    for (int n = 1; n <= last; ++n) {
        const double v = day[n - 1];
        if (v == unknown) {
            window.clear();
            continue;
        }
        window.push(harmonic && v > 0 ? 1 / v : v);
        if (window.full()) average[n - M] = window.average(harmonic);
    }
    return averages;
}

}  // namespace vd
