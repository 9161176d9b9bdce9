// Order statistics and the printed table of the benchmark.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace veldrisa::bench {

// Nearest-rank percentile (0 < p <= 100) of the values; NaN when there are none.
double Percentile(std::vector<double> values, double p);

// One row of the table. For a throughput the worst is the smallest value and the 95th
// percentile the value that 95% of the samples reach or exceed.
struct Row {
    std::string measure;
    std::string unit;
    std::vector<double> samples;
    bool higherIsBetter = false;
    std::string target;  // as printed
    // The verdict against the target; none for a figure given for reference.
    std::optional<bool> met;

    double median() const;
    double p95() const;
    double worst() const;
};

// Prints the rows as a Markdown table, ready for the README.
void PrintTable(const std::vector<Row>& rows);

}  // namespace veldrisa::bench
