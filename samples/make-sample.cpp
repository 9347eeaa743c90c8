// Writes the sample project from the sample text files with the program's own code, so the sample
// always has the current file format: a model project made from the sample model, a DAQ project and
// an analysis project over the model's bands.
//
//   orvex_make_sample <folder of the sample files> <project file to write>
#include "app/AnalysisProject.h"
#include "app/DaqProject.h"
#include "app/ProjectDoc.h"
#include "app/TALVOApp.h"
#include "platform/win/ZuRegOptions.h"
#include "spectral/RPMOptions.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <clocale>
#include <cstdio>
#include <filesystem>
#include <string>

namespace
{
const char* const kModelDataFile = "sample-model.dmd";
constexpr int kSampleModelKind = 0;
} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication qapp(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    if (argc != 3)
    {
        std::fprintf(stderr, "usage: %s <sample folder> <project file>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path source = argv[1];
    const std::string out = std::filesystem::absolute(argv[2]).lexically_normal().string();

    // Settings of the build stay out of the user's.
    QTemporaryDir settings;
    if (!settings.isValid())
        return 1;
    CZuRegOptions::SetSettingsFolder(settings.path().toStdString());

    CTALVOApp& app = GetTALVOApp();
    if (!app.InitLanguageAndName())
    {
        std::fprintf(stderr, "make-sample: no language table\n");
        return 1;
    }
    app.RegisterDocTemplates();

    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(out).parent_path(), ec);
    CTALVODoc doc;
    std::string error;
    const std::string modelData = (source / kModelDataFile).string();
    if (!doc.NewProjectFromModelFile(out, kSampleModelKind, modelData, &error))
    {
        // The build goes on without a sample rather than with a stale one; the smoke test and
        // scripts/run report that it is missing.
        std::filesystem::remove(out, ec);
        std::fprintf(stderr, "make-sample: WARNING: no sample project was written: %s\n", error.c_str());
        return 0;
    }
    CDaqProject* daq = doc.NewDaqProject();
    const CRPMOptions rpm;
    CAnalysisProject* analysis = doc.AddRpmAnalysisProject(&rpm, daq, doc.GetTALVOProject().GetOctaveManager());
    if (!daq || !analysis)
    {
        std::fprintf(stderr, "make-sample: the DAQ or analysis project could not be made\n");
        return 1;
    }
    if (!doc.OnSaveDocument(out, &error))
    {
        std::fprintf(stderr, "make-sample: %s\n", error.c_str());
        return 1;
    }
    doc.OnCloseDocument();
    std::printf("make-sample: wrote %s\n", out.c_str());
    return 0;
}
