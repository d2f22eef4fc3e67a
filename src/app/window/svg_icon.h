#pragma once
// The pictures of the window's buttons and the program's icon are small SVGs
// shipped inside the program, drawn at the size asked for.

#include <QIcon>
#include <QString>

namespace vx::app {

// The shipped SVG `name` ("conferma", "uscita", "vxorel") drawn at `pixels`
// square; a null icon when the resource is missing or unreadable.
QIcon ShippedIcon(const QString& name, int pixels);

}  // namespace vx::app
