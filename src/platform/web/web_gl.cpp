// OpenGL 1.x in a browser: the part of the fixed-function pipeline the game and FTGL use, laid over
// Emscripten's emulation of it on WebGL (-sLEGACY_GL_EMULATION). The emulation draws immediate
// mode, matrices and plain colours right, but not the rest, so this layer stands in front of it:
//   - every vertex carries the same attributes, a position and a colour: the emulation mixes up a
//     batch whose vertices differ in what they carry (a glNormal3f once per face, say);
//   - lighting is computed here, per vertex, as OpenGL 1.x defines it for what the game sets
//     (GL_LIGHT0, directional or positional, colour material, GL_NORMALIZE, the default light
//     model and material), and the result goes on as the vertex's colour: the emulation ignores
//     glColor under lighting, takes every light as directional and has no glColorMaterial;
//   - lines and points wider than one pixel become quads facing the screen: WebGL draws lines one
//     pixel wide only (and has no line smoothing: GL_LINE_SMOOTH and its hint are dropped);
//   - quad strips and polygons go on as the triangle strips and fans they are;
//   - display lists (FTGL's glyphs) are recorded here and replayed through this layer;
//   - the vertices go on in clip coordinates, the modelview and projection applied here as the
//     emulation's shader applies them, gathered into one batch until the next change of WebGL's
//     state (a capability, the depth or blend function, the face culled, the viewport, the
//     scissor box, a clear, the swap) or of the kind of primitive, and then drawn in one call
//     with this layer's own small WebGL program (web_gl.js): a frame's few hundred glBegin and
//     glEnd pairs become a few draws, in the same order, with the same state;
//   - glPushAttrib and glPopAttrib keep the states this layer owns; glPolygonMode, which WebGL
//     lacks, keeps its only mode, fill.
// The desktop builds never compile this file: they call their system's OpenGL as they are.
//
// The link routes the game's and the libraries' calls of the functions below to the __wrap_
// definitions (wasm-ld --wrap, see cmake/web_platform.cmake); __real_ reaches the emulation's own.
// The functions the emulation lacks altogether are defined here under their own names.

#include <GL/gl.h>
#include <emscripten.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <map>
#include <vector>

extern "C" {
void __real_glEnable(GLenum cap);
void __real_glDisable(GLenum cap);
void __real_glMatrixMode(GLenum mode);
void __real_glClear(GLbitfield mask);
void __real_glViewport(GLint x, GLint y, GLsizei width, GLsizei height);
void __real_glScissor(GLint x, GLint y, GLsizei width, GLsizei height);
void __real_glDepthFunc(GLenum func);
void __real_glBlendFunc(GLenum source, GLenum destination);
void __real_glCullFace(GLenum mode);
void __real_glFinish();
// Draws `count` BatchVertex at `vertices` as `mode` (GL_TRIANGLES, GL_LINES or GL_POINTS) with
// WebGL's current state (web_gl.js).
void webGlDrawBatch(GLenum mode, const void* vertices, int count);
}

