#pragma once

/// A solid box of full extents w, h, d (units) centred on the current origin: six quads,
/// each counter-clockwise seen from outside with an outward normal, in the current colour.
/// Call outside glBegin/glEnd; leaves only the current normal changed.
void drawBox(float w, float h, float d);

/// A box's faces by the way they face, as bits of a mask for boxQuads.
enum BoxFace : unsigned {
    PlusX = 1u << 0,           ///< the face toward +x
    MinusZ = 1u << 1,          ///< the bottom
    MinusX = 1u << 2,          ///< toward -x
    PlusZ = 1u << 3,           ///< the top
    PlusY = 1u << 4,           ///< toward +y
    MinusY = 1u << 5,          ///< toward -y
    AllFaces = (1u << 6) - 1,  ///< all six
};

/// The six faces of drawBox as 24 vertices with their normals, in the order of BoxFace, for a
/// box centred at (cx, cy, cz) with half extents (hx, hy, hz), units; only the faces in `faces`.
/// Call inside glBegin(GL_QUADS), so that many boxes can share one batch.
void boxQuads(float cx, float cy, float cz, float hx, float hy, float hz, unsigned faces = AllFaces);

/// A 24-segment cylinder along z of the given radius and full length (units), centred on the
/// current origin. `capOffset` moves each end cap's centre vertex along the axis: outward
/// when positive (a cone), inward when negative (a dished hub). Same state rules as drawBox.
void drawCylinder(float radius, float length, float capOffset);
