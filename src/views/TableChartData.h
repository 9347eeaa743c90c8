#pragma once
// What a table window's chart shows: one curve (subset) per table column over the numbers of the
// row axis, with the titles, axis labels and scales. Built from the table's numbers, never from
// its rounded cell texts.
#include <string>
#include <vector>

struct CTableChartSubset
{
    std::string name;
    std::vector<double> x;
    std::vector<double> y; // NaN where the table has no value (a gap in the curve)
};

struct CTableChartData
{
    std::string title;
    std::string subtitle;
    std::string xLabel;
    std::string yLabel;
    bool xLog = false;
    bool yLog = false;
    // Manual ranges (decades around the data on a logarithmic axis); off: the chart fits the data.
    bool xManual = false;
    double xMin = 0.0;
    double xMax = 0.0;
    bool yManual = false;
    double yMin = 0.0;
    double yMax = 0.0;
    // More subsets than a legend holds readably: the chart shows none (a click on a curve names
    // its column in the grid).
    bool noLegend = false;
    std::vector<CTableChartSubset> subsets;

    static constexpr int kFullLegendSubsets = 8;
    // Fills the manual ranges of the logarithmic axes from the curves: whole decades from the
    // smallest to the largest value (Y only over values above 0); no range when they do not differ.
    void SetLogRanges();
};
