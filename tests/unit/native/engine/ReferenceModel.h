// A deliberately plain model of the star field written straight from the
// formulas, with its own state, generator and sine table: the yardstick the
// engine's optimised frames are compared with. Products are formed in 64
// bits and reduced to 32 (two's-complement wrap), every shift is applied to
// the sum, every division truncates.
#pragma once

#include <cstdint>
#include <vector>

namespace engine_test {

struct RefStar
{
    int32_t x, y, z;
};

class ReferenceModel
{
public:
    ReferenceModel();

    // The same generator the engine uses by default.
    void Seed(uint32_t seed) { m_random = seed; }
    int32_t Random();

    void Reset(int32_t population, int32_t simulation, uint32_t clock);
    void Step(int32_t simulation); // one frame into m_picture (presentation order)

    // Projections into m_picture (320 x 200, row 0 at the top).
    void DrawField();
    void DrawSheet();
    uint32_t Hash() const;

    int32_t Sin(int32_t a) const { return m_sin[static_cast<uint32_t>(a) & 2047]; }
    int32_t Cos(int32_t a) const { return m_sin[(static_cast<uint32_t>(a) + 512) & 2047]; }

    int32_t m_sin[2048];
    std::vector<RefStar> m_stars;
    std::vector<uint8_t> m_picture;
    int32_t m_camX = 0, m_camY = 0, m_camZ = 0;
    int32_t m_pitch = 0, m_yaw = 0, m_speed = 1;
    int32_t m_orbit = 0, m_spin = 0;
    int32_t m_legFrames = 0, m_driftX = 0, m_driftY = 0, m_driftZ = 0;
    int32_t m_stepX = 0, m_stepY = 0, m_stepZ = 0, m_spinPitch = 0, m_spinYaw = 0;
    int32_t m_circle = 0, m_ripplePhase = 0;

private:
    void Plot(int32_t h, int32_t v, int32_t depth);
    uint32_t m_random = 1;
};

} // namespace engine_test
