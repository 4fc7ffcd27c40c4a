#pragma once
// The looks the console's window gives its buttons and its memory-use bar,
// shared with the gallery that shows them and the benchmark that paints them.

#include "Graphics.h"

class TControl;
class TdxButton;
class TProgressCyl;

namespace logbridge {

// Verdana 9 pixels, bold, in Color.
void VerdanaBold(TControl *Control, TColor Color);
// The pale grey face of the memory and settings buttons.
void Pale(TdxButton *Button);
// The acquisition buttons: grey, lit in Accent when hot or focused.
void Acquisition(TdxButton *Button, TColor Accent);
// ProgressCyl2, the memory use: the metal preset, then the text it switches
// off turned on again, as the window resource stores them in that order.
void MemoryUseBar(TProgressCyl *Bar);

} // namespace logbridge
