// The program as an automation server on a private bus: the sample project walked with gdbus (an
// independent client) and with our own dispatch helpers.
#include "support/GdbusCall.h"

#include "../NewerProjectFile.h"

#include "acquisition/DAQIO.h"
#include "app/AnalysisProject.h"
#include "calculation/InputPowerFolder.h"
#include "platform/elements/MElementList.h"
#include "platform/elements/StdioFile.h"
#include "app/DAQExperiment.h"
#include "app/DaqProject.h"
#include "app/ModelProject.h"
#include "app/TALVOExp.h"
#include "app/TALVODoc.h"
#include "app/TALVOProject.h"
#include "app/automation/AppProxy.h"
#include "app/automation/AutoExcitation.h"
#include "app/automation/AutoRPMOptions.h"
#include "app/automation/AutomationHost.h"
#include "app/automation/AutomationService.h"
#include "app/automation/ObjectModel.h"
#include "experiments/AveExpData.h"
#include "experiments/Excitation.h"
#include "experiments/ExpData.h"
#include "experiments/ExpDataSet.h"
#include "models/ASEAModelData.h"
#include "models/HSEAModelData.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/automation/Dispatch.h"
#include "platform/automation/DispatchException.h"
#include "platform/win/PromptService.h"
#include "spectral/RPMOptions.h"
#include "spectral/ZuRpmFunc.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/stat.h>

namespace fs = std::filesystem;

void PrintTo(const QString& s, std::ostream* os)
{
    *os << s.toStdString();
}

namespace {
std::string ReadFile(const fs::path& p)
{
    std::ifstream in(p);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class ServedSample : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const fs::path built = fs::path(ORVEX_BINARY_DIR) / "samples" / "sample.orv";
        ASSERT_TRUE(fs::exists(built)) << built;
        ASSERT_TRUE(m_dir.isValid());
        m_file = fs::path(m_dir.path().toStdString()) / "car" / "sample.orv";
        fs::create_directories(m_file.parent_path());
        fs::copy_file(built, m_file);
        m_service = std::make_unique<CAutomationService>(m_host, false);
        ASSERT_TRUE(m_service->RegisterAppActiveObject());
    }
    void TearDown() override
    {
        m_service.reset();
        m_host.CloseAllDocuments();
    }

    // Calls a member with gdbus; the answer text, or the error text when the call failed.
    // properties: a member of the standard property interface.
    QString Call(const QString& path, const QString& member, const QStringList& args = {}, bool put = false,
                 bool properties = false)
    {
        const QString iface = properties ? QStringLiteral("org.freedesktop.DBus.Properties.")
                              : put      ? QStringLiteral("ORVEX.AutomationPut.")
                                         : QStringLiteral("ORVEX.Automation.");
        const GdbusResult r = GdbusCall(QStringLiteral("ORVEX.Application"), path, iface + member, args);
        return r.exitCode == 0 ? r.out : QStringLiteral("ERROR ") + r.err;
    }
    // The object path in an answer "(objectpath '/Objects/3',)".
    static QString PathOf(const QString& answer)
    {
        const auto m = QRegularExpression(QStringLiteral("objectpath '([^']*)'")).match(answer);
        return m.hasMatch() ? m.captured(1) : QString();
    }
    QString Open()
    {
        const QString ok = Call(QStringLiteral("/Application"), QStringLiteral("OpenProjectFile"),
                                {QString::fromStdString(m_file.string())});
        EXPECT_EQ(ok, QStringLiteral("(true,)"));
        return PathOf(Call(QStringLiteral("/Application"), QStringLiteral("ProjectFile")));
    }

    QTemporaryDir m_dir;
    fs::path m_file;
    CWindowlessAutomationHost m_host;
    std::unique_ptr<CAutomationService> m_service;
};
} // namespace

