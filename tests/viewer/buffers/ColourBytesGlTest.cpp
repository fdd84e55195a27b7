#include "SceneFixture.h"

#include "viewer/buffers/GlBufferOps.h"

// Colours are uploaded as bytes instead of floats: the bytes must be the ones
// GL itself writes to an RGBA8 layer for the float colour.
TEST_F(SceneTest, ColourBytesMatchWhatTheLayerStoresForFloats)
{
    const auto grid = [](int i, bool ties) {
        return ties ? (static_cast<float>(i % 256) + 0.5f) / 255.0f + static_cast<float>(i / 256 - 8) * 1e-6f
                    : static_cast<float>(i) / 4095.0f;
    };
    for (bool ties : {false, true}) {
        m_layers->Prepare(SceneLayers::kCloud);
        m_layers->Bind(SceneLayers::kCloud);
        G().glPointSize(1);
        G().glBegin(GL_POINTS);
        for (int i = 0; i < 4096; ++i) {
            const float c = grid(i, ties);
            G().glColor4f(c, 1.0f - c, c * 0.5f, 1.0f);
            G().glVertex3f(static_cast<float>(i % 64) + 0.5f, static_cast<float>(i / 64) + 0.5f, 0.0f);
        }
        G().glEnd();
        int mismatches = 0;
        for (int i = 0; i < 4096; ++i) {
            const float c = grid(i, ties);
            if (m_layers->Pixel(SceneLayers::kCloud, i % 64, i / 64) != GlBufferOps::PackRgba(c, 1.0f - c, c * 0.5f))
                ++mismatches;
        }
        EXPECT_EQ(mismatches, 0) << (ties ? "ties" : "grid");
    }
}
