#pragma once
#include <string>
#include <vector>

#include "state/particle_set.h"
#include "view/canvas.h"
#include "view/view_state.h"

// What the view draws over the scene to help the eye: the particles the user
// picked and their measures, the orientation of the axes, a scale and the
// colours' legend. None of it changes the set or the view.
namespace zentrova {

// The colours of the dots: the classic ones, or the Okabe-Ito colours that
// readers with a colour vision deficiency can tell apart.
enum class Palette { Classic, OkabeIto };

// The colour of particle i's dot and number in a palette.
Rgb taonColor(int i, int count, bool taoscope, Palette palette);

// The present particle whose projected point (ScreenX/ScreenY, as the last
// drawing left it) lies nearest (x, y) and at most `radius` pixels from it;
// 0 when there is none. Of particles on one pixel it is the one drawn last,
// the one that is seen.
int pickParticle(const ViewState& v, const ParticleSet& s, int x, int y, int radius);

// The angle a-vertex-b at the vertex particle, in degrees, from the live
// positions; NaN when a point coincides with the vertex.
Real particleAngle(const ParticleSet& s, int a, int vertex, int b);

// A ring around each picked particle and the lines joining them in order.
void DrawPicked(Canvas& c, const ViewState& v, const ParticleSet& s, const std::vector<int>& picked, int pointSize);

// The x, y and z axes as the drawing's matrix turns them, in the lower left
// corner: x and z follow the screen's axes, y points into the view.
void DrawTriad(Canvas& c, const ViewState& v);

// A round length (1, 2 or 5 times a power of ten) drawn at most `maxPixels`
// long at the view's zoom; 0 when the zoom shows nothing.
Real scaleBarLength(Real distance, int maxPixels);
// The bar in the lower right corner with its length as text.
void DrawScaleBar(Canvas& c, const ViewState& v, char decimalSeparator);

// The groups' colours (or the two of Taoscope, with the words given for odd
// and even particles) in the upper right corner.
void DrawLegend(Canvas& c, int count, bool taoscope, Palette palette, const std::string& oddText,
                const std::string& evenText);

}  // namespace zentrova