TEST_F(ServedSample, GdbusOpensTheProjectAndWalksToAChannelRecord)
{
    EXPECT_EQ(Call(QStringLiteral("/Application"), QStringLiteral("ProjectFile")), QStringLiteral("(objectpath '/',)"))
        << "nothing before a project is open";
    EXPECT_EQ(Call(QStringLiteral("/Application"), QStringLiteral("OpenProjectFile"), {QStringLiteral("''")}),
              QStringLiteral("(false,)"));
    EXPECT_EQ(Call(QStringLiteral("/Application"), QStringLiteral("IsVisible")), QStringLiteral("(false,)"));
    EXPECT_EQ(Call(QStringLiteral("/Application"), QStringLiteral("Version")),
              QStringLiteral("('%1',)").arg(QString::fromStdString(AutomationVersionText())));
    EXPECT_TRUE(QString::fromStdString(AutomationVersionText()).startsWith(QStringLiteral("1.0.0 build(")));

    const QString doc = Open();
    ASSERT_FALSE(doc.isEmpty());
    // Model, DAQ project, an empty analysis project and one with results.
    EXPECT_EQ(Call(doc, QStringLiteral("projectcount")), QStringLiteral("(4,)")) << "names in any case";
    EXPECT_EQ(Call(doc, QStringLiteral("FilePathName")),
              QStringLiteral("('%1',)").arg(QString::fromStdString(m_file.string())));
    const QString daqName = Call(doc, QStringLiteral("ProjectName"), {QStringLiteral("1")});
    ASSERT_TRUE(daqName.startsWith(QStringLiteral("('"))) << daqName.toStdString();
    EXPECT_TRUE(Call(doc, QStringLiteral("ProjectName"), {QStringLiteral("4")})
                    .contains(QStringLiteral("Error 3 (argument 1)")));
    EXPECT_TRUE(Call(doc, QStringLiteral("DAQProject"), {QStringLiteral("'no such project'")})
                    .contains(QStringLiteral("ORVEX.Automation.Error.NameNotFound: Error 2 (argument 1)")));
    EXPECT_TRUE(
        Call(doc, QStringLiteral("ProjectCount"), {QStringLiteral("1")}).contains(QStringLiteral("InvalidArgs")));

    const QString daq = PathOf(Call(doc, QStringLiteral("DAQProject"), {daqName.mid(1, daqName.size() - 3)}));
    ASSERT_FALSE(daq.isEmpty());
    EXPECT_EQ(PathOf(Call(doc, QStringLiteral("Project"), {QStringLiteral("1")})), daq) << "one path per object";
    EXPECT_EQ(Call(daq, QStringLiteral("ProjectID")), QStringLiteral("(1,)"));
    EXPECT_TRUE(Call(daq, QStringLiteral("GetExpData"), {QStringLiteral("'Floor'"), QStringLiteral("1")})
                    .contains(QStringLiteral("Error 2 (argument 1)")));
    EXPECT_TRUE(Call(daq, QStringLiteral("GetExpData"), {QStringLiteral("'Roof'"), QStringLiteral("7")})
                    .contains(QStringLiteral("Error 2 (argument 2)")));
    EXPECT_FALSE(
        PathOf(Call(daq, QStringLiteral("GetExpData"), {QStringLiteral("'Roof'"), QStringLiteral("1")})).isEmpty());
    EXPECT_TRUE(Call(daq, QStringLiteral("GetExpData"), {QStringLiteral("'Roof'"), QStringLiteral("'one'")})
                    .startsWith(QStringLiteral("ERROR")))
        << "gdbus checks the types the server publishes";

    const QString measurement =
        PathOf(Call(daq, QStringLiteral("OpenDAQRawData"), {QStringLiteral("'Roof'"), QStringLiteral("1")}));
    ASSERT_FALSE(measurement.isEmpty());
    // The measured-data tree read back from the file lists no experiments of its own.
    EXPECT_EQ(Call(measurement, QStringLiteral("GetExpDataCount")), QStringLiteral("(0,)"));
    EXPECT_TRUE(Call(measurement, QStringLiteral("GetExpData"), {QStringLiteral("<'x'>")})
                    .contains(QStringLiteral("Error 5 (argument 1)")));
    EXPECT_TRUE(Call(measurement, QStringLiteral("GetExpData")).contains(QStringLiteral("Error 3 (argument 1)")))
        << "a missing index means 0";

    const QString excitation = PathOf(Call(measurement, QStringLiteral("SubsystemData"), {QStringLiteral("'Roof'")}));
    ASSERT_FALSE(excitation.isEmpty());
    EXPECT_EQ(Call(excitation, QStringLiteral("SubsystemName")), QStringLiteral("('Roof',)"));
    EXPECT_EQ(Call(excitation, QStringLiteral("ExpDataSetCount")), QStringLiteral("(1,)"));
    const QString set = PathOf(Call(excitation, QStringLiteral("ExpDataSet"), {QStringLiteral("0")}));
    EXPECT_TRUE(
        Call(set, QStringLiteral("ExpData"), {QStringLiteral("9")}).contains(QStringLiteral("Error 3 (argument 1)")));
    const QString record = PathOf(Call(set, QStringLiteral("ExpData"), {QStringLiteral("0")}));
    ASSERT_FALSE(record.isEmpty());

    const fs::path dump = fs::path(m_dir.path().toStdString()) / "record.txt";
    EXPECT_EQ(Call(record, QStringLiteral("ExportDAQRawData"),
                   {QString::fromStdString(dump.string()), QStringLiteral("true")}),
              QStringLiteral("(true,)"));
    EXPECT_GT(fs::file_size(dump), 100u);
    const fs::path raw = fs::path(m_dir.path().toStdString()) / "raw.txt";
    EXPECT_EQ(Call(excitation, QStringLiteral("ExportDAQRawData"),
                   {QStringLiteral("0"), QString::fromStdString(raw.string())}),
              QStringLiteral("(true,)"));
    const std::string text = ReadFile(raw);
    EXPECT_EQ(text.rfind("[Roof - LP#1]\nSampling Freq.\t4.096000e+03\n0\t", 0), 0u) << text.substr(0, 80);
}

