// Long passes are kept as their curve's columns; drawn again on another
// scale they give the pixels their samples give.

#include "tests/view/ViewTestSupport.h"
#include "view/GraphScale.h"
#include "view/ResultImages.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace kel {
namespace {

using namespace test;

// Samples that stress the columns: steps and plateaus on coarse values (so
// many land on one pixel), spikes, NaN and infinities.
std::vector<double> Samples(int count, unsigned seed, double level)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> pick(0, 99);
    std::vector<double> samples;
    double rate = level;
    for (int i = 0; i < count; ++i) {
        const int p = pick(random);
        if (p < 2) {
            samples.push_back(std::numeric_limits<double>::quiet_NaN());
        } else if (p < 3) {
            samples.push_back(p % 2 == 0 ? std::numeric_limits<double>::infinity() : -1.0);
        } else if (p < 6) {
            samples.push_back(level * (1 + pick(random) / 10));  // a spike
        } else {
            rate = std::fmax(0.0, rate + (pick(random) - 50) * level / 400.0);
            samples.push_back(p < 50 ? std::round(rate) : rate);  // plateaus and fine steps
        }
    }
    return samples;
}

struct RunShape {
    QSize client;
    int reads;
    int writes;
    int samplesPerPass;
    double level;  // MB/s around which the samples wander
};

void Feed(ResultImages& images, const RunShape& shape, unsigned seed)
{
    images.ConfigureRun(shape.reads, shape.writes, 0, 3000, 2000);
    for (int pass = 1; pass <= std::max(shape.reads, shape.writes); ++pass) {
        for (const int isWrite : {1, 0}) {
            if (pass <= (isWrite != 0 ? shape.writes : shape.reads)) {
                AddPass(images, pass, Samples(shape.samplesPerPass, seed + pass * 2 + isWrite, shape.level), 1.0,
                        isWrite);
            }
        }
    }
}

TEST(KeptPasses, LongPassesRedrawTheirSamplesPixels)
{
    const RunShape shapes[] = {
        {kClient, 1, 1, 20000, 12.0},   // one pass: about 40 samples a column
        {kClient, 3, 2, 5000, 600.0},   // the fitted scale grows pass by pass
        {kClient, 7, 0, 900, 3.0},      // short spans
        {QSize(160, 120), 2, 2, 3000, 1500.0},
        {QSize(1400, 700), 1, 2, 40000, 25.0},
    };
    const GraphScale scales[] = {FixedGraphScale(20), FixedGraphScale(1), FixedGraphScale(50),
                                 FixedGraphScale(2500), FixedGraphScale(1000000), FittedGraphScale(),
                                 DefaultGraphScale()};
    unsigned seed = 1;
    for (const RunShape& shape : shapes) {
        for (const GraphScale& scale : scales) {
            ++seed;
            // Drawn as it came on the automatic scale, then drawn again.
            ResultImages kept(shape.client);
            Feed(kept, shape, seed);
            kept.SetScale(scale);
            // Drawn from the samples alone: a fixed top never redraws.
            ResultImages direct(shape.client, FixedGraphScale(kept.ScaleTop()));
            Feed(direct, shape, seed);
            const QImage keptImage = kept.GraphImage();
            const QImage directImage = direct.GraphImage();
            int differing = 0;
            for (int y = 0; y < directImage.height(); ++y) {
                for (int x = 0; x < directImage.width(); ++x) {
                    differing += Pixel(keptImage, x, y) != Pixel(directImage, x, y) ? 1 : 0;
                }
            }
            EXPECT_EQ(differing, 0) << shape.client.width() << "x" << shape.client.height() << " top "
                                    << kept.ScaleTop() << " seed " << seed;
        }
    }
}

}  // namespace
}  // namespace kel
