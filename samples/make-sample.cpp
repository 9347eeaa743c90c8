// Writes the sample project from the sample text files with the program's own code, so the sample
// always has the current file format: a model project made from the sample model with its hybrid
// SEA model, a DAQ project with one measured run-up and an analysis project over the model's bands
// with its results; beside it the measurement files, a universal file with its node table, a
// channel assignment for the simulated units, a plan workbook and the hybrid model's data file.
//
//   orvex_make_sample <folder of the sample files> <project file to write>
#include "SampleProject.h"
#include "app/TALVODoc.h"
#include "app/TALVOApp.h"
#include "platform/win/StringTable.h"
#include "platform/win/ZuRegOptions.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <clocale>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {
constexpr uint32_t kOrderTrackingOption = 6177;
} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication qapp(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    if (argc != 3) {
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
    if (!app.InitLanguageAndName()) {
        std::fprintf(stderr, "make-sample: no language table\n");
        return 1;
    }
    app.RegisterDocTemplates();
    // The run-up's data get their maps over order beside those over RPM: order tracking is on
    // while the sample is made (in the build's own settings).
    {
        CZuRegOptions options(GetOptionsKeyPath().c_str());
        if (!options.Open() || !options.SetDWORD(LoadString(kOrderTrackingOption).c_str(), 1)) {
            std::fprintf(stderr, "make-sample: the order tracking option could not be set\n");
            return 1;
        }
    }

    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(out).parent_path(), ec);
    CTALVODoc doc;
    std::string error;
    if (!sample::Build(doc, source, out, &error)) {
        // Never leave a stale or half-made sample behind.
        const bool noModel = doc.GetTALVOProject().GetProjectCount() == 0;
        doc.OnCloseDocument();
        std::filesystem::remove(out, ec);
        if (noModel) {
            // The build goes on without a sample; the smoke test and scripts/run report that it is
            // missing.
            std::fprintf(stderr, "make-sample: WARNING: no sample project was written: %s\n", error.c_str());
            return 0;
        }
        std::fprintf(stderr, "make-sample: %s\n", error.c_str());
        return 1;
    }
    std::vector<std::string> written;
    const std::filesystem::path folder = std::filesystem::path(out).parent_path();
    // The companions go first: the project keeps the channel assignment and the plan they write.
    if (!sample::AddResults(doc, &error) || !sample::WriteCompanions(doc, folder, &written, &error) ||
        !doc.OnSaveDocument(out, &error)) {
        doc.OnCloseDocument();
        std::filesystem::remove(out, ec);
        std::fprintf(stderr, "make-sample: %s\n", error.c_str());
        return 1;
    }
    doc.OnCloseDocument();
    std::printf("make-sample: wrote %s\n", out.c_str());
    for (const std::string& path : written)
        std::printf("make-sample: wrote %s\n", path.c_str());
    return 0;
}