TEST_F(ServedSample, MapsOptionsAndExportsAnswerGdbusAndTheDispatchHelpers)
{
    const QString doc = Open();
    ASSERT_FALSE(doc.isEmpty());
    const QString analysis = PathOf(Call(doc, QStringLiteral("Project"), {QStringLiteral("2")}));
    EXPECT_EQ(Call(analysis, QStringLiteral("ProjectType")), QStringLiteral("(0,)"));
    EXPECT_EQ(Call(analysis, QStringLiteral("ProjectID")), QStringLiteral("(2,)"));
    const QString rpm = PathOf(Call(analysis, QStringLiteral("RPMOption")));
    // The sample analyses the run-up's RPMs, 1000 to 3750 by 50.
    EXPECT_EQ(Call(rpm, QStringLiteral("Count")), QStringLiteral("(56,)"));
    EXPECT_EQ(Call(rpm, QStringLiteral("RPM"), {QStringLiteral("55")}), QStringLiteral("(3750.0,)"));
    EXPECT_TRUE(
        Call(rpm, QStringLiteral("RPM"), {QStringLiteral("56")}).contains(QStringLiteral("Error 3 (argument 1)")));
    EXPECT_TRUE(Call(analysis, QStringLiteral("Order"), {QStringLiteral("0")})
                    .contains(QStringLiteral("Error 3 (argument 1)")));
    const fs::path energy = fs::path(m_dir.path().toStdString()) / "ie.txt";
    EXPECT_EQ(Call(analysis, QStringLiteral("ExportInputPower"),
                   {QString::fromStdString(energy.string()), QStringLiteral("3000.0")}),
              QStringLiteral("(false,)"))
        << "no input-power results yet";
    EXPECT_FALSE(fs::exists(energy));

    // A map of the project: values and smoothed values by RPM row and frequency point.
    CTALVODoc* opened = m_host.GetDocument();
    ASSERT_NE(opened, nullptr);
    const double rpms[] = {2950.0, 3000.0, 3050.0};
    const double freqs[] = {100.0, 200.0};
    auto map = CZuRpmFunc::NewRpmFunc("Roof", 5, nullptr, "Roof", freqs, 2, rpms, 3);
    ASSERT_NE(map, nullptr);
    for (int r = 0; r < 3; ++r)
        for (int p = 0; p < 2; ++p)
            map->DataValue(r, p) = 1.0 + r + 10.0 * p;
    CMElement* owner = opened->GetTALVOProject().GetProject(2);
    CZuRpmFunc* kept = owner->AddChild(std::move(map));
    const QString mapPath = QString::fromStdString(ExposeElement(kept));
    EXPECT_EQ(Call(mapPath, QStringLiteral("RpmIndex"), {QStringLiteral("3000.0")}), QStringLiteral("(1,)"));
    EXPECT_EQ(Call(mapPath, QStringLiteral("Value"), {QStringLiteral("1"), QStringLiteral("1")}),
              QStringLiteral("(12.0,)"));
    EXPECT_TRUE(Call(mapPath, QStringLiteral("Value"), {QStringLiteral("1"), QStringLiteral("-1")})
                    .contains(QStringLiteral("Error 3 (argument 2)")));
    EXPECT_EQ(Call(mapPath, QStringLiteral("RpmSMA"), {QStringLiteral("1")}, true), QStringLiteral("()"));
    EXPECT_EQ(kept->GetSmoothingWidth(), 1);
    EXPECT_EQ(Call(mapPath, QStringLiteral("SMAValue"), {QStringLiteral("1"), QStringLiteral("0")}),
              QStringLiteral("(2.0,)"));

    // A second client (our own helpers) sees the same live objects.
    QDBusConnection client = QDBusConnection::connectToBus(QString::fromUtf8(qgetenv("DBUS_SESSION_BUS_ADDRESS")),
                                                           QStringLiteral("second-client"));
    {
        CDispatch app(client, "ORVEX.Application", "/Application");
        CDispatch d = app.GetPropertyDispatch("ProjectFile");
        EXPECT_EQ(d.GetPath(), doc.toStdString());
        EXPECT_EQ(d.GetPropertyLong("ProjectCount"), 4);
        CDispatch m(client, "ORVEX.Application", mapPath.toStdString());
        CDispParams cell(2);
        cell.SetLong(0, 2);
        cell.SetLong(1, 1);
        EXPECT_DOUBLE_EQ(m.GetProperty(m.GetIDOfName("value"), AutoType::Real, &cell).RawReal(), 13.0);
        EXPECT_EQ(m.GetPropertyString("RpmDataCount"), "3");

        // The program deletes the map: its object answers with an error, never a crash.
        owner->DeleteChild(kept);
        try {
            m.GetPropertyLong("RpmDataCount");
            ADD_FAILURE() << "the map is gone";
        } catch (const CDispatchException& e) {
            EXPECT_EQ(e.GetCode(), kAutoErrObjectGone);
        }
        // Closing the project lets go of everything reached from it.
        app.Call("CloseProjectFile");
        EXPECT_EQ(m_host.GetDocument(), nullptr);
        EXPECT_THROW(d.GetPropertyLong("ProjectCount"), CDispatchException);
    }
    client = QDBusConnection(QStringLiteral("none"));
    QDBusConnection::disconnectFromBus(QStringLiteral("second-client"));
}

