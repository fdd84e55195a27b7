#include "viewer/render/Materials.h"

#include <gtest/gtest.h>

TEST(Materials, IndexOutsideTheNamedEntriesGivesTheDefault)
{
    MaterialTable table;
    InitMaterialTable(table);
    for (std::uint16_t index : {0, 25, 0xFFFF}) {
        const GlMaterial m = GetMaterial(table, index);
        EXPECT_FLOAT_EQ(m.diffuse[2], 1.0f) << index;
        EXPECT_FLOAT_EQ(m.shininess, 0.1f) << index;
    }
    const GlMaterial ruby = GetMaterial(table, 1);
    EXPECT_FLOAT_EQ(ruby.ambient[0], 0.1745f);
    EXPECT_FLOAT_EQ(ruby.shininess, 76.8f);
    const GlMaterial yellowRubber = GetMaterial(table, 24);
    EXPECT_FLOAT_EQ(yellowRubber.specular[2], 0.04f);
    EXPECT_FLOAT_EQ(yellowRubber.shininess, 10.0f);
    for (const GlMaterial& m : table) EXPECT_FLOAT_EQ(m.diffuse[3], 1.0f);
}

TEST(Materials, BlendCodesMapToFactors)
{
    EXPECT_EQ(BlendFactorToGL(1), static_cast<GLenum>(GL_ZERO));
    EXPECT_EQ(BlendFactorToGL(6), static_cast<GLenum>(GL_ONE_MINUS_DST_COLOR));
    EXPECT_EQ(BlendFactorToGL(11), static_cast<GLenum>(GL_SRC_ALPHA_SATURATE));
    EXPECT_EQ(BlendFactorToGL(12), static_cast<GLenum>(GL_ONE_MINUS_SRC_ALPHA));
}
