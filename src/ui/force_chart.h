#pragma once
#include <QImage>
#include <QSize>
#include <optional>
#include <vector>

#include "state/real.h"

// The editor's picture: the interaction curves E, PE and E - PE against
// distance, for two parameter sets, one chart above the other.

// One curve sampled at evenly spaced distances from 0 to dMax; a point whose
// evaluation faults or is not finite is left out.
struct ForceCurves {
  std::vector<zentrova::Real> distance;
  std::vector<std::optional<zentrova::Real>> e, pe, diff;
};

// E is the group PES1 law with A2 and the single shell B2; PE is the group PE
// law with A1 and B1; both in the Gravoscope mode.
ForceCurves sampleForceCurves(zentrova::Real a1, zentrova::Real b1, zentrova::Real a2, zentrova::Real b2,
                              zentrova::Real dMax, int points);

// Both charts drawn into an image of the given size.
QImage drawForceCharts(QSize size);
