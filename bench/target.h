#pragma once
// Each benchmark shows beside its result the time it has to stay within.
#include <benchmark/benchmark.h>
#include <string>

namespace moltr::bench {

inline void ShowTarget(benchmark::State& state, const char* target) {
    state.SetLabel(std::string("target ") + target);
}

} // namespace moltr::bench
