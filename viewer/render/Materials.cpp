#include "viewer/render/Materials.h"

namespace {

// Shininess of the named table is a fraction of the OpenGL range 0..128.
GlMaterial Named(float ar, float ag, float ab, float dr, float dg, float db, float sr, float sg, float sb,
                 float shininessFraction)
{
    return GlMaterial{{ar, ag, ab, 1.0f}, {dr, dg, db, 1.0f}, {sr, sg, sb, 1.0f}, shininessFraction * 128.0f};
}

}  // namespace

void InitMaterialTable(MaterialTable& table)
{
    table[0] = GlMaterial{{0.2f, 0.2f, 0.2f, 1.0f}, {0.9f, 0.9f, 1.0f, 1.0f}, {0.4f, 0.4f, 0.6f, 1.0f}, 0.1f};
    table[1] = Named(0.1745f, 0.01175f, 0.01175f, 0.61424f, 0.04136f, 0.04136f, 0.727811f, 0.626959f, 0.626959f, 0.6f);
    table[2] = Named(0.0215f, 0.1745f, 0.0215f, 0.07568f, 0.61424f, 0.07568f, 0.633f, 0.727811f, 0.633f, 0.6f);
    table[3] = Named(0.135f, 0.2225f, 0.1575f, 0.54f, 0.89f, 0.63f, 0.316228f, 0.316228f, 0.316228f, 0.1f);
    table[4] = Named(0.05375f, 0.05f, 0.06625f, 0.18275f, 0.17f, 0.22525f, 0.332741f, 0.328634f, 0.346435f, 0.3f);
    table[5] = Named(0.25f, 0.20725f, 0.20725f, 1.0f, 0.829f, 0.829f, 0.296648f, 0.296648f, 0.296648f, 0.088f);
    table[6] = Named(0.1f, 0.18725f, 0.1745f, 0.396f, 0.74151f, 0.69102f, 0.297254f, 0.30829f, 0.306678f, 0.1f);
    table[7] = Named(0.329412f, 0.223529f, 0.027451f, 0.780392f, 0.568627f, 0.113725f, 0.992157f, 0.941176f,
                     0.807843f, 0.21794872f);
    table[8] = Named(0.2125f, 0.1275f, 0.054f, 0.714f, 0.4284f, 0.18144f, 0.393548f, 0.271906f, 0.166721f, 0.2f);
    table[9] = Named(0.25f, 0.25f, 0.25f, 0.4f, 0.4f, 0.4f, 0.774597f, 0.774597f, 0.774597f, 0.6f);
    table[10] = Named(0.19125f, 0.0735f, 0.0225f, 0.7038f, 0.27048f, 0.0828f, 0.256777f, 0.137622f, 0.086014f, 0.1f);
    table[11] = Named(0.24725f, 0.1995f, 0.0745f, 0.75164f, 0.60648f, 0.22648f, 0.628281f, 0.555802f, 0.366065f, 0.4f);
    table[12] = Named(0.19225f, 0.19225f, 0.19225f, 0.50754f, 0.50754f, 0.50754f, 0.508273f, 0.508273f, 0.508273f, 0.4f);
    table[13] = Named(0.0f, 0.0f, 0.0f, 0.01f, 0.01f, 0.01f, 0.5f, 0.5f, 0.5f, 0.25f);
    table[14] = Named(0.0f, 0.1f, 0.06f, 0.0f, 0.50980392f, 0.50980392f, 0.50196078f, 0.50196078f, 0.50196078f, 0.25f);
    table[15] = Named(0.0f, 0.0f, 0.0f, 0.1f, 0.35f, 0.1f, 0.45f, 0.55f, 0.45f, 0.25f);
    table[16] = Named(0.0f, 0.0f, 0.0f, 0.5f, 0.0f, 0.0f, 0.7f, 0.6f, 0.6f, 0.25f);
    table[17] = Named(0.0f, 0.0f, 0.0f, 0.55f, 0.55f, 0.55f, 0.7f, 0.7f, 0.7f, 0.25f);
    table[18] = Named(0.0f, 0.0f, 0.0f, 0.5f, 0.5f, 0.0f, 0.6f, 0.6f, 0.5f, 0.25f);
    table[19] = Named(0.02f, 0.02f, 0.02f, 0.01f, 0.01f, 0.01f, 0.4f, 0.4f, 0.4f, 0.078125f);
    table[20] = Named(0.0f, 0.05f, 0.05f, 0.4f, 0.5f, 0.5f, 0.04f, 0.7f, 0.7f, 0.078125f);
    table[21] = Named(0.0f, 0.05f, 0.0f, 0.4f, 0.5f, 0.4f, 0.04f, 0.7f, 0.04f, 0.078125f);
    table[22] = Named(0.05f, 0.0f, 0.0f, 0.5f, 0.4f, 0.4f, 0.7f, 0.04f, 0.04f, 0.078125f);
    table[23] = Named(0.05f, 0.05f, 0.05f, 0.5f, 0.5f, 0.5f, 0.7f, 0.7f, 0.7f, 0.078125f);
    table[24] = Named(0.05f, 0.05f, 0.0f, 0.5f, 0.5f, 0.4f, 0.7f, 0.7f, 0.04f, 0.078125f);
}

GlMaterial GetMaterial(const MaterialTable& table, std::uint16_t index)
{
    return index >= 1 && index < kMaterialCount ? table[index] : table[0];
}

GLenum BlendFactorToGL(std::uint16_t code)
{
    switch (code) {
    case 1: return GL_ZERO;
    case 2: return GL_ONE;
    case 3: return GL_SRC_COLOR;
    case 4: return GL_ONE_MINUS_SRC_COLOR;
    case 5: return GL_DST_COLOR;
    case 6: return GL_ONE_MINUS_DST_COLOR;
    case 7: return GL_SRC_ALPHA;
    case 8: return GL_ONE_MINUS_SRC_ALPHA;
    case 9: return GL_DST_ALPHA;
    case 10: return GL_ONE_MINUS_DST_ALPHA;
    case 11: return GL_SRC_ALPHA_SATURATE;
    default: return GL_ONE_MINUS_SRC_ALPHA;
    }
}
