// Stored forms of the calculation options of older schemas, and the input-energy options.
#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

#include "calculation/CalcIEOptions.h"
#include "experiments/CalcOptions.h"
#include "platform/archive/Archive.h"
#include "platform/win/PromptService.h"
#include "platform/win/ZuRegOptions.h"

namespace {
// Reads the options embedded in a class record of the given schema, so the archive reports it.
template <class T>
T ReadWithSchema(const std::vector<uint8_t>& body, uint16_t schema, const char* name)
{
    std::vector<uint8_t> bytes;
    {
        CArchive ar(&bytes, CArchive::store);
        ar << static_cast<uint16_t>(0xFFFF) << schema << static_cast<uint16_t>(std::strlen(name));
        ar.Write(name, std::strlen(name));
        ar.Write(body.data(), body.size());
    }
    CArchive in(bytes.data(), bytes.size());
    auto read = in.ReadOwned<T>();
    EXPECT_EQ(in.BytesRemaining(), 0u);
    return *read;
}
} // namespace

TEST(CalcOptions, OlderSchemasReadWithTheirRules)
{
    struct Case
    {
        uint16_t schema;
        std::vector<double> orders;
        float bandWidth;
        float lines;
        float resolution;
    };
    const Case cases[] = {
        {0, {1, 2, 3, 4}, 50.0f, 800.0f, 6.25f}, {1, {1, 2, 3}, 50.0f, 800.0f, 6.25f},
        {2, {1, 2, 3}, 30.0f, 800.0f, 6.25f},    {3, {0.5}, 30.0f, 800.0f, 6.25f},
        {4, {0.5}, 30.0f, 800.0f, 6.25f},        {5, {0.5}, 30.0f, 1600.0f, 3.125f},
        {6, {0.5}, 30.0f, 1600.0f, 7.0f},        {7, {0.5}, 30.0f, 1600.0f, 7.0f},
        {8, {0.5}, 30.0f, 1600.0f, 7.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.schema);
        std::vector<uint8_t> body;
        {
            CArchive ar(&body, CArchive::store);
            ar << 15.0f << static_cast<int32_t>(3);
            if (c.schema >= 3) {
                COrderList orders;
                orders.Add(0.5);
                orders.Serialize(ar);
            } else if (c.schema >= 1) {
                ar << static_cast<int32_t>(3);
            }
            if (c.schema >= 2)
                ar << 30.0f;
            if (c.schema >= 4)
                ar << 1600.0f;
            if (c.schema >= 6)
                ar << 7.0f;
            if (c.schema == 7)
                ar << static_cast<uint64_t>(0x1122334455667788ull);
            ar.WriteCount(0);
        }
        const CCalcOptions o = ReadWithSchema<CCalcOptions>(body, c.schema, "CCalcOptions");
        EXPECT_EQ(o.GetHighPassFreq(), 15.0f);
        EXPECT_EQ(o.GetWindowType(), 3);
        EXPECT_EQ(o.GetOrderList().Values(), c.orders);
        EXPECT_EQ(o.GetOrderBandWidth(), c.bandWidth);
        EXPECT_EQ(o.GetLineCount(), c.lines);
        EXPECT_FLOAT_EQ(o.GetResolution(), c.resolution);
    }
}

TEST(CalcOptions, RoundTripAndNewerSchemaRefused)
{
    CCalcOptions options;
    options.SetLineCount(3200.0f);
    CSubsystemLPInfo lp(5);
    lp.SetName("Roof-F");
    lp.SetAt(2, 0);
    options.GetSubsystemLPInfoList().Add(lp);
    std::vector<uint8_t> bytes;
    {
        CArchive ar(&bytes, CArchive::store);
        ar.WriteObject(&options);
    }
    CArchive in(bytes.data(), bytes.size());
    auto read = in.ReadOwned<CCalcOptions>();
    EXPECT_TRUE(*read == options);
    EXPECT_EQ(read->GetSubsystemLPInfoList().FindByName("Roof-F"), 0);

    std::vector<uint8_t> body(bytes.begin() + 4 + 2 + std::strlen("CCalcOptions"), bytes.end());
    EXPECT_THROW(ReadWithSchema<CCalcOptions>(body, 9, "CCalcOptions"), CArchiveException);
}

TEST(CalcIEOptions, MissingMembersKeepTheirDefaults)
{
    std::vector<uint8_t> body;
    {
        CArchive ar(&body, CArchive::store);
        ar << static_cast<int32_t>(0) << 250.0f;
    }
    const CCalcIEOptions o = ReadWithSchema<CCalcIEOptions>(body, 1, "CCalcIEOptions");
    EXPECT_EQ(o.GetUseSymmetric(), 0);
    EXPECT_EQ(o.GetRpmMargin(), 250.0f);
    EXPECT_EQ(o.GetFactor(), 0.3321125);
}

TEST(CalcOptions, WindowTypeSavedBecomesTheDefault)
{
    CCalcOptions options;
    options.SetWindowType(2);
    ASSERT_EQ(options.SaveDataWindowing(), 1);
    EXPECT_EQ(CCalcOptions().GetWindowType(), 2);
    options.SetWindowType(0);
    ASSERT_EQ(options.SaveDataWindowing(), 1);
    EXPECT_EQ(CCalcOptions().GetWindowType(), 0);
}
