// Order statistics and the printed table of the benchmark.
#include "stats.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace veldrisa::bench {

double Percentile(std::vector<double> values, double p) {
    if (values.empty()) return std::numeric_limits<double>::quiet_NaN();
    std::sort(values.begin(), values.end());
    auto rank = static_cast<std::size_t>(std::ceil(p / 100.0 * static_cast<double>(values.size())));
    return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

double Row::median() const { return Percentile(samples, 50); }

double Row::p95() const { return Percentile(samples, higherIsBetter ? 5 : 95); }

double Row::worst() const { return Percentile(samples, higherIsBetter ? 0.0001 : 100); }

namespace {

// Counts come out whole; measures with three significant figures or so.
std::string Figure(double v) {
    if (std::isnan(v)) return "-";
    char buf[32];
    if (std::fabs(v) >= 1000 || v == std::floor(v))
        std::snprintf(buf, sizeof buf, "%.0f", v);
    else if (std::fabs(v) >= 10)
        std::snprintf(buf, sizeof buf, "%.1f", v);
    else
        std::snprintf(buf, sizeof buf, "%.2f", v);
    return buf;
}

std::string Cell(double v, const std::string& unit) {
    return unit.empty() ? Figure(v) : Figure(v) + " " + unit;
}

}  // namespace

void PrintTable(const std::vector<Row>& rows) {
    std::printf("| Measure | n | Median | 95th percentile | Worst | Target | Met |\n");
    std::printf("|---|---:|---:|---:|---:|---|---|\n");
    for (const auto& r : rows)
        std::printf("| %s | %zu | %s | %s | %s | %s | %s |\n", r.measure.c_str(), r.samples.size(),
                    Cell(r.median(), r.unit).c_str(), Cell(r.p95(), r.unit).c_str(),
                    Cell(r.worst(), r.unit).c_str(), r.target.c_str(), !r.met ? "-" : *r.met ? "yes" : "**no**");
    std::fflush(stdout);
}

}  // namespace veldrisa::bench
