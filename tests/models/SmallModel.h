#pragma once
// Small hand-made models for the tests that solve them: a layout of subsystems, modal densities and
// loss factors per band, and the model data filled from it.
#include <map>
#include <string>
#include <utility>
#include <vector>

// Fills a model's eta matrix and modal density from CLFs and intrinsic DLFs:
// E(b, t, s) = -n_s * clf(s -> t), diagonal n_s * (dlf_s + sum of its CLFs).
struct SmallModelLayout
{
    std::vector<std::string> keys;                          // subsystem keys with wave marks
    std::vector<std::vector<double>> density;               // [band][k]
    std::vector<std::vector<double>> dlf;                   // [band][k]
    std::map<std::pair<int, int>, std::vector<double>> clf; // (s, t) -> per band
};

class CZuData;
void FillSmallModel(CZuData& model, const SmallModelLayout& layout);
// Three subsystems over three one-third-octave bands (500, 630, 800 Hz).
SmallModelLayout ThreeSubsystemLayout();
