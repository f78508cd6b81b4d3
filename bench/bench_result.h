#pragma once
// Besides its own text, every benchmark prints one machine-readable line per
// figure, which scripts/bench.sh gathers into one table:
//   RESULT <tab> figure <tab> value <tab> unit <tab> aim or ratio
#include <cstdarg>
#include <cstdio>
#include <string>

namespace lumorra::bench {

inline void result(const char* figure, double value, int decimals, const char* unit, const std::string& aim)
{
    std::printf("RESULT\t%s\t%.*f\t%s\t%s\n", figure, decimals, value, unit, aim.c_str());
    std::fflush(stdout);
}

[[gnu::format(printf, 1, 2)]] inline std::string format(const char* pattern, ...)
{
    char buffer[256];
    va_list args;
    va_start(args, pattern);
    std::vsnprintf(buffer, sizeof buffer, pattern, args);
    va_end(args);
    return buffer;
}

} // namespace lumorra::bench
