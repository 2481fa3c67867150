#pragma once

#include <box2d/box2d.h>

/// How the cameras follow the cart, each number once with its unit (map cells, seconds).
struct CameraDef {
    float overheadHeight = 20.0f;  ///< units above the floor the overhead camera hovers
    float overheadRate = 0.5f;     ///< of the overhead camera's easing, per second per unit of lag
    float chaseEyeHeight = 1.3f;   ///< units above the floor, the chase camera's eye
    float chaseDistance = 2.5f;    ///< units behind the cart's centre, along its rear, it eases toward
    float chaseRate = 30.0f;       ///< of the chase camera's easing, per second per unit of lag
    float deadZone = 0.0001f;      ///< units: a camera closer than this to its target has arrived
};

/// The game's cameras.
inline constexpr CameraDef cameraDef{};

/// A view of the store that follows the cart's body. The shell updates every camera each
/// frame and draws through the selected one. Cameras are plain objects owned by the shell
/// and never destroyed through this base.
class Camera {
public:
    /// Moves the camera one step toward where it wants to be; dt in seconds.
    virtual void update(float dt) = 0;
    /// Multiplies the view transform onto the current OpenGL matrix (matrix calls only).
    virtual void apply() = 0;

protected:
    Camera() = default;
    Camera(const Camera&) = default;
    Camera& operator=(const Camera&) = default;
    ~Camera() = default;
};

/// One easing step of `position` toward `target` (floor units): moves the fraction
/// k = |D| * dt * rate of the raw difference D (k at most 1, so a lag of 1 / (dt * rate) units
/// or more is closed at once); a lag under 0.0001 units leaves `position` unchanged.
void easeToward(b2Vec2& position, const b2Vec2& target, float rate, float dt);

/// The overhead camera: hovers 20 units above a floor point that eases toward the cart.
class TopDownCamera final : public Camera {
public:
    /// Starts above the body's current position. `body` is not owned and must outlive the camera.
    explicit TopDownCamera(const b2Body& body);
    void update(float dt) override;
    void apply() override;

    /// The floor point the camera hovers over, units.
    b2Vec2 position() const { return m_position; }

private:
    const b2Body& m_body;
    b2Vec2 m_position;
};

/// The chase camera: eye 1.3 units above a floor point that eases toward 2.5 units behind the
/// cart's rear, always facing the cart's centre.
class FollowCamera final : public Camera {
public:
    /// Starts at the body's own transform (eye at the cart's centre, facing its heading).
    /// `body` is not owned and must outlive the camera.
    explicit FollowCamera(const b2Body& body);
    void update(float dt) override;
    void apply() override;

    /// Eye floor position (units) and viewing heading as a rotation.
    const b2Transform& transform() const { return m_transform; }
    /// The viewing heading, radians from +x toward +y.
    float heading() const { return m_transform.q.GetAngle(); }

private:
    const b2Body& m_body;
    b2Transform m_transform;
};
