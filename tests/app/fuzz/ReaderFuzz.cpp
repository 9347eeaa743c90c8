// libFuzzer targets of the readers of files users bring: the vehicle model file, its companion
// file, the model data text (".dmd"), the HSEA model text read back and the sensor list file. Any
// input must end in a refusal or a result, never a crash; and whatever a reader accepts must give
// a project that saves and opens again. One reader per executable (ORVEX_FUZZ_READER).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/ModelDataText.h"
#include "app/ModelProject.h"
#include "app/TALVODoc.h"
#include "experiments/SensorListFile.h"
#include "experiments/SensorProject.h"
#include "platform/win/MessageTarget.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringTable.h"
#include "platform/win/WinTypes.h"
#include "platform/win/ZuRegOptions.h"

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

enum Reader
{
    kModelFile = 1,
    kCompanion = 2,
    kModelData = 3,
    kModelText = 4,
    kSensorList = 5
};

// The source tree: ctest names it in ORVEX_SOURCE_DIR; by hand, run from the build folder.
fs::path SourceDir()
{
    const char* dir = std::getenv("ORVEX_SOURCE_DIR");
    return dir ? fs::path(dir) : fs::current_path().parent_path();
}

const fs::path kSamples = SourceDir() / "samples";

// Answers every prompt with its default button and cancels choosers, quietly.
class CQuietPrompts : public IPromptService
{
public:
    PromptAnswer Ask(const PromptRecord& request) override
    {
        PromptAnswer answer;
        answer.result = request.kind == PromptKind::MessageBox ? DefaultButtonOf(request.style) : IDCANCEL;
        return answer;
    }
};

// Messages to the main window go nowhere.
class CNoWindow : public IMessageTarget
{
public:
    intptr_t SendMessage(uint32_t, uintptr_t, intptr_t) override { return 0; }
    void PostMessage(uint32_t, uintptr_t, intptr_t) override {}
};

struct Environment
{
    fs::path dir;
    CQuietPrompts prompts;
    CNoWindow window;

    Environment()
    {
        dir = fs::temp_directory_path() / ("orvex_reader_fuzz_" + std::to_string(::getpid()));
        fs::create_directories(dir);
        CZuRegOptions::SetSettingsFolder((dir / "settings").string());
        SetStringTableFolder((SourceDir() / "resources" / "lang").string());
        LoadLanguageStrings(LANG_ENGLISH);
        SetPromptService(&prompts);
        SetMainWindowTarget(&window);
        std::atexit([] {
            std::error_code ec;
            fs::remove_all(Get().dir, ec);
        });
    }
    static Environment& Get()
    {
        static Environment env;
        return env;
    }
};

void WriteAll(const fs::path& path, const uint8_t* data, size_t size)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

void CopySample(const char* ext, const fs::path& to)
{
    fs::copy_file(kSamples / (std::string("sample-model") + ext), to, fs::copy_options::overwrite_existing);
}

// The project saved under its name opens again; anything else is a fault of the readers.
void ExpectReopens(CTALVODoc& doc, const fs::path& file)
{
    std::string error;
    if (!doc.OnSaveDocument(file.string(), &error)) {
        std::fprintf(stderr, "accepted input does not save: %s\n", error.c_str());
        std::abort();
    }
    doc.OnCloseDocument();
    CTALVODoc reopened;
    if (!reopened.OnOpenDocument(file.string(), &error)) {
        std::fprintf(stderr, "accepted input gives a project that does not open: %s\n", error.c_str());
        std::abort();
    }
    reopened.OnCloseDocument();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Environment& env = Environment::Get();
    const fs::path model = env.dir / "model.ntf", companion = env.dir / "model.dat", text = env.dir / "model.dmd";
    const fs::path input = env.dir / "input.txt", file = env.dir / "project.orv";
    CopySample(".ntf", model);
    CopySample(".dat", companion);
    CopySample(".dmd", text);
    switch (ORVEX_FUZZ_READER) {
    case kModelFile:
        WriteAll(model, data, size);
        break;
    case kCompanion:
        WriteAll(companion, data, size);
        break;
    case kModelData:
        WriteAll(text, data, size);
        break;
    default:
        WriteAll(input, data, size);
        break;
    }
    CTALVODoc doc;
    std::string error;
    if (!doc.NewProjectFromModelFile(file.string(), 0, text.string(), &error)) {
        if (ORVEX_FUZZ_READER >= kModelText) {
            std::fprintf(stderr, "the sample makes no project: %s\n", error.c_str());
            std::abort();
        }
        return 0; // refused
    }
    if (ORVEX_FUZZ_READER == kModelText) {
        if (!ReadModelDataText(doc.GetTALVOProject().GetModelProject(), input.string(), 0)) {
            doc.OnCloseDocument();
            return 0;
        }
    } else if (ORVEX_FUZZ_READER == kSensorList) {
        std::string title;
        CSensorProject* sensors = doc.GetTALVOProject().GetSensorProject();
        if (!ReadSensorListFile(*sensors, input.string(), title)) {
            doc.OnCloseDocument();
            return 0;
        }
    }
    ExpectReopens(doc, file);
    return 0;
}
