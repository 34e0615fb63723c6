// WaitOneSecond over a fake seconds-since-midnight timer: it returns at the first reading one
// second after the first, across midnight too, and never earlier.
#include "frame/wait_one_second.h"

#include "app_fixture.h"

#include <stdexcept>
#include <vector>

namespace {

struct WaitCase {
    const char* name;
    std::vector<float> readings;
    std::size_t readsUntilReturn;
};

// Hands out the readings in order; running out means the wait went on too long.
class FakeTimer {
public:
    explicit FakeTimer(std::vector<float> readings) : readings_(std::move(readings)) {}
    float operator()()
    {
        if (next_ == readings_.size())
            throw std::runtime_error("waited past the last reading");
        return readings_[next_++];
    }
    std::size_t reads() const { return next_; }

private:
    std::vector<float> readings_;
    std::size_t next_ = 0;
};

class WaitOneSecondTest : public ::testing::TestWithParam<WaitCase> {};

TEST_P(WaitOneSecondTest, ReturnsAtTheFirstReadingOneSecondLater)
{
    FakeTimer timer(GetParam().readings);
    EXPECT_NO_THROW(WaitOneSecond(std::ref(timer)));
    EXPECT_EQ(timer.reads(), GetParam().readsUntilReturn);
}

INSTANTIATE_TEST_SUITE_P(
    Readings, WaitOneSecondTest,
    ::testing::Values(WaitCase{"Daytime", {100.0f, 100.5f, 100.99f, 101.0f, 101.5f}, 4},
                      WaitCase{"StartingJustBeforeMidnight", {86399.5f, 86399.75f, 0.25f, 0.49f, 0.5f, 0.75f}, 5},
                      WaitCase{"MidnightRightAfterTheStart", {86399.9f, 0.0f, 0.5f, 0.95f, 2.0f}, 4},
                      WaitCase{"ClockJumpsFarAhead", {10.0f, 3600.0f, 3601.0f}, 2}),
    [](const ::testing::TestParamInfo<WaitCase>& info) { return std::string(info.param.name); });

using WindowWaitTest = apptest::AppTest;

TEST_F(WindowWaitTest, WindowWaitsOnItsOwnTimer)
{
    frmMain& f = make();
    FakeTimer timer({5.0f, 5.5f, 6.0f});
    f.timer = std::ref(timer);
    f.WaitOneSecond();
    EXPECT_EQ(timer.reads(), 3u);
}

} // namespace
