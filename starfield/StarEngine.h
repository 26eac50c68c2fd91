// The star engine: the point cloud, the three camera motions and the two
// perspective projections that draw it into an 8-bit frame buffer.
//
// Everything here is plain C++ over a frame buffer's pixel block and its
// row-offset table, so the engine builds natively (sanitizer runs,
// benchmarks) as well as into the Windows program, where the view's
// members forward to these functions.
#pragma once

#include <cstdint>

// One star: world coordinates, nothing else.
struct STAR
{
    int32_t x;
    int32_t y;
    int32_t z;
};

// Capacity of the star array: two more than the largest population.
constexpr int32_t kStarCapacity = 5002;
constexpr int32_t kSineEntries = 2048;

// Populations and simulations as the view's choices store them.
constexpr int32_t kPopulationSparse = 500;
constexpr int32_t kPopulationDense = 2000;
constexpr int32_t kPopulationCrowded = 5000;
constexpr int32_t kSimulationTumbleDry = 1;
constexpr int32_t kSimulationWashingMachine = 2;
constexpr int32_t kSimulationDirtyLaundry = 3;

// The projection draws into a fixed 320 x 200 picture.
constexpr int32_t kFrameWidth = 320;
constexpr int32_t kFrameHeight = 200;

// Module state shared by the motion steps and the renderers.
extern STAR* g_pStars;                 // kStarCapacity records once allocated
extern int32_t g_nStars;               // records in use
extern int32_t g_sinTable[kSineEntries]; // 16.16 sine, angle units of 1/2048 turn

extern int32_t g_nCamX, g_nCamY, g_nCamZ;
extern int32_t g_nPitch, g_nYaw;
extern int32_t g_nSpeed;               // nausea factor 1, 3 or 7
extern int32_t g_nOrbit, g_nSpin;      // Tumble Dry
extern int32_t g_nLegFrames;           // Washing Machine
extern int32_t g_nDriftX, g_nDriftY, g_nDriftZ;
extern int32_t g_nStepX, g_nStepY, g_nStepZ;
extern int32_t g_nSpinPitch, g_nSpinYaw;
extern int32_t g_nCircle, g_nRipplePhase; // Dirty Laundry

// The star array lives from program start-up to the view's destruction.
// AllocateStars returns false when the memory is not available (and may be
// called again); ReleaseStars frees it and leaves no stars in use.
bool AllocateStars();
void ReleaseStars();

// Fills g_sinTable (once, when the view is created).
void BuildSineTable();

// Re-places every star for the given population and simulation, puts the
// camera at the centre of the cube and zeroes pitch and yaw. Nothing else
// of the motion state changes. The population is clamped to the capacity;
// without an allocated array no star is in use.
void ResetStars(int32_t population, int32_t simulation);

// What a frame step needs from the view's frame buffer.
class StarSurface
{
public:
    virtual void Clear() = 0;                    // every pixel to index 0
    virtual uint8_t* Bits() = 0;                 // the pixel block
    virtual const int32_t* RowOffsets() = 0;     // byte offset of row y (0 = top)
    virtual void Invalidate() = 0;               // ask for a repaint, no erase

protected:
    ~StarSurface() = default;
};

// One frame each: place the camera, clear, draw, invalidate, advance.
void StepTumbleDry(StarSurface& surface);
void StepWashingMachine(StarSurface& surface);
void StepDirtyLaundry(StarSurface& surface);

// The frame entry: nothing while running is 0; simulation 1 is Tumble Dry,
// 2 Washing Machine, anything else Dirty Laundry.
void NextFrame(int32_t running, int32_t simulation, StarSurface& surface);

// Draw every star in use with the current camera and angles. The sheet
// projection advances g_nRipplePhase by 16 first. Neither clears.
void DrawStarfield(uint8_t* bits, const int32_t* rowOffsets);
void DrawStarSheet(uint8_t* bits, const int32_t* rowOffsets);

// Replaceable sources, so that tests can make the motion reproducible.
// Passing nullptr restores the default.
using MillisecondClock = uint32_t (*)();
using RandomSeedFunction = void (*)(uint32_t seed);
using RandomNextFunction = int32_t (*)(); // uniform 0..32767
using FrameTickFunction = void (*)();

void SetMillisecondClock(MillisecondClock clock);
void SetRandomGenerator(RandomSeedFunction seed, RandomNextFunction next);
void SetFrameTickHook(FrameTickFunction tick); // called by each Tumble Dry step

uint32_t ReadMillisecondClock();
void SeedStarRandom(uint32_t seed);
int32_t NextStarRandom();

// The clock the engine uses unless told otherwise (timeGetTime on Windows).
uint32_t DefaultMillisecondClock();
