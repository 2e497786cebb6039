#include "platform/GL.h"

#include <GL/glu.h>

#include <algorithm>

namespace {

TGLGateway* Installed = nullptr;

} // namespace

TGLGateway& GL()
{
    static TGLGateway real;
    return Installed ? *Installed : real;
}

void SetGL(TGLGateway* gateway) { Installed = gateway; }

// The real library.

void TGLGateway::Begin(GLenum mode) { ::glBegin(mode); }
void TGLGateway::End() { ::glEnd(); }
void TGLGateway::Vertex3d(GLdouble x, GLdouble y, GLdouble z) { ::glVertex3d(x, y, z); }
void TGLGateway::Color3f(GLfloat r, GLfloat g, GLfloat b) { ::glColor3f(r, g, b); }
void TGLGateway::NewList(GLuint list, GLenum mode) { ::glNewList(list, mode); }
void TGLGateway::EndList() { ::glEndList(); }
void TGLGateway::CallList(GLuint list) { ::glCallList(list); }
void TGLGateway::DeleteLists(GLuint list, GLsizei range) { ::glDeleteLists(list, range); }
GLboolean TGLGateway::IsList(GLuint list) { return ::glIsList(list); }
void TGLGateway::PolygonMode(GLenum face, GLenum mode) { ::glPolygonMode(face, mode); }
void TGLGateway::MatrixMode(GLenum mode) { ::glMatrixMode(mode); }
void TGLGateway::LoadIdentity() { ::glLoadIdentity(); }
void TGLGateway::Rotated(GLdouble angle, GLdouble x, GLdouble y, GLdouble z) { ::glRotated(angle, x, y, z); }
void TGLGateway::Viewport(GLint x, GLint y, GLsizei width, GLsizei height) { ::glViewport(x, y, width, height); }
void TGLGateway::Clear(GLbitfield mask) { ::glClear(mask); }
void TGLGateway::ClearColor(GLfloat r, GLfloat g, GLfloat b, GLfloat a) { ::glClearColor(r, g, b, a); }
void TGLGateway::Enable(GLenum capability) { ::glEnable(capability); }
void TGLGateway::Disable(GLenum capability) { ::glDisable(capability); }
void TGLGateway::Flush() { ::glFlush(); }
void TGLGateway::Finish() { ::glFinish(); }
GLenum TGLGateway::GetError() { return ::glGetError(); }
void TGLGateway::Perspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) { ::gluPerspective(fovy, aspect, zNear, zFar); }
void TGLGateway::LookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centerX, GLdouble centerY, GLdouble centerZ, GLdouble upX, GLdouble upY, GLdouble upZ) { ::gluLookAt(eyeX, eyeY, eyeZ, centerX, centerY, centerZ, upX, upY, upZ); }

// The recorder.

void TGLRecorder::Begin(GLenum mode)
{
    Record("glBegin", {double(mode)});
    if (FForward)
        TGLGateway::Begin(mode);
}

void TGLRecorder::End()
{
    Record("glEnd", {});
    if (FForward)
        TGLGateway::End();
}

void TGLRecorder::Vertex3d(GLdouble x, GLdouble y, GLdouble z)
{
    Record("glVertex3d", {x, y, z});
    if (FForward)
        TGLGateway::Vertex3d(x, y, z);
}

void TGLRecorder::Color3f(GLfloat r, GLfloat g, GLfloat b)
{
    Record("glColor3f", {r, g, b});
    if (FForward)
        TGLGateway::Color3f(r, g, b);
}

void TGLRecorder::NewList(GLuint list, GLenum mode)
{
    Record("glNewList", {double(list), double(mode)});
    if (FForward)
        TGLGateway::NewList(list, mode);
}

void TGLRecorder::EndList()
{
    Record("glEndList", {});
    if (FForward)
        TGLGateway::EndList();
}

