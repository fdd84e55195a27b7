#include "SceneFixture.h"

#include "outside/COGLJText.h"

#include <clocale>

TEST(COGLJText, WindowsGothicNameFindsTheJapaneseFace)
{
    const std::string file = COGLJText::FindFontFile("ＭＳ ゴシック");
    ASSERT_FALSE(file.empty());
    // The IPA gothic face, under its own name or the Debian alternative.
    EXPECT_TRUE(file.find("ipa") != std::string::npos || file.find("japanese") != std::string::npos) << file;
}

TEST_F(SceneTest, CaptionTextDrawsAtTheRasterPositionInCLocaleNumbers)
{
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous != nullptr ? previous : "C";
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    COGLJText text("ＭＳ ゴシック", 14, COGLJText::kOriginBaselineLeft);
    ASSERT_TRUE(text.HasFont());
    text.Format("%.*lfm", 2, 7.5);
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(text.Text(), "7.50m");

    m_layers->Bind(SceneLayers::kOverlay);
    G().glColor3f(1, 1, 1);
    G().glRasterPos3f(4.0f, 20.0f, 0.0f);
    text.Render();
    COGLJText japanese("ＭＳ ゴシック", 14, COGLJText::kOriginBaselineLeft);
    japanese.Format("%s", "標高");
    G().glRasterPos3f(4.0f, 40.0f, 0.0f);
    japanese.Render();
    int lit = 0, litJapanese = 0;
    for (int y = 16; y < 36; ++y)
        for (int x = 0; x < 64; ++x) lit += m_layers->Pixel(SceneLayers::kOverlay, x, y) != 0 ? 1 : 0;
    for (int y = 36; y < 56; ++y)
        for (int x = 0; x < 64; ++x) litJapanese += m_layers->Pixel(SceneLayers::kOverlay, x, y) != 0 ? 1 : 0;
    EXPECT_GT(lit, 20);
    EXPECT_GT(litJapanese, 20);
    EXPECT_EQ(m_layers->Pixel(SceneLayers::kOverlay, 60, 2), 0u);
}