namespace {

constexpr float lightModelAmbient = 0.2f;  // GL_LIGHT_MODEL_AMBIENT's default, each of r, g, b
constexpr float defaultMaterialAmbient = 0.2f;
constexpr float defaultMaterialDiffuse = 0.8f;
constexpr float colourSteps = 255.0f;  // the largest value of an 8-bit colour component
// Pixels: quads (of wide lines and points) whose sides are all at least this long are front
// faces for WebGL too, however it rounds their corners to its grid of subpixels. That grid is a
// sixteenth of a pixel or finer, so each corner moves by 0.045 pixels at most; a triangle turns
// over only if the moves bring a corner across the opposite side, and each of such a quad's two
// triangles is at least 0.18 pixels high (its shorter side over the square root of 2), twice what
// the moves of a corner and of that side together can take away.
constexpr float surelyFrontFacing = 0.25f;

using Vec3 = std::array<float, 3>;
using Rgba = std::array<float, 4>;
using Matrix = std::array<float, 16>;  // column-major, as glGetFloatv gives it
using RgbaBytes = std::array<std::uint8_t, 4>;

// A vertex as this layer hands it on: where the game put it, and its final colour as the bytes
// WebGL gets (made once for each vertex the game gives, however many triangles share it).
struct Vertex {
    Vec3 position;
    RgbaBytes colour;
};

// A vertex as WebGL draws it: in clip coordinates, its colour as bytes (web_gl.js reads this
// layout: 20 bytes, four floats then four bytes).
struct BatchVertex {
    std::array<float, 4> clip;
    RgbaBytes colour;
};
static_assert(sizeof(BatchVertex) == 20, "web_gl.js reads vertices of 20 bytes");

// One recorded call of a display list.
struct ListCall {
    enum Kind { begin, end, vertex, colour, normal } kind;
    GLenum mode;
    std::array<float, 4> values;
};

// The states kept by glPushAttrib.
struct Attributes {
    bool lighting, light0, colourMaterial, normalize, blend;
    float lineWidth;
};

// The state of the one GL context, as a GL library keeps it (the emulation has its own for the
// rest).
struct State {
    Rgba colour{1.0f, 1.0f, 1.0f, 1.0f};
    RgbaBytes colourBytes{255, 255, 255, 255};  // `colour` as WebGL gets it
    Vec3 normal{0.0f, 0.0f, 1.0f};
    Attributes on{false, false, false, false, false, 1.0f};
    float pointSize = 1.0f;
    std::array<float, 4> lightPosition{0.0f, 0.0f, 1.0f, 0.0f};  // eye coordinates
    GLenum matrixMode = GL_MODELVIEW;
    bool cullFace = false;  // kept by the emulation too: known here for the quads of wide lines

    bool inBegin = false;
    GLenum mode = GL_POINTS;
    Matrix modelview{};
    std::vector<Vertex> vertices;

    std::map<GLuint, std::vector<ListCall>> lists;
    GLuint nextList = 1;
    std::vector<ListCall>* recording = nullptr;
    std::vector<Attributes> attributeStack;

    std::vector<BatchVertex> batch;  // drawn, in order, before WebGL's state next changes
    GLenum batchMode = GL_TRIANGLES;
    bool batchUnculled = false;  // the batch's triangles stand for lines or points: never culled

    // WebGL's state as last set through this layer, so that setting it again draws no batch: the
    // capabilities (by GL_DEPTH_TEST, GL_BLEND, GL_CULL_FACE, GL_SCISSOR_TEST), the depth
    // function, the blend factors, the face culled, the viewport and the scissor box. Every call
    // still goes on to WebGL (a restored context starts from its defaults).
    std::map<GLenum, bool> capabilities;
    std::map<GLenum, std::array<GLint, 4>> lastSet;   // by the call's name: its arguments
    std::vector<size_t> order;                        // glEnd's: which vertex goes on where
    std::vector<std::pair<size_t, size_t>> segments;  // wide lines': which vertices each joins
    std::vector<Vertex> quads;                        // wide lines' and points': their corners
};

State gl;

Matrix currentMatrix(GLenum which)
{
    Matrix m{};
    glGetFloatv(which, m.data());
    return m;
}

std::array<float, 4> transform(const Matrix& m, float x, float y, float z, float w)
{
    std::array<float, 4> out{};
    for (int row = 0; row < 4; ++row)
        out[row] = m[row] * x + m[4 + row] * y + m[8 + row] * z + m[12 + row] * w;
    return out;
}

Vec3 normalised(Vec3 v)
{
    const float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (length > 0.0f)
        for (float& c : v)
            c /= length;
    return v;
}

// The normal in eye coordinates: by the inverse transpose of the modelview's upper 3x3 (its
// cofactors over its determinant), normalised when GL_NORMALIZE is on.
Vec3 eyeNormal(const Matrix& m, const Vec3& n)
{
    auto at = [&m](int row, int column) { return m[column * 4 + row]; };
    float cofactor[3][3];
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            const int r1 = (r + 1) % 3, r2 = (r + 2) % 3, c1 = (c + 1) % 3, c2 = (c + 2) % 3;
            cofactor[r][c] = at(r1, c1) * at(r2, c2) - at(r1, c2) * at(r2, c1);
        }
    const float det = at(0, 0) * cofactor[0][0] + at(0, 1) * cofactor[0][1] + at(0, 2) * cofactor[0][2];
    Vec3 out{};
    for (int r = 0; r < 3; ++r)
        out[r] = (cofactor[r][0] * n[0] + cofactor[r][1] * n[1] + cofactor[r][2] * n[2]) /
                 (det != 0.0f ? det : 1.0f);
    return gl.on.normalize ? normalised(out) : out;
}

