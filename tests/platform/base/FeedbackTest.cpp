#include <gtest/gtest.h>

#include "platform/base/RecordingFeedback.h"

using Sev = CFeedback::ESeverity;

// The whole work's fraction follows steps of the work and of its parts, whatever nesting the
// work uses, and never runs past the end.
TEST(Feedback, FractionOverPartsAndSteps)
{
    struct Case
    {
        const char* what;
        void (*run)(CFeedback&);
        double expected;
    };
    const Case cases[] = {
        {"plain steps", [](CFeedback& f) { f.Begin("a", 4), f.Step(), f.Step(); }, 0.5},
        {"steps clamp at the total", [](CFeedback& f) { f.Begin("a", 2), f.Step(5); }, 1.0},
        {"no negative position", [](CFeedback& f) { f.Begin("a", 2), f.SetPos(-3); }, 0.0},
        {"unknown total", [](CFeedback& f) { f.Begin("a", 0), f.Step(3); }, 0.0},
        {"half of a part of two steps",
         [](CFeedback& f) { f.Begin("a", 4), f.BeginPart(2), f.Begin("b", 10), f.SetPos(5); }, 0.25},
        {"part ended moves past its steps",
         [](CFeedback& f) { f.Begin("a", 4), f.Step(), f.BeginPart(2), f.Begin("b", 10), f.Step(), f.EndPart(); },
         0.75},
        {"part without a Begin still counts", [](CFeedback& f) { f.Begin("a", 4), f.BeginPart(2), f.EndPart(); }, 0.5},
        {"nested parts",
         [](CFeedback& f) {
             f.Begin("a", 2), f.BeginPart(1), f.Begin("b", 2), f.BeginPart(1), f.Begin("c", 4), f.Step();
         },
         0.0625},
        {"a second Begin restarts its level", [](CFeedback& f) { f.Begin("a", 4), f.Step(3), f.Begin("b", 8); }, 0.0},
    };
    for (const Case& c : cases) {
        CRecordingFeedback feedback;
        c.run(feedback);
        EXPECT_DOUBLE_EQ(feedback.Fraction(), c.expected) << c.what;
    }
}

TEST(Feedback, RecordsTextsFractionsEndAndReports)
{
    CRecordingFeedback feedback;
    feedback.Step(); // before Begin: nothing
    feedback.Begin("Work", 2);
    feedback.SetText("item 1");
    feedback.BeginPart(1);
    feedback.Begin("inner", 2);
    feedback.Step();
    feedback.EndPart();
    feedback.Step();
    feedback.Warning("careful", 17);
    feedback.Error("broken");
    EXPECT_EQ(feedback.CurrentText(), "item 1");
    feedback.End();
    feedback.End(); // once only

    EXPECT_EQ(feedback.texts, (std::vector<std::string>{"Work", "item 1", "inner"}));
    ASSERT_EQ(feedback.begins.size(), 2u);
    EXPECT_EQ(feedback.begins[1].level, 1);
    EXPECT_EQ(feedback.fractions, (std::vector<double>{0.0, 0.0, 0.25, 0.5, 1.0}));
    EXPECT_EQ(feedback.ends, 1);
    EXPECT_FALSE(feedback.IsActive());
    ASSERT_EQ(feedback.reports.size(), 2u);
    EXPECT_EQ(feedback.reports[0].stringId, 17u);
    EXPECT_EQ(feedback.ReportTexts(Sev::Warning), std::vector<std::string>{"careful"});
    EXPECT_EQ(feedback.ReportTexts(Sev::Error), std::vector<std::string>{"broken"});
}

// Cancel is asked by the work and set by someone else; once set it stays set.
TEST(Feedback, CancelStaysSetOnceAsked)
{
    CRecordingFeedback byCaller;
    EXPECT_FALSE(byCaller.IsCancelled());
    byCaller.Cancel();
    EXPECT_TRUE(byCaller.IsCancelled());
    EXPECT_TRUE(byCaller.IsCancelled());

    CRecordingFeedback midway;
    midway.CancelAtQuestion(3);
    EXPECT_FALSE(midway.IsCancelled());
    EXPECT_FALSE(midway.IsCancelled());
    EXPECT_TRUE(midway.IsCancelled());
    EXPECT_TRUE(midway.IsCancelled());
    EXPECT_EQ(midway.questions, 4);
}
