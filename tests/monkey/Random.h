#pragma once
// The monkey's dice: one seeded generator per decision maker, so a run is repeated by its seed.

#include <cstdint>
#include <random>
#include <vector>

namespace tovin::monkey {

class CRandom {
public:
    explicit CRandom(std::uint64_t seed) : m_engine(seed) {}

    // A whole number in [0, count); 0 when count is 0.
    int Below(int count) {
        if (count <= 0) {
            return 0;
        }
        return static_cast<int>(std::uniform_int_distribution<int>(0, count - 1)(m_engine));
    }
    bool Chance(double probability) {
        return std::uniform_real_distribution<double>(0.0, 1.0)(m_engine) < probability;
    }
    template <class T> const T& Pick(const std::vector<T>& items) {
        return items[static_cast<size_t>(Below(static_cast<int>(items.size())))];
    }
    // An index chosen with the given weights.
    int Weighted(const std::vector<int>& weights) {
        int total = 0;
        for (int weight : weights) {
            total += weight;
        }
        int roll = Below(total);
        for (size_t i = 0; i < weights.size(); ++i) {
            if (roll < weights[i]) {
                return static_cast<int>(i);
            }
            roll -= weights[i];
        }
        return 0;
    }

private:
    std::mt19937_64 m_engine;
};

} // namespace tovin::monkey