void TGLRecorder::CallList(GLuint list)
{
    Record("glCallList", {double(list)});
    if (FForward)
        TGLGateway::CallList(list);
}

void TGLRecorder::DeleteLists(GLuint list, GLsizei range)
{
    Record("glDeleteLists", {double(list), double(range)});
    if (FForward)
        TGLGateway::DeleteLists(list, range);
}

GLboolean TGLRecorder::IsList(GLuint list)
{
    Record("glIsList", {double(list)});
    return FForward ? TGLGateway::IsList(list) : GL_TRUE;
}

void TGLRecorder::PolygonMode(GLenum face, GLenum mode)
{
    Record("glPolygonMode", {double(face), double(mode)});
    if (FForward)
        TGLGateway::PolygonMode(face, mode);
}

void TGLRecorder::MatrixMode(GLenum mode)
{
    Record("glMatrixMode", {double(mode)});
    if (FForward)
        TGLGateway::MatrixMode(mode);
}

void TGLRecorder::LoadIdentity()
{
    Record("glLoadIdentity", {});
    if (FForward)
        TGLGateway::LoadIdentity();
}

void TGLRecorder::Rotated(GLdouble angle, GLdouble x, GLdouble y, GLdouble z)
{
    Record("glRotated", {angle, x, y, z});
    if (FForward)
        TGLGateway::Rotated(angle, x, y, z);
}

void TGLRecorder::Viewport(GLint x, GLint y, GLsizei width, GLsizei height)
{
    Record("glViewport", {double(x), double(y), double(width), double(height)});
    if (FForward)
        TGLGateway::Viewport(x, y, width, height);
}

void TGLRecorder::Clear(GLbitfield mask)
{
    Record("glClear", {double(mask)});
    if (FForward)
        TGLGateway::Clear(mask);
}

void TGLRecorder::ClearColor(GLfloat r, GLfloat g, GLfloat b, GLfloat a)
{
    Record("glClearColor", {r, g, b, a});
    if (FForward)
        TGLGateway::ClearColor(r, g, b, a);
}

void TGLRecorder::Enable(GLenum capability)
{
    Record("glEnable", {double(capability)});
    if (FForward)
        TGLGateway::Enable(capability);
}

void TGLRecorder::Disable(GLenum capability)
{
    Record("glDisable", {double(capability)});
    if (FForward)
        TGLGateway::Disable(capability);
}

void TGLRecorder::Flush()
{
    Record("glFlush", {});
    if (FForward)
        TGLGateway::Flush();
}

void TGLRecorder::Finish()
{
    Record("glFinish", {});
    if (FForward)
        TGLGateway::Finish();
}

GLenum TGLRecorder::GetError()
{
    Record("glGetError", {});
    return FForward ? TGLGateway::GetError() : GL_NO_ERROR;
}

void TGLRecorder::Perspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar)
{
    Record("gluPerspective", {fovy, aspect, zNear, zFar});
    if (FForward)
        TGLGateway::Perspective(fovy, aspect, zNear, zFar);
}

void TGLRecorder::LookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centerX, GLdouble centerY, GLdouble centerZ, GLdouble upX, GLdouble upY, GLdouble upZ)
{
    Record("gluLookAt", {eyeX, eyeY, eyeZ, centerX, centerY, centerZ, upX, upY, upZ});
    if (FForward)
        TGLGateway::LookAt(eyeX, eyeY, eyeZ, centerX, centerY, centerZ, upX, upY, upZ);
}

std::vector<TGLRecorder::TCall> TGLRecorder::CallsNamed(const std::string& name) const
{
    std::vector<TCall> result;
    std::copy_if(Calls.begin(), Calls.end(), std::back_inserter(result),
                 [&](const TCall& call) { return call.Name == name; });
    return result;
}

int TGLRecorder::Count(const std::string& name) const
{
    return static_cast<int>(std::count_if(Calls.begin(), Calls.end(), [&](const TCall& call) { return call.Name == name; }));
}
