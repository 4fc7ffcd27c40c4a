#pragma once
// The looks the console's window gives its gradient buttons, shared with
// the gallery that shows them.

#include "Graphics.h"

class TControl;
class TdxButton;

namespace logbridge {

// Verdana 9 pixels, bold, in Color.
void VerdanaBold(TControl *Control, TColor Color);
// The pale grey face of the memory and settings buttons.
void Pale(TdxButton *Button);
// The acquisition buttons: grey, lit in Accent when hot or focused.
void Acquisition(TdxButton *Button, TColor Accent);

} // namespace logbridge
