// The calibration states one by one, driven through the machine by live frames.
#include <gtest/gtest.h>

#include <functional>

#include "CalibrationRig.h"

TEST(CalibrationStates, EachStateLeavesOnItsStepWithItsGaugeAndSpinner)
{
    struct Case { const char* what; int index; std::function<Live(int)> reading; int steps; wxString second; };
    const Case cases[] = {
        {"reducer dips on step 7", 0, [](int s) { return Live{8, s == 7 ? 49 : 50}; }, 18, L"减压器温度 >50° C"},
        {"reducer warm at once", 0, [](int) { return Live{8, 50}; }, 11, L"减压器温度 >50° C"},
        {"first wait", 1, [](int) { return Live{}; }, 150, L"等待...-"},
        {"later wait", 6, [](int) { return Live{}; }, 75, L"等待...-"},
        {"injection time", 2, [](int) { return Live{}; }, 100, L"读取喷射时间 -"},
        {"gas phase settled at once", 3, [](int) { return Live{}; }, 101, L"选择加倍 \\"},
        {"gas phase settled on its last step", 3, [](int s) { return Live{8, 60, 20, s < 800 ? 3.0 : 2.5}; }, 900,
         L"选择加倍 \\"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        CalibrationRig rig;
        ASSERT_TRUE(rig.Start() && rig.FeedTo(c.index));
        const std::size_t before = rig.host.progress.size(), shown = rig.host.status.size();
        EXPECT_EQ(rig.StepsIn(c.index, c.reading), c.steps);
        EXPECT_EQ(rig.Index(), c.index + 1);
        EXPECT_EQ(rig.host.status[shown + 1], c.second);
        for (std::size_t i = before; i < rig.host.progress.size(); ++i)
            ASSERT_EQ(rig.host.progress[i], c.index + 1);
    }
}

TEST(CalibrationStates, WindowInWholeTenthsOfAMillisecond)
{
    // refused: the reason of the stop sent instead of a window.
    struct Case { std::vector<double> samples; bool exact; Bytes window; double reading; int steps;
                  const wchar_t* refused = nullptr; };
    const Case cases[] = {
        {{2.34, 2.41}, true, {23, 1, 128}, 2.4, 101},
        {{2.4, 2.6}, false, {25, 2, 128}, 2.7, 101},  // upper edge inside
        {{2.4, 2.6}, false, {25, 2, 128}, 2.3, 101},
        {{2.4, 2.6}, false, {25, 2, 128}, 2.8, 900},
        {{2.3}, false, {23, 1, 128}, 2.4, 101},
        {{2.3}, false, {23, 1, 128}, 2.5, 900},
        {{1.0, 3.1, 2.0}, false, {20, 11, 128}, 3.1, 101},
        {{25.5}, false, {255, 1, 128}, 25.5, 101},
        {{25.4, 25.8}, false, {}, 25.6, 0, L"喷射时间超过25.5ms,无法标定"},  // a midpoint beyond the byte
        {{0.0}, false, {}, 0.0, 0, L"喷射时间低于1.0ms,无法标定"},  // an unconnected petrol-injector wire
        {{2.6, 0.0}, false, {}, 0.0, 0, L"喷射时间低于1.0ms,无法标定"},  // a dropout to 0
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.samples.front() << ".." << c.samples.back() << " then " << c.reading);
        CalibrationRig rig;
        ASSERT_TRUE(rig.Start() && rig.FeedTo(2));
        for (std::size_t i = 0; rig.Index() == 2; ++i)
        {
            const double v = c.samples[i % c.samples.size()];
            rig.Feed(Live{8, 60, 20, v}, c.exact ? v : -1.0);
        }
        EXPECT_EQ(rig.Sent(CMD_SET_CALIBRATION_WINDOW), std::vector<Bytes>(!c.window.empty(), c.window));
        EXPECT_EQ(rig.StepsIn(3, [&](int) { return Live{8, 60, 20, c.reading}; }), c.steps);
        EXPECT_TRUE(!c.refused || (rig.Sent(CMD_STOP_CALIBRATION).size() == 1 && rig.host.status.back() == c.refused))
            << "not stopped";
    }
}

TEST(CalibrationStates, ColdGasAtTheEndOfAGasPhase)
{
    struct Case { int gasTemp; std::deque<int> answers; std::size_t boxes; int next; std::size_t stops; };
    const Case cases[] = {{0, {}, 0, 4, 0}, {-1, {wxOK}, 1, 4, 0}, {-1, {wxCANCEL}, 1, -1, 1}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.gasTemp << " C, " << c.boxes << " box");
        CalibrationRig rig;
        ASSERT_TRUE(rig.Start() && rig.FeedTo(3));
        rig.host.boxes.clear(), rig.host.boxesWhilePolling = 0;
        rig.host.answers = c.answers;
        rig.StepsIn(3, [&](int) { return Live{8, 60, c.gasTemp}; });
        EXPECT_EQ(rig.host.boxes, std::vector<wxString>(c.boxes, L"在自动标定过程中燃气温度应大于0度 |注意 "));
        EXPECT_EQ(rig.host.boxesWhilePolling, 0);
        EXPECT_TRUE(rig.host.polling);
        EXPECT_EQ(rig.c.m_calibrationGasTemperature, static_cast<unsigned char>(c.gasTemp));
        EXPECT_EQ(rig.Sent(CMD_STOP_CALIBRATION).size(), c.stops);
        EXPECT_EQ(rig.Index(), c.next) << "Cancel ends the run";
    }
}

TEST(CalibrationStates, HalfOfTheCylindersOnGasInTheSecondPhase)
{
    // Cylinder codes 0, 1, 3, 5 are 3, 4, 6, 8 cylinders; 7 is two, 6 one.
    const std::pair<unsigned char, unsigned char> cases[] = {{0, 0x01}, {1, 0x05}, {3, 0x15}, {5, 0x55}, {7, 0x01}, {6, 0x55}};
    for (const auto& [code, mask] : cases)
    {
        SCOPED_TRACE(testing::Message() << "cylinder code " << int(code));
        CalibrationRig rig(code);
        ASSERT_TRUE(rig.Start() && rig.FeedTo(5));
        const auto switches = rig.Sent(CMD_SWITCH_FUEL);
        const unsigned char all = static_cast<unsigned char>(0xFF >> (8 - rig.c.GetCylinderCount()));
        ASSERT_GE(switches.size(), 3u);
        EXPECT_EQ(std::vector<Bytes>(switches.end() - 3, switches.end()), (std::vector<Bytes>{{3, 0x01}, {3, mask}, {3, all}}));
    }
}
