#include "viewer/commands/ToolMarkers.h"

void DrawToolMarkers(GlFunctions& gl, std::span<const PT> points, float r, float g, float b)
{
    if (points.empty())
        return;
    gl.glPushAttrib(GL_CURRENT_BIT | GL_POINT_BIT | GL_ENABLE_BIT | GL_DEPTH_BUFFER_BIT | GL_COLOR_BUFFER_BIT);
    gl.glEnable(GL_DEPTH_TEST);
    gl.glDepthFunc(GL_ALWAYS);
    gl.glPointSize(10.0f);
    gl.glEnable(GL_POINT_SMOOTH);
    gl.glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
    gl.glEnable(GL_BLEND);
    gl.glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    gl.glColor3f(r, g, b);
    gl.glBegin(GL_POINTS);
    for (const PT& p : points)
        gl.glVertex3d(p.x(), p.y(), p.z());
    gl.glEnd();
    gl.glPopAttrib();
}
