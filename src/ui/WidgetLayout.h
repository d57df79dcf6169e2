#pragma once

class QWidget;

namespace velmora {

class LayoutEngine;

// Runs the layout engine on a top-level widget: the form is named by its objectName and its
// client size goes to the engine in twips. Its controls are its named direct children: child
// widgets, which are moved in pixels rounded to the nearest, and timers, which have no geometry
// and stay untouched. Unnamed children (internal ones) and child windows are no controls.
void ResizeForm(LayoutEngine& engine, QWidget& form);

} // namespace velmora