TEST_F(ServedSample, ModelDataConnectionsAveragesAndMeasurementFilesAnswerGdbus)
{
    const QString doc = Open();
    ASSERT_FALSE(doc.isEmpty());
    CTALVODoc* opened = m_host.GetDocument();
    ASSERT_NE(opened, nullptr);
    CModelProject* model = opened->GetTALVOProject().GetModelProject();
    ASSERT_NE(model, nullptr);
    const QString nothing = QStringLiteral("(objectpath '/',)");

    // The model's objects: there exactly when the model has them, one path per object, no members.
    const struct
    {
        const char* member;
        const void* object;
    } objects[] = {
        {"Subsystems", &model->GetSubsystemTable()},
        {"ASEAModelData", model->GetASEAModelData()},
        {"HSEAModelData", model->GetHSEAModelData()},
    };
    for (const auto& o : objects) {
        const QString answer = Call(doc, QString::fromLatin1(o.member));
        EXPECT_EQ(answer == nothing, o.object == nullptr) << o.member << ": " << answer.toStdString();
        EXPECT_FALSE(answer.startsWith(QStringLiteral("ERROR"))) << o.member << ": " << answer.toStdString();
        EXPECT_EQ(Call(doc, QString::fromLatin1(o.member)), answer) << o.member;
        if (o.object) {
            EXPECT_TRUE(Call(PathOf(answer), QStringLiteral("Name")).startsWith(QStringLiteral("ERROR"))) << o.member;
        }
    }
    EXPECT_NE(Call(doc, QStringLiteral("Subsystems")), nothing);

    // Connections of the model, the wave-type mark of either name ignored.
    const CZuSubsystemTable& table = model->GetSubsystemTable();
    std::string a, b, c, d; // a connected pair, an unconnected pair
    for (int i = 0; i < table.GetCount(); ++i)
        for (int j = 0; j < table.GetCount(); ++j) {
            if (i == j)
                continue;
            const bool connected = model->IsSubsystemConnected(table[i], table[j]) != 0;
            std::string& first = connected ? a : c;
            std::string& second = connected ? b : d;
            if (first.empty())
                first = table[i], second = table[j];
        }
    ASSERT_FALSE(a.empty()) << "the sample model couples its subsystems";
    ASSERT_FALSE(c.empty());
    auto q = [](const std::string& n) { return QStringLiteral("'%1'").arg(QString::fromStdString(n)); };
    const struct
    {
        std::string first, second;
        const char* expected;
    } pairs[] = {
        {a, b, "(true,)"},  {a + "-F", b, "(true,)"},   {a, b + "-", "(true,)"},
        {c, d, "(false,)"}, {a, "no such", "(false,)"}, {"", b, "(false,)"},
    };
    for (const auto& p : pairs)
        EXPECT_EQ(Call(doc, QStringLiteral("IsConnected"), {q(p.first), q(p.second)}), QString::fromLatin1(p.expected))
            << p.first << " / " << p.second;

    // A map of the measured data set over three RPM rows on the project's bands.
    auto* daq = ElementCast<CDaqProject>(opened->GetTALVOProject().GetProject(1));
    ASSERT_NE(daq, nullptr);
    CDAQExperiment* set = nullptr;
    for (int i = 0; i < daq->GetChildCount() && !set; ++i)
        if (auto* exp = ElementCast<CTALVOExp>(daq->GetChild(i)))
            set = exp->FindDataSetBySerial(1);
    ASSERT_NE(set, nullptr);
    COctaveManagerEx* bands = daq->GetOctaveManager();
    ASSERT_NE(bands, nullptr);
    const int bandCount = bands->GetFreqCount();
    ASSERT_GT(bandCount, 2);
    std::vector<double> freqs;
    for (int k = 0; k < bandCount; ++k)
        freqs.push_back(bands->GetFreq(k));
    const double rpms[] = {2950.0, 3000.0, 3050.0};
    auto made = CZuRpmFunc::NewRpmFunc("Roof", 5, nullptr, "Roof", freqs.data(), bandCount, rpms, 3);
    ASSERT_NE(made, nullptr);
    for (int r = 0; r < 3; ++r)
        for (int k = 0; k < bandCount; ++k)
            made->DataValue(r, k) = 0.1 * (r + 1) + 0.01 * k;
    CZuRpmFunc* map = set->AddChild(std::move(made));
    const QString mapPath = QString::fromStdString(ExposeElement(map));
    const QString row = PathOf(Call(mapPath, QStringLiteral("RpmFunc"), {QStringLiteral("3000.0")}));
    EXPECT_FALSE(row.isEmpty());
    EXPECT_NE(row, QStringLiteral("/"));
    EXPECT_EQ(PathOf(Call(mapPath, QStringLiteral("RpmFunc"), {QStringLiteral("3000.0")})), row);
    EXPECT_EQ(Call(mapPath, QStringLiteral("RpmFunc"), {QStringLiteral("3000.5")}), nothing) << "exact RPMs only";

    // Averaged energies: all bands, one band, and the errors naming argument 3.
    const QString daqPath = QString::fromStdString(ExposeElement(daq));
    EXPECT_TRUE(Call(daqPath, QStringLiteral("GetAveragedEnergy"),
                     {QStringLiteral("'Roof'"), QStringLiteral("3000"), QStringLiteral("<%1>").arg(bandCount)})
                    .contains(QStringLiteral("Error 3 (argument 3)")));
    EXPECT_TRUE(Call(daqPath, QStringLiteral("GetAveragedEnergy"),
                     {QStringLiteral("'Roof'"), QStringLiteral("3000"), QStringLiteral("<'one'>")})
                    .contains(QStringLiteral("Error 5 (argument 3)")));
    CDispatch client(QDBusConnection::sessionBus(), "ORVEX.Application", daqPath.toStdString());
    // The bus gives what the averaging gives in the program, on the project's bands.
    auto averaged = [&](double rpm) {
        std::vector<double> out;
        CAveExpData average(daq);
        EXPECT_EQ(average.AverageSubsystemData("Roof", rpm, out), 1);
        out.resize(static_cast<size_t>(bandCount), 0.0);
        return out;
    };
    const std::vector<double> at3000 = averaged(3000.0), at3050 = averaged(3050.0);
    ASSERT_NE(at3050[2], at3000[2]) << "the rows differ";
    {
        CDispParams all(2);
        all.SetString(0, "Roof-F");
        all.SetLong(1, 3000);
        const CAutoValue v = client.InvokeVariant("GetAveragedEnergy", &all);
        ASSERT_EQ(v.GetType(), AutoType::RealArray);
        EXPECT_EQ(v.RawArray(), at3000) << "the wave-type mark is ignored";
        CDispParams one(3);
        one.SetString(0, "Roof");
        one.SetLong(1, 3050);
        one.SetLong(2, 2);
        const CAutoValue single = client.InvokeVariant("GetAveragedEnergy", &one);
        EXPECT_EQ(single.GetType(), AutoType::Real);
        EXPECT_EQ(single.RawReal(), at3050[2]);
        CDispParams nobody(2);
        nobody.SetString(0, "Floor");
        nobody.SetLong(1, 3000);
        EXPECT_EQ(client.InvokeVariant("GetAveragedEnergy", &nobody).RawArray(),
                  std::vector<double>(static_cast<size_t>(bandCount), 0.0))
            << "no experiment of the subsystem: zeros";
    }
    // The order-tracking average: the sample has no order data, so nothing comes back.
    EXPECT_EQ(Call(daqPath, QStringLiteral("GetAveragedResultDataOT"), {QStringLiteral("'Roof'")}), nothing);
    // A target without experiments answers nothing, and no message box waits for an answer.
    {
        CScriptedPrompts prompts;
        CTALVOProject& container = opened->GetTALVOProject();
        const std::string target = container.GetTargetSubsystem();
        container.SetTargetSubsystem("Floor");
        EXPECT_EQ(Call(daqPath, QStringLiteral("GetAveragedResultData"), {QStringLiteral("'Floor'")}), nothing);
        container.SetTargetSubsystem(target);
        EXPECT_EQ(prompts.Count(), 0u) << prompts.Last().text;
    }

    // The data set's measurement file in the work folder of the document.
    const QString setPath =
        PathOf(Call(daqPath, QStringLiteral("GetExpData"), {QStringLiteral("'Roof'"), QStringLiteral("1")}));
    const std::string file = CDAQIO::GetDaqFilePath(set);
    ASSERT_FALSE(file.empty());
    EXPECT_EQ(fs::path(file).extension(), ".daq");
    EXPECT_EQ(fs::path(file).parent_path(), fs::path(CTALVODoc::GetWorkFolderOf(m_file.string())));
    EXPECT_EQ(Call(setPath, QStringLiteral("DAQFilePath")),
              QStringLiteral("('%1',)").arg(QString::fromStdString(file)));

    // Rows go with their map.
    set->DeleteChild(map);
    EXPECT_TRUE(Call(row, QStringLiteral("x")).startsWith(QStringLiteral("ERROR")));
}

