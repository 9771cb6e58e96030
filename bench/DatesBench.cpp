// Times the two date conversions that the site commands use: the date text of a stamp and the reading
// of a typed date, with the default settings and with a longer pattern that applies another one.
#include "book/DateParse.h"
#include "book/DatePattern.h"

#include <benchmark/benchmark.h>

namespace portolan {
namespace {

void formatDateText(benchmark::State& state) {
    const DateSettings settings;
    DayNumber day = 35250;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FormatDateText(day, settings));
        day = day < 2958465 ? day + 1 : 35250;
    }
}
BENCHMARK(formatDateText);

void formatLongPattern(benchmark::State& state) {
    DateSettings settings;
    settings.ShortDatePattern = "dddd, dddddd 'at' tt";
    for (auto _ : state)
        benchmark::DoNotOptimize(FormatDateText(35250.5, settings));
}
BENCHMARK(formatLongPattern);

void parseDateText(benchmark::State& state) {
    const DateSettings settings;
    for (auto _ : state)
        benchmark::DoNotOptimize(ParseDateText(" 12 / 31 / 1996 ", settings, 2026));
}
BENCHMARK(parseDateText);

void parseInvalidDateText(benchmark::State& state) {
    const DateSettings settings;
    for (auto _ : state) {
        try {
            ParseDateText("2/29/1900", settings, 2026);
        } catch (const std::exception& error) {
            benchmark::DoNotOptimize(error.what());
        }
    }
}
BENCHMARK(parseInvalidDateText);

} // namespace
} // namespace portolan