// The colour OpenGL 1.x lighting gives a vertex at `position` (object coordinates) with the
// current normal and colour: one light, GL_LIGHT0 at its defaults (diffuse and specular white,
// no ambient), the default light model (ambient 0.2, one-sided, local viewer off), and the
// default material (no specular, no emission) whose ambient and diffuse are the current colour
// under GL_COLOR_MATERIAL (its default mode, GL_AMBIENT_AND_DIFFUSE).
Rgba litColour(const Vec3& position)
{
    const Rgba& c = gl.colour;
    const Rgba ambient = gl.on.colourMaterial ? c
                                              : Rgba{defaultMaterialAmbient, defaultMaterialAmbient,
                                                     defaultMaterialAmbient, 1.0f};
    const Rgba diffuse = gl.on.colourMaterial ? c
                                              : Rgba{defaultMaterialDiffuse, defaultMaterialDiffuse,
                                                     defaultMaterialDiffuse, 1.0f};
    float lambert = 0.0f;
    if (gl.on.light0) {
        const Vec3 n = eyeNormal(gl.modelview, gl.normal);
        Vec3 toLight{gl.lightPosition[0], gl.lightPosition[1], gl.lightPosition[2]};
        if (gl.lightPosition[3] != 0.0f) {
            const auto eye = transform(gl.modelview, position[0], position[1], position[2], 1.0f);
            for (int i = 0; i < 3; ++i)
                toLight[i] = gl.lightPosition[i] / gl.lightPosition[3] - eye[i] / eye[3];
        }
        toLight = normalised(toLight);
        lambert = std::max(0.0f, n[0] * toLight[0] + n[1] * toLight[1] + n[2] * toLight[2]);
    }
    Rgba out{};
    for (int i = 0; i < 3; ++i)
        out[i] = std::min(1.0f, std::max(0.0f, ambient[i] * lightModelAmbient + diffuse[i] * lambert));
    out[3] = std::min(1.0f, std::max(0.0f, diffuse[3]));
    return out;
}

// A colour component as the emulation kept it: a byte, rounded to the nearest as OpenGL does
// (halves away from zero, as std::round: the scaled value plus a half is exact as a double, and
// its whole part is the rounded byte; WebAssembly has no instruction for std::round, and the
// library call it takes instead was among this layer's costliest, at four for every vertex).
std::uint8_t colourByte(float c)
{
    const float scaled = std::min(1.0f, std::max(0.0f, c)) * colourSteps;
    return static_cast<std::uint8_t>(static_cast<double>(scaled) + 0.5);
}

RgbaBytes colourBytes(const Rgba& c)
{
    return {colourByte(c[0]), colourByte(c[1]), colourByte(c[2]), colourByte(c[3])};
}

// Draws what the batch holds.
void flush()
{
    if (gl.batch.empty())
        return;
    const bool uncull = gl.batchUnculled && gl.cullFace;
    if (uncull)
        __real_glDisable(GL_CULL_FACE);
    webGlDrawBatch(gl.batchMode, gl.batch.data(), static_cast<int>(gl.batch.size()));
    if (uncull)
        __real_glEnable(GL_CULL_FACE);
    gl.batch.clear();
}

// Makes the batch one of `mode`'s (and of lines' or points' quads when `unculled`), drawing what
// it held of another kind.
void batchFor(GLenum mode, bool unculled = false)
{
    if (gl.batchMode != mode || gl.batchUnculled != unculled)
        flush();
    gl.batchMode = mode;
    gl.batchUnculled = unculled;
}

// Draws the batch before `call` sets WebGL's state to `arguments`, unless that is the state
// already.
void changing(GLenum call, std::array<GLint, 4> arguments)
{
    const auto known = gl.lastSet.find(call);
    if (known != gl.lastSet.end() && known->second == arguments)
        return;
    flush();
    gl.lastSet[call] = arguments;
}

void add(const std::array<float, 4>& clip, const RgbaBytes& colour) { gl.batch.push_back({clip, colour}); }