TEST_F(ServedSample, InputPowerExportWritesItsHeaderThenTheFoldersOwnText)
{
    const QString doc = Open();
    ASSERT_FALSE(doc.isEmpty());
    auto* project = ElementCast<CAnalysisProject>(m_host.GetDocument()->GetTALVOProject().GetProject(2));
    ASSERT_NE(project, nullptr);
    project->GetRPMOptions().SetRange(1000.0f, 1200.0f, 100.0f);
    const std::vector<double> f = project->GetOctaveManager()->GetFreqArray();
    const std::vector<double> rpms = {1000.0, 1100.0, 1200.0};
    CMElementList list;
    auto map =
        CZuRpmFunc::NewRpmFunc("IP Roof", 3, nullptr, "Roof", f.data(), static_cast<int>(f.size()), rpms.data(), 3);
    for (int r = 0; r < 3; ++r)
        for (int b = 0; b < map->GetFreqCount(); ++b)
            map->DataValue(r, b) = 1e-3 * (1 + b) * (1 + r);
    list.Add(map.release());
    CInputPowerFolder* powers = project->AddChild(std::make_unique<CInputPowerFolder>(project));
    powers->AddItems(list);
    const QString analysis = QString::fromStdString(ExposeElement(project));

    // What the folder itself exports after the four header lines.
    CStdioFile own;
    own.OpenMemory(CStdioFile::modeWrite);
    ASSERT_TRUE(powers->ExportText(own, 1100.0, 2, 50.0));
    const std::string data = own.GetMemoryText();
    ASSERT_FALSE(data.empty());

    const fs::path file = fs::path(m_dir.path().toStdString()) / "ip.txt";
    EXPECT_EQ(Call(analysis, QStringLiteral("ExportInputPower"),
                   {QString::fromStdString(file.string()), QStringLiteral("1100.0")}),
              QStringLiteral("(true,)"));
    const std::string text = ReadFile(file);
    std::istringstream lines(text);
    std::string first, second, third, fourth;
    std::getline(lines, first);
    std::getline(lines, second);
    std::getline(lines, third);
    std::getline(lines, fourth);
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^#@\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d \\S.* \\[Input Power Data\\]$"))
            .match(QString::fromStdString(first))
            .hasMatch())
        << first;
    EXPECT_EQ(second, "# " + file.string());
    EXPECT_EQ(third, "#");
    EXPECT_EQ(fourth, "#Input Power Data");
    EXPECT_EQ(text.substr(text.size() - std::min(text.size(), data.size())), data);
    EXPECT_EQ(text.size(), first.size() + second.size() + third.size() + fourth.size() + 4 + data.size());

    // No input-energy results: FALSE, and the input-power file of before stays as it was.
    EXPECT_EQ(Call(analysis, QStringLiteral("ExportInputEnergy"),
                   {QString::fromStdString(file.string()), QStringLiteral("1100.0")}),
              QStringLiteral("(false,)"));
    EXPECT_EQ(ReadFile(file), text);
}

