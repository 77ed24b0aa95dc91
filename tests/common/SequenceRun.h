#pragma once

#include <cstdlib>

namespace quenmar::testing {

// A random sequence's seed and length: the test's own, unless
// QUENMAR_SEQ_SEED replays one seed or `lengthVariable` sets the length.
struct SequenceRun {
    unsigned seed;
    int length;
    SequenceRun(unsigned ownSeed, const char* lengthVariable, int ownLength) {
        const char* replay = std::getenv("QUENMAR_SEQ_SEED");
        const char* steps = std::getenv(lengthVariable);
        seed = replay ? static_cast<unsigned>(std::strtoul(replay, nullptr, 10)) : ownSeed;
        length = steps ? std::atoi(steps) : ownLength;
    }
};

}  // namespace quenmar::testing
