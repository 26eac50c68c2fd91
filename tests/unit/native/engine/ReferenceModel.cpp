#include "ReferenceModel.h"

#include <algorithm>
#include <cmath>

namespace engine_test {

namespace {

int32_t Wrap(int64_t value)
{
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(value)));
}

// (a * b + c * d) >> 16 over 32-bit products and sum.
int32_t Fix(int32_t a, int32_t b, int32_t c, int32_t d)
{
    const int32_t sum = Wrap(static_cast<int64_t>(Wrap(static_cast<int64_t>(a) * b)) +
                             static_cast<int64_t>(Wrap(static_cast<int64_t>(c) * d)));
    return sum >> 16;
}

} // namespace

ReferenceModel::ReferenceModel()
    : m_picture(320 * 200, 0)
{
    const float s = 3.1415f / 1024.0f;
    double angle = 0.0;
    for (int i = 0; i < 2048; ++i)
    {
        m_sin[i] = static_cast<int32_t>(std::sin(angle) * 65536.0);
        volatile double next = angle + s;
        angle = next;
    }
}

int32_t ReferenceModel::Random()
{
    m_random = m_random * 214013u + 2531011u;
    return static_cast<int32_t>((m_random >> 16) & 0x7fff);
}

void ReferenceModel::Reset(int32_t population, int32_t simulation, uint32_t clock)
{
    Seed(clock);
    m_stars.assign(population, RefStar{});
    for (RefStar& s : m_stars)
    {
        s.x = Random() & 2047;
        s.y = Random() & 2047;
        s.z = Random() & 2047;
    }
    m_camX = m_camY = m_camZ = 1024;
    m_pitch = m_yaw = 0;
    if (simulation == 3)
    {
        for (RefStar& s : m_stars)
        {
            s.x = Random() & 4095;
            s.y = 512;
            s.z = Random() & 4095;
        }
    }
}

void ReferenceModel::Plot(int32_t h, int32_t v, int32_t depth)
{
    if (depth <= 0)
        return;
    const int32_t sx = 160 + (h * 160) / depth;
    const int32_t sy = 100 + (v * 160) / depth;
    if (sx < 0 || sx > 319 || sy < 0 || sy > 199)
        return;
    const int32_t colour = std::min(10 + (depth >> 3), 235);
    m_picture[sy * 320 + sx] = static_cast<uint8_t>(colour);
}

void ReferenceModel::DrawField()
{
    const int32_t sP = Sin(m_pitch), cP = Cos(m_pitch), sY = Sin(m_yaw), cY = Cos(m_yaw);
    for (const RefStar& s : m_stars)
    {
        const int32_t dx = Wrap(int64_t(s.x) - m_camX);
        const int32_t dy = Wrap(int64_t(s.y) - m_camY);
        const int32_t dz = Wrap(int64_t(s.z) - m_camZ);
        const int32_t v = Fix(dy, cP, Wrap(-int64_t(dz)), sP);
        const int32_t w = Fix(dz, cP, dy, sP);
        const int32_t h = Fix(w, sY, Wrap(-int64_t(dx)), cY);
        const int32_t depth = Fix(dx, sY, w, cY);
        Plot(h, v, depth);
    }
}

void ReferenceModel::DrawSheet()
{
    m_ripplePhase = Wrap(int64_t(m_ripplePhase) + 16);
    const int32_t sP = Sin(m_pitch), cP = Cos(m_pitch), sY = Sin(m_yaw), cY = Cos(m_yaw);
    for (const RefStar& s : m_stars)
    {
        const int32_t ripple = Sin(Wrap(int64_t(m_ripplePhase) + (s.x & ~63) + (s.z >> 6))) >> 9;
        const int32_t dx = Wrap(int64_t(s.x) - m_camX);
        const int32_t dy = Wrap(int64_t(s.y) + ripple - m_camY);
        const int32_t dz = Wrap(int64_t(s.z) - m_camZ);
        const int32_t depth1 = Fix(dz, cY, dx, sY);
        const int32_t h = Fix(dz, sY, Wrap(-int64_t(dx)), cY);
        const int32_t v = Fix(dy, cP, Wrap(-int64_t(depth1)), sP);
        const int32_t depth = Fix(depth1, cP, dy, sP);
        Plot(h, v, depth);
    }
}

void ReferenceModel::Step(int32_t simulation)
{
    std::fill(m_picture.begin(), m_picture.end(), 0);
    if (simulation == 1)
    {
        m_camX = 1024;
        m_camY = 1024 + (Sin(m_orbit) >> 7);
        m_camZ = 1024 + (Cos(m_orbit) >> 7);
        DrawField();
        m_pitch = Wrap(int64_t(m_pitch) + m_spin);
        m_orbit = Wrap(int64_t(m_orbit) + 5 * m_speed);
        if (Random() % 100 == 23)
            m_spin = Random() % 10 + 2 * m_speed;
    }
    else if (simulation == 2)
    {
        if (m_legFrames != 0)
        {
            --m_legFrames;
        }
        else
        {
            const int32_t tx = 512 + (Random() & 1023);
            const int32_t ty = 512 + (Random() & 1023);
            const int32_t tz = 512 + (Random() & 1023);
            m_stepX = Wrap(int64_t(tx - m_camX) * 65536) >> 6;
            m_stepY = Wrap(int64_t(ty - m_camY) * 65536) >> 6;
            m_stepZ = Wrap(int64_t(tz - m_camZ) * 65536) >> 6;
            m_driftX = Wrap(int64_t(m_camX) * 65536);
            m_driftY = Wrap(int64_t(m_camY) * 65536);
            m_driftZ = Wrap(int64_t(m_camZ) * 65536);
            m_spinPitch = (Random() % 10) * m_speed;
            m_legFrames = 63;
            m_spinYaw = (Random() % 10) * m_speed;
        }
        m_camX = m_driftX >> 16;
        m_camY = m_driftY >> 16;
        m_camZ = m_driftZ >> 16;
        DrawField();
        m_driftX = Wrap(int64_t(m_driftX) + m_stepX);
        m_driftY = Wrap(int64_t(m_driftY) + m_stepY);
        m_driftZ = Wrap(int64_t(m_driftZ) + m_stepZ);
        if (Random() % 100 == 77)
            m_legFrames = 0;
        m_pitch = Wrap(int64_t(m_pitch) + m_spinPitch);
        m_yaw = Wrap(int64_t(m_yaw) + m_spinYaw);
    }
    else
    {
        m_camX = 2048 + (Sin(m_circle) >> 7);
        m_camY = 300;
        m_camZ = 2048 + (Cos(m_circle) >> 7);
        m_pitch = 200;
        DrawSheet();
        m_circle = Wrap(int64_t(m_circle) + 5 * m_speed);
        m_yaw = Wrap(int64_t(m_yaw) + 3 * m_speed);
    }
}

uint32_t ReferenceModel::Hash() const
{
    uint32_t hash = 2166136261u;
    for (uint8_t p : m_picture)
        hash = (hash ^ p) * 16777619u;
    return hash;
}

} // namespace engine_test
