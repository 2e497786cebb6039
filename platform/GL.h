#pragma once
// The OpenGL 1.1 and GLU entry points the scene draws with. Drawing code calls
// GL().Begin(...) and so on; the installed gateway forwards to the real
// library, or records the exact call stream for tests.

#include <GL/gl.h>

#include <string>
#include <vector>

class TGLGateway {
public:
    virtual ~TGLGateway() = default;
    virtual void Begin(GLenum mode);
    virtual void End();
    virtual void Vertex3d(GLdouble x, GLdouble y, GLdouble z);
    virtual void Color3f(GLfloat r, GLfloat g, GLfloat b);
    virtual void NewList(GLuint list, GLenum mode);
    virtual void EndList();
    virtual void CallList(GLuint list);
    virtual void DeleteLists(GLuint list, GLsizei range);
    virtual GLboolean IsList(GLuint list);
    virtual void PolygonMode(GLenum face, GLenum mode);
    virtual void MatrixMode(GLenum mode);
    virtual void LoadIdentity();
    virtual void Rotated(GLdouble angle, GLdouble x, GLdouble y, GLdouble z);
    virtual void Viewport(GLint x, GLint y, GLsizei width, GLsizei height);
    virtual void Clear(GLbitfield mask);
    virtual void ClearColor(GLfloat r, GLfloat g, GLfloat b, GLfloat a);
    virtual void Enable(GLenum capability);
    virtual void Disable(GLenum capability);
    virtual void Flush();
    virtual void Finish();
    virtual GLenum GetError();
    virtual void Perspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar);
    virtual void LookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centerX, GLdouble centerY,
                        GLdouble centerZ, GLdouble upX, GLdouble upY, GLdouble upZ);
};

TGLGateway& GL();
// Installs a gateway (not owned); nullptr restores the real library.
void SetGL(TGLGateway* gateway);

// Keeps every call with its arguments; optionally forwards them to the real
// library as well, so that a test can both render and inspect.
class TGLRecorder : public TGLGateway {
public:
    struct TCall {
        std::string Name; // the GL or GLU function name, e.g. "glVertex3d"
        std::vector<double> Args;
    };
    explicit TGLRecorder(bool forward = false) : FForward(forward) {}

    void Begin(GLenum mode) override;
    void End() override;
    void Vertex3d(GLdouble x, GLdouble y, GLdouble z) override;
    void Color3f(GLfloat r, GLfloat g, GLfloat b) override;
    void NewList(GLuint list, GLenum mode) override;
    void EndList() override;
    void CallList(GLuint list) override;
    void DeleteLists(GLuint list, GLsizei range) override;
    GLboolean IsList(GLuint list) override;
    void PolygonMode(GLenum face, GLenum mode) override;
    void MatrixMode(GLenum mode) override;
    void LoadIdentity() override;
    void Rotated(GLdouble angle, GLdouble x, GLdouble y, GLdouble z) override;
    void Viewport(GLint x, GLint y, GLsizei width, GLsizei height) override;
    void Clear(GLbitfield mask) override;
    void ClearColor(GLfloat r, GLfloat g, GLfloat b, GLfloat a) override;
    void Enable(GLenum capability) override;
    void Disable(GLenum capability) override;
    void Flush() override;
    void Finish() override;
    GLenum GetError() override;
    void Perspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) override;
    void LookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centerX, GLdouble centerY,
                GLdouble centerZ, GLdouble upX, GLdouble upY, GLdouble upZ) override;

    // Calls named `name`, in order.
    std::vector<TCall> CallsNamed(const std::string& name) const;
    int Count(const std::string& name) const;
    void Reset() { Calls.clear(); }

    std::vector<TCall> Calls;

private:
    void Record(const char* name, std::vector<double> args) { Calls.push_back({name, std::move(args)}); }
    bool FForward;
};
