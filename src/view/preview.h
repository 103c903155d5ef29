#pragma once
#include "view/controls.h"

namespace zentrova {

// While a button is held on the view: draws the picture that releasing it at
// (x, y) would show, from copies of the view and the set, so neither the
// angles, the zoom, the screen values nor the figure's points change. The
// release itself then runs controls::FormMouseUp as always.
void DrawDragPreview(const Scene& scene, controls::MouseButton button, int x, int y, bool showSpinChecked);

}  // namespace zentrova
