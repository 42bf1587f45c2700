#include <gtest/gtest.h>

#include "numbers/checked.h"

using ventora::checked;
using ventora::number;

namespace {

TEST(Checked, UnsetCountsAsZero) {
    const number unset;
    EXPECT_FALSE((checked(unset) + 2.0).faulted());
    EXPECT_EQ((checked(unset) + 2.0).value(), 2.0);
    EXPECT_EQ((checked(unset) * 5.0).value(), 0.0);
}

TEST(Checked, FaultsPropagateThroughAFormula) {
    EXPECT_TRUE((checked(1.0) / 0.0).faulted());
    EXPECT_TRUE((checked(0.0) / 0.0).faulted());
    EXPECT_TRUE(sqrt(checked(-1.0)).faulted());
    EXPECT_FALSE(sqrt(checked(0.0)).faulted());
    EXPECT_TRUE(pow(checked(-2.0), 0.82).faulted());
    EXPECT_FALSE(pow(checked(-2.0), 2.0).faulted());
    EXPECT_EQ(pow(checked(-2.0), 3.0).value(), -8.0);
    EXPECT_TRUE(pow(checked(0.0), -1.0).faulted());
    EXPECT_EQ(pow(checked(0.0), 0.5).value(), 0.0);
    EXPECT_TRUE((checked(1e308) * 10.0).faulted());
    EXPECT_TRUE((checked(-1e308) - 1e308).faulted());
    EXPECT_TRUE((floor(sqrt(checked(-1.0)) * 2.0) + 1.0).faulted());
    EXPECT_TRUE(single(checked(1e39)).faulted());
    EXPECT_EQ(single(checked(6.28)).value(), static_cast<double>(6.28F));
}

TEST(Checked, FloorIsIntOfTheFormulas) {
    EXPECT_EQ(floor(checked(1962.5)).value(), 1962.0);
    EXPECT_EQ(floor(checked(-0.5)).value(), -1.0);
    EXPECT_EQ(floor(checked(-0.2)).value(), -1.0);
}

TEST(Checked, AFaultedStepKeepsItsTarget) {
    number target = 7.0;
    ventora::assign(target, checked(1.0) / 0.0);
    EXPECT_EQ(target, 7.0);
    number unset;
    ventora::assign(unset, sqrt(checked(-4.0)));
    EXPECT_FALSE(unset.has_value());
    ventora::assign(unset, sqrt(checked(4.0)));
    EXPECT_EQ(unset, 2.0);

    std::optional<float> single_target = 1.5F;
    ventora::assign(single_target, checked(1e39));
    EXPECT_EQ(single_target, 1.5F);
    ventora::assign(single_target, checked(6.28));
    EXPECT_EQ(single_target, 6.28F);
}

TEST(Checked, AFaultedTestCountsAsTrue) {
    const checked bad = checked(1.0) / 0.0;
    EXPECT_TRUE(static_cast<bool>(bad <= 0.0));
    EXPECT_TRUE(static_cast<bool>(bad > 0.0));
    EXPECT_TRUE(static_cast<bool>(bad == 0.0));
    EXPECT_TRUE(static_cast<bool>(checked(1.0) < bad));
    EXPECT_FALSE(static_cast<bool>(checked(1.0) <= 0.5));
    EXPECT_TRUE(static_cast<bool>(checked(0.5) <= 0.5));
    EXPECT_FALSE(static_cast<bool>(checked(0.5) < 0.5));
    EXPECT_TRUE(static_cast<bool>(checked(0.5) >= 0.5));
    EXPECT_FALSE(static_cast<bool>(checked(0.4) >= 0.5));
}

}  // namespace
