#include "view/preview.h"

namespace zentrova {

void DrawDragPreview(const Scene& scene, controls::MouseButton button, int x, int y, bool showSpinChecked) {
  ViewState view = scene.view;
  DrawingSnapshot set = scene.set;
  const Scene preview{scene.canvas, view, set, scene.taoscope, scene.trails, scene.pointSize};
  controls::FormMouseUp(preview, button, x, y, showSpinChecked);
}

}  // namespace zentrova
