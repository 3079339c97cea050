#include "engine/PassSampler.h"
#include "engine/Ticks64.h"

#include <gtest/gtest.h>

namespace kel {
namespace {

Ticks64 T(std::uint32_t high, std::uint32_t low) { return Ticks64 {low, high}; }

TEST(Ticks64, ConvertsToAndFromDoubles)
{
    EXPECT_EQ(TicksToDouble(T(1, 0)), 4294967296.0);
    EXPECT_EQ(TicksToDouble(T(0, 0xFFFFFFFFu)), 4294967295.0);
    const Ticks64 t = DoubleToTicks(4294967296.5);
    EXPECT_EQ(t.high, 1u);
    EXPECT_EQ(t.low, 0u);
    const Ticks64 u = DoubleToTicks(333.333);
    EXPECT_EQ(u.high, 0u);
    EXPECT_EQ(u.low, 333u);
}

TEST(Ticks64, CarriesAndBorrowsAcrossTheHalves)
{
    const Ticks64 d = SubTicks(T(1, 0), T(0, 1));
    EXPECT_EQ(d.high, 0u);
    EXPECT_EQ(d.low, 0xFFFFFFFFu);
    const Ticks64 s = AddTicks(d, T(0, 1));
    EXPECT_EQ(s.high, 1u);
    EXPECT_EQ(s.low, 0u);
    EXPECT_EQ(TicksEqual(s, T(1, 0)), 1);
    EXPECT_EQ(TicksEqual(s, T(0, 0)), 0);
}

TEST(Ticks64, ComparesHighHalfFirst)
{
    EXPECT_EQ(TicksAtLeast(T(2, 5), T(2, 5)), 1);
    EXPECT_EQ(TicksAtLeast(T(0, 0xFFFFFFFFu), T(1, 0)), 0);
    EXPECT_EQ(TicksAtLeast(T(1, 0), T(0, 0xFFFFFFFFu)), 1);
    EXPECT_EQ(TicksAtLeast(T(3, 1), T(3, 2)), 0);
}

TEST(Sampling, IntervalGrowsWithFilesAndFallsBackToOneSamplePer100Seconds)
{
    EXPECT_EQ(SampleInterval(T(0, 1000000), 10, 1), 100000.0);
    EXPECT_EQ(SampleInterval(T(0, 1000000), 10, 4), 400000.0);
    EXPECT_EQ(SampleInterval(T(0, 1000000), 0, 1), 100000000.0);
    EXPECT_EQ(SampleInterval(T(0, 1000000), 0, 7), 100000000.0);
    EXPECT_EQ(SampleInterval(T(0, 1000), 200, 1), 5.0);
}

TEST(Sampling, DeadlinesLieOnAGridFromThePassStart)
{
    const double interval = SampleInterval(T(0, 1000), 3, 1);
    const Ticks64 start = T(0, 5000);
    EXPECT_EQ(NextDeadline(start, 0, interval).low, 5333u);
    EXPECT_EQ(NextDeadline(start, 1, interval).low, 5666u);
    EXPECT_EQ(NextDeadline(start, 2, interval).low, 6000u);
}

TEST(Sampling, RatesAreInMebibytesPerSecond)
{
    EXPECT_EQ(RateMBs(2097152, 0.5), 4.0);
    EXPECT_EQ(SecondsBetween(T(0, 1000), T(0, 1500), T(0, 1000)), 0.5);
    EXPECT_EQ(RateMBs(10485760000ull, 1.0), 10000.0);
}

class SamplerTest : public ::testing::Test {
protected:
    double m_table[64] {};
    // 1000 ticks per second, a sample every 100 ticks.
    PassSampler m_sampler {100.0, T(0, 1000), m_table};
};

TEST_F(SamplerTest, PassEndingBeforeItsFirstDeadlineBecomesOneSampleEqualToThePassRate)
{
    m_sampler.Start(T(0, 0));
    m_sampler.Count(1048576);
    ASSERT_TRUE(m_sampler.Check(T(0, 50)));
    ASSERT_TRUE(m_sampler.Finish());
    ASSERT_EQ(m_sampler.SampleCount(), 1);
    EXPECT_EQ(m_table[0], 20.0);
    EXPECT_EQ(m_sampler.PassRate(), 20.0);
}

TEST_F(SamplerTest, TailAfterTheLastSampleCountsInThePassRateOnly)
{
    m_sampler.Start(T(0, 0));
    for (int i = 1; i <= 10; ++i) {
        m_sampler.Count(131072);
        ASSERT_TRUE(m_sampler.Check(T(0, static_cast<std::uint32_t>(100 * i))));
    }
    m_sampler.Count(1048576);
    ASSERT_TRUE(m_sampler.Check(T(0, 1050)));
    ASSERT_TRUE(m_sampler.Finish());
    EXPECT_EQ(m_sampler.SampleCount(), 10);
    EXPECT_DOUBLE_EQ(m_table[0], 1.25);
    EXPECT_EQ(m_sampler.PassBytes(), 1048576u + 10u * 131072u);
    EXPECT_DOUBLE_EQ(m_sampler.PassRate(), RateMBs(m_sampler.PassBytes(), 1.05));
}

TEST_F(SamplerTest, ALongTransferTakesOneSampleAndLaterChecksCatchUpTheGrid)
{
    m_sampler.Start(T(0, 0));
    m_sampler.Count(1000);
    ASSERT_TRUE(m_sampler.Check(T(0, 350)));  // three grid steps late: one sample
    EXPECT_EQ(m_sampler.SampleCount(), 1);
    m_sampler.Count(1000);
    ASSERT_TRUE(m_sampler.Check(T(0, 360)));  // deadline 200 has passed
    m_sampler.Count(1000);
    ASSERT_TRUE(m_sampler.Check(T(0, 370)));  // deadline 300 has passed
    m_sampler.Count(1000);
    ASSERT_TRUE(m_sampler.Check(T(0, 380)));  // next deadline 400: no sample
    EXPECT_EQ(m_sampler.SampleCount(), 3);
    // Each sample covers the true time since the one before, not the grid step.
    EXPECT_DOUBLE_EQ(m_table[1], RateMBs(1000, 0.010));
}

TEST_F(SamplerTest, ADueSampleOnAClockThatHasNotMovedIsRefused)
{
    m_sampler.Start(T(0, 0));
    m_sampler.Count(1000);
    ASSERT_TRUE(m_sampler.Check(T(0, 350)));
    m_sampler.Count(1000);
    EXPECT_FALSE(m_sampler.Check(T(0, 350)));
}

TEST_F(SamplerTest, APassThatTookNoMeasurableTimeIsRefused)
{
    m_sampler.Start(T(0, 7));
    m_sampler.Count(1000);
    ASSERT_TRUE(m_sampler.Check(T(0, 7)));
    EXPECT_FALSE(m_sampler.Finish());
}

}  // namespace
}  // namespace kel
