#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

namespace bench {

// How much a generated working folder holds.
struct GenSize {
    QString name;
    int elements = 0;
    int formulas = 0;
    int actions = 0;     // Usos
    int indications = 0; // Sintomas
    int components = 0;  // Componen
    int actionRows = 0;     // Rel
    int indicationRows = 0; // RelSint

    int plants() const { return elements + formulas; }
};

// "S", "M" or "L" (any case); throws store::Error for anything else.
GenSize genSize(const QString &name);
QStringList genSizeNames();

// What was written, as counted while writing.
struct GenReport {
    int plants = 0;
    int formulas = 0;
    int classes = 0;
    qint64 actionRows = 0;
    qint64 indicationRows = 0;
    qint64 ingredientRows = 0;
    qint64 componentRows = 0;
    double seconds = 0;
};

// Writes a new working folder of the program's schema with content that depends only on the size
// and the seed. The folder must not hold a database yet.
GenReport generate(const GenSize &size, const QString &folder, std::uint64_t seed);

// The small generator behind every draw: splitmix64. Ours rather than the standard library's so
// that a seed gives the same folder with any compiler.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t next()
    {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double unit() { return double(next() >> 11) * 0x1.0p-53; } // [0, 1)
    int below(int n) { return int(unit() * n); }              // [0, n)
    int between(int lo, int hi) { return lo + below(hi - lo + 1); } // [lo, hi]
    bool chance(double p) { return unit() < p; }

private:
    std::uint64_t m_state;
};

} // namespace bench
