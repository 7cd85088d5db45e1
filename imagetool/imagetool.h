// The image and colour tool: live colour and coordinate readout with a magnifier, seven
// colour slots filled by hotkeys, region capture, BMP load and export, colour separation.
#pragma once

namespace tb::imagetool {

// Opens the tool (no owner, not modal); when it is open already it is restored and brought
// forward instead. False if the window could not be created.
bool open();

}  // namespace tb::imagetool