// Window coordinates (x, y in pixels, z as depth in [-1, 1]) of an object-space point; false
// when it lies behind the eye.
bool toWindow(const Matrix& modelviewProjection, const GLint viewport[4], const Vec3& p, Vec3& out)
{
    const auto clip = transform(modelviewProjection, p[0], p[1], p[2], 1.0f);
    if (clip[3] <= 0.0f)
        return false;
    out = {viewport[0] + (clip[0] / clip[3] + 1.0f) * 0.5f * viewport[2],
           viewport[1] + (clip[1] / clip[3] + 1.0f) * 0.5f * viewport[3], clip[2] / clip[3]};
    return true;
}

Matrix multiply(const Matrix& a, const Matrix& b)
{
    Matrix out{};
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k)
                sum += a[k * 4 + r] * b[c * 4 + k];
            out[c * 4 + r] = sum;
        }
    return out;
}

// Whether face culling, when on, removes back faces only (the game keeps glFrontFace's default,
// counter-clockwise faces in front).
bool cullingBackFaces()
{
    const auto mode = gl.lastSet.find(GL_CULL_FACE_MODE);
    return mode == gl.lastSet.end() || mode->second[0] == GL_BACK;
}

// Draws quads given in window coordinates (four vertices each, z as depth in [-1, 1]), as the
// two triangles each (0, 1, 2 and 0, 2, 3) the emulation made of a quad. They stand for lines
// and points, which face culling never removes. Their corners go round them counter-clockwise:
// when `frontFacing` tells that WebGL takes them so too, they join the batch of the triangles
// around them (the text's outlines and fills, say, one draw instead of two for each string);
// otherwise face culling, if on, is turned off while their batch is drawn.
void drawWindowQuads(const std::vector<Vertex>& quads, const GLint viewport[4], bool frontFacing)
{
    batchFor(GL_TRIANGLES, gl.cullFace && !(frontFacing && cullingBackFaces()));
    for (size_t q = 0; q + 3 < quads.size(); q += 4)
        for (size_t corner : {0, 1, 2, 0, 2, 3}) {
            const Vertex& v = quads[q + corner];
            add({(v.position[0] - viewport[0]) / viewport[2] * 2.0f - 1.0f,
                 (v.position[1] - viewport[1]) / viewport[3] * 2.0f - 1.0f, v.position[2], 1.0f},
                v.colour);
        }
}

// Lines gl.on.lineWidth pixels wide, each segment a rectangle around it, as OpenGL draws wide
// lines (no joins between segments); segments with an end behind the eye are left out.
void drawWideLines(const Matrix& modelviewProjection, const GLint viewport[4])
{
    const std::vector<Vertex>& in = gl.vertices;
    std::vector<std::pair<size_t, size_t>>& segments = gl.segments;
    segments.clear();
    if (gl.mode == GL_LINES) {
        for (size_t i = 0; i + 1 < in.size(); i += 2)
            segments.emplace_back(i, i + 1);
    } else {
        for (size_t i = 0; i + 1 < in.size(); ++i)
            segments.emplace_back(i, i + 1);
        if (gl.mode == GL_LINE_LOOP && in.size() > 2)
            segments.emplace_back(in.size() - 1, 0);
    }
    const float half = gl.on.lineWidth * 0.5f;
    std::vector<Vertex>& quads = gl.quads;
    quads.clear();
    bool frontFacing = gl.on.lineWidth >= surelyFrontFacing;
    for (const auto& [from, to] : segments) {
        Vec3 a{}, b{};
        if (!toWindow(modelviewProjection, viewport, in[from].position, a) ||
            !toWindow(modelviewProjection, viewport, in[to].position, b))
            continue;
        Vec3 across{b[1] - a[1], a[0] - b[0], 0.0f};
        const float length = std::hypot(across[0], across[1]);
        if (length == 0.0f)
            continue;
        frontFacing = frontFacing && length >= surelyFrontFacing;
        for (float& c : across)
            c *= half / length;
        quads.push_back({{a[0] - across[0], a[1] - across[1], a[2]}, in[from].colour});
        quads.push_back({{a[0] + across[0], a[1] + across[1], a[2]}, in[from].colour});
        quads.push_back({{b[0] + across[0], b[1] + across[1], b[2]}, in[to].colour});
        quads.push_back({{b[0] - across[0], b[1] - across[1], b[2]}, in[to].colour});
    }
    drawWindowQuads(quads, viewport, frontFacing);
}

