#pragma once
#include <QImage>
#include <QSize>
#include <QStringList>
#include <optional>
#include <vector>

#include "state/real.h"

// The editor's picture: the interaction curves E, PE and E - PE against
// distance, near (0 to 14) above and far (0 to 30) below, for the parameters
// the editor holds.

// The laws the charts show: E is the law of a PES group (its A and its three
// shells, with the core term of the mode), PE the law of group PE.
struct ChartLaws {
  zentrova::Real a1 = 1, b1 = 2.718L;
  int pesGroup = 2;  // 2 for PES1 (A2 to D2), 3 for PES2 (A3 to D3)
  zentrova::Real a = 1, b = 2.718L, c = 2.718L, d = 2.718L;
  bool taoscope = false;
};

// One curve sampled at evenly spaced distances from 0 to dMax; a point whose
// evaluation faults or is not finite is left out.
struct ForceCurves {
  std::vector<zentrova::Real> distance;
  std::vector<std::optional<zentrova::Real>> e, pe, diff;
};

ForceCurves sampleForceCurves(const ChartLaws& laws, zentrova::Real dMax, int points);

// The caption of the charts: the parameters they are drawn for.
QStringList chartCaption(const ChartLaws& laws);

// Both charts drawn into an image of the given size.
QImage drawForceCharts(QSize size, const ChartLaws& laws);