TEST(AutoRPMOptions, CountsOnlyRangesThatRunForwardAndIndexesWithinTheCount)
{
    struct Case
    {
        float start, end, step;
        int count;
    };
    const Case cases[] = {{1000, 6000, 50, 101}, {1000, 1000, 50, 1}, {1000, 1049, 50, 1}, {6000, 1000, 50, 0}};
    for (const Case& c : cases) {
        CRPMOptions o;
        ASSERT_TRUE(o.SetRange(c.start, c.end, c.step));
        EXPECT_EQ(CAutoRPMOptions::Count(o), c.count) << c.start << " " << c.end;
        EXPECT_THROW(CAutoRPMOptions::RpmAt(o, c.count), CDispatchException);
    }
    CRPMOptions list;
    list.SetMode(1);
    *list.GetRpmList() = {1500.0f, 2500.0f};
    EXPECT_EQ(CAutoRPMOptions::Count(list), 2);
    EXPECT_DOUBLE_EQ(CAutoRPMOptions::RpmAt(list, 1), 2500.0);
    list.SetMode(7);
    EXPECT_EQ(CAutoRPMOptions::Count(list), 0);
}

TEST(AutoExcitation, ARawExportChecksEveryDataSetFirstAndLeavesNoPartialFile)
{
    CExcitation excitation("Roof", nullptr, -1);
    excitation.SetSubsystemName("Roof");
    for (int s = 0; s < 2; ++s) {
        CExpDataSet* set = excitation.AddChild(std::make_unique<CExpDataSet>("set", nullptr, -1));
        auto record = std::make_unique<CExpData>("ch", nullptr, -1);
        record->SetLocalPointNumber(s == 0 ? 0 : 1); // the second data set lacks point 0
        record->SetSamplingFrequency(100.0f);
        const float samples[] = {0.5f, -0.5f};
        record->SetSamples(samples, 2);
        set->AddChild(std::move(record));
    }
    QTemporaryDir dir;
    const fs::path path = fs::path(dir.path().toStdString()) / "raw.txt";
    {
        std::ofstream(path) << "previous";
    }
    try {
        CAutoExcitation::ExportDAQRawData(excitation, 0, path.string());
        FAIL() << "the second data set has no point 0";
    } catch (const CDispatchException& e) {
        EXPECT_EQ(e.GetCode(), kAutoErrIndexOutOfRange);
        EXPECT_EQ(e.GetArgument(), 1);
    }
    EXPECT_EQ(ReadFile(path), "previous");

    excitation.GetDataSet(1)->FindByLocalPoint(1)->SetLocalPointNumber(0);
    ASSERT_TRUE(CAutoExcitation::ExportDAQRawData(excitation, 0, path.string()));
    EXPECT_EQ(ReadFile(path), "[Roof - LP#1]\nSampling Freq.\t1.000000e+02\n0\t5.000000e-01\n1\t-5.000000e-01\n"
                              "2\t5.000000e-01\n3\t-5.000000e-01\n");
    EXPECT_FALSE(CAutoExcitation::ExportDAQRawData(excitation, 0,
                                                   (fs::path(dir.path().toStdString()) / "no" / "x.txt").string()));
}