// Points gl.pointSize pixels wide, each a square around it.
void drawWidePoints(const Matrix& modelviewProjection, const GLint viewport[4])
{
    const float half = gl.pointSize * 0.5f;
    std::vector<Vertex>& quads = gl.quads;
    quads.clear();
    for (const Vertex& v : gl.vertices) {
        Vec3 p{};
        if (!toWindow(modelviewProjection, viewport, v.position, p))
            continue;
        quads.push_back({{p[0] - half, p[1] - half, p[2]}, v.colour});
        quads.push_back({{p[0] + half, p[1] - half, p[2]}, v.colour});
        quads.push_back({{p[0] + half, p[1] + half, p[2]}, v.colour});
        quads.push_back({{p[0] - half, p[1] + half, p[2]}, v.colour});
    }
    drawWindowQuads(quads, viewport, gl.pointSize >= surelyFrontFacing);
}

// The order in which `mode`'s `count` vertices make triangles, lines or points, as WebGL draws
// them from the primitives it has (quads as the emulation split them, 0, 1, 2 and 0, 2, 3; quad
// strips and polygons as the triangle strips and fans their vertices make, for the flat, convex
// polygons OpenGL draws right at all).
void appendOrder(GLenum mode, size_t count, std::vector<size_t>& order)
{
    switch (mode) {
    case GL_TRIANGLES:
    case GL_LINES:
    case GL_POINTS:
        for (size_t i = 0; i < count; ++i)
            order.push_back(i);
        break;
    case GL_QUADS:
        for (size_t i = 0; i + 3 < count; i += 4)
            for (size_t corner : {0, 1, 2, 0, 2, 3})
                order.push_back(i + corner);
        break;
    case GL_TRIANGLE_STRIP:
    case GL_QUAD_STRIP:
        for (size_t i = 0; i + 2 < count; ++i)
            for (size_t corner :
                 (i % 2 == 0 ? std::array<size_t, 3>{0, 1, 2} : std::array<size_t, 3>{1, 0, 2}))
                order.push_back(i + corner);
        break;
    case GL_TRIANGLE_FAN:
    case GL_POLYGON:
        for (size_t i = 1; i + 1 < count; ++i)
            for (size_t vertex : {size_t{0}, i, i + 1})
                order.push_back(vertex);
        break;
    case GL_LINE_STRIP:
    case GL_LINE_LOOP:
        for (size_t i = 0; i + 1 < count; ++i) {
            order.push_back(i);
            order.push_back(i + 1);
        }
        if (mode == GL_LINE_LOOP && count > 2) {
            order.push_back(count - 1);
            order.push_back(0);
        }
        break;
    default:
        break;
    }
}

// The primitive WebGL draws `mode` with.
GLenum batchMode(GLenum mode)
{
    switch (mode) {
    case GL_POINTS:
        return GL_POINTS;
    case GL_LINES:
    case GL_LINE_STRIP:
    case GL_LINE_LOOP:
        return GL_LINES;
    default:
        return GL_TRIANGLES;
    }
}

bool isLineMode(GLenum mode) { return mode == GL_LINES || mode == GL_LINE_STRIP || mode == GL_LINE_LOOP; }

// The emulation keeps the capabilities this layer does not own; these it owns. Returns false for
// the others.
bool setOwnCapability(GLenum cap, bool on)
{
    switch (cap) {
    case GL_LIGHTING:
        gl.on.lighting = on;
        return true;
    case GL_LIGHT0:
        gl.on.light0 = on;
        return true;
    case GL_COLOR_MATERIAL:
        gl.on.colourMaterial = on;
        return true;
    case GL_NORMALIZE:
        gl.on.normalize = on;
        return true;
    case GL_LINE_SMOOTH:
    case GL_POLYGON_SMOOTH:
    case GL_POINT_SMOOTH:
        return true;  // WebGL has no smoothing of its own
    default:
        return false;
    }
}

void record(ListCall::Kind kind, GLenum mode, float a = 0, float b = 0, float c = 0, float d = 0)
{
    gl.recording->push_back({kind, mode, {a, b, c, d}});
}

