#include <gtest/gtest.h>

#include "render/text_layout.h"

TEST(FixedPitch, CharactersAreCentredInCellsOfTheWidestAdvance)
{
    const FixedPitchLayout layout = layoutFixedPitch({20.0f, 8.0f, 20.0f, 12.0f});
    EXPECT_EQ(layout.cell, 20.0f);
    ASSERT_EQ(layout.x.size(), 4u);
    EXPECT_EQ(layout.x[0], 0.0f);
    EXPECT_EQ(layout.x[1], 26.0f);  // a narrow ':' centred in the second cell
    EXPECT_EQ(layout.x[2], 40.0f);
    EXPECT_EQ(layout.x[3], 64.0f);
    EXPECT_EQ(fixedPitchWidth({20.0f, 8.0f, 20.0f, 12.0f}), 80.0f);
}

TEST(FixedPitch, OneCharacterAndTheEmptyString)
{
    const FixedPitchLayout one = layoutFixedPitch({13.5f});
    EXPECT_EQ(one.x.at(0), 0.0f);
    EXPECT_EQ(fixedPitchWidth({13.5f}), 13.5f);
    EXPECT_TRUE(layoutFixedPitch({}).x.empty());
    EXPECT_EQ(fixedPitchWidth({}), 0.0f);
}
