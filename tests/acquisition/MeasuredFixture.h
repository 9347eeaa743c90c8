#pragma once
// A project container on disk (its work folder in a temporary folder) with the sample model, a
// DAQ project and sensors, and measured data sets with their measured-data trees. The container is
// the fixture's own or a document's.
#include "app/DAQExperiment.h"
#include "app/DaqProject.h"
#include "app/TALVOProject.h"
#include "experiments/ExpProject.h"

#include <filesystem>
#include <memory>
#include <string>

struct CMeasuredFixture
{
    static constexpr float kFs = 1024.0f;

    CMeasuredFixture();
    explicit CMeasuredFixture(CTALVOProject& documentProject);
    ~CMeasuredFixture();

    // A data set described so, filed into the DAQ project.
    CDAQExperiment* AddDataSet(const std::string& description, int channels = 2);
    // The measured-data tree of the data set: pulse channel and channels samples each, the values
    // from a seed.
    std::unique_ptr<CExpProject> MakeMeasurement(CDAQExperiment* set, int channels, int samples, int seed = 1);
    std::string WorkFolder() const;

    std::filesystem::path dir;
    std::unique_ptr<CTALVOProject> own;
    CTALVOProject& container;
    CDaqProject* daq = nullptr;
    std::string structure;
    std::string response;

private:
    void Build();
};

// Name, type, children and the samples of every channel record equal.
void ExpectSameTree(const CMElement& a, const CMElement& b);