// glEnable and glDisable alike: the states this layer keeps itself, and the rest for WebGL.
void setCapability(GLenum cap, bool on)
{
    if (cap == GL_DEPTH_TEST || cap == GL_BLEND || cap == GL_CULL_FACE || cap == GL_SCISSOR_TEST) {
        const auto known = gl.capabilities.find(cap);
        if (known == gl.capabilities.end() || known->second != on)
            flush();
        gl.capabilities[cap] = on;
    }
    if (cap == GL_BLEND)
        gl.on.blend = on;
    if (cap == GL_CULL_FACE)
        gl.cullFace = on;
    if (!setOwnCapability(cap, on))
        on ? __real_glEnable(cap) : __real_glDisable(cap);
}

}  // namespace

extern "C" {

void __wrap_glBegin(GLenum mode)
{
    if (gl.recording) {
        record(ListCall::begin, mode);
        return;
    }
    gl.inBegin = true;
    gl.mode = mode;
    gl.vertices.clear();
    gl.modelview = currentMatrix(GL_MODELVIEW_MATRIX);
}

void __wrap_glEnd()
{
    if (gl.recording) {
        record(ListCall::end, 0);
        return;
    }
    gl.inBegin = false;
    const bool wideLines = isLineMode(gl.mode) && gl.on.lineWidth > 1.0f;
    const bool widePoints = gl.mode == GL_POINTS && gl.pointSize > 1.0f;
    if (wideLines || widePoints) {
        // The viewport as the game last set it (each frame sets it first), rather than asked of
        // WebGL at every wide line, a call into the browser that cost more than the line; asked
        // only if the game has set none yet.
        GLint viewport[4] = {0, 0, 1, 1};
        const auto set = gl.lastSet.find(GL_VIEWPORT);
        if (set != gl.lastSet.end())
            std::copy(set->second.begin(), set->second.end(), viewport);
        else
            glGetIntegerv(GL_VIEWPORT, viewport);
        const Matrix modelviewProjection = multiply(currentMatrix(GL_PROJECTION_MATRIX), gl.modelview);
        if (wideLines)
            drawWideLines(modelviewProjection, viewport);
        else
            drawWidePoints(modelviewProjection, viewport);
        return;
    }
    // The emulation's shader: the eye's coordinates by the modelview, then the projection's.
    const Matrix projection = currentMatrix(GL_PROJECTION_MATRIX);
    std::vector<size_t>& order = gl.order;
    order.clear();
    appendOrder(gl.mode, gl.vertices.size(), order);
    batchFor(batchMode(gl.mode));
    for (size_t i : order) {
        const Vertex& v = gl.vertices[i];
        const auto eye = transform(gl.modelview, v.position[0], v.position[1], v.position[2], 1.0f);
        add(transform(projection, eye[0], eye[1], eye[2], eye[3]), v.colour);
    }
}

void __wrap_glVertex3f(GLfloat x, GLfloat y, GLfloat z)
{
    if (gl.recording) {
        record(ListCall::vertex, 0, x, y, z);
        return;
    }
    const Vec3 position{x, y, z};
    gl.vertices.push_back({position, gl.on.lighting ? colourBytes(litColour(position)) : gl.colourBytes});
}

void __wrap_glVertex2f(GLfloat x, GLfloat y) { __wrap_glVertex3f(x, y, 0.0f); }

void __wrap_glVertex2i(GLint x, GLint y)
{
    __wrap_glVertex3f(static_cast<float>(x), static_cast<float>(y), 0.0f);
}

void __wrap_glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a)
{
    if (gl.recording)
        record(ListCall::colour, 0, r, g, b, a);
    else {
        gl.colour = {r, g, b, a};
        gl.colourBytes = colourBytes(gl.colour);
    }
}

void __wrap_glColor3f(GLfloat r, GLfloat g, GLfloat b) { __wrap_glColor4f(r, g, b, 1.0f); }

void __wrap_glNormal3f(GLfloat x, GLfloat y, GLfloat z)
{
    if (gl.recording)
        record(ListCall::normal, 0, x, y, z);
    else
        gl.normal = {x, y, z};
}

// No texture is ever bound: texture coordinates (FTGL sends them with its polygons) mean nothing.
void __wrap_glTexCoord2f(GLfloat /*s*/, GLfloat /*t*/) {}

void __wrap_glEnable(GLenum cap) { setCapability(cap, true); }