// A path that names no regular file is refused before anything is opened or closed, and a file
// that is no project, or one of a newer program, comes back as an error: none waits on a writer or
// on a message box.
TEST_F(ServedSample, OpenProjectFileAnswersWithAnErrorForWhatIsNoProjectFile)
{
    CScriptedPrompts prompts;
    const QString doc = Open();
    ASSERT_FALSE(doc.isEmpty());
    const fs::path dir = m_file.parent_path();
    const fs::path fifo = dir / "pipe.orv";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const fs::path junk = dir / "junk.orv";
    std::ofstream(junk, std::ios::binary) << "not a project";
    // The reader stops at the version byte of a newer program's file.
    const fs::path newer = dir / "newer.orv";
    {
        const std::vector<uint8_t> bytes = NewerProjectFile();
        std::ofstream(newer, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    const struct
    {
        fs::path path;
        const char* reason;
        bool keepsProject; // refused before the open project is closed
    } cases[] = {{fifo, "it is a pipe, not a file", true},
                 {dir, "it is a folder, not a file", true},
                 {junk, "not a project file", false},
                 {newer, kNewerProjectFileText, false}};
    for (const auto& c : cases) {
        const QString answer = Call(QStringLiteral("/Application"), QStringLiteral("OpenProjectFile"),
                                    {QString::fromStdString(c.path.string())});
        EXPECT_TRUE(answer.startsWith(QStringLiteral("ERROR"))) << answer.toStdString();
        EXPECT_TRUE(answer.contains(QStringLiteral("Error 5 (argument 1)"))) << answer.toStdString();
        EXPECT_TRUE(answer.contains(QString::fromUtf8(c.reason))) << answer.toStdString();
        EXPECT_EQ(m_host.GetDocument() != nullptr, c.keepsProject) << c.path;
    }
    EXPECT_FALSE(Open().isEmpty());
    EXPECT_EQ(prompts.Count(), 0u) << prompts.Last().text;
}

// Clients find the object model the standard way: every path introspects, "/" lists the
// application object, and the members without arguments are properties as well.
TEST_F(ServedSample, IntrospectionListsPathsMembersAndProperties)
{
    const QString dest = QStringLiteral("ORVEX.Application");
    auto introspect = [&](const QString& path) {
        const GdbusResult r = GdbusIntrospect(dest, path);
        EXPECT_EQ(r.exitCode, 0) << path.toStdString() << ": " << r.err.toStdString();
        return r.out;
    };
    auto lists = [](const QString& text, const char* pattern) {
        return QRegularExpression(QString::fromLatin1(pattern)).match(text).hasMatch();
    };
    const QString root = introspect(QStringLiteral("/"));
    EXPECT_TRUE(lists(root, R"(\n  node Application \{)")) << root.toStdString();

    const QString app = introspect(QStringLiteral("/Application"));
    for (const char* member :
         {R"(interface ORVEX\.Automation \{)", R"(SetVisible\(in\s+b show\);)",
          R"(GetOpenFilename\(in\s+s initialFolder,\s+in\s+s filter,\s+in\s+s title,\s+out s result\);)",
          R"(OpenProjectFile\(in\s+s path,\s+out b result\);)", R"(readonly s Version)", R"(readwrite i ClientHWnd)",
          R"(ClientMessage\(x window,\s+u message,)", R"(interface org\.freedesktop\.DBus\.Properties \{)"})
        EXPECT_TRUE(lists(app, member)) << member << "\n" << app.toStdString();

    const QString doc = Open();
    ASSERT_FALSE(doc.isEmpty());
    const QString docText = introspect(doc);
    for (const char* member : {R"(Project\(in\s+i index,\s+out o result\);)",
                               R"(IsConnected\(in\s+s name1,\s+in\s+s name2,\s+out b result\);)",
                               R"(readonly i ProjectCount = 4;)", R"(readonly s FilePathName)"})
        EXPECT_TRUE(lists(docText, member)) << member << "\n" << docText.toStdString();
    EXPECT_FALSE(lists(docText, R"(readonly \w+ Project )")) << "a member with arguments is no property";
    const QString analysis = PathOf(Call(doc, QStringLiteral("Project"), {QStringLiteral("2")}));
    const QString analysisText = introspect(analysis);
    for (const char* member : {R"(ExportInputEnergy\(in\s+s path,\s+in\s+d rpm,\s+out b result\);)",
                               R"(readonly i ProjectType)", R"(readonly i ProjectID)"})
        EXPECT_TRUE(lists(analysisText, member)) << member << "\n" << analysisText.toStdString();
    EXPECT_TRUE(lists(introspect(QStringLiteral("/")), R"(\n  node Objects \{)"));

    // A property through the standard interface equals the member's answer.
    auto property = [&](const QString& path, const QString& name) {
        return Call(path, QStringLiteral("Get"), {QStringLiteral("ORVEX.Automation"), name}, false, true);
    };
    EXPECT_EQ(property(doc, QStringLiteral("ProjectCount")), QStringLiteral("(<4>,)"));
    EXPECT_EQ(Call(doc, QStringLiteral("ProjectCount")), QStringLiteral("(4,)"));
    EXPECT_EQ(property(doc, QStringLiteral("FilePathName")),
              QStringLiteral("(<'%1'>,)").arg(QString::fromStdString(m_file.string())));
    EXPECT_EQ(property(QStringLiteral("/Application"), QStringLiteral("ProjectFile")),
              QStringLiteral("(<objectpath '%1'>,)").arg(doc));
    const QString all = Call(doc, QStringLiteral("GetAll"), {QStringLiteral("ORVEX.Automation")}, false, true);
    EXPECT_TRUE(all.contains(QStringLiteral("'ProjectCount': <4>"))) << all.toStdString();
    EXPECT_FALSE(all.contains(QStringLiteral("'Project':"))) << all.toStdString();

    // Set for a read/write member, refused for a read-only one and for a member with arguments.
    const double rpms[] = {1000.0, 2000.0, 3000.0};
    const double freqs[] = {100.0};
    CMElement* owner = m_host.GetDocument()->GetTALVOProject().GetProject(2);
    CZuRpmFunc* map = owner->AddChild(CZuRpmFunc::NewRpmFunc("Roof", 5, nullptr, "Roof", freqs, 1, rpms, 3));
    const QString mapPath = QString::fromStdString(ExposeElement(map));
    EXPECT_TRUE(lists(introspect(mapPath), R"(readwrite i RpmSMA = 0;)"));
    EXPECT_EQ(Call(mapPath, QStringLiteral("Set"),
                   {QStringLiteral("ORVEX.Automation"), QStringLiteral("RpmSMA"), QStringLiteral("<2>")}, false, true),
              QStringLiteral("()"));
    EXPECT_EQ(Call(mapPath, QStringLiteral("RpmSMA")), QStringLiteral("(2,)"));
    EXPECT_EQ(property(mapPath, QStringLiteral("RpmSMA")), QStringLiteral("(<2>,)"));
    EXPECT_TRUE(Call(doc, QStringLiteral("Set"),
                     {QStringLiteral("ORVEX.Automation"), QStringLiteral("ProjectCount"), QStringLiteral("<4>")}, false,
                     true)
                    .contains(QStringLiteral("PropertyReadOnly")));
    EXPECT_TRUE(property(doc, QStringLiteral("Project")).contains(QStringLiteral("UnknownProperty")));
    EXPECT_TRUE(Call(doc, QStringLiteral("Get"), {QStringLiteral("other.Interface"), QStringLiteral("ProjectCount")},
                     false, true)
                    .contains(QStringLiteral("UnknownInterface")));
}