void __wrap_glDisable(GLenum cap) { setCapability(cap, false); }

void __wrap_glLightfv(GLenum light, GLenum name, const GLfloat* values)
{
    if (light != GL_LIGHT0 || name != GL_POSITION)
        return;  // the game sets nothing else of a light
    gl.lightPosition =
        transform(currentMatrix(GL_MODELVIEW_MATRIX), values[0], values[1], values[2], values[3]);
}

void __wrap_glLineWidth(GLfloat width) { gl.on.lineWidth = width; }

void __wrap_glPointSize(GLfloat size) { gl.pointSize = size; }

void __wrap_glHint(GLenum /*target*/, GLenum /*mode*/) {}  // only smoothing hints: no smoothing

void __wrap_glPolygonMode(GLenum /*face*/, GLenum /*mode*/) {}  // fill, WebGL's only mode

void __wrap_glMatrixMode(GLenum mode)
{
    gl.matrixMode = mode;
    __real_glMatrixMode(mode);
}

// What changes WebGL's state, or reads or shows what is drawn, draws the batch first.
void __wrap_glClear(GLbitfield mask)
{
    flush();
    __real_glClear(mask);
}

void __wrap_glViewport(GLint x, GLint y, GLsizei width, GLsizei height)
{
    changing(GL_VIEWPORT, {x, y, width, height});
    __real_glViewport(x, y, width, height);
}

void __wrap_glScissor(GLint x, GLint y, GLsizei width, GLsizei height)
{
    changing(GL_SCISSOR_BOX, {x, y, width, height});
    __real_glScissor(x, y, width, height);
}

void __wrap_glDepthFunc(GLenum func)
{
    changing(GL_DEPTH_FUNC, {static_cast<GLint>(func), 0, 0, 0});
    __real_glDepthFunc(func);
}

void __wrap_glBlendFunc(GLenum source, GLenum destination)
{
    changing(GL_BLEND_SRC, {static_cast<GLint>(source), static_cast<GLint>(destination), 0, 0});
    __real_glBlendFunc(source, destination);
}

void __wrap_glCullFace(GLenum mode)
{
    changing(GL_CULL_FACE_MODE, {static_cast<GLint>(mode), 0, 0, 0});
    __real_glCullFace(mode);
}

void __wrap_glFinish()
{
    flush();
    __real_glFinish();
}

// The frame is done: the page's swap (web_glfw.js) draws the batch before it hands the frame on.
EMSCRIPTEN_KEEPALIVE void webGlEndFrame() { flush(); }

void glPushAttrib(GLbitfield /*mask*/) { gl.attributeStack.push_back(gl.on); }

void glPopAttrib()
{
    if (gl.attributeStack.empty())
        return;
    const Attributes was = gl.attributeStack.back();
    gl.attributeStack.pop_back();
    if (was.blend != gl.on.blend)
        setCapability(GL_BLEND, was.blend);
    gl.on = was;
}

GLuint glGenLists(GLsizei range)
{
    const GLuint first = gl.nextList;
    for (GLsizei i = 0; i < range; ++i)
        gl.lists[gl.nextList++];
    return first;
}

void glNewList(GLuint list, GLenum /*mode*/)
{
    gl.lists[list].clear();
    gl.recording = &gl.lists[list];
}

void glEndList() { gl.recording = nullptr; }

void glCallList(GLuint list)
{
    const auto found = gl.lists.find(list);
    if (found == gl.lists.end())
        return;
    for (const ListCall& call : found->second) {
        const auto& v = call.values;
        switch (call.kind) {
        case ListCall::begin:
            __wrap_glBegin(call.mode);
            break;
        case ListCall::end:
            __wrap_glEnd();
            break;
        case ListCall::vertex:
            __wrap_glVertex3f(v[0], v[1], v[2]);
            break;
        case ListCall::colour:
            __wrap_glColor4f(v[0], v[1], v[2], v[3]);
            break;
        case ListCall::normal:
            __wrap_glNormal3f(v[0], v[1], v[2]);
            break;
        }
    }
}

void glDeleteLists(GLuint list, GLsizei range)
{
    for (GLsizei i = 0; i < range; ++i)
        gl.lists.erase(list + static_cast<GLuint>(i));
}

}  // extern "C"
